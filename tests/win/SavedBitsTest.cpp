// Windows whose class saves the bits under them (menus, dialogs): hiding one puts back the
// pixels and the recorded texts it covered, and paints afresh only what changed below it.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/GdiBridge.h"
#include "platform/gdi/WinGdi.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

struct Label {
  POINT at;
  std::u16string text;
  COLORREF color = RGB(0, 0, 0);
};

// What each board window paints: a background and its labels.
struct Boards {
  static std::map<HWND, std::vector<Label>>& labels() {
    static std::map<HWND, std::vector<Label>> table;
    return table;
  }
  static std::map<HWND, COLORREF>& backgrounds() {
    static std::map<HWND, COLORREF> table;
    return table;
  }
};

LRESULT CALLBACK boardProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MessageLog::instance().record(hwnd, message, wParam, lParam);
  if (message == WM_ERASEBKGND) return 1;
  if (message != WM_PAINT) return DefWindowProcW(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = CreateSolidBrush(Boards::backgrounds()[hwnd]);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  for (const Label& label : Boards::labels()[hwnd]) {
    SetTextColor(dc, label.color);
    ExtTextOutW(dc, label.at.x, label.at.y, 0, nullptr, label.text.c_str(), static_cast<UINT>(label.text.size()),
                nullptr);
  }
  EndPaint(hwnd, &ps);
  return 0;
}

void registerBoards() {
  WNDCLASSW existing;
  if (GetClassInfoW(nullptr, u"Board", &existing)) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = boardProc;
  wc.lpszClassName = u"Board";
  RegisterClassW(&wc);
  wc.style = CS_SAVEBITS;
  wc.lpszClassName = u"SavingBoard";
  RegisterClassW(&wc);
}

class SavedBits : public ::testing::Test {
 protected:
  void SetUp() override {
    Boards::labels().clear();
    Boards::backgrounds().clear();
    log().clear();
    log().keepOnly({WM_PAINT});
    registerBoards();
  }
  static MessageLog& log() { return MessageLog::instance(); }

  // A full-screen window with labels, below everything else.
  HWND board(const std::string& name, std::vector<Label> labels) {
    return make(name, u"Board", WS_VISIBLE, 0, RECT{0, 0, 240, 320}, RGB(255, 255, 255), std::move(labels));
  }
  // A topmost popup that saves the bits under it, as a menu does.
  HWND menu(const std::string& name, RECT r, std::vector<Label> labels) {
    return make(name, u"SavingBoard", WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST, r, RGB(200, 200, 200), std::move(labels));
  }
  HWND make(const std::string& name, const char16_t* cls, DWORD style, DWORD exStyle, RECT r, COLORREF background,
            std::vector<Label> labels) {
    log().namePending(name);
    HWND hwnd = CreateWindowExW(exStyle, cls, u"", style & ~WS_VISIBLE, r.left, r.top, r.right - r.left,
                                r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    log().name(hwnd, name);
    Boards::labels()[hwnd] = std::move(labels);
    Boards::backgrounds()[hwnd] = background;
    // Shown without taking the activation, as menus are.
    if (style & WS_VISIBLE) {
      SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    device.runUntilIdle();
    return hwnd;
  }

  static std::vector<std::uint16_t> screen() {
    const std::uint16_t* p = platform::gdi::screenPixels();
    return std::vector<std::uint16_t>(p, p + platform::gdi::screenWidth() * platform::gdi::screenHeight());
  }
  // The screen as a full repaint of every window would leave it.
  std::vector<std::uint16_t> repaintedScreen() {
    InvalidateRect(nullptr, nullptr, TRUE);
    device.runUntilIdle();
    return screen();
  }
  static std::vector<std::u16string> textsOf(HWND hwnd) {
    std::vector<std::u16string> out;
    for (const auto& t : platform::gdi::capturedTexts(hwnd)) out.push_back(t.text);
    return out;
  }

  TestDevice device;
};

TEST_F(SavedBits, HidingPutsBackThePixelsAndTextsUnderneathWithoutAPaint) {
  // "Truffles" lies across the menu's edge, "Chocolates" wholly under it.
  board("list", {{{20, 150}, u"Chocolates"}, {{100, 170}, u"Truffles"}, {{20, 20}, u"Books"}});
  const std::string before = device.dump();
  const std::vector<std::uint16_t> pixels = screen();

  HWND popup = menu("menu", RECT{10, 140, 120, 200}, {{{5, 5}, u"Sort By"}});
  ASSERT_NE(device.dump().find("\"Sort By\""), std::string::npos) << device.dump();
  ASSERT_NE(screen(), pixels);
  log().clear();
  ShowWindow(popup, SW_HIDE);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), Seq{}) << "nothing below repaints";
  EXPECT_EQ(device.dump(), before);
  EXPECT_EQ(screen(), pixels);

