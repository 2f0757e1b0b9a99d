// The list box through its messages, keys and stylus on both editions, with what it tells its
// parent compared against tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/WinListBox.h"
#include "platform/gdi/WinGdi.h"
#include "tests/controls/ControlParent.h"
#include "tests/support/TestDevice.h"

using controls_test::createParent;
using controls_test::drawnTexts;
using controls_test::notifications;
using controls_test::onScreen;
using platform::Edition;
using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

std::u16string numbered(int i) {
  const std::string digits = std::to_string(i);
  return u"Item " + std::u16string(digits.begin(), digits.end());
}

class ListBoxTest : public ::testing::Test {
 protected:
  HWND create(DWORD style, int x, int y, int width, int height) {
    HWND list = CreateWindowExW(0, WC_LISTBOXW, u"", WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                nullptr, nullptr, nullptr);
    SetWindowLongW(list, GWL_ID, 7);
    return list;
  }
  void fill(HWND list, int count) {
    for (int i = 0; i < count; ++i) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(numbered(i).c_str()));
  }
  std::u16string text(HWND list, int i) {
    const auto length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    if (length == LB_ERR) return u"<error>";
    std::u16string buffer(static_cast<std::size_t>(length) + 1, u'\0');
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(length));
    return buffer;
  }
  static LRESULT send(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(list, message, wParam, lParam);
  }
  static LPARAM str(const char16_t* s) { return reinterpret_cast<LPARAM>(s); }

  TestDevice device{Edition::PocketPc, 240, 320};
  HWND parent = createParent(240, 320);
};

TEST_F(ListBoxTest, KeepsTextsAndDataAndRefusesIndexesOutOfRange) {
  HWND list = create(WS_BORDER, 10, 10, 120, 100);
  EXPECT_EQ(send(list, LB_ADDSTRING, 0, str(u"Pears")), 0);
  EXPECT_EQ(send(list, LB_ADDSTRING, 0, str(u"Apples")), 1);
  EXPECT_EQ(send(list, LB_INSERTSTRING, 0, str(u"Figs")), 0);
  EXPECT_EQ(send(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), str(u"Plums")), 3);
  EXPECT_EQ(send(list, LB_INSERTSTRING, 9, str(u"Kiwis")), LB_ERR);
  EXPECT_EQ(send(list, LB_GETCOUNT), 4);
  EXPECT_EQ(text(list, 0), u"Figs");
  EXPECT_EQ(text(list, 3), u"Plums");
  EXPECT_EQ(send(list, LB_GETTEXTLEN, 2), 6);

  EXPECT_EQ(send(list, LB_SETITEMDATA, 1, 4711), TRUE);
  EXPECT_EQ(send(list, LB_GETITEMDATA, 1), 4711);
  EXPECT_EQ(send(list, LB_GETITEMDATA, 0), 0);

  for (int bad : {-2, 4, 100}) {
    const auto i = static_cast<WPARAM>(bad);
    EXPECT_EQ(send(list, LB_GETTEXTLEN, i), LB_ERR) << bad;
    EXPECT_EQ(send(list, LB_GETTEXT, i, str(u"xxxxxxxxxxxxxxxxx")), LB_ERR) << bad;
    EXPECT_EQ(send(list, LB_SETITEMDATA, i, 1), LB_ERR) << bad;
    EXPECT_EQ(send(list, LB_GETITEMDATA, i), LB_ERR) << bad;
    EXPECT_EQ(send(list, LB_DELETESTRING, i), LB_ERR) << bad;
    EXPECT_EQ(send(list, LB_GETSEL, i), LB_ERR) << bad;
  }
  EXPECT_EQ(send(list, LB_GETCOUNT), 4);

  EXPECT_EQ(send(list, LB_GETCURSEL), LB_ERR);
  EXPECT_EQ(send(list, LB_SETCURSEL, 2), 2);
  EXPECT_EQ(send(list, LB_SETCURSEL, 4), LB_ERR);
  EXPECT_EQ(send(list, LB_GETCURSEL), 2) << "a bad index leaves the selection";
  EXPECT_EQ(send(list, LB_SETCURSEL, static_cast<WPARAM>(-1)), LB_ERR) << "as the platform answers";
  EXPECT_EQ(send(list, LB_GETCURSEL), LB_ERR);
  EXPECT_TRUE(notifications().empty()) << "selections by message are not announced";

  EXPECT_EQ(send(list, LB_RESETCONTENT), 0);
  EXPECT_EQ(send(list, LB_GETCOUNT), 0);
  EXPECT_EQ(send(list, LB_GETTEXTLEN, 0), LB_ERR);
}

