#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/KeypadIndicator.h"
#include "platform/controls/WinEdit.h"
#include "platform/sys/WinBase.h"
#include "platform/win/Input.h"
#include "platform/win/WinClipboard.h"
#include "tests/controls/ControlFixture.h"

using platform::Edition;
using platform::controls::KeypadIndicator;
using platform::controls::KeypadMode;
using platform::testing::ControlFixture;
using Notes = std::vector<std::string>;

namespace {

const std::map<WORD, std::string> kEditCodes = {
    {EN_SETFOCUS, "EN_SETFOCUS"}, {EN_KILLFOCUS, "EN_KILLFOCUS"}, {EN_CHANGE, "EN_CHANGE"},  {EN_UPDATE, "EN_UPDATE"},
    {EN_MAXTEXT, "EN_MAXTEXT"},   {EN_VSCROLL, "EN_VSCROLL"},     {EN_HSCROLL, "EN_HSCROLL"}};

class EditTest : public ::testing::Test, public ControlFixture {
 public:
  explicit EditTest(Edition edition = Edition::PocketPc, int width = 240, int height = 320)
      : ControlFixture(edition, width, height) {}

  HWND edit(DWORD style, const char16_t* text = u"", RECT rect = RECT{10, 10, 230, 30}) {
    return create(WC_EDITW, text, style, rect);
  }
  Notes notes() const { return notifications(kEditCodes); }

  void chord(UINT modifier, UINT vk) {
    platform::postKeyDown(modifier);
    platform::postKeyDown(vk);
    platform::postKeyUp(vk);
    platform::postKeyUp(modifier);
    device.runUntilIdle();
  }

  static std::pair<int, int> selection(HWND hwnd) {
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {static_cast<int>(start), static_cast<int>(end)};
  }

  static void putOnClipboard(const std::u16string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    HLOCAL block = LocalAlloc(LMEM_MOVEABLE, static_cast<UINT>((text.size() + 1) * sizeof(WCHAR)));
    auto* units = static_cast<WCHAR*>(LocalLock(block));
    std::copy(text.begin(), text.end(), units);
    units[text.size()] = 0;
    LocalUnlock(block);
    EXPECT_NE(SetClipboardData(CF_UNICODETEXT, block), nullptr);
    CloseClipboard();
  }

  static std::u16string clipboardText() {
    std::u16string text;
    if (!OpenClipboard(nullptr)) return text;
    if (HANDLE block = GetClipboardData(CF_UNICODETEXT)) text = static_cast<const WCHAR*>(LocalLock(block));
    CloseClipboard();
    return text;
  }

