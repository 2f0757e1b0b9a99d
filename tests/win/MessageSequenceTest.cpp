// What windows receive for an action, compared with tables of the expected sequence.
#include <gtest/gtest.h>

#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

class MessageSequenceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log().clear();
    log().keepOnly({});
  }
  static MessageLog& log() { return MessageLog::instance(); }
  TestDevice device;
};

// WINDOWPOS flags seen in WM_WINDOWPOSCHANGED, captured while the pointer is alive.
struct PosFlags {
  static std::vector<UINT>& seen() {
    static std::vector<UINT> flags;
    return flags;
  }
  static LRESULT proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGED) seen().push_back(reinterpret_cast<WINDOWPOS*>(lParam)->flags);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
};

}  // namespace

TEST_F(MessageSequenceTest, CreatingVisibleTopLevelWindow) {
  createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  EXPECT_EQ(log().sequence(),
            (Seq{"top:WM_NCCREATE", "top:WM_CREATE", "top:WM_SIZE", "top:WM_MOVE", "top:WM_SHOWWINDOW",
                 "top:WM_WINDOWPOSCHANGING", "top:WM_ACTIVATE", "top:WM_SETFOCUS", "top:WM_WINDOWPOSCHANGED"}));
  EXPECT_EQ(log().entries()[2].lParam, MAKELPARAM(240, 320));
  EXPECT_EQ(LOWORD(log().entries()[6].wParam), WA_ACTIVE);
}

TEST_F(MessageSequenceTest, CreatingChildSendsNoActivation) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  log().clear();
  HWND child = createLogWindow("child", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 20, 100, 50, top, 7);
  EXPECT_EQ(log().sequence(), (Seq{"child:WM_NCCREATE", "child:WM_CREATE", "child:WM_SIZE", "child:WM_MOVE",
                                   "child:WM_SHOWWINDOW", "child:WM_WINDOWPOSCHANGING", "child:WM_WINDOWPOSCHANGED"}));
  // The client area lies inside the one-pixel border; WM_MOVE reports it in parent coordinates.
  EXPECT_EQ(log().entries()[2].lParam, MAKELPARAM(98, 48));
  EXPECT_EQ(log().entries()[3].lParam, MAKELPARAM(11, 21));
  EXPECT_EQ(GetDlgCtrlID(child), 7);
  EXPECT_EQ(GetParent(child), top);
}

TEST_F(MessageSequenceTest, VisibilityFlagsReachWindowPosChangedThroughEitherCall) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  HWND child = createLogWindow("child", WS_CHILD, 0, 0, 50, 50, top);
  SetWindowLongPtrW(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PosFlags::proc));
  PosFlags::seen().clear();

  ShowWindow(child, SW_SHOW);
  SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(child, SW_HIDE);
  ASSERT_EQ(PosFlags::seen().size(), 4u);
  EXPECT_TRUE(PosFlags::seen()[0] & SWP_SHOWWINDOW);
  EXPECT_TRUE(PosFlags::seen()[1] & SWP_HIDEWINDOW);
  EXPECT_TRUE(PosFlags::seen()[2] & SWP_SHOWWINDOW);
  EXPECT_TRUE(PosFlags::seen()[3] & SWP_HIDEWINDOW);

  // Asking for what already is changes nothing, so nothing is reported as changed.
  PosFlags::seen().clear();
  SetWindowPos(child, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(PosFlags::seen().empty());
  EXPECT_FALSE(ShowWindow(child, SW_HIDE));
}

TEST_F(MessageSequenceTest, ResizingSendsOnlySizeAndMovingOnlyMove) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  HWND child = createLogWindow("child", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  log().clear();
  MoveWindow(child, 0, 0, 60, 70, TRUE);
  EXPECT_EQ(log().sequence(), (Seq{"child:WM_WINDOWPOSCHANGING", "child:WM_WINDOWPOSCHANGED", "child:WM_SIZE"}));
  EXPECT_EQ(log().entries()[2].lParam, MAKELPARAM(60, 70));
  log().clear();
  MoveWindow(child, 5, 6, 60, 70, TRUE);
  EXPECT_EQ(log().sequence(), (Seq{"child:WM_WINDOWPOSCHANGING", "child:WM_WINDOWPOSCHANGED", "child:WM_MOVE"}));
  EXPECT_EQ(log().entries()[2].lParam, MAKELPARAM(5, 6));
}

