// The drop-down list combo box through its messages, keys and stylus on both editions: what it
// tells its parent for each key and tap, the list it drops, and a subclass over it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/WinComboBox.h"
#include "platform/gdi/WinGdi.h"
#include "tests/controls/ControlParent.h"
#include "tests/support/TestDevice.h"

using controls_test::createParent;
using controls_test::drawnTexts;
using controls_test::notifications;
using platform::Edition;
using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

constexpr const char16_t* kFruit[] = {u"Apples", u"Bananas", u"Cherries", u"Dates", u"Figs", u"Grapes"};

HWND listOf(HWND) { return FindWindowW(u"ComboLBox", nullptr); }

LRESULT send(HWND combo, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(combo, message, wParam, lParam);
}
LPARAM str(const char16_t* s) { return reinterpret_cast<LPARAM>(s); }

class ComboBoxTest : public ::testing::Test {
 protected:
  // A combo box 20 pixels from the top; the height is the field and the list together.
  HWND create(int height = 100, DWORD style = 0, Edition = Edition::PocketPc) {
    HWND combo = CreateWindowExW(0, WC_COMBOBOXW, u"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | style,
                                 84, 20, 152, height, parent, reinterpret_cast<HMENU>(9), nullptr, nullptr);
    SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
    for (const char16_t* s : kFruit) send(combo, CB_ADDSTRING, 0, str(s));
    SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
    send(combo, CB_SETCURSEL, 0);
    return combo;
  }
  RECT windowRect(HWND hwnd) {
    RECT rc{};
    GetWindowRect(hwnd, &rc);
    return rc;
  }
  void clearLog() { MessageLog::instance().clear(); }

  TestDevice device{Edition::PocketPc, 240, 320};
  HWND parent = createParent(240, 320);
};

TEST_F(ComboBoxTest, KeepsItemsAndRefusesIndexesOutOfRange) {
  HWND combo = create();
  EXPECT_EQ(send(combo, CB_GETCOUNT), 6);
  EXPECT_EQ(send(combo, CB_INSERTSTRING, 1, str(u"Apricots")), 1);
  EXPECT_EQ(send(combo, CB_INSERTSTRING, 8, str(u"Kiwis")), CB_ERR);
  WCHAR buffer[32] = {};
  EXPECT_EQ(send(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(buffer)), 8);
  EXPECT_EQ(std::u16string(buffer), u"Apricots");
  EXPECT_EQ(send(combo, CB_GETLBTEXTLEN, 6), 6);
  EXPECT_EQ(send(combo, CB_SETITEMDATA, 2, 77), TRUE);
  EXPECT_EQ(send(combo, CB_GETITEMDATA, 2), 77);
  for (int bad : {-3, 7, 50}) {
    const auto i = static_cast<WPARAM>(bad);
    EXPECT_EQ(send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer)), CB_ERR) << bad;
    EXPECT_EQ(send(combo, CB_GETLBTEXTLEN, i), CB_ERR) << bad;
    EXPECT_EQ(send(combo, CB_SETITEMDATA, i, 1), CB_ERR) << bad;
    EXPECT_EQ(send(combo, CB_GETITEMDATA, i), CB_ERR) << bad;
    EXPECT_EQ(send(combo, CB_DELETESTRING, i), CB_ERR) << bad;
    EXPECT_EQ(send(combo, CB_SETCURSEL, i), CB_ERR) << bad;
  }
  EXPECT_EQ(send(combo, CB_GETCURSEL), 0) << "a bad index leaves the selection";
  EXPECT_EQ(send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), str(u"figs")), 5);
  EXPECT_EQ(send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), str(u"Fig")), CB_ERR);
  EXPECT_EQ(send(combo, CB_SETCURSEL, 4), 4);
  EXPECT_EQ(GetWindowTextLengthW(combo), 5);
  GetWindowTextW(combo, buffer, 32);
  EXPECT_EQ(std::u16string(buffer), u"Dates") << "the window text is the selected item's";
  EXPECT_EQ(send(combo, CB_SETCURSEL, static_cast<WPARAM>(-1)), CB_ERR);
  EXPECT_EQ(send(combo, CB_GETCURSEL), CB_ERR);
  EXPECT_EQ(send(combo, CB_DELETESTRING, 0), 6);
  EXPECT_EQ(send(combo, CB_RESETCONTENT), CB_OKAY);
  EXPECT_EQ(send(combo, CB_GETCOUNT), 0);
  EXPECT_TRUE(notifications().empty());
}

