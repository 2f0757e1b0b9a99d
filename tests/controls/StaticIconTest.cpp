// The static control showing an icon (SS_ICON): it takes the icon's size unless it centres it.
#include <gtest/gtest.h>

#include "platform/controls/CommonControls.h"
#include "platform/controls/WinStatic.h"
#include "platform/gdi/MemoryDc.h"
#include "tests/support/TestDevice.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// A 16 x 16 icon: a red square with a transparent frame of four pixels.
HICON framedIcon() {
  HBITMAP color = CreateBitmap(16, 16, 1, 16, nullptr);
  HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
  {
    platform::gdi::MemoryDc colors(nullptr, color);
    platform::gdi::MemoryDc masks(nullptr, mask);
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const bool inside = x >= 4 && y >= 4 && x < 12 && y < 12;
        SetPixel(colors.dc(), x, y, inside ? kRed : RGB(0, 0, 0));
        SetPixel(masks.dc(), x, y, inside ? RGB(0, 0, 0) : RGB(255, 255, 255));
      }
    }
  }
  ICONINFO info{TRUE, 0, 0, mask, color};
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(color);
  DeleteObject(mask);
  return icon;
}

class StaticIconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::controls::registerControlClasses();
    parent =
        CreateWindowExW(0, WC_STATICW, u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
    icon = framedIcon();
  }
  void TearDown() override { DestroyIcon(icon); }

  HWND iconControl(DWORD extra) {
    return CreateWindowExW(0, WC_STATICW, u"", WS_CHILD | WS_VISIBLE | SS_ICON | extra, 40, 50, 64, 48, parent, nullptr,
                           nullptr, nullptr);
  }

  platform::testing::TestDevice device;
  HWND parent = nullptr;
  HICON icon = nullptr;
};

TEST_F(StaticIconTest, AnIconControlTakesTheIconsSizeAndDrawsItThroughItsMask) {
  HWND control = iconControl(0);
  EXPECT_EQ(SendMessageW(control, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)), 0);
  EXPECT_EQ(SendMessageW(control, STM_GETICON, 0, 0), reinterpret_cast<LRESULT>(icon));
  RECT rc{};
  GetClientRect(control, &rc);
  EXPECT_EQ(rc.right, 16);
  EXPECT_EQ(rc.bottom, 16);
  device.runUntilIdle();
  EXPECT_EQ(device.pixel(40 + 8, 50 + 8), kRed);
  EXPECT_EQ(device.pixel(40 + 1, 50 + 1), GetSysColor(COLOR_STATIC)) << "the control's background round the icon";

  HICON other = framedIcon();
  EXPECT_EQ(SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(other), 0), reinterpret_cast<LRESULT>(icon))
      << "the previous icon comes back";
  EXPECT_EQ(SendMessageW(control, STM_SETIMAGE, 7, reinterpret_cast<LPARAM>(icon)), 0)
      << "unknown image types are refused";
  DestroyWindow(control);
  DestroyIcon(other);
}

TEST_F(StaticIconTest, CentredIconsKeepTheControlsSize) {
  HWND control = iconControl(SS_CENTERIMAGE);
  SendMessageW(control, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
  RECT rc{};
  GetClientRect(control, &rc);
  EXPECT_EQ(rc.right, 64);
  EXPECT_EQ(rc.bottom, 48);
  device.runUntilIdle();
  EXPECT_EQ(device.pixel(40 + 32, 50 + 24), kRed);
  EXPECT_EQ(device.pixel(40 + 5, 50 + 5), GetSysColor(COLOR_STATIC));
}

TEST_F(StaticIconTest, ADestroyedIconIsNotDrawn) {
  HWND control = iconControl(SS_CENTERIMAGE);
  HICON gone = framedIcon();
  SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(gone), 0);
  DestroyIcon(gone);
  InvalidateRect(control, nullptr, TRUE);
  device.runUntilIdle();
  EXPECT_EQ(device.pixel(40 + 32, 50 + 24), GetSysColor(COLOR_STATIC));
}

}  // namespace
