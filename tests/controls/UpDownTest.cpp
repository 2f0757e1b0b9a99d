// The up-down control through its messages, keys and stylus on both editions: what it tells its
// parent for each step, how it keeps its buddy in step and in place, the Smartphone's spinner
// over a list box, and the expandable field's hand-over to the parent or the platform's screens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/CommonControls.h"
#include "platform/controls/FieldExpander.h"
#include "platform/controls/UpDownRange.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::Edition;
using platform::controls::FieldExpander;
using platform::controls::ListExpansion;
using platform::controls::TextExpansion;
using platform::controls::UpDownRange;
using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::notificationName;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

constexpr UINT kBuddyId = 10;
constexpr UINT kUpDownId = 11;

LPARAM str(const char16_t* s) { return reinterpret_cast<LPARAM>(s); }

std::u16string textOf(HWND hwnd) {
  WCHAR buffer[256] = {};
  GetWindowTextW(hwnd, buffer, 256);
  return buffer;
}

RECT rectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

// What the parent heard, one line an event: "UDN_DELTAPOS 9 +1", "EN_CHANGE", "LBN_SELCHANGE",
// "WM_VSCROLL SB_THUMBPOSITION 10".
Seq events() {
  Seq out;
  for (const auto& e : MessageLog::instance().entries()) {
    if (e.message == WM_NOTIFY) {
      std::string line = notificationName(e.code);
      if (e.code == UDN_DELTAPOS) {
        line += ' ';
        line += std::to_string(e.from);
        line += e.to >= 0 ? " +" : " ";
        line += std::to_string(e.to);
      }
      out.push_back(line);
    } else if (e.message == WM_COMMAND) {
      const WORD code = HIWORD(static_cast<DWORD>(e.wParam));
      WCHAR cls[32] = {};
      GetClassNameW(reinterpret_cast<HWND>(e.lParam), cls, 32);
      const bool list = std::u16string(cls) == u"LISTBOX";
      out.push_back(list && code == LBN_SELCHANGE ? "LBN_SELCHANGE"
                    : code == EN_CHANGE           ? "EN_CHANGE"
                    : code == EN_UPDATE           ? "EN_UPDATE"
                    : code == EN_SETFOCUS         ? "EN_SETFOCUS"
                    : code == EN_KILLFOCUS        ? "EN_KILLFOCUS"
                                                  : "WM_COMMAND " + std::to_string(code));
    } else if (e.message == WM_VSCROLL || e.message == WM_HSCROLL) {
      const WORD code = LOWORD(static_cast<DWORD>(e.wParam));
      out.push_back(std::string(e.message == WM_VSCROLL ? "WM_VSCROLL " : "WM_HSCROLL ") +
                    (code == SB_THUMBPOSITION ? "SB_THUMBPOSITION "
                     : code == SB_ENDSCROLL   ? "SB_ENDSCROLL "
                                              : "?") +
                    std::to_string(static_cast<short>(HIWORD(static_cast<DWORD>(e.wParam)))));
    }
  }
  return out;
}

// The screens the platform would show, replaced by scripted answers.
struct FakeScreens {
  static std::vector<TextExpansion>& texts() {
    static std::vector<TextExpansion> v;
    return v;
  }
  static std::vector<ListExpansion>& lists() {
    static std::vector<ListExpansion> v;
    return v;
  }
  static std::optional<std::u16string>& textAnswer() {
    static std::optional<std::u16string> answer;
    return answer;
  }
  static int& listAnswer() {
    static int answer = -1;
    return answer;
  }
  static std::optional<std::u16string> editText(const TextExpansion& request) {
    texts().push_back(request);
    return textAnswer();
  }
  static int pickItem(const ListExpansion& request) {
    lists().push_back(request);
    return listAnswer();
  }
  static void install() {
    texts().clear();
    lists().clear();
    textAnswer().reset();
    listAnswer() = -1;
    FieldExpander::install(&editText, &pickItem);
  }
};