TEST_F(ComboBoxTest, KeepsTheFieldHeightAndGivesTheRestToTheList) {
  HWND combo = create(102);
  const RECT field = windowRect(combo);
  const int fieldHeight = field.bottom - field.top;
  EXPECT_EQ(fieldHeight, send(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1)));
  EXPECT_LT(fieldHeight, 30);
  RECT drop{};
  send(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&drop));
  EXPECT_EQ(drop.top, field.bottom);
  EXPECT_EQ(drop.left, field.left);
  EXPECT_EQ(drop.right, field.right);
  EXPECT_LE(drop.bottom - drop.top, 102 - fieldHeight);
  EXPECT_GT(drop.bottom - drop.top, 102 - fieldHeight - send(combo, CB_GETITEMHEIGHT));

  // Moving it with its own height keeps the list; a larger height is a new list height.
  MoveWindow(combo, 84, 40, 100, fieldHeight, TRUE);
  RECT moved{};
  send(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&moved));
  EXPECT_EQ(moved.bottom - moved.top, drop.bottom - drop.top);
  MoveWindow(combo, 84, 40, 100, fieldHeight + 300, TRUE);
  EXPECT_EQ(windowRect(combo).bottom - windowRect(combo).top, fieldHeight);
  send(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&moved));
  EXPECT_EQ(moved.bottom - moved.top, 2 + 6 * send(combo, CB_GETITEMHEIGHT)) << "never taller than its items";
}

TEST_F(ComboBoxTest, ExtendedInterfaceOpensWithDownAndItemHeightsCanBeGiven) {
  HWND combo = create();
  EXPECT_EQ(send(combo, CB_SETEXTENDEDUI, TRUE), CB_OKAY);
  EXPECT_TRUE(send(combo, CB_GETEXTENDEDUI));
  SetFocus(combo);
  device.key(VK_F4);
  EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE)) << "F4 does not open it";
  device.key(VK_DOWN);
  EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
  EXPECT_EQ(send(combo, CB_GETCURSEL), 0);
  device.key(VK_ESCAPE);

  EXPECT_EQ(send(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), 24), CB_OKAY);
  EXPECT_EQ(windowRect(combo).bottom - windowRect(combo).top, 24);
  EXPECT_EQ(send(combo, CB_SETITEMHEIGHT, 0, 20), CB_OKAY);
  EXPECT_EQ(send(combo, CB_GETITEMHEIGHT), 20);
  EXPECT_EQ(send(combo, CB_SETITEMHEIGHT, 0, 0), CB_ERR);
  EXPECT_EQ(send(combo, CB_SETDROPPEDWIDTH, 200), 200);
  RECT drop{};
  send(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&drop));
  EXPECT_EQ(drop.right - drop.left, 200);
  EXPECT_LE(drop.right, 240) << "kept on the screen";
}

TEST_F(ComboBoxTest, ArrowsChangeTheSelectionWhileClosed) {
  HWND combo = create();
  SetFocus(combo);
  clearLog();
  device.key(VK_DOWN);
  device.key(VK_RIGHT);
  device.key(VK_UP);
  device.key(VK_END);
  device.key(VK_DOWN);  // at the end: nothing
  device.key(VK_HOME);
  EXPECT_EQ(send(combo, CB_GETCURSEL), 0);
  EXPECT_EQ(notifications(),
            (Seq{"CBN_SELCHANGE", "CBN_SELCHANGE", "CBN_SELCHANGE", "CBN_SELCHANGE", "CBN_SELCHANGE"}));
  EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
  clearLog();
  device.type(u"c");
  EXPECT_EQ(send(combo, CB_GETCURSEL), 2);
  EXPECT_EQ(notifications(), (Seq{"CBN_SELCHANGE"}));
}