  // Shown again and destroyed, as menus go.
  ShowWindow(popup, SW_SHOWNA);
  device.runUntilIdle();
  log().clear();
  DestroyWindow(popup);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), Seq{});
  EXPECT_EQ(device.dump(), before);
  EXPECT_EQ(screen(), pixels);
}

TEST_F(SavedBits, WhatChangedBelowMeanwhileIsPaintedAfresh) {
  HWND list = board("list", {{{20, 150}, u"Chocolates"}, {{20, 20}, u"Books"}});
  HWND popup = menu("menu", RECT{10, 140, 120, 200}, {{{5, 5}, u"Remove"}});
  // The list changes under the menu, and paints what it can of it.
  Boards::labels()[list][0].text = u"Pralines";
  RECT row{0, 140, 240, 170};
  InvalidateRect(list, &row, TRUE);
  device.runUntilIdle();
  log().clear();
  DestroyWindow(popup);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), Seq{"list:WM_PAINT"});
  EXPECT_EQ(textsOf(list), (std::vector<std::u16string>{u"Books", u"Pralines"}));
  const std::vector<std::uint16_t> shown = screen();
  EXPECT_EQ(shown, repaintedScreen()) << "no old pixels of the row come back";
}

TEST_F(SavedBits, ASubmenuPutsBackTheListAndTheMenuRepaintsOnlyWhatChangedUnderIt) {
  HWND list = board("list", {{{20, 150}, u"Chocolates"}, {{90, 200}, u"Bursztynowe kolczyki"}});
  const std::string before = device.dump();
  const std::vector<std::uint16_t> pixels = screen();
  // The menu's "Sort By" runs under the submenu's right edge.
  HWND first = menu("menu", RECT{100, 60, 236, 260}, {{{5, 5}, u"Add Gift"}, {{5, 70}, u"Sort By"}});
  HWND second = menu("submenu", RECT{10, 120, 120, 240}, {{{5, 5}, u"Date"}});
  // The menu highlights the item that opened the submenu, under it too.
  Boards::labels()[first][1].color = RGB(255, 255, 255);
  InvalidateRect(first, nullptr, TRUE);
  device.runUntilIdle();
  const std::vector<std::u16string> menuTexts{u"Add Gift", u"Sort By"};

  log().clear();
  DestroyWindow(second);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), Seq{"menu:WM_PAINT"}) << "the list keeps what the submenu put back";
  EXPECT_EQ(textsOf(first), menuTexts) << "each item once, and whole";
  for (const auto& t : platform::gdi::capturedTexts(first)) {
    if (t.text == u"Sort By") {
      EXPECT_EQ(t.screenRect.left, 105);
    }
  }
  EXPECT_EQ(textsOf(list), (std::vector<std::u16string>{u"Chocolates", u"Bursztynowe kolczyki"}));

  log().clear();
  DestroyWindow(first);
  device.runUntilIdle();
  EXPECT_EQ(log().sequence(), Seq{});
  EXPECT_EQ(device.dump(), before);
  EXPECT_EQ(screen(), pixels);
  (void)list;
}

TEST_F(SavedBits, AWindowThatWentAwayUnderneathDoesNotComeBack) {
  HWND list = board("list", {{{20, 20}, u"Books"}});
  HWND badge =
      make("badge", u"Board", WS_POPUP | WS_VISIBLE, 0, RECT{30, 150, 80, 170}, RGB(0, 0, 255), {{{2, 2}, u"New"}});
  HWND popup = menu("menu", RECT{10, 140, 120, 200}, {{{5, 5}, u"Remove"}});
  DestroyWindow(badge);
  device.runUntilIdle();
  DestroyWindow(popup);
  device.runUntilIdle();
  EXPECT_EQ(device.dump().find("\"New\""), std::string::npos) << device.dump();
  EXPECT_EQ(device.pixel(40, 160), RGB(255, 255, 255)) << "the list shows there now";
  const std::vector<std::uint16_t> shown = screen();
  EXPECT_EQ(shown, repaintedScreen());
  (void)list;
}

TEST_F(SavedBits, TurningTheScreenForgetsWhatWasKept) {
  board("list", {{{20, 150}, u"Chocolates"}});
  HWND popup = menu("menu", RECT{10, 140, 120, 200}, {{{5, 5}, u"Remove"}});
  device.rotate();
  DestroyWindow(popup);
  device.runUntilIdle();
  const std::vector<std::uint16_t> shown = screen();
  EXPECT_EQ(shown, repaintedScreen());
  EXPECT_NE(device.dump().find("\"Chocolates\""), std::string::npos);
}

}  // namespace