class UpDownTest : public ::testing::Test {
 protected:
  void open(Edition edition, int width = 240, int height = 320) {
    device.emplace(edition, width, height);
    platform::controls::registerControlClasses();
    parent = createLogWindow("parent", WS_POPUP | WS_VISIBLE, 0, 0, width, height);
    SetActiveWindow(parent);
    MessageLog::instance().keepOnly({WM_COMMAND, WM_NOTIFY, WM_VSCROLL, WM_HSCROLL});
  }
  void TearDown() override { FieldExpander::install(nullptr, nullptr); }

  HWND child(const char16_t* cls, const char16_t* text, DWORD style, RECT r, UINT id) {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr,
                           nullptr);
  }
  // An edit from x 20 to 140 with an up-down aligned to its right.
  HWND numberField(DWORD upDownStyle, DWORD editStyle = ES_NUMBER) {
    buddy = child(WC_EDITW, u"", WS_BORDER | WS_TABSTOP | editStyle, RECT{20, 20, 140, 40}, kBuddyId);
    upDown = child(UPDOWN_CLASSW, u"", upDownStyle, RECT{0, 0, 0, 0}, kUpDownId);
    SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    return upDown;
  }
  // A one-line list box of three items with a spinner (the Smartphone's choice field).
  HWND spinner(DWORD extra = UDS_WRAP) {
    child(u"STATIC", u"Colour:", 0, RECT{5, 5, 171, 31}, 9);
    buddy = child(WC_LISTBOXW, u"", WS_TABSTOP | LBS_NOINTEGRALHEIGHT, RECT{5, 32, 171, 58}, kBuddyId);
    for (const char16_t* s : {u"Red", u"Green", u"Blue"}) SendMessageW(buddy, LB_ADDSTRING, 0, str(s));
    SendMessageW(buddy, LB_SETCURSEL, 0, 0);
    upDown =
        child(UPDOWN_CLASSW, u"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_HORZ | UDS_EXPANDABLE | extra,
              RECT{0, 0, 0, 0}, kUpDownId);
    SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
    return upDown;
  }
  void clearLog() { MessageLog::instance().clear(); }
  int selection() const { return static_cast<int>(SendMessageW(buddy, LB_GETCURSEL, 0, 0)); }

  std::optional<TestDevice> device;
  HWND parent = nullptr;
  HWND buddy = nullptr;
  HWND upDown = nullptr;
};

TEST(UpDownRangeTest, StepsTowardsTheUpperEndAndStopsOrWraps) {
  UpDownRange range;
  EXPECT_EQ(range.lower(), 100);
  EXPECT_EQ(range.upper(), 0);
  EXPECT_EQ(range.deltaFor(1), -1) << "the default range counts down as the up arrow is pressed";

  range.setRange(0, 10);
  EXPECT_EQ(range.setPosition(14), 0);
  EXPECT_EQ(range.position(), 10) << "a position past the end is brought in";
  EXPECT_EQ(range.stepped(range.deltaFor(1), false), 10);
  EXPECT_EQ(range.stepped(range.deltaFor(1), true), 0);
  EXPECT_EQ(range.stepped(range.deltaFor(5), true), 4) << "a large step wraps by what is left over";
  range.setPosition(0);
  EXPECT_EQ(range.stepped(range.deltaFor(-1), false), 0);
  EXPECT_EQ(range.stepped(range.deltaFor(-1), true), 10);

  range.setRange(5, -5);  // upper below lower
  range.setPosition(-5);
  EXPECT_EQ(range.stepped(range.deltaFor(1), false), -5) << "already at the upper end";
  EXPECT_EQ(range.stepped(range.deltaFor(-1), false), -4);
  EXPECT_EQ(range.stepped(range.deltaFor(1), true), 5);
}

