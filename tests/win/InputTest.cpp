// Keys, characters, hot keys, the stylus and the window scroll bar.
#include <gtest/gtest.h>

#include "platform/base/WinError.h"
#include "platform/win/Input.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log().clear();
    log().keepOnly({});
    top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
    device.runUntilIdle();
  }
  static MessageLog& log() { return MessageLog::instance(); }
  std::vector<platform::testing::LoggedMessage> only(UINT message) const {
    std::vector<platform::testing::LoggedMessage> out;
    for (const auto& e : MessageLog::instance().entries())
      if (e.message == message) out.push_back(e);
    return out;
  }
  TestDevice device;
  HWND top = nullptr;
};

}  // namespace

TEST_F(InputTest, KeysGoToTheFocusWindowWithRepeatAndTransitionBits) {
  HWND child = createLogWindow("child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  SetFocus(child);
  log().keepOnly({WM_KEYDOWN, WM_KEYUP, WM_CHAR});
  log().clear();
  device.keyDown(VK_DOWN);
  device.keyDown(VK_DOWN, true);
  device.keyUp(VK_DOWN);
  ASSERT_EQ(log().sequence(), (Seq{"child:WM_KEYDOWN", "child:WM_KEYDOWN", "child:WM_KEYUP"}));
  const auto& e = log().entries();
  EXPECT_EQ(e[0].wParam, static_cast<WPARAM>(VK_DOWN));
  EXPECT_EQ(e[0].lParam & 0xFFFF, 1);
  EXPECT_EQ(e[0].lParam & (1L << 30), 0);                // was up before
  EXPECT_NE(e[1].lParam & (1L << 30), 0);                // auto-repeat: was down
  EXPECT_NE(static_cast<DWORD>(e[2].lParam) >> 31, 0u);  // key up transition
  EXPECT_EQ(GetKeyState(VK_DOWN) & 0x8000, 0);
}

TEST_F(InputTest, TranslateMessageMakesCharactersFromKeysAndShift) {
  log().keepOnly({WM_CHAR});
  device.type(u"aB3 é");
  std::u16string typed;
  for (const auto& e : only(WM_CHAR)) typed.push_back(static_cast<char16_t>(e.wParam));
  EXPECT_EQ(typed, u"aB3 é");
  log().clear();
  device.key(VK_RETURN);
  device.key(VK_LEFT);  // no character
  ASSERT_EQ(only(WM_CHAR).size(), 1u);
  EXPECT_EQ(only(WM_CHAR)[0].wParam, static_cast<WPARAM>(u'\r'));
}

TEST_F(InputTest, HotKeyReplacesTheKeyAndReportsTheReleaseWithKeyUpBit) {
  ASSERT_TRUE(RegisterHotKey(top, 0x20, MOD_KEYUP, VK_TBACK));
  log().keepOnly({WM_HOTKEY, WM_KEYDOWN, WM_KEYUP});
  log().clear();
  device.key(VK_TBACK);
  ASSERT_EQ(log().sequence(), (Seq{"top:WM_HOTKEY", "top:WM_HOTKEY"}));
  EXPECT_EQ(log().entries()[0].wParam, 0x20u);
  EXPECT_EQ(log().entries()[0].lParam, 0x1B0000);
  EXPECT_EQ(log().entries()[1].lParam, 0x1B1000);

  // Without MOD_KEYUP only the press arrives; a second owner is refused.
  ASSERT_TRUE(UnregisterHotKey(top, 0x20));
  ASSERT_TRUE(RegisterHotKey(top, 0x21, 0, VK_F3));
  SetLastError(0);
  EXPECT_FALSE(RegisterHotKey(top, 0x22, 0, VK_F3));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
  log().clear();
  device.key(VK_F3);
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_HOTKEY"}));
  EXPECT_FALSE(UnregisterHotKey(top, 0x77));
}

TEST_F(InputTest, TapsGoToTheWindowUnderTheStylusInClientCoordinates) {
  createLogWindow("child", WS_CHILD | WS_VISIBLE | WS_BORDER, 20, 30, 100, 100, top);
  log().keepOnly({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEMOVE});
  log().clear();
  device.tap(25, 35);
  device.advance(100);
  device.tap(26, 36);
  ASSERT_EQ(log().sequence(),
            (Seq{"child:WM_LBUTTONDOWN", "child:WM_LBUTTONUP", "child:WM_LBUTTONDBLCLK", "child:WM_LBUTTONUP"}));
  EXPECT_EQ(log().entries()[0].lParam, MAKELPARAM(4, 4));
  EXPECT_EQ(log().entries()[0].wParam, static_cast<WPARAM>(MK_LBUTTON));
  // After the double-click time a tap is a single tap again.
  log().clear();
  device.advance(1000);
  device.tap(26, 36);
  EXPECT_EQ(log().sequence(), (Seq{"child:WM_LBUTTONDOWN", "child:WM_LBUTTONUP"}));
}

TEST_F(InputTest, CaptureReceivesTheStylusEverywhereAndDisabledWindowsNothing) {
  HWND child = createLogWindow("child", WS_CHILD | WS_VISIBLE, 20, 30, 100, 100, top);
  log().keepOnly({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE});
  log().clear();
  SetCapture(child);
  device.stylusDown(200, 300);
  device.stylusMove(210, 305);
  device.stylusUp(210, 305);
  ASSERT_EQ(log().sequence(), (Seq{"child:WM_LBUTTONDOWN", "child:WM_MOUSEMOVE", "child:WM_LBUTTONUP"}));
  EXPECT_EQ(log().entries()[1].lParam, MAKELPARAM(190, 275));
  ReleaseCapture();
  EnableWindow(child, FALSE);
  log().clear();
  device.tap(30, 40);
  EXPECT_TRUE(log().sequence().empty());
}

TEST_F(InputTest, StylusOnTheScrollBarSendsScrollCodes) {
  HWND list = createLogWindow("list", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 200, 200, top);
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 399, 200, 0, 0};
  SetScrollInfo(list, SB_VERT, &si, TRUE);
  RECT client;
  GetClientRect(list, &client);
  const int barX = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
  EXPECT_EQ(client.right, 200 - GetSystemMetrics(SM_CXVSCROLL));
  log().keepOnly({WM_VSCROLL});
  log().clear();
  device.tap(barX, 195);  // the down arrow
  device.tap(barX, 150);  // the track below the thumb
  ASSERT_EQ(log().entries().size(), 4u);
  EXPECT_EQ(LOWORD(log().entries()[0].wParam), SB_LINEDOWN);
  EXPECT_EQ(LOWORD(log().entries()[1].wParam), SB_ENDSCROLL);
  EXPECT_EQ(LOWORD(log().entries()[2].wParam), SB_PAGEDOWN);
  EXPECT_EQ(log().entries()[0].lParam, 0);

  // Dragging the thumb to the bottom reports the last position.
  log().clear();
  device.stylusDown(barX, 20);
  device.stylusMove(barX, 400);
  device.stylusUp(barX, 400);
  ASSERT_EQ(log().entries().size(), 3u);
  EXPECT_EQ(LOWORD(log().entries()[0].wParam), SB_THUMBTRACK);
  EXPECT_EQ(HIWORD(log().entries()[0].wParam), 200);
  EXPECT_EQ(LOWORD(log().entries()[1].wParam), SB_THUMBPOSITION);
  EXPECT_EQ(HIWORD(log().entries()[1].wParam), 200);
}

