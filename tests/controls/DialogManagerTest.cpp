// The dialog manager over a form of real controls laid out as the forms lay them out: Tab and
// Shift+Tab on both editions; on the Smartphone Up and Down from field to field where the field
// does not use them itself, and the form's controls moved so that the focused field and its label
// stay in view (a Smartphone form has no scroll bar).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/WinButton.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "platform/win/Input.h"
#include "tests/support/TestDevice.h"

using platform::Edition;
using platform::testing::TestDevice;

namespace {

enum Field : int { kName = 101, kColour, kSize, kDate, kReminder, kNotes };

// One look at the form while it runs: where the focus is and whether it shows.
struct Look {
  int focus = 0;
  bool fieldShows = false;
  bool labelShows = false;
  int firstLabelTop = 0;  // where the form's first label is now
};

class DialogManagerTest : public ::testing::TestWithParam<Edition> {
 protected:
  bool smartphone() const { return GetParam() == Edition::Smartphone; }
  int width() const { return smartphone() ? 176 : 240; }

  TestDevice device{GetParam(), smartphone() ? 176 : 240, smartphone() ? 220 : 320};
  std::vector<Look> looks;
  std::map<int, HWND> labels;
  HWND firstLabel = nullptr;
  HWND dialog = nullptr;

  // Rows of a label above a field, 59 pixels apart, as the Smartphone's forms stack them; the
  // form is 168 pixels high, so the last rows start out below it.
  void createRows(HWND page) {
    dialog = page;
    MoveWindow(page, 0, 26, width(), 168, FALSE);
    const int right = width() - 5;
    int top = 5;
    const auto row = [&](const char16_t* label, const char16_t* cls, const char16_t* text, DWORD style, int id) {
      HWND l = CreateWindowExW(0, u"STATIC", label, WS_CHILD | WS_VISIBLE, 5, top, right - 5, 26, page, nullptr,
                               nullptr, nullptr);
      if (firstLabel == nullptr) firstLabel = l;
      labels[id] = l;
      HWND field = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 5, top + 27, right - 5, 26,
                                   page, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
      top += 59;
      return field;
    };
    row(u"Name:", WC_EDITW, u"Ada", ES_AUTOHSCROLL, kName);
    HWND colour = row(u"Colour:", WC_LISTBOXW, u"", LBS_NOINTEGRALHEIGHT, kColour);
    for (const char16_t* s : {u"Red", u"Green", u"Blue"}) {
      SendMessageW(colour, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    }
    SendMessageW(colour, LB_SETCURSEL, 0, 0);
    HWND spinner = CreateWindowExW(
        0, UPDOWN_CLASSW, u"",
        WS_CHILD | WS_VISIBLE | UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_HORZ | UDS_EXPANDABLE,
        0, 0, 0, 0, page, nullptr, nullptr, nullptr);
    SendMessageW(spinner, UDM_SETBUDDY, reinterpret_cast<WPARAM>(colour), 0);
    HWND size = row(u"Size:", WC_COMBOBOXW, u"", CBS_DROPDOWNLIST | WS_VSCROLL, kSize);
    for (const char16_t* s : {u"Small", u"Large"}) SendMessageW(size, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s));
    SendMessageW(size, CB_SETCURSEL, 0, 0);
    row(u"Date:", DATETIMEPICK_CLASSW, u"", 0, kDate);
    row(u"Reminder:", WC_BUTTONW, u"Remind me", BS_AUTOCHECKBOX, kReminder);
    row(u"Notes:", WC_EDITW, u"one\r\ntwo", ES_MULTILINE | ES_AUTOVSCROLL, kNotes);
  }

