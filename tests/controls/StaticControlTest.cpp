#include <gtest/gtest.h>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/WinStatic.h"
#include "platform/gdi/WinGdi.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::testing::createLogWindow;
using platform::testing::TestDevice;

namespace {

TEST(StaticControlTest, AlignsItsTextLeftCentredOrRight) {
  TestDevice device(platform::Edition::PocketPc, 240, 320);
  HWND parent = createLogWindow("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
  const DWORD styles[3] = {SS_LEFT, SS_CENTER, SS_RIGHT};
  HWND labels[3];
  for (int i = 0; i < 3; ++i) {
    labels[i] = CreateWindowExW(0, WC_STATICW, u"Name:", WS_CHILD | WS_VISIBLE | styles[i], 0, 20 * i, 200, 20, parent,
                                nullptr, nullptr, nullptr);
    ASSERT_NE(labels[i], nullptr);
  }
  device.runUntilIdle();
  const RECT left = TestDevice::textRect(labels[0], u"Name:");
  const RECT centre = TestDevice::textRect(labels[1], u"Name:");
  const RECT right = TestDevice::textRect(labels[2], u"Name:");
  EXPECT_EQ(left.left, 0);
  EXPECT_GT(centre.left, 20);
  EXPECT_LT(centre.right, 180);
  EXPECT_EQ(right.right, 200);

  SetWindowTextW(labels[0], u"Other");
  device.runUntilIdle();
  EXPECT_EQ(TestDevice::texts(labels[0]), std::vector<std::u16string>{u"Other"});
}

TEST(StaticControlTest, IconControlKeepsTheImageItIsGiven) {
  TestDevice device(platform::Edition::Smartphone, 176, 220);
  HWND parent = createLogWindow("parent", WS_POPUP | WS_VISIBLE, 0, 0, 176, 220);
  HWND icon = CreateWindowExW(0, WC_STATICW, u"", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 10, 32, 32, parent, nullptr,
                              nullptr, nullptr);
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(SendMessageW(icon, STM_SETICON, reinterpret_cast<WPARAM>(bitmap), 0), 0);
  EXPECT_EQ(SendMessageW(icon, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(bitmap));
  EXPECT_EQ(SendMessageW(icon, STM_SETIMAGE, 7, 0), 0) << "unknown image types are refused";
  device.runUntilIdle();
  DestroyWindow(icon);
  DeleteObject(bitmap);
}

}  // namespace