TEST_F(UpDownTest, KeepsRangeAndPositionAndWritesTheBuddy) {
  open(Edition::PocketPc);
  numberField(UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS);
  EXPECT_EQ(SendMessageW(upDown, UDM_GETBUDDY, 0, 0), reinterpret_cast<LRESULT>(buddy));
  EXPECT_EQ(SendMessageW(upDown, UDM_GETRANGE, 0, 0), MAKELONG(0, 100)) << "upper 0, lower 100";

  SendMessageW(upDown, UDM_SETRANGE32, 0, 50);
  int lower = -1;
  int upper = -1;
  SendMessageW(upDown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 50);
  EXPECT_EQ(SendMessageW(upDown, UDM_SETPOS32, 0, 70), 0) << "answers the position before";
  EXPECT_EQ(textOf(buddy), u"50") << "brought into the range and written to the buddy";
  EXPECT_EQ(SendMessageW(upDown, UDM_SETPOS, 0, MAKELONG(-3, 0)), 50);
  EXPECT_EQ(textOf(buddy), u"0");

  // The buddy's text is read back: a typed number counts, anything else is an error.
  BOOL error = TRUE;
  SetWindowTextW(buddy, u"12");
  EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 12);
  EXPECT_FALSE(error);
  SetWindowTextW(buddy, u"1,2");
  EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS, 0, 0), MAKELONG(12, 0)) << "grouping marks are read over";
  for (const char16_t* bad : {u"abc", u"", u"99", u"4 2"}) {
    SetWindowTextW(buddy, bad);
    EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS, 0, 0), MAKELONG(12, 1)) << "refused: " << textOf(buddy).size();
    EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&error)), 12);
    EXPECT_TRUE(error);
  }

  EXPECT_EQ(SendMessageW(upDown, UDM_SETBASE, 8, 0), 0) << "only 10 and 16";
  EXPECT_EQ(SendMessageW(upDown, UDM_SETBASE, 16, 0), 10);
  SendMessageW(upDown, UDM_SETRANGE32, 0, 300);
  SendMessageW(upDown, UDM_SETPOS32, 0, 255);
  EXPECT_EQ(textOf(buddy), u"0x00FF");
  SetWindowTextW(buddy, u"0x1a");
  EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS32, 0, 0), 26);

  UDACCEL accels[2] = {{0, 2}, {1, 10}};
  EXPECT_TRUE(SendMessageW(upDown, UDM_SETACCEL, 2, reinterpret_cast<LPARAM>(accels)));
  EXPECT_FALSE(SendMessageW(upDown, UDM_SETACCEL, 0, reinterpret_cast<LPARAM>(accels)));
  UDACCEL back[4] = {};
  EXPECT_EQ(SendMessageW(upDown, UDM_GETACCEL, 4, reinterpret_cast<LPARAM>(back)), 2);
  EXPECT_EQ(back[1].nInc, 10u);
  for (const std::string& e : events()) EXPECT_TRUE(e.rfind("EN_", 0) == 0) << "messages step nothing: " << e;
}

TEST_F(UpDownTest, ArrowKeysStepTheBuddyAndTellTheParentInOrder) {
  open(Edition::PocketPc);
  numberField(UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS);
  SendMessageW(upDown, UDM_SETRANGE32, 0, 10);
  SendMessageW(upDown, UDM_SETPOS32, 0, 9);
  SetFocus(buddy);
  device->runUntilIdle();

  struct Step {
    UINT key;
    const char* text;
    Seq heard;
  };
  const Step steps[] = {
      {VK_UP,
       "10",
       {"UDN_DELTAPOS 9 +1", "EN_UPDATE", "EN_CHANGE", "WM_VSCROLL SB_THUMBPOSITION 10", "WM_VSCROLL SB_ENDSCROLL 10"}},
      // At the end the step is still asked for and reported, but nothing moves.
      {VK_UP, "10", {"UDN_DELTAPOS 10 +1", "WM_VSCROLL SB_THUMBPOSITION 10", "WM_VSCROLL SB_ENDSCROLL 10"}},
      {VK_DOWN,
       "9",
       {"UDN_DELTAPOS 10 -1", "EN_UPDATE", "EN_CHANGE", "WM_VSCROLL SB_THUMBPOSITION 9", "WM_VSCROLL SB_ENDSCROLL 9"}},
      // Left and Right stay with the edit's caret on Pocket PC.
      {VK_LEFT, "9", {}},
  };
  for (const Step& step : steps) {
    clearLog();
    device->key(step.key);
    EXPECT_EQ(events(), step.heard) << step.key;
    EXPECT_EQ(textOf(buddy), std::u16string(step.text, step.text + std::strlen(step.text)));
  }

  // A number typed into the field is where the next step starts.
  SetWindowTextW(buddy, u"3");
  clearLog();
  device->key(VK_UP);
  EXPECT_EQ(textOf(buddy), u"4");
}

