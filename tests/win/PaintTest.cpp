// Paint as a flag: when WM_PAINT comes, in which order, what BeginPaint hands out, and the
// pixels that end up on the screen.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/base/Clock.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/gdi/WinGdi.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

class PaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log().clear();
    log().keepOnly({WM_PAINT, WM_ERASEBKGND, WM_TIMER, WM_USER});
  }
  static MessageLog& log() { return MessageLog::instance(); }
  TestDevice device;
};

// A window that paints a solid colour and remembers what BeginPaint gave it.
struct Painter {
  static RECT& lastPaint() {
    static RECT r;
    return r;
  }
  static BOOL& lastErase() {
    static BOOL e;
    return e;
  }
  static int& count() {
    static int n;
    return n;
  }
  static LRESULT proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      lastPaint() = ps.rcPaint;
      lastErase() = ps.fErase;
      ++count();
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, red);
      DeleteObject(red);
      EndPaint(hwnd, &ps);
      return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  static void reset() {
    count() = 0;
    lastPaint() = RECT{};
    lastErase() = FALSE;
  }
};

HWND makePainter(HWND parent, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE) {
  WNDCLASSW existing;
  if (!GetClassInfoW(nullptr, u"PainterWindow", &existing)) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Painter::proc;
    wc.lpszClassName = u"PainterWindow";
    RegisterClassW(&wc);
  }
  return CreateWindowExW(0, u"PainterWindow", u"", style, x, y, w, h, parent, nullptr, nullptr, nullptr);
}

}  // namespace

TEST_F(PaintTest, PaintComesAfterPostedMessagesAndBeforeTimersAsOneMessage) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  device.runUntilIdle();
  log().clear();
  SetTimer(top, 5, 10, nullptr);
  device.advance(0);
  log().clear();
  InvalidateRect(top, nullptr, FALSE);
  InvalidateRect(top, nullptr, FALSE);
  PostMessageW(top, WM_USER, 0, 0);
  platform::Clock::instance().advance(10);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_USER", "top:WM_PAINT", "top:WM_TIMER"}));
}

TEST_F(PaintTest, ParentsPaintBeforeChildren) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  createLogWindow("child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top);
  device.runUntilIdle();
  log().clear();
  InvalidateRect(top, nullptr, FALSE);  // no WS_CLIPCHILDREN: the child is invalidated too
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_PAINT", "child:WM_PAINT"}));
}

TEST_F(PaintTest, ClipChildrenKeepsChildrenOutOfTheParentsInvalidation) {
  HWND top = createLogWindow("top", WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 240, 320);
  createLogWindow("child", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top);
  device.runUntilIdle();
  log().clear();
  InvalidateRect(top, nullptr, FALSE);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_PAINT"}));
}

TEST_F(PaintTest, BeginPaintHandsOutTheUnionAndErasesOnlyWhenAsked) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  HWND w = makePainter(top, 0, 0, 100, 100);
  device.runUntilIdle();
  Painter::reset();
  RECT a{10, 10, 20, 20};
  RECT b{30, 5, 40, 15};
  InvalidateRect(w, &a, FALSE);
  InvalidateRect(w, &b, FALSE);
  device.runUntilIdle();
  EXPECT_EQ(Painter::count(), 1);
  EXPECT_EQ(Painter::lastPaint().left, 10);
  EXPECT_EQ(Painter::lastPaint().top, 5);
  EXPECT_EQ(Painter::lastPaint().right, 40);
  EXPECT_EQ(Painter::lastPaint().bottom, 20);
  // No background brush: WM_ERASEBKGND answers 0 and the window must erase itself.
  InvalidateRect(w, nullptr, TRUE);
  device.runUntilIdle();
  EXPECT_TRUE(Painter::lastErase());
}

TEST_F(PaintTest, EraseIsSentFromBeginPaintOnlyWhenRequested) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  device.runUntilIdle();
  log().clear();
  InvalidateRect(top, nullptr, FALSE);
  device.runUntilIdle();
  InvalidateRect(top, nullptr, TRUE);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_PAINT", "top:WM_PAINT", "top:WM_ERASEBKGND"}));
}

