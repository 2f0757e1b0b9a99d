#include "skin/WindowGeometry.h"

#include <gtest/gtest.h>

#include "platform/win/WinUser.h"
#include "tests/support/TestDevice.h"

namespace pellucard {
namespace {

LRESULT plainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(WindowGeometry, ChildRectangleIsRelativeToTheParentWindow) {
  platform::testing::TestDevice device;
  WNDCLASSW wc{};
  wc.lpfnWndProc = plainProc;
  wc.lpszClassName = u"SkinGeometryTest";
  RegisterClassW(&wc);
  HWND parent = CreateWindowExW(0, u"SkinGeometryTest", u"parent", WS_POPUP | WS_VISIBLE, 10, 20, 200, 150, nullptr,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  HWND child = CreateWindowExW(0, u"SkinGeometryTest", u"child", WS_CHILD | WS_VISIBLE, 5, 7, 40, 30, parent, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(child, nullptr);

  const RECT inParent = WindowGeometry::rectInParent(child);
  EXPECT_EQ(inParent.left, 5);
  EXPECT_EQ(inParent.top, 7);
  EXPECT_EQ(inParent.right, 45);
  EXPECT_EQ(inParent.bottom, 37);

  // A top-level window keeps its screen rectangle.
  const RECT topLevel = WindowGeometry::rectInParent(parent);
  EXPECT_EQ(topLevel.left, 10);
  EXPECT_EQ(topLevel.bottom, 170);

  DestroyWindow(parent);
  const RECT gone = WindowGeometry::rectInParent(child);
  EXPECT_EQ(gone.right - gone.left, 0);
  EXPECT_EQ(gone.bottom - gone.top, 0);
}

}  // namespace
}  // namespace pellucard
