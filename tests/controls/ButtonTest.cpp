#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/controls/WinButton.h"
#include "platform/win/Input.h"
#include "tests/controls/ControlFixture.h"

using platform::Edition;
using platform::testing::ControlFixture;
using Notes = std::vector<std::string>;

namespace {

const std::map<WORD, std::string> kButtonCodes = {{BN_CLICKED, "BN_CLICKED"},
                                                  {BN_DOUBLECLICKED, "BN_DOUBLECLICKED"},
                                                  {BN_SETFOCUS, "BN_SETFOCUS"},
                                                  {BN_KILLFOCUS, "BN_KILLFOCUS"}};

class ButtonTest : public ::testing::TestWithParam<Edition>, public ControlFixture {
 protected:
  ButtonTest() : ControlFixture(GetParam(), 240, 320) {}

  HWND button(DWORD style, const char16_t* text = u"OK", RECT rect = RECT{10, 10, 90, 34}, UINT id = 100) {
    return create(WC_BUTTONW, text, style, rect, id);
  }
  Notes notes() const { return notifications(kButtonCodes); }
  static LRESULT state(HWND b) { return SendMessageW(b, BM_GETSTATE, 0, 0); }
  static LRESULT check(HWND b) { return SendMessageW(b, BM_GETCHECK, 0, 0); }
  void tapOn(HWND b) {
    const POINT c = centre(b);
    device.tap(c.x, c.y);
  }
};

TEST_P(ButtonTest, StylusPressesAndClicksWhenLiftedInside) {
  HWND b = button(BS_PUSHBUTTON | WS_TABSTOP);
  const POINT c = centre(b);
  device.stylusDown(c.x, c.y);
  EXPECT_EQ(GetFocus(), b);
  EXPECT_EQ(GetCapture(), b);
  EXPECT_EQ(state(b), BST_PUSHED | BST_FOCUS);
  EXPECT_TRUE(notes().empty()) << "nothing until the stylus is lifted";
  device.stylusUp(c.x, c.y);
  EXPECT_EQ(notes(), (Notes{"BN_CLICKED"}));
  EXPECT_EQ(state(b), BST_FOCUS);

  clearLog();
  device.stylusDown(c.x, c.y);
  device.stylusMove(200, 200);
  EXPECT_EQ(state(b) & BST_PUSHED, 0) << "the stylus left the button";
  device.stylusUp(200, 200);
  EXPECT_TRUE(notes().empty()) << "lifted outside: no click";
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_P(ButtonTest, SpaceClicksAndTheActionKeyToo) {
  HWND b = button(BS_DEFPUSHBUTTON);
  SetFocus(b);
  device.runUntilIdle();
  device.keyDown(VK_SPACE);
  EXPECT_NE(state(b) & BST_PUSHED, 0);
  EXPECT_TRUE(notes().empty());
  device.keyUp(VK_SPACE);
  EXPECT_EQ(notes(), (Notes{"BN_CLICKED"}));
  device.key(VK_RETURN);
  EXPECT_EQ(notes(), (Notes{"BN_CLICKED", "BN_CLICKED"}));
  EXPECT_EQ(SendMessageW(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_P(ButtonTest, EnterInADialogPressesThePushButtonWithTheFocus) {
  HWND ok = button(BS_DEFPUSHBUTTON | WS_TABSTOP, u"OK", RECT{10, 10, 90, 34}, IDOK);
  HWND other = button(BS_PUSHBUTTON | WS_TABSTOP, u"Later", RECT{100, 10, 180, 34}, 7);
  SetFocus(other);
  device.runUntilIdle();
  clearLog();
  MSG enter{other, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  EXPECT_TRUE(IsDialogMessageW(parent, &enter));
  std::vector<WORD> ids;
  for (const auto& m : platform::testing::MessageLog::instance().entries()) {
    if (m.message == WM_COMMAND) ids.push_back(LOWORD(m.wParam));
  }
  EXPECT_EQ(ids, std::vector<WORD>{7});
  (void)ok;
}

TEST_P(ButtonTest, CheckBoxesToggleOrLeaveItToTheParent) {
  HWND automatic = button(BS_AUTOCHECKBOX, u"Enabled", RECT{10, 10, 200, 30}, 1);
  HWND manual = button(BS_CHECKBOX, u"Remind", RECT{10, 40, 200, 60}, 2);
  HWND three = button(BS_AUTO3STATE, u"Maybe", RECT{10, 70, 200, 90}, 3);
  tapOn(automatic);
  EXPECT_EQ(check(automatic), BST_CHECKED);
  tapOn(automatic);
  EXPECT_EQ(check(automatic), BST_UNCHECKED);
  tapOn(manual);
  EXPECT_EQ(check(manual), BST_UNCHECKED) << "a plain check box waits for its parent";
  SendMessageW(manual, BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(check(manual), BST_CHECKED);
  SendMessageW(manual, BM_SETCHECK, BST_INDETERMINATE, 0);
  EXPECT_EQ(check(manual), BST_CHECKED) << "two states only";
  std::vector<LRESULT> cycle;
  for (int i = 0; i < 3; ++i) {
    tapOn(three);
    cycle.push_back(check(three));
  }
  EXPECT_EQ(cycle, (std::vector<LRESULT>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}));
  EXPECT_EQ(notes(), Notes(6, "BN_CLICKED"));
}

TEST_P(ButtonTest, AutomaticRadioButtonsCheckOneOfTheirGroup) {
  HWND a = button(BS_AUTORADIOBUTTON | WS_GROUP, u"From", RECT{10, 10, 200, 30}, 1);
  HWND b = button(BS_AUTORADIOBUTTON, u"For", RECT{10, 40, 200, 60}, 2);
  HWND c = button(BS_AUTORADIOBUTTON, u"Idea", RECT{10, 70, 200, 90}, 3);
  HWND other = button(BS_AUTORADIOBUTTON | WS_GROUP, u"Elsewhere", RECT{10, 100, 200, 120}, 4);
  SendMessageW(a, BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);
  tapOn(c);
  EXPECT_EQ(check(a), BST_UNCHECKED);
  EXPECT_EQ(check(b), BST_UNCHECKED);
  EXPECT_EQ(check(c), BST_CHECKED);
  EXPECT_EQ(check(other), BST_CHECKED) << "another group is left alone";
  EXPECT_NE(GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP, 0) << "the checked one is the group's tab stop";
  EXPECT_EQ(GetWindowLongW(a, GWL_STYLE) & WS_TABSTOP, 0);
  EXPECT_EQ(SendMessageW(b, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_RADIOBUTTON);
  SendMessageW(b, BM_CLICK, 0, 0);
  EXPECT_EQ(check(b), BST_CHECKED);
  EXPECT_EQ(check(c), BST_UNCHECKED);
  EXPECT_EQ(GetFocus(), b) << "BM_CLICK clicks as a tap does";
}

TEST_P(ButtonTest, DisabledButtonsAndGroupBoxesDoNotClick) {
  HWND off = button(BS_PUSHBUTTON | WS_DISABLED);
  HWND group = button(BS_GROUPBOX, u"Reminder", RECT{10, 100, 230, 200}, 101);
  tapOn(off);
  SendMessageW(off, BM_CLICK, 0, 0);
  SendMessageW(group, BM_CLICK, 0, 0);
  EXPECT_TRUE(notes().empty());
  EXPECT_EQ(SendMessageW(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
  for (const auto& t : platform::gdi::capturedTexts(off)) EXPECT_EQ(t.color, GetSysColor(COLOR_GRAYTEXT));
  EXPECT_EQ(texts(group), std::vector<std::u16string>{u"Reminder"});
}

TEST_P(ButtonTest, NotifyStyleReportsFocusAndDoubleTaps) {
  HWND b = button(BS_PUSHBUTTON | BS_NOTIFY);
  HWND other = button(BS_PUSHBUTTON, u"Other", RECT{100, 10, 180, 34}, 101);
  const POINT c = centre(b);
  device.tap(c.x, c.y);
  device.tap(c.x, c.y);
  SetFocus(other);
  device.runUntilIdle();
  EXPECT_EQ(notes(), (Notes{"BN_SETFOCUS", "BN_CLICKED", "BN_DOUBLECLICKED", "BN_KILLFOCUS"}));
}

TEST_P(ButtonTest, TheDumpShowsTheTextAndTheFocusIsHighlighted) {
  HWND b = button(BS_PUSHBUTTON, u"Details", RECT{10, 10, 110, 40});
  EXPECT_NE(device.dump().find("window \"BUTTON\" \"Details\" id=100"), std::string::npos);
  EXPECT_EQ(texts(b), std::vector<std::u16string>{u"Details"});
  SetWindowTextW(b, u"More");
  device.runUntilIdle();
  EXPECT_EQ(texts(b), std::vector<std::u16string>{u"More"});
  // The screen holds 5-6-5 pixels.
  const auto highlighted = [&] {
    const COLORREF p = device.pixel(12, 25);
    const COLORREF h = GetSysColor(COLOR_HIGHLIGHT);
    return std::abs(GetRValue(p) - GetRValue(h)) < 8 && std::abs(GetGValue(p) - GetGValue(h)) < 8 &&
           std::abs(GetBValue(p) - GetBValue(h)) < 8;
  };
  EXPECT_FALSE(highlighted());
  SetFocus(b);
  device.runUntilIdle();
  EXPECT_TRUE(highlighted()) << "the focus frame lies two pixels in from the edge";
}

INSTANTIATE_TEST_SUITE_P(Editions, ButtonTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone));

}  // namespace