TEST_F(ListBoxTest, FindsTextsIgnoringCaseFromAStartAndAroundTheEnd) {
  HWND list = create(0, 10, 10, 120, 100);
  for (const char16_t* s : {u"Anna", u"bert", u"Anna", u"Annabel", u"Carl"}) send(list, LB_ADDSTRING, 0, str(s));
  const auto from = [](int i) { return static_cast<WPARAM>(i); };
  EXPECT_EQ(send(list, LB_FINDSTRINGEXACT, from(-1), str(u"anna")), 0);
  EXPECT_EQ(send(list, LB_FINDSTRINGEXACT, from(0), str(u"ANNA")), 2);
  EXPECT_EQ(send(list, LB_FINDSTRINGEXACT, from(2), str(u"Anna")), 0) << "goes on from the top";
  EXPECT_EQ(send(list, LB_FINDSTRINGEXACT, from(-1), str(u"Ann")), LB_ERR);
  EXPECT_EQ(send(list, LB_FINDSTRINGEXACT, from(99), str(u"Bert")), 1);
  EXPECT_EQ(send(list, LB_FINDSTRING, from(2), str(u"ann")), 3);
  EXPECT_EQ(send(list, LB_FINDSTRING, from(-1), str(u"c")), 4);
  EXPECT_EQ(send(list, LB_FINDSTRINGEXACT, from(-1), 0), LB_ERR);
  EXPECT_EQ(send(list, LB_SELECTSTRING, from(-1), str(u"B")), 1);
  EXPECT_EQ(send(list, LB_GETCURSEL), 1);
}

TEST_F(ListBoxTest, SortedListPlacesTextsAndKeepsTheSelectedItemThroughChanges) {
  HWND list = create(LBS_SORT, 10, 10, 120, 100);
  for (const char16_t* s : {u"pear", u"Apple", u"fig", u"apple", u"Plum"}) send(list, LB_ADDSTRING, 0, str(s));
  std::vector<std::u16string> texts;
  for (int i = 0; i < 5; ++i) texts.push_back(text(list, i));
  EXPECT_EQ(texts, (std::vector<std::u16string>{u"Apple", u"apple", u"fig", u"pear", u"Plum"}));

  send(list, LB_SETCURSEL, 2);
  send(list, LB_INSERTSTRING, 0, str(u"Date"));
  EXPECT_EQ(send(list, LB_GETCURSEL), 3);
  send(list, LB_DELETESTRING, 0);
  EXPECT_EQ(send(list, LB_GETCURSEL), 2);
  EXPECT_EQ(send(list, LB_DELETESTRING, 4), 4);
  EXPECT_EQ(send(list, LB_GETCURSEL), 2);
  send(list, LB_DELETESTRING, 2);
  EXPECT_EQ(send(list, LB_GETCURSEL), LB_ERR) << "removing the selected item leaves none selected";
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndTellTheParentWithNotify) {
  HWND list = create(LBS_NOTIFY | WS_VSCROLL, 10, 10, 120, 100);
  fill(list, 20);
  SetFocus(list);
  device.runUntilIdle();
  EXPECT_EQ(notifications(), (Seq{"LBN_SETFOCUS"}));
  MessageLog::instance().clear();

  device.key(VK_DOWN);  // nothing selected: the first item
  EXPECT_EQ(send(list, LB_GETCURSEL), 0);
  device.key(VK_DOWN);
  device.key(VK_UP);
  device.key(VK_UP);  // already at the top: nothing changes
  device.key(VK_END);
  EXPECT_EQ(send(list, LB_GETCURSEL), 19);
  EXPECT_GT(send(list, LB_GETTOPINDEX), 0) << "the selection is scrolled into view";
  device.key(VK_PRIOR);
  const auto afterPageUp = send(list, LB_GETCURSEL);
  EXPECT_LT(afterPageUp, 19);
  EXPECT_GT(afterPageUp, 10);
  device.key(VK_HOME);
  EXPECT_EQ(send(list, LB_GETTOPINDEX), 0);
  EXPECT_EQ(notifications(), (Seq{"LBN_SELCHANGE", "LBN_SELCHANGE", "LBN_SELCHANGE", "LBN_SELCHANGE", "LBN_SELCHANGE",
                                  "LBN_SELCHANGE"}));

  // A typed letter selects the next item that begins with it.
  MessageLog::instance().clear();
  device.type(u"i");
  EXPECT_EQ(send(list, LB_GETCURSEL), 1);
  EXPECT_EQ(notifications(), (Seq{"LBN_SELCHANGE"}));

  MessageLog::instance().clear();
  SetFocus(parent);
  EXPECT_EQ(notifications(), (Seq{"LBN_KILLFOCUS"}));
}