  bool dumpHas(const std::string& line) const { return device.dump().find(line) != std::string::npos; }
};

TEST_F(EditTest, TypingNotifiesEveryCharacterAndTheDumpShowsTheText) {
  HWND e = edit(WS_BORDER | ES_AUTOHSCROLL);
  SetFocus(e);
  device.runUntilIdle();
  EXPECT_EQ(notes(), (Notes{"EN_SETFOCUS"}));
  clearLog();
  device.type(u"Anna");
  EXPECT_EQ(windowText(e), u"Anna");
  EXPECT_EQ(notes(), (Notes{"EN_UPDATE", "EN_CHANGE", "EN_UPDATE", "EN_CHANGE", "EN_UPDATE", "EN_CHANGE", "EN_UPDATE",
                            "EN_CHANGE"}));
  EXPECT_EQ(texts(e), std::vector<std::u16string>{u"Anna"});
  EXPECT_TRUE(dumpHas("window \"EDIT\" \"Anna\" id=100"));
  EXPECT_TRUE(dumpHas("text \"Anna\""));
  EXPECT_EQ(SendMessageW(e, EM_GETMODIFY, 0, 0), TRUE);
}

TEST_F(EditTest, FocusComesAndGoesWithNotifications) {
  HWND first = edit(WS_TABSTOP);
  HWND second = create(WC_EDITW, u"", WS_TABSTOP, RECT{10, 40, 230, 60}, 101);
  SetFocus(first);
  SetFocus(second);
  device.runUntilIdle();
  const auto& entries = platform::testing::MessageLog::instance().entries();
  std::vector<std::pair<WORD, std::string>> seen;
  for (const auto& m : entries) {
    if (m.message == WM_COMMAND) seen.emplace_back(LOWORD(m.wParam), kEditCodes.at(HIWORD(m.wParam)));
  }
  EXPECT_EQ(seen, (std::vector<std::pair<WORD, std::string>>{
                      {100, "EN_SETFOCUS"}, {100, "EN_KILLFOCUS"}, {101, "EN_SETFOCUS"}}));
}

TEST_F(EditTest, BackspaceDeletesOneCharacterAndNothingInAnEmptyField) {
  HWND e = edit(ES_AUTOHSCROLL, u"ab");
  SetFocus(e);
  SendMessageW(e, EM_SETSEL, 2, 2);
  device.runUntilIdle();
  clearLog();
  device.key(VK_BACK);
  EXPECT_EQ(windowText(e), u"a");
  EXPECT_EQ(notes(), (Notes{"EN_UPDATE", "EN_CHANGE"}));
  device.key(VK_BACK);
  clearLog();
  device.key(VK_BACK);
  device.key(VK_BACK);
  EXPECT_EQ(windowText(e), u"");
  EXPECT_TRUE(notes().empty()) << "an empty field changes nothing and says nothing";
}

TEST_F(EditTest, KeysSelectAndMoveTheCaret) {
  HWND e = edit(ES_AUTOHSCROLL, u"hello world");
  SetFocus(e);
  device.runUntilIdle();
  EXPECT_EQ(selection(e), std::make_pair(0, 0));
  device.key(VK_END);
  EXPECT_EQ(selection(e), std::make_pair(11, 11));
  chord(VK_SHIFT, VK_LEFT);
  chord(VK_SHIFT, VK_LEFT);
  EXPECT_EQ(selection(e), std::make_pair(9, 11));
  chord(VK_SHIFT, VK_HOME);
  EXPECT_EQ(selection(e), std::make_pair(0, 11));
  device.key(VK_RIGHT);
  EXPECT_EQ(selection(e), std::make_pair(11, 11)) << "Right ends the selection at its end";
  chord(VK_CONTROL, VK_LEFT);
  EXPECT_EQ(selection(e), std::make_pair(6, 6));
  chord(VK_CONTROL, 'A');
  EXPECT_EQ(selection(e), std::make_pair(0, 11));
  device.type(u"x");
  EXPECT_EQ(windowText(e), u"x") << "typing replaces the selection";
}

TEST_F(EditTest, StylusPlacesTheCaretAndDragSelects) {
  HWND e = edit(WS_BORDER | ES_AUTOHSCROLL, u"abcdefgh");
  device.runUntilIdle();
  RECT r{};
  GetWindowRect(e, &r);
  const POINT pos4 = [&] {
    const LRESULT p = SendMessageW(e, EM_POSFROMCHAR, 4, 0);
    POINT pt{static_cast<SHORT>(LOWORD(p)), static_cast<SHORT>(HIWORD(p))};
    ClientToScreen(e, &pt);
    return pt;
  }();
  device.tap(pos4.x, pos4.y + 2);
  EXPECT_EQ(GetFocus(), e);
  EXPECT_EQ(selection(e), std::make_pair(4, 4));
  device.stylusDown(r.left + 2, pos4.y + 2);
  device.stylusMove(pos4.x, pos4.y + 2);
  device.stylusUp(pos4.x, pos4.y + 2);
  EXPECT_EQ(selection(e), std::make_pair(0, 4));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(EditTest, LimitHoldsForTypingAndPasting) {
  HWND e = edit(ES_AUTOHSCROLL);
  SendMessageW(e, EM_LIMITTEXT, 5, 0);
  SetFocus(e);
  device.runUntilIdle();
  clearLog();
  device.type(u"abcdef");
  EXPECT_EQ(windowText(e), u"abcde");
  const Notes typed = notes();
  ASSERT_FALSE(typed.empty());
  EXPECT_EQ(typed.back(), "EN_MAXTEXT") << "the sixth key stops at the limit";

  SetWindowTextW(e, u"ab");
  SendMessageW(e, EM_SETSEL, 2, 2);
  putOnClipboard(u"123456789");
  clearLog();
  chord(VK_CONTROL, 'V');
  EXPECT_EQ(windowText(e), u"ab123") << "a paste larger than the room is cut";
  EXPECT_EQ(notes(), (Notes{"EN_MAXTEXT", "EN_UPDATE", "EN_CHANGE"}));
  EXPECT_EQ(SendMessageW(e, EM_GETLIMITTEXT, 0, 0), 5);
  SetWindowTextW(e, u"far beyond the limit");
  EXPECT_EQ(windowText(e), u"far beyond the limit") << "the limit is the user's, not the program's";
}

TEST_F(EditTest, PastingLineBreaksIntoOneLineKeepsTheFirstLine) {
  HWND single = edit(ES_AUTOHSCROLL);
  HWND multi = create(WC_EDITW, u"", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, RECT{10, 40, 230, 200}, 101);
  putOnClipboard(u"first line\r\nsecond line");
  SendMessageW(single, WM_PASTE, 0, 0);
  SendMessageW(multi, WM_PASTE, 0, 0);
  EXPECT_EQ(windowText(single), u"first line");
  EXPECT_EQ(windowText(multi), u"first line\r\nsecond line");
  EXPECT_EQ(SendMessageW(multi, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(EditTest, ClipboardRoundTripWithKeysAndMessages) {
  HWND from = edit(ES_AUTOHSCROLL, u"Zoë Lefèvre");
  HWND to = create(WC_EDITW, u"", ES_AUTOHSCROLL, RECT{10, 40, 230, 60}, 101);
  SetFocus(from);
  chord(VK_CONTROL, 'A');
  chord(VK_CONTROL, 'C');
  EXPECT_EQ(clipboardText(), u"Zoë Lefèvre");
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT)) << "the ANSI text is made on request";
  SetFocus(to);
  chord(VK_CONTROL, 'V');
  chord(VK_CONTROL, 'V');
  EXPECT_EQ(windowText(to), u"Zoë LefèvreZoë Lefèvre");
  SendMessageW(from, EM_SETSEL, 0, 4);
  SendMessageW(from, WM_CUT, 0, 0);
  EXPECT_EQ(windowText(from), u"Lefèvre");
  EXPECT_EQ(clipboardText(), u"Zoë ");
  EXPECT_EQ(SendMessageW(from, WM_UNDO, 0, 0), TRUE);
  EXPECT_EQ(windowText(from), u"Zoë Lefèvre") << "one level of undo brings the cut text back";
  EXPECT_EQ(selection(from), std::make_pair(0, 4));
  SendMessageW(from, EM_SETSEL, 0, -1);
  SendMessageW(from, WM_CLEAR, 0, 0);
  EXPECT_EQ(windowText(from), u"");
  EXPECT_EQ(clipboardText(), u"Zoë ") << "clearing leaves the clipboard alone";
}

TEST_F(EditTest, UndoTakesBackTypedWordsAndRedoes) {
  HWND e = edit(ES_AUTOHSCROLL, u"Gift ");
  SetFocus(e);
  device.key(VK_END);
  device.type(u"idea");
  EXPECT_EQ(SendMessageW(e, EM_CANUNDO, 0, 0), TRUE);
  chord(VK_CONTROL, 'Z');
  EXPECT_EQ(windowText(e), u"Gift ");
  chord(VK_CONTROL, 'Z');
  EXPECT_EQ(windowText(e), u"Gift idea") << "undo again redoes";
  SendMessageW(e, EM_EMPTYUNDOBUFFER, 0, 0);
  EXPECT_EQ(SendMessageW(e, EM_UNDO, 0, 0), FALSE);
}

TEST_F(EditTest, PasswordShowsStarsEverywhereButKeepsItsText) {
  HWND e = edit(WS_BORDER | ES_PASSWORD | ES_NUMBER);
  SetFocus(e);
  device.type(u"4711");
  EXPECT_EQ(windowText(e), u"4711");
  EXPECT_EQ(texts(e), std::vector<std::u16string>{u"****"});
  EXPECT_TRUE(dumpHas("window \"EDIT\" \"****\""));
  EXPECT_EQ(device.dump().find("4711"), std::string::npos) << "the dump never shows a password";
  putOnClipboard(u"unchanged");
  chord(VK_CONTROL, 'A');
  chord(VK_CONTROL, 'C');
  EXPECT_EQ(clipboardText(), u"unchanged") << "a password is not copied";
  EXPECT_EQ(SendMessageW(e, EM_GETPASSWORDCHAR, 0, 0), u'*');
  SendMessageW(e, EM_SETPASSWORDCHAR, u'#', 0);
  device.runUntilIdle();
  EXPECT_EQ(texts(e), std::vector<std::u16string>{u"####"});
  SendMessageW(e, EM_SETPASSWORDCHAR, 0, 0);
  device.runUntilIdle();
  EXPECT_EQ(texts(e), std::vector<std::u16string>{u"4711"});
  EXPECT_EQ(GetWindowLongW(e, GWL_STYLE) & ES_PASSWORD, 0);
}

TEST_F(EditTest, NumberFieldRefusesOtherCharactersQuietly) {
  HWND e = edit(ES_NUMBER | ES_AUTOHSCROLL);
  SetFocus(e);
  device.runUntilIdle();
  clearLog();
  device.type(u"a1-2 b");
  EXPECT_EQ(windowText(e), u"12");
  EXPECT_EQ(notes(), (Notes{"EN_UPDATE", "EN_CHANGE", "EN_UPDATE", "EN_CHANGE"}));
  putOnClipboard(u"34x");
  SendMessageW(e, WM_PASTE, 0, 0);
  EXPECT_EQ(windowText(e), u"12") << "a paste with other characters is refused";
}

TEST_F(EditTest, ReadOnlyTakesNoInputButSelectsAndCopies) {
  HWND e = edit(ES_READONLY | ES_AUTOHSCROLL, u"fixed");
  SetFocus(e);
  device.runUntilIdle();
  clearLog();
  device.type(u"x");
  device.key(VK_BACK);
  device.key(VK_DELETE);
  EXPECT_EQ(windowText(e), u"fixed");
  EXPECT_TRUE(notes().empty());
  chord(VK_CONTROL, 'A');
  chord(VK_CONTROL, 'C');
  EXPECT_EQ(clipboardText(), u"fixed");
  SendMessageW(e, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"set by the program"));
  EXPECT_EQ(windowText(e), u"set by the program");
  EXPECT_EQ(SendMessageW(e, EM_SETREADONLY, FALSE, 0), TRUE);
  EXPECT_EQ(GetWindowLongW(e, GWL_STYLE) & ES_READONLY, 0);
  SendMessageW(e, EM_SETSEL, 0, -1);
  device.type(u"y");
  EXPECT_EQ(windowText(e), u"y");
}

TEST_F(EditTest, SetTextNotifiesOnlyForASingleLine) {
  HWND single = edit(ES_AUTOHSCROLL);
  HWND multi = create(WC_EDITW, u"", ES_MULTILINE, RECT{10, 40, 230, 200}, 101);
  clearLog();
  SetWindowTextW(single, u"one");
  SetWindowTextW(multi, u"two");
  EXPECT_EQ(notes(), (Notes{"EN_UPDATE", "EN_CHANGE"}));
  EXPECT_EQ(selection(single), std::make_pair(0, 0));
  EXPECT_EQ(SendMessageW(single, EM_GETMODIFY, 0, 0), FALSE);
  WCHAR small[3] = {};
  EXPECT_EQ(SendMessageW(single, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(small)), 2);
  EXPECT_EQ(std::u16string(small), u"on");
  EXPECT_EQ(SendMessageW(single, WM_GETTEXTLENGTH, 0, 0), 3);
}

TEST_F(EditTest, SingleLineWithoutAutoScrollStopsAtItsWidth) {
  HWND fixed = edit(0, u"", RECT{10, 10, 60, 30});
  SetFocus(fixed);
  device.runUntilIdle();
  clearLog();
  device.type(u"wwwwwwwwwwwwwwwwwwww");
  const int kept = GetWindowTextLengthW(fixed);
  EXPECT_GT(kept, 0);
  EXPECT_LT(kept, 20);
  EXPECT_EQ(notes().back(), "EN_MAXTEXT");

  HWND scrolling = create(WC_EDITW, u"", ES_AUTOHSCROLL, RECT{10, 40, 60, 60}, 101);
  SetFocus(scrolling);
  device.type(u"wwwwwwwwwwwwwwwwwwww");
  EXPECT_EQ(GetWindowTextLengthW(scrolling), 20);
  EXPECT_GT(SendMessageW(scrolling, EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the start scrolled out to the left";
  device.key(VK_HOME);
  EXPECT_EQ(SendMessageW(scrolling, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(EditTest, MultiLineWrapsScrollsAndCountsLines) {
  HWND e =
      edit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL | ES_WANTRETURN,
           u"one two three four five six seven eight nine ten eleven twelve thirteen fourteen", RECT{10, 10, 110, 40});
  const LRESULT lines = SendMessageW(e, EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(lines, 3) << "words wrap at the width";
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, 0, 0), 0);
  EXPECT_GT(SendMessageW(e, EM_LINEINDEX, 1, 0), 0);
  EXPECT_EQ(SendMessageW(e, EM_LINEINDEX, lines, 0), -1);
  EXPECT_EQ(SendMessageW(e, EM_LINESCROLL, 0, 2), TRUE);
  EXPECT_EQ(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 2);
  SendMessageW(e, EM_SETSEL, 0, 0);
  SendMessageW(e, EM_SCROLLCARET, 0, 0);
  EXPECT_EQ(SendMessageW(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(e, SB_VERT, &si);
  EXPECT_EQ(si.nMax, lines - 1);
  SetFocus(e);
  device.key(VK_RETURN);
  EXPECT_EQ(SendMessageW(e, EM_GETLINECOUNT, 0, 0), lines + 1) << "ES_WANTRETURN: Enter breaks the line";
  EXPECT_EQ(SendMessageW(e, EM_LINESCROLL, 0, 1), TRUE);
  EXPECT_EQ(SendMessageW(edit(ES_AUTOHSCROLL, u"", RECT{10, 100, 100, 120}), EM_LINESCROLL, 0, 1), FALSE);
}

TEST_F(EditTest, MultiLineWithoutAutoScrollHoldsWhatItShows) {
  HWND e = edit(ES_MULTILINE | ES_AUTOHSCROLL, u"", RECT{10, 10, 200, 27});
  putOnClipboard(u"notes\r\nmore notes\r\neven more");
  clearLog();
  SendMessageW(e, WM_PASTE, 0, 0);
  EXPECT_EQ(windowText(e), u"notes") << "one line fits, the rest is refused";
  EXPECT_EQ(notes().front(), "EN_MAXTEXT");
  SetWindowTextW(e, u"a\r\nb\r\nc");
  EXPECT_EQ(windowText(e), u"a\r\nb\r\nc") << "the program may set more than shows";
}

TEST_F(EditTest, CharactersOutsideTheBmpArriveAsPairsAndLeaveAsOne) {
  HWND e = edit(ES_AUTOHSCROLL);
  SetFocus(e);
  device.runUntilIdle();
  clearLog();
  platform::postCharacter(0xD83C);  // U+1F381, a wrapped present
  platform::postCharacter(0xDF81);
  device.runUntilIdle();
  EXPECT_EQ(windowText(e), u"\U0001F381");
  EXPECT_EQ(notes(), (Notes{"EN_UPDATE", "EN_CHANGE"})) << "one change for the whole character";
  device.key(VK_LEFT);
  EXPECT_EQ(selection(e), std::make_pair(0, 0)) << "the caret steps over the pair";
  device.key(VK_END);
  device.key(VK_BACK);
  EXPECT_EQ(windowText(e), u"");
}

TEST_F(EditTest, CaretBlinksOnThePlatformClock) {
  HWND e = edit(ES_AUTOHSCROLL, u"", RECT{10, 10, 230, 30});
  SetFocus(e);
  device.runUntilIdle();
  const LRESULT at = SendMessageW(e, EM_POSFROMCHAR, 0, 0);
  EXPECT_EQ(at, -1) << "no character at the end of an empty text";
  RECT r{};
  GetWindowRect(e, &r);
  RECT format{};
  SendMessageW(e, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  const int x = r.left + format.left;
  const int y = (r.top + r.bottom) / 2;
  const COLORREF on = device.pixel(x, y);
  device.advance(500);
  const COLORREF off = device.pixel(x, y);
  device.advance(500);
  EXPECT_EQ(on, RGB(0, 0, 0));
  EXPECT_EQ(off, RGB(255, 255, 255));
  EXPECT_EQ(device.pixel(x, y), on);
  SetFocus(parent);
  device.advance(500);
  EXPECT_EQ(device.pixel(x, y), RGB(255, 255, 255)) << "no caret without the focus";
}

TEST_F(EditTest, DialogCodeAsThePlatformAnswers) {
  HWND single = edit(ES_AUTOHSCROLL);
  HWND multi = create(WC_EDITW, u"", ES_MULTILINE | ES_WANTRETURN, RECT{10, 40, 230, 200}, 101);
  const LRESULT base = DLGC_HASSETSEL | DLGC_WANTCHARS | DLGC_WANTARROWS;
  EXPECT_EQ(SendMessageW(single, WM_GETDLGCODE, 0, 0), base);
  EXPECT_EQ(SendMessageW(multi, WM_GETDLGCODE, 0, 0), base | DLGC_WANTALLKEYS);
  MSG enter{multi, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_NE(SendMessageW(multi, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE, 0);
}

TEST_F(EditTest, ParentChoosesTheColours) {
  HWND writable = edit(ES_AUTOHSCROLL, u"a");
  HWND fixed = create(WC_EDITW, u"b", ES_READONLY, RECT{10, 40, 230, 60}, 101);
  HWND disabled = create(WC_EDITW, u"c", WS_DISABLED, RECT{10, 70, 230, 90}, 102);
  platform::testing::MessageLog::instance().keepOnly({WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC});
  clearLog();
  InvalidateRect(writable, nullptr, TRUE);
  InvalidateRect(fixed, nullptr, TRUE);
  InvalidateRect(disabled, nullptr, TRUE);
  device.runUntilIdle();
  std::vector<UINT> asked;
  for (const auto& m : platform::testing::MessageLog::instance().entries()) asked.push_back(m.message);
  EXPECT_EQ(asked, (std::vector<UINT>{WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, WM_CTLCOLORSTATIC}));
  for (const auto& t : platform::gdi::capturedTexts(disabled)) EXPECT_EQ(t.color, GetSysColor(COLOR_GRAYTEXT));
  for (const auto& t : platform::gdi::capturedTexts(writable)) EXPECT_EQ(t.color, GetSysColor(COLOR_WINDOWTEXT));
}

}  // namespace

namespace {

class SmartphoneEditTest : public EditTest {
 protected:
  SmartphoneEditTest() : EditTest(Edition::Smartphone, 176, 220) {}

  void keys(const std::string& digits) {
    for (char d : digits) device.key(static_cast<UINT>(d));
  }
  KeypadMode mode() const { return KeypadIndicator::current(); }
};

TEST_F(SmartphoneEditTest, KeypadSpellsByMultiTap) {
  HWND e = edit(ES_AUTOHSCROLL, u"", RECT{5, 5, 171, 31});
  SetFocus(e);
  device.runUntilIdle();
  EXPECT_EQ(mode(), KeypadMode::Capital) << "a new text starts with a capital";
  keys("44");
  EXPECT_EQ(windowText(e), u"H");
  EXPECT_EQ(selection(e), std::make_pair(0, 1)) << "the letter being chosen shows selected";
  keys("33");
  keys("555");
  device.advance(1000);  // the pause keeps the letter
  EXPECT_EQ(selection(e), std::make_pair(3, 3));
  keys("555666");
  device.advance(1000);
  EXPECT_EQ(windowText(e), u"Hello");
  EXPECT_EQ(mode(), KeypadMode::Lower);
  keys("0");
  keys("1");
  device.key(VK_RIGHT);  // any other key keeps the letter too
  EXPECT_EQ(windowText(e), u"Hello .");
  keys("0");
  device.advance(1000);
  EXPECT_EQ(mode(), KeypadMode::Capital) << "a new sentence starts with a capital";
  keys("2");
  device.key(VK_BACK);
  EXPECT_EQ(windowText(e), u"Hello . ") << "Back takes away the letter being chosen";
}

TEST_F(SmartphoneEditTest, PoundCyclesTheModesAndStarAsksForACapital) {
  HWND e = edit(ES_AUTOHSCROLL, u"", RECT{5, 5, 171, 31});
  SetFocus(e);
  device.runUntilIdle();
  EXPECT_EQ(SendMessageW(e, EM_GETINPUTMODE, 0, TRUE), EIM_SPELL | EIMMF_SHIFT);
  device.key(VK_TPOUND);
  EXPECT_EQ(mode(), KeypadMode::Upper);
  keys("2");
  device.key(VK_TPOUND);
  EXPECT_EQ(mode(), KeypadMode::Numbers);
  EXPECT_EQ(SendMessageW(e, EM_GETINPUTMODE, 0, TRUE), EIM_NUMBERS);
  keys("42");
  device.key(VK_TPOUND);
  EXPECT_EQ(mode(), KeypadMode::Lower);
  keys("2");
  device.key(VK_TSTAR);
  EXPECT_EQ(mode(), KeypadMode::Capital);
  keys("3");
  device.advance(1000);
  EXPECT_EQ(windowText(e), u"A42aD");
  SendMessageW(e, EM_SETINPUTMODE, 0, EIM_NUMBERS);
  EXPECT_EQ(mode(), KeypadMode::Numbers);
  EXPECT_EQ(SendMessageW(e, EM_GETINPUTMODE, 0, FALSE), EIM_NUMBERS);
}

TEST_F(SmartphoneEditTest, NumberFieldsHostLettersAndHeldKeysTypeDirectly) {
  HWND pin = edit(ES_NUMBER | ES_PASSWORD, u"", RECT{5, 5, 171, 31});
  SetFocus(pin);
  device.runUntilIdle();
  EXPECT_EQ(mode(), KeypadMode::Numbers);
  keys("2580");
  device.key(VK_TPOUND);
  EXPECT_EQ(windowText(pin), u"2580");
  EXPECT_EQ(mode(), KeypadMode::Numbers) << "a number field stays in 123";

  HWND name = create(WC_EDITW, u"", ES_AUTOHSCROLL, RECT{5, 40, 171, 66}, 101);
  SetFocus(name);
  device.type(u"hi");
  EXPECT_EQ(windowText(name), u"hi") << "host letter keys type themselves";
  device.keyDown('7');
  device.keyDown('7', true);
  device.keyUp('7');
  EXPECT_EQ(windowText(name), u"hi7") << "holding a key types its digit";
  SetFocus(parent);
  device.runUntilIdle();
  EXPECT_EQ(mode(), KeypadMode::None);
}

TEST_F(EditTest, PocketPcDigitsAreDigits) {
  HWND e = edit(ES_AUTOHSCROLL);
  SetFocus(e);
  device.type(u"2024");
  EXPECT_EQ(windowText(e), u"2024");
  EXPECT_EQ(KeypadIndicator::current(), KeypadMode::None);
}

}  // namespace

namespace {

// What the parent hears, in order, for each key and tap on a focused single-line edit that
// holds "abc" with the caret at its end.
struct Step {
  const char* what;
  std::function<void(EditTest&, HWND)> act;
  Notes heard;
};

class EditSequenceTest : public EditTest {};

TEST_F(EditSequenceTest, WhatTheParentHearsForEachKeyAndTap) {
  const Notes change{"EN_UPDATE", "EN_CHANGE"};
  const std::vector<Step> steps = {
      {"a letter", [](EditTest& t, HWND) { t.device.type(u"d"); }, change},
      {"Left", [](EditTest& t, HWND) { t.device.key(VK_LEFT); }, {}},
      {"Shift+Home", [](EditTest& t, HWND) { t.chord(VK_SHIFT, VK_HOME); }, {}},
      {"Delete of a selection", [](EditTest& t, HWND) { t.device.key(VK_DELETE); }, change},
      {"End", [](EditTest& t, HWND) { t.device.key(VK_END); }, {}},
      {"Delete at the end", [](EditTest& t, HWND) { t.device.key(VK_DELETE); }, {}},
      {"Backspace", [](EditTest& t, HWND) { t.device.key(VK_BACK); }, change},
      {"Backspace in an empty field", [](EditTest& t, HWND) { t.device.key(VK_BACK); }, {}},
      {"two letters",
       [](EditTest& t, HWND) { t.device.type(u"xy"); },
       {"EN_UPDATE", "EN_CHANGE", "EN_UPDATE", "EN_CHANGE"}},
      {"Ctrl+A", [](EditTest& t, HWND) { t.chord(VK_CONTROL, 'A'); }, {}},
      {"Ctrl+C", [](EditTest& t, HWND) { t.chord(VK_CONTROL, 'C'); }, {}},
      {"Ctrl+X", [](EditTest& t, HWND) { t.chord(VK_CONTROL, 'X'); }, change},
      {"Ctrl+X of nothing", [](EditTest& t, HWND) { t.chord(VK_CONTROL, 'X'); }, {}},
      {"Ctrl+V", [](EditTest& t, HWND) { t.chord(VK_CONTROL, 'V'); }, change},
      {"Ctrl+Z", [](EditTest& t, HWND) { t.chord(VK_CONTROL, 'Z'); }, change},
      {"Enter", [](EditTest& t, HWND) { t.device.key(VK_RETURN); }, {}},
      {"Escape", [](EditTest& t, HWND) { t.device.key(VK_ESCAPE); }, {}},
      {"a tap inside",
       [](EditTest& t, HWND e) {
         const POINT c = ControlFixture::centre(e);
         t.device.tap(c.x, c.y);
       },
       {}},
      {"a tap on the parent", [](EditTest& t, HWND) { SetFocus(t.parent); }, {"EN_KILLFOCUS"}},
      {"a tap back",
       [](EditTest& t, HWND e) {
         const POINT c = ControlFixture::centre(e);
         t.device.tap(c.x, c.y);
       },
       {"EN_SETFOCUS"}},
  };
  HWND e = edit(ES_AUTOHSCROLL, u"abc");
  SetFocus(e);
  SendMessageW(e, EM_SETSEL, 3, 3);
  device.runUntilIdle();
  for (const Step& step : steps) {
    clearLog();
    step.act(*this, e);
    EXPECT_EQ(notes(), step.heard) << step.what;
  }
}

}  // namespace