TEST_F(UpDownTest, WrapsAtTheEndsAndFollowsAReversedRange) {
  open(Edition::PocketPc);
  numberField(UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_WRAP);
  SendMessageW(upDown, UDM_SETRANGE32, 0, 3);
  SendMessageW(upDown, UDM_SETPOS32, 0, 3);
  SetFocus(buddy);
  device->key(VK_UP);
  EXPECT_EQ(textOf(buddy), u"0");
  device->key(VK_DOWN);
  EXPECT_EQ(textOf(buddy), u"3");

  // The default range runs from 100 down to 0: the up arrow counts down.
  HWND other = child(UPDOWN_CLASSW, u"", UDS_SETBUDDYINT | UDS_ARROWKEYS, RECT{150, 20, 170, 40}, 12);
  SendMessageW(other, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  SendMessageW(other, UDM_SETPOS32, 0, 50);
  device->key(VK_UP);
  EXPECT_EQ(textOf(buddy), u"49");
}

TEST_F(UpDownTest, ParentMayRefuseOrChangeAStep) {
  open(Edition::PocketPc);
  numberField(UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS);
  SendMessageW(upDown, UDM_SETRANGE32, 0, 100);
  SendMessageW(upDown, UDM_SETPOS32, 0, 10);
  SetFocus(buddy);
  MessageLog& log = MessageLog::instance();
  log.answer(WM_NOTIFY, [](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    return reinterpret_cast<const NMHDR*>(lParam)->code == UDN_DELTAPOS ? 1 : 0;
  });
  clearLog();
  device->key(VK_UP);
  EXPECT_EQ(events(), (Seq{"UDN_DELTAPOS 10 +1", "WM_VSCROLL SB_THUMBPOSITION 10", "WM_VSCROLL SB_ENDSCROLL 10"}));
  EXPECT_EQ(textOf(buddy), u"10");
  EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS32, 0, 0), 10);

  log.answer(WM_NOTIFY, [](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    auto* nm = reinterpret_cast<NMUPDOWN*>(lParam);
    if (nm->hdr.code == UDN_DELTAPOS) nm->iDelta *= 5;
    return 0;
  });
  device->key(VK_DOWN);
  EXPECT_EQ(textOf(buddy), u"5") << "the parent's delta is the one taken";
  log.answer(WM_NOTIFY, nullptr);
}