TEST_F(MessageSequenceTest, DestroyingSendsDestroyParentFirstAndNcDestroyChildrenFirst) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  createLogWindow("a", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  HWND b = createLogWindow("b", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  SetTimer(b, 1, 100, nullptr);
  PostMessageW(b, WM_USER, 0, 0);
  log().keepOnly({WM_DESTROY, WM_NCDESTROY});
  log().clear();
  EXPECT_TRUE(DestroyWindow(top));
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_DESTROY", "a:WM_DESTROY", "b:WM_DESTROY", "a:WM_NCDESTROY", "b:WM_NCDESTROY",
                                   "top:WM_NCDESTROY"}));
  EXPECT_FALSE(IsWindow(b));
  // The window's timer and queued message went with it.
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  device.advance(500);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(MessageSequenceTest, FocusChangeTellsBothWindowsAboutEachOther) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  HWND a = createLogWindow("a", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  HWND b = createLogWindow("b", WS_CHILD | WS_VISIBLE, 0, 60, 50, 50, top);
  SetFocus(a);
  log().keepOnly({WM_SETFOCUS, WM_KILLFOCUS});
  log().clear();
  EXPECT_EQ(SetFocus(b), a);
  ASSERT_EQ(log().sequence(), (Seq{"a:WM_KILLFOCUS", "b:WM_SETFOCUS"}));
  EXPECT_EQ(log().entries()[0].wParam, reinterpret_cast<WPARAM>(b));
  EXPECT_EQ(log().entries()[1].wParam, reinterpret_cast<WPARAM>(a));
  // Destroying the focus child hands the focus to its parent.
  log().clear();
  DestroyWindow(b);
  EXPECT_EQ(GetFocus(), top);
  EXPECT_EQ(log().sequence(), (Seq{"b:WM_KILLFOCUS", "top:WM_SETFOCUS"}));
}

TEST_F(MessageSequenceTest, CaptureChangesAreAnnounced) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  HWND a = createLogWindow("a", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, top);
  HWND b = createLogWindow("b", WS_CHILD | WS_VISIBLE, 0, 60, 50, 50, top);
  log().keepOnly({WM_CAPTURECHANGED});
  log().clear();
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_TRUE(ReleaseCapture());
  ASSERT_EQ(log().sequence(), (Seq{"a:WM_CAPTURECHANGED", "b:WM_CAPTURECHANGED"}));
  EXPECT_EQ(log().entries()[0].lParam, reinterpret_cast<LPARAM>(b));
  EXPECT_EQ(log().entries()[1].lParam, 0);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(MessageSequenceTest, ActivationMovesBetweenTopLevelWindows) {
  HWND first = createLogWindow("first", WS_VISIBLE, 0, 0, 240, 320);
  HWND second = createLogWindow("second", WS_VISIBLE | WS_POPUP, 20, 20, 100, 100);
  EXPECT_EQ(GetActiveWindow(), second);
  log().keepOnly({WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS});
  log().clear();
  EXPECT_EQ(SetActiveWindow(first), second);
  ASSERT_EQ(log().sequence(),
            (Seq{"second:WM_ACTIVATE", "first:WM_ACTIVATE", "second:WM_KILLFOCUS", "first:WM_SETFOCUS"}));
  EXPECT_EQ(LOWORD(log().entries()[0].wParam), WA_INACTIVE);
  EXPECT_EQ(log().entries()[0].lParam, reinterpret_cast<LPARAM>(first));
  EXPECT_EQ(log().entries()[1].lParam, reinterpret_cast<LPARAM>(second));
  EXPECT_EQ(GetWindow(first, GW_HWNDFIRST), first);  // now on top

  // Hiding the active window activates the next one.
  log().clear();
  ShowWindow(first, SW_HIDE);
  EXPECT_EQ(GetActiveWindow(), second);
  EXPECT_EQ(GetFocus(), second);
}

TEST_F(MessageSequenceTest, WmCloseDestroysThroughDefWindowProc) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  PostMessageW(top, WM_CLOSE, 0, 0);
  log().keepOnly({WM_CLOSE, WM_DESTROY, WM_NCDESTROY});
  log().clear();
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_CLOSE", "top:WM_DESTROY", "top:WM_NCDESTROY"}));
  EXPECT_FALSE(IsWindow(top));
}