TEST_F(PaintTest, ValidatedHiddenAndRedrawOffWindowsDoNotPaint) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  HWND child = createLogWindow("child", WS_CHILD, 0, 0, 50, 50, top);
  device.runUntilIdle();
  log().clear();
  InvalidateRect(top, nullptr, FALSE);
  ValidateRect(top, nullptr);
  InvalidateRect(child, nullptr, TRUE);  // hidden
  device.runUntilIdle();
  EXPECT_TRUE(log().sequence().empty());

  RECT update;
  SendMessageW(top, WM_SETREDRAW, FALSE, 0);
  InvalidateRect(top, nullptr, FALSE);
  device.runUntilIdle();
  EXPECT_TRUE(log().sequence().empty());
  EXPECT_TRUE(GetUpdateRect(top, &update, FALSE));
  SendMessageW(top, WM_SETREDRAW, TRUE, 0);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_PAINT"}));
  EXPECT_FALSE(GetUpdateRect(top, &update, FALSE));
}

TEST_F(PaintTest, UpdateWindowPaintsAtOnce) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  device.runUntilIdle();
  log().clear();
  InvalidateRect(top, nullptr, FALSE);
  UpdateWindow(top);
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_PAINT"}));
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(log().sequence(), (Seq{"top:WM_PAINT", "top:WM_PAINT", "top:WM_ERASEBKGND"}));
}

TEST_F(PaintTest, PixelsFollowWindowsAndUncoveredAreasAreRepainted) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);  // white background
  HWND w = makePainter(top, 20, 20, 40, 40);
  device.runUntilIdle();
  EXPECT_EQ(device.pixel(30, 30), RGB(255, 0, 0));
  EXPECT_EQ(device.pixel(10, 10), RGB(255, 255, 255));
  MoveWindow(w, 100, 100, 40, 40, TRUE);
  device.runUntilIdle();
  EXPECT_EQ(device.pixel(30, 30), RGB(255, 255, 255));
  EXPECT_EQ(device.pixel(110, 110), RGB(255, 0, 0));
  // A hidden top-level window leaves the desktop colour behind.
  ShowWindow(top, SW_HIDE);
  device.runUntilIdle();
  const DWORD desktop = GetSysColor(COLOR_BACKGROUND);
  const COLORREF seen = device.pixel(110, 110);
  EXPECT_NEAR(GetRValue(seen), GetRValue(desktop), 8);
  EXPECT_NEAR(GetBValue(seen), GetBValue(desktop), 8);
}

TEST_F(PaintTest, HidingAWindowRepaintsOnlyTheWindowsItUncovers) {
  createLogWindow("bottom", WS_VISIBLE, 0, 0, 240, 320);
  createLogWindow("middle", WS_VISIBLE | WS_POPUP, 0, 0, 120, 120);
  HWND top = createLogWindow("top", WS_VISIBLE | WS_POPUP, 20, 20, 60, 60);
  device.runUntilIdle();
  log().clear();
  ShowWindow(top, SW_HIDE);
  device.runUntilIdle();
  // Under the middle window, the bottom one shows nothing new.
  EXPECT_EQ(log().sequence(), (Seq{"middle:WM_PAINT", "middle:WM_ERASEBKGND"}));

  MoveWindow(top, 100, 100, 60, 60, FALSE);
  ShowWindow(top, SW_SHOWNA);
  device.runUntilIdle();
  log().clear();
  ShowWindow(top, SW_HIDE);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(),
            (Seq{"middle:WM_PAINT", "middle:WM_ERASEBKGND", "bottom:WM_PAINT", "bottom:WM_ERASEBKGND"}));
}

TEST_F(PaintTest, DrawingIsClippedToTheVisiblePartOfTheWindow) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  HWND popup = makePainter(nullptr, 0, 0, 100, 100, WS_POPUP | WS_VISIBLE);
  device.runUntilIdle();
  // The top window paints white everywhere; the popup above it stays red.
  InvalidateRect(top, nullptr, TRUE);
  device.runUntilIdle();
  EXPECT_EQ(device.pixel(50, 50), RGB(255, 0, 0));
  EXPECT_EQ(device.pixel(150, 150), RGB(255, 255, 255));
  DestroyWindow(popup);
  device.runUntilIdle();
  EXPECT_EQ(device.pixel(50, 50), RGB(255, 255, 255));
}

TEST_F(PaintTest, ScrollWindowExMovesPixelsAndInvalidatesTheUncoveredStrip) {
  HWND top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  device.runUntilIdle();
  HDC dc = GetDC(top);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  RECT band{0, 100, 240, 110};
  FillRect(dc, &band, blue);
  DeleteObject(blue);
  ReleaseDC(top, dc);
  RECT update{};
  EXPECT_EQ(ScrollWindowEx(top, 0, -20, nullptr, nullptr, nullptr, &update, SW_INVALIDATE), SIMPLEREGION);
  EXPECT_EQ(update.top, 300);
  EXPECT_EQ(update.bottom, 320);
  EXPECT_EQ(device.pixel(10, 85), RGB(0, 0, 255));
  EXPECT_EQ(ScrollWindowEx(reinterpret_cast<HWND>(0x1234), 0, 1, nullptr, nullptr, nullptr, nullptr, 0), ERROR);
}