TEST_F(UpDownTest, AlignsToItsBuddyAgainWhenToldItAgain) {
  open(Edition::PocketPc);
  numberField(UDS_ALIGNRIGHT | UDS_SETBUDDYINT);
  const RECT field = rectOf(buddy);
  const RECT arrows = rectOf(upDown);
  const int width = arrows.right - arrows.left;
  ASSERT_GT(width, 0);
  EXPECT_EQ(field.right, 140 - width);
  EXPECT_EQ(arrows.left, field.right);
  EXPECT_EQ(arrows.right, 140);
  EXPECT_EQ(arrows.top, field.top);
  EXPECT_EQ(arrows.bottom, field.bottom);

  SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  EXPECT_EQ(rectOf(buddy).right, 140 - width) << "told again with nothing changed, the buddy is not narrowed twice";
  EXPECT_EQ(rectOf(upDown).left, 140 - width);

  // A relayout widens the field to the new screen width and tells the up-down its buddy again.
  MoveWindow(buddy, 20, 30, 200, 24, TRUE);
  SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  EXPECT_EQ(rectOf(buddy).right, 220 - width);
  EXPECT_EQ(rectOf(upDown).left, 220 - width);
  EXPECT_EQ(rectOf(upDown).right, 220);
  EXPECT_EQ(rectOf(upDown).top, 30);
  EXPECT_EQ(rectOf(upDown).bottom, 54);

  HWND left = child(WC_EDITW, u"", WS_BORDER, RECT{20, 100, 140, 120}, 20);
  HWND leftArrows = child(UPDOWN_CLASSW, u"", UDS_ALIGNLEFT, RECT{0, 0, 15, 0}, 21);
  SendMessageW(leftArrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(left), 0);
  EXPECT_EQ(rectOf(leftArrows).left, 20);
  EXPECT_EQ(rectOf(leftArrows).right, 35) << "the width it was created with";
  EXPECT_EQ(rectOf(left).left, 35);
  EXPECT_EQ(rectOf(left).right, 140);
}

TEST_F(UpDownTest, HoldingAnArrowRepeatsAndLettingGoEndsTheScroll) {
  open(Edition::PocketPc);
  numberField(UDS_ALIGNRIGHT | UDS_SETBUDDYINT);
  SendMessageW(upDown, UDM_SETRANGE32, 0, 100);
  SendMessageW(upDown, UDM_SETPOS32, 0, 10);
  const RECT arrows = rectOf(upDown);
  const int x = (arrows.left + arrows.right) / 2;
  clearLog();
  device->stylusDown(x, arrows.top + 2);
  device->runUntilIdle();
  EXPECT_EQ(textOf(buddy), u"11");
  EXPECT_EQ(GetFocus(), buddy) << "the field takes the focus";
  device->advance(499);
  EXPECT_EQ(textOf(buddy), u"11");
  device->advance(1);
  EXPECT_EQ(textOf(buddy), u"12");
  device->advance(300);
  EXPECT_EQ(textOf(buddy), u"15");
  device->stylusUp(x, arrows.top + 2);
  device->runUntilIdle();
  device->advance(500);
  EXPECT_EQ(textOf(buddy), u"15");
  const Seq heard = events();
  ASSERT_FALSE(heard.empty());
  EXPECT_EQ(heard.back(), "WM_VSCROLL SB_ENDSCROLL 15");

  device->tap(x, arrows.bottom - 2);
  EXPECT_EQ(textOf(buddy), u"14");
}