TEST_F(ListBoxTest, WithoutNotifyOnlyTheFocusIsTold) {
  HWND list = create(0, 10, 10, 120, 100);
  fill(list, 5);
  device.tap(30, 20);
  device.key(VK_DOWN);
  EXPECT_EQ(send(list, LB_GETCURSEL), 1);
  EXPECT_EQ(notifications(), (Seq{"LBN_SETFOCUS"}));
}

TEST_F(ListBoxTest, StylusSelectsDoubleTapsAndDragsThroughTheRows) {
  HWND list = create(LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 120, 100);
  fill(list, 30);
  const int row = static_cast<int>(send(list, LB_GETITEMHEIGHT));
  ASSERT_GT(row, 8);

  device.tap(20, row * 2 + 2);
  EXPECT_EQ(send(list, LB_GETCURSEL), 2);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_EQ(notifications(), (Seq{"LBN_SETFOCUS", "LBN_SELCHANGE"}));

  MessageLog::instance().clear();
  device.tap(20, row * 2 + 2);
  EXPECT_EQ(notifications(), (Seq{"LBN_DBLCLK"})) << "a second tap on the same row";

  // Dragging below the bottom edge scrolls a row a move.
  device.advance(1000);
  MessageLog::instance().clear();
  device.stylusDown(20, 2);
  device.stylusMove(20, row + 2);
  device.stylusMove(20, 120);
  device.stylusMove(20, 130);
  device.stylusUp(20, 130);
  EXPECT_EQ(send(list, LB_GETTOPINDEX), 2);
  EXPECT_EQ(send(list, LB_GETCURSEL), 100 / row + 1);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(notifications().size(), 4u);
}

TEST_F(ListBoxTest, ScrollBarShowsOnlyWhenTheRowsDoNotFit) {
  HWND list = create(WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 120, 100);
  HWND plain = create(LBS_NOINTEGRALHEIGHT, 130, 0, 100, 100);
  fill(list, 3);
  fill(plain, 30);
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  EXPECT_FALSE(GetWindowLongW(plain, GWL_STYLE) & WS_VSCROLL) << "no bar without WS_VSCROLL";
  fill(list, 27);
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 29);
  EXPECT_EQ(static_cast<int>(si.nPage), 100 / static_cast<int>(send(list, LB_GETITEMHEIGHT)));

  SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(send(list, LB_GETTOPINDEX), static_cast<LRESULT>(si.nPage));
  SendMessageW(list, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(send(list, LB_GETTOPINDEX), 30 - static_cast<LRESULT>(si.nPage));
  send(list, LB_RESETCONTENT);
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(send(list, LB_GETTOPINDEX), 0);
}

TEST_F(ListBoxTest, RedrawOffDefersPaintingAndTheScrollBarUntilItIsOn) {
  HWND list = create(WS_VSCROLL, 0, 0, 120, 100);
  device.runUntilIdle();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  fill(list, 500);
  RECT dirty{};
  EXPECT_FALSE(GetUpdateRect(list, &dirty, FALSE));
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  device.runUntilIdle();
  const auto texts = drawnTexts(list);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), u"Item 0");
}

TEST_F(ListBoxTest, IntegralHeightCutsTheWindowToWholeRows) {
  HWND cut = create(0, 0, 0, 100, 100);
  HWND kept = create(LBS_NOINTEGRALHEIGHT, 110, 0, 100, 100);
  const int row = static_cast<int>(send(cut, LB_GETITEMHEIGHT));
  RECT rc{};
  GetClientRect(cut, &rc);
  EXPECT_EQ(rc.bottom % row, 0);
  EXPECT_GT(rc.bottom, 100 - row);
  GetClientRect(kept, &rc);
  EXPECT_EQ(rc.bottom, 100);
}