TEST_F(ComboBoxTest, KeysOpenMoveAndChooseInTheList) {
  HWND combo = create();
  SetFocus(combo);
  clearLog();
  device.key(VK_F4);
  EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
  HWND list = listOf(combo);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(GetFocus(), combo) << "the keys stay with the field";
  EXPECT_EQ(GetCapture(), list);
  device.key(VK_DOWN);
  device.key(VK_DOWN);
  device.key(VK_RETURN);
  EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(send(combo, CB_GETCURSEL), 2);
  EXPECT_EQ(notifications(), (Seq{"CBN_DROPDOWN", "CBN_SELCHANGE", "CBN_SELCHANGE", "CBN_SELENDOK", "CBN_CLOSEUP"}));

  // Alt+Down opens, Back closes and puts the selection back.
  clearLog();
  device.keyDown(VK_MENU);
  device.key(VK_DOWN);
  device.keyUp(VK_MENU);
  EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
  device.key(VK_DOWN);
  device.key(VK_ESCAPE);
  EXPECT_EQ(send(combo, CB_GETCURSEL), 2);
  EXPECT_EQ(notifications(),
            (Seq{"CBN_DROPDOWN", "CBN_SELCHANGE", "CBN_SELENDCANCEL", "CBN_CLOSEUP", "CBN_SELCHANGE"}));
}

TEST_F(ComboBoxTest, TapsOpenTheListAndChooseARow) {
  HWND combo = create();
  const RECT field = windowRect(combo);
  device.tap(field.left + 20, field.top + 5);
  EXPECT_EQ(GetFocus(), combo);
  ASSERT_TRUE(send(combo, CB_GETDROPPEDSTATE));
  EXPECT_EQ(notifications(), (Seq{"CBN_SETFOCUS", "CBN_DROPDOWN"}));
  const RECT drop = windowRect(listOf(combo));
  const int row = static_cast<int>(send(combo, CB_GETITEMHEIGHT));
  // The list shows the items, the selection first.
  EXPECT_EQ(drawnTexts(listOf(combo)).front(), u"Apples");

  clearLog();
  device.tap(drop.left + 20, drop.top + 1 + 3 * row + row / 2);
  EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
  EXPECT_EQ(send(combo, CB_GETCURSEL), 3);
  EXPECT_EQ(notifications(), (Seq{"CBN_SELENDOK", "CBN_CLOSEUP", "CBN_SELCHANGE"}));
  EXPECT_EQ(drawnTexts(combo), (std::vector<std::u16string>{u"Dates"}));

  // Choosing the row that is already selected changes nothing.
  device.tap(field.left + 20, field.top + 5);
  clearLog();
  device.tap(drop.left + 20, drop.top + 1 + 3 * row + row / 2);
  EXPECT_EQ(notifications(), (Seq{"CBN_SELENDOK", "CBN_CLOSEUP"}));
}

TEST_F(ComboBoxTest, TapElsewhereClosesWithoutAChoice) {
  HWND combo = create();
  const RECT field = windowRect(combo);
  device.tap(field.left + 20, field.top + 5);
  clearLog();
  device.tap(10, 300);
  EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
  EXPECT_EQ(send(combo, CB_GETCURSEL), 0);
  EXPECT_EQ(notifications(), (Seq{"CBN_SELENDCANCEL", "CBN_CLOSEUP"}));
  EXPECT_EQ(GetFocus(), combo) << "the tap that closed the list went no further";

  // A tap on the field while the list is open closes it too.
  device.tap(field.left + 20, field.top + 5);
  clearLog();
  device.tap(field.left + 20, field.top + 5);
  EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
  EXPECT_EQ(notifications(), (Seq{"CBN_SELENDCANCEL", "CBN_CLOSEUP"}));
}