TEST_F(PaintTest, WaitCursorShowsTheBusyIndicatorUntilTheArrowReturns) {
  createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
  device.runUntilIdle();
  ASSERT_EQ(device.pixel(120, 160), RGB(255, 255, 255));
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  ASSERT_NE(wait, nullptr);
  const HCURSOR before = SetCursor(wait);
  EXPECT_NE(device.pixel(120 - 9, 160 - 9), RGB(255, 255, 255));  // a segment of the indicator
  EXPECT_EQ(GetCursor(), wait);
  SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  device.runUntilIdle();
  EXPECT_EQ(device.pixel(120 - 9, 160 - 9), RGB(255, 255, 255));
  (void)before;
  EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCE(1)), nullptr);
}

TEST_F(PaintTest, ThePlatformDrawsCaptionBorderAndScrollBar) {
  HWND top = createLogWindow("top", WS_VISIBLE | WS_POPUP | WS_CAPTION | WS_VSCROLL, 0, 0, 240, 320);
  SetWindowTextW(top, u"Title");
  device.runUntilIdle();
  RECT client;
  GetClientRect(top, &client);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  // WS_CAPTION carries WS_DLGFRAME: a dialog frame on every side.
  const int frame = GetSystemMetrics(SM_CXDLGFRAME);
  EXPECT_EQ(client.bottom, 320 - 2 * frame - caption);
  EXPECT_EQ(client.right, 240 - 2 * frame - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_NE(device.dump().find("  text \"Title\""), std::string::npos) << device.dump();
  EXPECT_EQ(device.pixel(0, 100), RGB(0, 0, 0));                  // the border
  EXPECT_NE(device.pixel(120, caption / 2), RGB(255, 255, 255));  // the caption bar
  // The scroll bar track, below the thumb, differs from the white client area.
  EXPECT_NE(device.pixel(240 - frame - GetSystemMetrics(SM_CXVSCROLL) / 2, 250), RGB(255, 255, 255));
  EXPECT_EQ(device.pixel(100, 250), RGB(255, 255, 255));
  if (const char* dir = std::getenv("PELLUCARD_TEST_SNAPSHOTS")) device.screenshot(std::string(dir) + "/frame.png");
}

namespace {

// A child that writes its window text at its top left.
LRESULT CALLBACK textChildProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT r{0, 0, 100, 20};
  WCHAR text[32] = {};
  GetWindowTextW(hwnd, text, 32);
  DrawTextW(dc, text, -1, &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  EndPaint(hwnd, &ps);
  return 0;
}

std::vector<RECT> recordsOf(HWND hwnd, const std::u16string& text) {
  std::vector<RECT> out;
  for (const auto& t : platform::gdi::capturedTexts(hwnd)) {
    if (t.text == text) out.push_back(t.drawnRect);
  }
  return out;
}

}  // namespace

TEST_F(PaintTest, TextsDrawnMoveWithTheirWindowAndItsChildren) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = textChildProc;
  wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  wc.lpszClassName = u"TextChild";
  RegisterClassW(&wc);
  HWND top = createLogWindow("top", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320);
  HWND box =
      CreateWindowExW(0, u"TextChild", u"Box", WS_CHILD | WS_VISIBLE, 10, 10, 200, 100, top, nullptr, nullptr, nullptr);
  HWND inner =
      CreateWindowExW(0, u"TextChild", u"Inner", WS_CHILD | WS_VISIBLE, 0, 40, 150, 30, box, nullptr, nullptr, nullptr);
  device.runUntilIdle();
  ASSERT_EQ(recordsOf(inner, u"Inner").size(), 1u);
  const RECT before = recordsOf(inner, u"Inner").front();

  // Moved up by 60 and painted again: each text once, where it now is.
  SetWindowPos(box, nullptr, 10, -50, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  device.runUntilIdle();
  ASSERT_EQ(recordsOf(inner, u"Inner").size(), 1u);
  EXPECT_EQ(recordsOf(inner, u"Inner").front().top, before.top - 60);
  EXPECT_EQ(recordsOf(box, u"Box").size(), 0u) << "above the screen now";

  // Moved without a repaint, the texts still go with the pixels.
  SetWindowPos(box, nullptr, 10, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  ASSERT_EQ(recordsOf(inner, u"Inner").size(), 1u);
  EXPECT_EQ(recordsOf(inner, u"Inner").front().top, before.top + 90);
}