TEST_F(InputTest, ScrollInfoClampsAndShowsTheBarOnlyWhenThereIsSomethingToScroll) {
  HWND w = createLogWindow("w", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, top);
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 99, 50, 80, 0};
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &si, TRUE), 50);  // max - page + 1
  EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & WS_VSCROLL);
  si = SCROLLINFO{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 100, 0, 0};
  SetScrollInfo(w, SB_VERT, &si, TRUE);
  EXPECT_FALSE(GetWindowLongW(w, GWL_STYLE) & WS_VSCROLL);
  RECT client;
  GetClientRect(w, &client);
  EXPECT_EQ(client.right, 100);
  SCROLLINFO bad{0, SIF_ALL, 0, 0, 0, 0, 0};
  EXPECT_EQ(SetScrollInfo(w, SB_VERT, &bad, TRUE), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(InputTest, HeldKeyRepeatsAfterTheDelayThenAtTheRate) {
  SetFocus(top);
  log().keepOnly({WM_KEYDOWN, WM_KEYUP});
  log().clear();
  ASSERT_TRUE(device.script("hold DOWN 1000\nquit\n"));
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  // Down at 0, repeats at 500, 600, 700, 800 and 900 ms, up at 1000 ms.
  const auto downs = only(WM_KEYDOWN);
  ASSERT_EQ(downs.size(), 6u);
  EXPECT_EQ(downs[0].lParam & (1L << 30), 0);
  for (size_t i = 1; i < downs.size(); ++i) EXPECT_NE(downs[i].lParam & (1L << 30), 0);
  EXPECT_EQ(only(WM_KEYUP).size(), 1u);
}

TEST_F(InputTest, HoldingAScrollArrowRepeatsUntilTheStylusLifts) {
  HWND list = createLogWindow("list", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 0, 0, 200, 200, top);
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 399, 200, 0, 0};
  SetScrollInfo(list, SB_VERT, &si, TRUE);
  const int barX = 200 - GetSystemMetrics(SM_CXVSCROLL) / 2;
  log().keepOnly({WM_VSCROLL});
  log().clear();
  device.stylusDown(barX, 195);
  device.advance(650);  // first repeat after 400 ms, then every 100 ms
  EXPECT_EQ(log().entries().size(), 4u);
  device.stylusUp(barX, 195);
  device.advance(1000);
  ASSERT_EQ(log().entries().size(), 5u);
  EXPECT_EQ(LOWORD(log().entries()[3].wParam), SB_LINEDOWN);
  EXPECT_EQ(LOWORD(log().entries()[4].wParam), SB_ENDSCROLL);
}