TEST_F(ComboBoxTest, PressDragAndLiftChoosesWhereTheStylusLeaves) {
  HWND combo = create();
  const RECT field = windowRect(combo);
  device.stylusDown(field.right - 5, field.top + 5);
  ASSERT_TRUE(send(combo, CB_GETDROPPEDSTATE));
  device.stylusUp(field.right - 5, field.top + 6);
  EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE)) << "lifting on the field leaves the list open";

  device.tap(field.right - 5, field.top + 5);
  device.stylusDown(field.right - 5, field.top + 5);
  const RECT drop = windowRect(listOf(combo));
  const int row = static_cast<int>(send(combo, CB_GETITEMHEIGHT));
  clearLog();
  device.stylusMove(drop.left + 30, drop.top + 1 + row / 2);
  device.stylusMove(drop.left + 30, drop.top + 1 + 4 * row + 2);
  device.stylusUp(drop.left + 30, drop.top + 1 + 4 * row + 2);
  EXPECT_EQ(send(combo, CB_GETCURSEL), 4);
  EXPECT_EQ(notifications(), (Seq{"CBN_SELENDOK", "CBN_CLOSEUP", "CBN_SELCHANGE"}));
}

TEST_F(ComboBoxTest, ListOfManyItemsScrollsByItsScrollBarAndStaysOpen) {
  HWND combo = create(80);
  for (int i = 0; i < 40; ++i) send(combo, CB_ADDSTRING, 0, str(u"More"));
  send(combo, CB_SHOWDROPDOWN, TRUE);
  HWND list = listOf(combo);
  ASSERT_TRUE(IsWindowVisible(list));
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(send(combo, CB_GETTOPINDEX), 0);
  RECT client{};
  GetClientRect(list, &client);
  POINT bar{client.right + 3, client.bottom - 3};  // the down arrow
  ClientToScreen(list, &bar);
  device.tap(bar.x, bar.y);
  EXPECT_EQ(send(combo, CB_GETTOPINDEX), 1);
  EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
  POINT track{client.right + 3, client.bottom - 25};  // the track below the thumb
  ClientToScreen(list, &track);
  device.tap(track.x, track.y);
  EXPECT_GT(send(combo, CB_GETTOPINDEX), 2);
  EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
  EXPECT_EQ(GetCapture(), list);
  device.runUntilIdle();
  EXPECT_FALSE(drawnTexts(list).empty());
  send(combo, CB_SHOWDROPDOWN, FALSE);
  EXPECT_FALSE(IsWindowVisible(list));
}

TEST_F(ComboBoxTest, ListOpensAboveAFieldNearTheBottom) {
  HWND combo = create(100);
  MoveWindow(combo, 84, 280, 152, SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0), TRUE);
  send(combo, CB_SHOWDROPDOWN, TRUE);
  const RECT field = windowRect(combo);
  const RECT drop = windowRect(listOf(combo));
  EXPECT_EQ(drop.bottom, field.top);
  EXPECT_GT(drop.bottom - drop.top, 40);
}

TEST_F(ComboBoxTest, LosingTheFocusClosesTheList) {
  HWND combo = create();
  HWND other =
      CreateWindowExW(0, u"STATIC", u"", WS_CHILD | WS_VISIBLE, 0, 200, 50, 20, parent, nullptr, nullptr, nullptr);
  SetFocus(combo);
  device.key(VK_F4);
  device.key(VK_DOWN);
  clearLog();
  SetFocus(other);
  EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
  EXPECT_EQ(send(combo, CB_GETCURSEL), 0);
  EXPECT_EQ(notifications(), (Seq{"CBN_SELENDCANCEL", "CBN_CLOSEUP", "CBN_SELCHANGE", "CBN_KILLFOCUS"}));
}

TEST_F(ComboBoxTest, DumpShowsTheSelectedItemAndTheOpenList) {
  HWND combo = create();
  send(combo, CB_SETCURSEL, 1);
  device.runUntilIdle();
  EXPECT_EQ(drawnTexts(combo), (std::vector<std::u16string>{u"Bananas"}));
  send(combo, CB_SHOWDROPDOWN, TRUE);
  device.runUntilIdle();
  const std::string dump = device.dump();
  EXPECT_NE(dump.find("window \"ComboLBox\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("text \"Figs\""), std::string::npos) << dump;
}