TEST_F(UpDownTest, SmartphoneSpinsAListWithLeftAndRight) {
  open(Edition::Smartphone, 176, 220);
  spinner();
  SetFocus(buddy);
  device->runUntilIdle();
  clearLog();
  device->key(VK_RIGHT);
  EXPECT_EQ(selection(), 1);
  EXPECT_EQ(events(),
            (Seq{"UDN_DELTAPOS 0 +1", "LBN_SELCHANGE", "WM_HSCROLL SB_THUMBPOSITION 1", "WM_HSCROLL SB_ENDSCROLL 1"}));
  device->key(VK_RIGHT);
  device->key(VK_RIGHT);
  EXPECT_EQ(selection(), 0) << "wraps from the last item to the first";
  device->key(VK_LEFT);
  EXPECT_EQ(selection(), 2);

  // Nothing chosen: the right arrow starts at the first item, the left one at the last.
  SendMessageW(buddy, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  device->key(VK_LEFT);
  EXPECT_EQ(selection(), 2);
  EXPECT_EQ(SendMessageW(upDown, UDM_GETPOS32, 0, 0), 2) << "the position is the selection";
  SendMessageW(upDown, UDM_SETPOS32, 0, 1);
  EXPECT_EQ(selection(), 1);

  // Up and Down are the form's; Right, Left and the action key the field's.
  const auto code = [&](UINT vk) {
    MSG msg{buddy, WM_KEYDOWN, vk, 0, 0, {}};
    return SendMessageW(buddy, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(&msg));
  };
  EXPECT_EQ(code(VK_DOWN) & DLGC_WANTARROWS, 0);
  EXPECT_EQ(code(VK_UP) & DLGC_WANTARROWS, 0);
  EXPECT_NE(code(VK_RIGHT) & DLGC_WANTARROWS, 0);
  EXPECT_NE(code(VK_RETURN) & DLGC_WANTMESSAGE, 0);
}

TEST_F(UpDownTest, SmartphoneSpinnerStopsAtTheEndsWithoutWrap) {
  open(Edition::Smartphone, 176, 220);
  spinner(0);
  SetFocus(buddy);
  device->key(VK_LEFT);
  EXPECT_EQ(selection(), 0);
  clearLog();
  device->key(VK_RIGHT);
  device->key(VK_RIGHT);
  device->key(VK_RIGHT);
  EXPECT_EQ(selection(), 2);
  const auto& entries = MessageLog::instance().entries();
  const auto changes = std::count_if(entries.begin(), entries.end(), [](const auto& e) {
    return e.message == WM_COMMAND && HIWORD(static_cast<DWORD>(e.wParam)) == LBN_SELCHANGE;
  });
  EXPECT_EQ(changes, 2) << "no change is announced at the end";

  SendMessageW(buddy, LB_RESETCONTENT, 0, 0);
  clearLog();
  device->key(VK_RIGHT);
  EXPECT_TRUE(events().empty()) << "an empty list does not spin";
}

TEST_F(UpDownTest, ParentThatTakesTheExpansionGetsIt) {
  open(Edition::Smartphone, 176, 220);
  FakeScreens::install();
  spinner();
  SetFocus(buddy);
  MessageLog::instance().answer(WM_NOTIFY, [](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    return reinterpret_cast<const NMHDR*>(lParam)->code == UDN_EXPANDING ? 1 : 0;
  });
  clearLog();
  device->key(VK_RETURN);
  EXPECT_EQ(events(), (Seq{"UDN_EXPANDING"}));
  EXPECT_EQ(MessageLog::instance().entries().front().wParam, kUpDownId);
  EXPECT_TRUE(FakeScreens::lists().empty()) << "the parent handled it";
  MessageLog::instance().answer(WM_NOTIFY, nullptr);
}

TEST_F(UpDownTest, ListFieldExpandsToThePickList) {
  open(Edition::Smartphone, 176, 220);
  FakeScreens::install();
  spinner();
  SetFocus(buddy);
  FakeScreens::listAnswer() = 2;
  clearLog();
  device->key(VK_RETURN);
  ASSERT_EQ(FakeScreens::lists().size(), 1u);
  const ListExpansion& shown = FakeScreens::lists().front();
  EXPECT_EQ(shown.title, u"Colour") << "the label before the field, without its colon";
  EXPECT_EQ(shown.items, (std::vector<std::u16string>{u"Red", u"Green", u"Blue"}));
  EXPECT_EQ(shown.selected, 0);
  EXPECT_EQ(shown.owner, parent);
  EXPECT_EQ(selection(), 2);
  EXPECT_EQ(events(), (Seq{"UDN_EXPANDING", "LBN_SELCHANGE"}));

  // Cancel, or the item already chosen, changes nothing.
  for (int answer : {-1, 2}) {
    FakeScreens::listAnswer() = answer;
    clearLog();
    device->key(VK_RETURN);
    EXPECT_EQ(selection(), 2);
    EXPECT_EQ(events(), (Seq{"UDN_EXPANDING"}));
  }
  // The up-down's own text is the title when it has one.
  SetWindowTextW(upDown, u"Pick a colour");
  device->key(VK_RETURN);
  EXPECT_EQ(FakeScreens::lists().back().title, u"Pick a colour");
}

TEST_F(UpDownTest, TextFieldExpandsToTheEditorAndTakesItsTextOnDone) {
  open(Edition::Smartphone, 176, 220);
  FakeScreens::install();
  child(u"STATIC", u"&Notes:", 0, RECT{5, 5, 171, 31}, 9);
  buddy = child(WC_EDITW, u"Call back", WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL, RECT{5, 32, 171, 58}, kBuddyId);
  upDown = child(UPDOWN_CLASSW, u"", UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_EXPANDABLE | UDS_NOSCROLL,
                 RECT{0, 0, 0, 0}, kUpDownId);
  SendMessageW(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  EXPECT_EQ(rectOf(buddy).right, 171) << "with no arrows to show the field keeps its width";
  SetFocus(buddy);
  device->runUntilIdle();

  // Cancel leaves the text.
  clearLog();
  device->key(VK_RETURN);
  ASSERT_EQ(FakeScreens::texts().size(), 1u);
  EXPECT_EQ(FakeScreens::texts()[0].title, u"Notes");
  EXPECT_EQ(FakeScreens::texts()[0].text, u"Call back");
  EXPECT_EQ(textOf(buddy), u"Call back") << "nor does the action key's character reach the field";
  EXPECT_EQ(events(), (Seq{"UDN_EXPANDING"}));

  // Done writes the edited text back as if typed.
  FakeScreens::textAnswer() = u"Call back\r\nafter six";
  clearLog();
  device->key(VK_RETURN);
  EXPECT_EQ(textOf(buddy), u"Call back\r\nafter six");
  EXPECT_EQ(events(), (Seq{"UDN_EXPANDING", "EN_UPDATE", "EN_CHANGE"}));

  // Left and Right still move the caret: UDS_NOSCROLL never steps.
  clearLog();
  device->key(VK_LEFT);
  EXPECT_TRUE(events().empty());
}

TEST_F(UpDownTest, PocketPcHasNoExpandableFields) {
  open(Edition::PocketPc);
  FakeScreens::install();
  numberField(UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_EXPANDABLE, 0);
  SetFocus(buddy);
  clearLog();
  device->key(VK_RETURN);
  EXPECT_TRUE(FakeScreens::texts().empty());
  for (const std::string& e : events()) EXPECT_NE(e, "UDN_EXPANDING");
}

TEST_F(UpDownTest, LeavesTheBuddyWorkingWhenItGoes) {
  open(Edition::PocketPc);
  HWND plain = child(WC_EDITW, u"", 0, RECT{0, 100, 100, 120}, 30);
  const LONG_PTR editProc = GetWindowLongPtrW(plain, GWLP_WNDPROC);
  DestroyWindow(plain);

  numberField(UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS);
  EXPECT_NE(GetWindowLongPtrW(buddy, GWLP_WNDPROC), editProc) << "the buddy's keys pass the up-down first";
  DestroyWindow(upDown);
  EXPECT_EQ(GetWindowLongPtrW(buddy, GWLP_WNDPROC), editProc) << "and its own procedure comes back";
  SetFocus(buddy);
  device->type(u"42");
  device->key(VK_UP);
  EXPECT_EQ(textOf(buddy), u"42");

  // Subclassed over by someone else, the buddy keeps that subclass working after the up-down goes.
  static WNDPROC before = nullptr;
  static int seen = 0;
  numberField(UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS);
  seen = 0;
  before = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
      buddy, GWLP_WNDPROC,
      reinterpret_cast<LONG_PTR>(+[](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_KEYDOWN) ++seen;
        return CallWindowProcW(before, hwnd, message, wParam, lParam);
      })));
  DestroyWindow(upDown);
  SetFocus(buddy);
  device->type(u"7");
  device->key(VK_UP);
  EXPECT_EQ(textOf(buddy), u"7");
  EXPECT_EQ(seen, 2);
  DestroyWindow(buddy);
}

}  // namespace