TEST_F(ListBoxTest, DumpShowsTheVisibleRowsAndTheSelectionInTheHighlight) {
  HWND list = create(WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 120, 60);
  fill(list, 10);
  send(list, LB_SETCURSEL, 1);
  SetFocus(list);
  device.runUntilIdle();
  const int row = static_cast<int>(send(list, LB_GETITEMHEIGHT));
  std::vector<std::u16string> expected;
  for (int i = 0; i * row < 60; ++i) expected.push_back(numbered(i));
  EXPECT_EQ(drawnTexts(list), expected);
  const std::string dump = device.dump();
  EXPECT_NE(dump.find("text \"Item 1\" rect=2," + std::to_string(row + 1)), std::string::npos) << dump;
  EXPECT_EQ(device.pixel(100, row + row / 2), onScreen(COLOR_HIGHLIGHT));
}

TEST_F(ListBoxTest, AnswersWhereItsRowsLie) {
  HWND list = create(LBS_NOINTEGRALHEIGHT, 0, 0, 120, 100);
  fill(list, 20);
  const auto row = static_cast<int>(send(list, LB_GETITEMHEIGHT));
  EXPECT_EQ(send(list, LB_SETTOPINDEX, 5), LB_OKAY);
  EXPECT_EQ(send(list, LB_SETTOPINDEX, 20), LB_ERR);
  EXPECT_EQ(send(list, LB_GETTOPINDEX), 5);
  RECT rect{};
  EXPECT_EQ(send(list, LB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&rect)), 1);
  EXPECT_EQ(rect.top, row);
  EXPECT_EQ(rect.right, 120);
  EXPECT_EQ(send(list, LB_GETITEMRECT, 99, reinterpret_cast<LPARAM>(&rect)), LB_ERR);
  EXPECT_EQ(send(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(10, row * 2 + 1)), MAKELONG(7, 0));
  EXPECT_EQ(HIWORD(send(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(130, 5))), 1) << "outside the client area";

  EXPECT_EQ(send(list, LB_SETITEMHEIGHT, 0, 20), LB_OKAY);
  EXPECT_EQ(send(list, LB_GETITEMHEIGHT), 20);
  EXPECT_EQ(send(list, LB_SETITEMHEIGHT, 0, 300), LB_ERR);
  SendMessageW(list, WM_SETFONT, 0, TRUE);
  EXPECT_EQ(send(list, LB_GETITEMHEIGHT), 20) << "a height given stays through a new font";

  EXPECT_EQ(send(list, LB_ADDSTRING, 0, 0), 20) << "no text is an empty item";
  EXPECT_EQ(send(list, LB_GETTEXTLEN, 20), 0);
}

TEST_F(ListBoxTest, ParentMayDestroyTheListWhileItIsTellingIt) {
  HWND list = create(LBS_NOTIFY, 0, 0, 120, 100);
  fill(list, 5);
  static HWND victim = nullptr;
  victim = list;
  const auto proc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE && IsWindow(victim)) DestroyWindow(victim);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  };
  SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+proc));
  device.stylusDown(20, 5);
  EXPECT_FALSE(IsWindow(list));
  EXPECT_EQ(GetCapture(), nullptr);
  device.stylusUp(20, 5);
}

// The Smartphone's choice fields are list boxes one row high that spin through their items.
TEST(ListBoxFieldTest, OneRowListShowsTheSelectedItemOverItsHeight) {
  TestDevice device(Edition::Smartphone, 176, 220);
  HWND parent = createParent(176, 220);
  HWND list = CreateWindowExW(0, WC_LISTBOXW, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LBS_NOINTEGRALHEIGHT, 5, 32,
                              166, 26, parent, nullptr, nullptr, nullptr);
  for (const char16_t* s : {u"None", u"Anna Berg", u"Carl Dahl"}) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
  }
  EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 26);
  SendMessageW(list, LB_SETCURSEL, 2, 0);
  device.runUntilIdle();
  EXPECT_EQ(drawnTexts(list), (std::vector<std::u16string>{u"Carl Dahl"}));
  EXPECT_EQ(device.pixel(150, 45), onScreen(COLOR_WINDOW)) << "no highlight without the focus";
  SetFocus(list);
  device.runUntilIdle();
  EXPECT_EQ(device.pixel(150, 45), onScreen(COLOR_HIGHLIGHT));
  device.key(VK_UP);
  EXPECT_EQ(drawnTexts(list), (std::vector<std::u16string>{u"Anna Berg"}));
}

}  // namespace