TEST_F(ComboBoxTest, ParentMayDestroyTheComboWhileItIsTellingIt) {
  HWND combo = create();
  // A window procedure that ends the combo box on the first choice it is told of.
  static HWND victim = nullptr;
  victim = combo;
  const auto proc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELENDOK && IsWindow(victim)) DestroyWindow(victim);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  };
  SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+proc));
  SetFocus(combo);
  device.key(VK_F4);
  device.key(VK_RETURN);
  EXPECT_FALSE(IsWindow(combo));
  EXPECT_EQ(FindWindowW(u"ComboLBox", nullptr), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
}

// The program puts a field of its own in front of the combo box and subclasses the combo box: it
// shows itself with the focus, hides when it goes, and hears every selection set by message.
struct Subclass {
  static WNDPROC& original() {
    static WNDPROC proc = nullptr;
    return proc;
  }
  static std::vector<std::string>& seen() {
    static std::vector<std::string> messages;
    return messages;
  }
  static LRESULT CALLBACK proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_SETFOCUS:
        seen().push_back("focus");
        ShowWindow(hwnd, SW_SHOW);
        break;
      case WM_KILLFOCUS:
        seen().push_back("kill");
        ShowWindow(hwnd, SW_HIDE);
        break;
      case CB_SETCURSEL:
        seen().push_back("setcursel " + std::to_string(static_cast<int>(wParam)));
        break;
      default:
        break;
    }
    return CallWindowProcW(original(), hwnd, message, wParam, lParam);
  }
};

TEST_F(ComboBoxTest, WorksUnderASubclass) {
  HWND combo = create();
  ShowWindow(combo, SW_HIDE);
  Subclass::seen().clear();
  Subclass::original() =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Subclass::proc)));
  SendMessageW(combo, CB_SETCURSEL, 2, 0);
  // The field in front gives the combo box the focus and passes a tap on its arrow on.
  SetFocus(combo);
  const RECT field = windowRect(combo);
  PostMessageW(combo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(field.right - field.left - 5, 5));
  device.runUntilIdle();
  EXPECT_TRUE(IsWindowVisible(combo));
  ASSERT_TRUE(send(combo, CB_GETDROPPEDSTATE));
  device.key(VK_DOWN);
  device.key(VK_RETURN);
  EXPECT_EQ(send(combo, CB_GETCURSEL), 3);
  SetFocus(parent);
  EXPECT_FALSE(IsWindowVisible(combo));
  EXPECT_EQ(Subclass::seen(), (Seq{"setcursel 2", "focus", "kill"}));
}

TEST(ComboBoxSmartphoneTest, ActionKeyOpensAndBackCloses) {
  TestDevice device(Edition::Smartphone, 176, 220);
  HWND parent = createParent(176, 220);
  HWND combo = CreateWindowExW(0, WC_COMBOBOXW, u"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 5, 32, 166, 120, parent,
                               nullptr, nullptr, nullptr);
  for (const char16_t* s : kFruit) send(combo, CB_ADDSTRING, 0, str(s));
  send(combo, CB_SETCURSEL, 0);
  SetFocus(combo);
  MessageLog::instance().clear();
  device.key(VK_RETURN);
  EXPECT_TRUE(send(combo, CB_GETDROPPEDSTATE));
  device.key(VK_DOWN);
  device.key(VK_RETURN);
  EXPECT_EQ(send(combo, CB_GETCURSEL), 1);
  device.key(VK_RETURN);
  device.key(VK_ESCAPE);
  EXPECT_FALSE(send(combo, CB_GETDROPPEDSTATE));
  EXPECT_EQ(notifications(), (Seq{"CBN_DROPDOWN", "CBN_SELCHANGE", "CBN_SELENDOK", "CBN_CLOSEUP", "CBN_DROPDOWN",
                                  "CBN_SELENDCANCEL", "CBN_CLOSEUP"}));
  EXPECT_EQ(SendMessageW(combo, WM_GETDLGCODE, VK_RETURN, 0) & DLGC_WANTARROWS, DLGC_WANTARROWS);
}

}  // namespace