  static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      reinterpret_cast<DialogManagerTest*>(lParam)->createRows(hwnd);
      SetFocus(GetDlgItem(hwnd, kName));
      return FALSE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
      EndDialog(hwnd, LOWORD(wParam));
      return TRUE;
    }
    return FALSE;
  }

  bool shows(HWND hwnd) const {
    RECT client{};
    GetClientRect(dialog, &client);
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r.top >= client.top && r.bottom <= client.bottom;
  }

  std::function<void()> look() {
    return [this] {
      Look l;
      l.focus = GetDlgCtrlID(GetFocus());
      l.fieldShows = shows(GetFocus());
      l.labelShows = labels.count(l.focus) != 0 && shows(labels[l.focus]);
      RECT r{};
      GetWindowRect(firstLabel, &r);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
      l.firstLabelTop = r.top;
      looks.push_back(l);
    };
  }
  static std::function<void()> press(UINT vk) {
    return [vk] { TestDevice::postKey(vk); };
  }
  static std::function<void()> shiftTab() {
    return [] {
      platform::postKeyDown(VK_SHIFT);
      TestDevice::postKey(VK_TAB);
      platform::postKeyUp(VK_SHIFT);
    };
  }

  // Runs the form, looking at it first and after each key.
  void run(const std::vector<std::function<void()>>& keys) {
    platform::controls::registerControlClasses();
    std::vector<WORD> tpl(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    reinterpret_cast<DLGTEMPLATE*>(tpl.data())->style = WS_POPUP | WS_VISIBLE;
    device.addStep(look());
    for (const auto& key : keys) {
      device.addStep(key);
      device.addStep(look());
    }
    device.addStep(press(VK_ESCAPE));
    const INT_PTR result = DialogBoxIndirectParamW(nullptr, reinterpret_cast<const DLGTEMPLATE*>(tpl.data()), nullptr,
                                                   &dialogProc, reinterpret_cast<LPARAM>(this));
    device.clearSteps();
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(looks.size(), keys.size() + 1);
  }

  std::vector<int> focusPath() const {
    std::vector<int> out;
    for (const Look& l : looks) out.push_back(l.focus);
    return out;
  }
};

TEST_P(DialogManagerTest, TabAndShiftTabWalkTheTabStops) {
  run({press(VK_TAB), press(VK_TAB), press(VK_TAB), press(VK_TAB), press(VK_TAB), press(VK_TAB), shiftTab(),
       shiftTab()});
  EXPECT_EQ(focusPath(), (std::vector<int>{kName, kColour, kSize, kDate, kReminder, kNotes, kName, kNotes, kReminder}));
}

TEST_P(DialogManagerTest, UpAndDownMoveBetweenFieldsOnlyOnTheSmartphone) {
  run({press(VK_DOWN), press(VK_RIGHT), press(VK_DOWN), press(VK_DOWN), press(VK_DOWN), press(VK_DOWN), press(VK_DOWN),
       press(VK_UP)});
  if (!smartphone()) {
    // The edit keeps its arrows for the caret.
    EXPECT_EQ(focusPath(), (std::vector<int>(9, kName)));
    return;
  }
  // Right spins the colour and stays; the multi-line notes keep Down and Up for their lines.
  EXPECT_EQ(focusPath(), (std::vector<int>{kName, kColour, kColour, kSize, kDate, kReminder, kNotes, kNotes, kNotes}));
}

TEST_P(DialogManagerTest, SmartphoneKeepsTheFocusedFieldAndItsLabelInView) {
  const UINT next = smartphone() ? VK_DOWN : VK_TAB;
  run({press(next), press(next), press(next), press(next), press(next), press(VK_TAB), shiftTab()});
  ASSERT_EQ(focusPath(), (std::vector<int>{kName, kColour, kSize, kDate, kReminder, kNotes, kName, kNotes}));
  if (!smartphone()) {
    // The Pocket PC's forms scroll themselves with their scroll bar; the dialog manager moves nothing.
    for (const Look& l : looks) EXPECT_EQ(l.firstLabelTop, 5);
    return;
  }
  for (const Look& l : looks) {
    EXPECT_TRUE(l.fieldShows) << l.focus;
    EXPECT_TRUE(l.labelShows) << l.focus;
  }
  EXPECT_EQ(looks[1].firstLabelTop, 5) << "the second row fits without moving";
  EXPECT_LT(looks[3].firstLabelTop, 5) << "further down the form moves up";
  EXPECT_EQ(looks[6].firstLabelTop, 5) << "back at the first field, the form is where it began";
  EXPECT_EQ(looks[7].firstLabelTop, looks[5].firstLabelTop) << "at the last field it moves no further than needed";
}

INSTANTIATE_TEST_SUITE_P(Editions, DialogManagerTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         [](const auto& param) {
                           return param.param == Edition::PocketPc ? "PocketPc" : "Smartphone";
                         });

}  // namespace
