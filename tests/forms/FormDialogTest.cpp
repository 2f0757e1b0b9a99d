// The full-screen form: how it starts, fits a rotated screen and the input panel, scrolls, and
// takes the Back key.
#include "forms/FormDialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "device/PrivateMessages.h"
#include "forms/FormBuilder.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinDateTime.h"
#include "platform/controls/WinEdit.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/Shell.h"
#include "tests/forms/FormDevice.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::shell::MenuBar;

RECT rectIn(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

RECT screenRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r;
}

std::vector<std::u16string> buttonTexts(HWND bar) {
  std::vector<std::u16string> texts;
  if (MenuBar* b = MenuBar::fromWindow(bar)) {
    for (const auto& button : b->buttons()) texts.push_back(button.text);
  }
  return texts;
}

WORD backOverride(HWND bar) {
  MenuBar* b = MenuBar::fromWindow(bar);
  return b != nullptr ? b->overrideFlags(VK_ESCAPE) : 0;
}

LONG fontWeight(HWND hwnd) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font.lfWeight;
}

// What the form looked like when its content was being created: the start's earlier steps are
// done by then, the later ones not yet.
struct AtContent {
  bool menuBar = false;
  bool boldFont = false;
  RECT frame{};
  bool backTaken = false;
};

class FormStartTest : public ::testing::TestWithParam<Edition> {
 protected:
  bool pocketPc() const { return GetParam() == Edition::PocketPc; }
  FormDevice device{GetParam(), 240, 320};
};

TEST_P(FormStartTest, StepsRunInOrderAndTheFormFillsTheScreenAboveItsMenubar) {
  SampleForm form;
  AtContent seen;
  form.afterContent = [&](SampleForm& f) {
    seen.menuBar = f.menuBar() != nullptr;
    seen.boldFont = f.boldFont() != nullptr;
    seen.frame = screenRect(f.hwnd());
    seen.backTaken = backOverride(f.menuBar()) != 0;
  };
  const HWND dialog = form.open(device.owner(), u"Sample");
  ASSERT_NE(dialog, nullptr);
  device.runUntilIdle();

  EXPECT_TRUE(seen.menuBar) << "the menubar is made before the content";
  EXPECT_TRUE(seen.boldFont);
  EXPECT_EQ(seen.frame.right - seen.frame.left, 240) << "the shell sized the form before the content";
  EXPECT_FALSE(seen.backTaken) << "Back is taken once the content shows an edit";

  const RECT frame = screenRect(dialog);
  const RECT bar = screenRect(form.menuBar());
  EXPECT_EQ(frame.left, 0);
  EXPECT_EQ(frame.top, platform::shell::titleBarHeight());
  EXPECT_EQ(frame.right, 240);
  EXPECT_EQ(frame.bottom, bar.top);
  EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION, 0);
  EXPECT_EQ(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME, 0);
  EXPECT_EQ(buttonTexts(form.menuBar()), (std::vector<std::u16string>{u"Done", u"Cancel"}));
  EXPECT_EQ(backOverride(form.menuBar()), SHMBOF_NODEFAULT | SHMBOF_NOTIFY);
  EXPECT_EQ(platform::shell::hasDoneButton(dialog), pocketPc()) << "the title bar's ok on Pocket PC only";
  EXPECT_EQ(GetActiveWindow(), dialog);
  EXPECT_EQ(GetFocus(), form.builder.row(kName)->field) << "the first field takes the focus";
}

TEST_P(FormStartTest, ChildrenWithoutAFontGetTheDialogsAndRowsKeepTheirs) {
  SampleForm form;
  HWND heading = nullptr;
  form.afterContent = [&](SampleForm& f) {
    heading = CreateWindowExW(0, u"STATIC", u"Heading", WS_CHILD | WS_VISIBLE, 4, 200, 200, 20, f.hwnd(), nullptr,
                              nullptr, nullptr);
  };
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(heading, WM_GETFONT, 0, 0)), form.plainFont());
  EXPECT_EQ(fontWeight(form.builder.row(kName)->label), pocketPc() ? FW_NORMAL : FW_BOLD);
  LOGFONTW bold{};
  GetObjectW(form.boldFont(), sizeof bold, &bold);
  EXPECT_EQ(bold.lfWeight, FW_BOLD);

  // A new font goes to what had the old one; the rows' own fonts stay.
  LOGFONTW larger{};
  GetObjectW(form.plainFont(), sizeof larger, &larger);
  larger.lfHeight += 4;
  const HFONT font = CreateFontIndirectW(&larger);
  SendMessageW(form.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  EXPECT_EQ(form.plainFont(), font);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(heading, WM_GETFONT, 0, 0)), font);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(form.builder.row(kName)->field, WM_GETFONT, 0, 0)),
            form.builder.fieldFont());
  GetObjectW(form.boldFont(), sizeof bold, &bold);
  EXPECT_EQ(bold.lfHeight, larger.lfHeight) << "the bold font follows the new one";
  DestroyWindow(form.hwnd());
  DeleteObject(font);
}

TEST_P(FormStartTest, WithoutAnEditBackStaysTheMenubars) {
  SampleForm form;
  form.afterContent = [](SampleForm& f) {
    f.builder.begin(f.hwnd());
    f.builder.addChoiceRow(kKind, u"Kind:", {u"From", u"For"}, {0, 1});
  };
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  // The Pocket PC choice field is an edit the focus passes through; the Smartphone list is not.
  EXPECT_EQ(backOverride(form.menuBar()) != 0, pocketPc());
}

TEST_P(FormStartTest, AMissingMenubarLeavesTheFormWorking) {
  SampleForm form(false, 4242);
  const HWND dialog = form.open(device.owner(), u"Sample");
  ASSERT_NE(dialog, nullptr);
  device.runUntilIdle();
  EXPECT_EQ(form.menuBar(), nullptr);
  EXPECT_EQ(screenRect(dialog).right, 240);
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
  EXPECT_TRUE(form.done);
  EXPECT_EQ(form.result(), IDOK);
  EXPECT_FALSE(IsWindow(dialog));
}

TEST_P(FormStartTest, ActivationBuildsTheMenubarAgain) {
  SampleForm form;
  const HWND dialog = form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const HWND first = form.menuBar();
  SampleForm over;
  over.open(dialog, u"Over");
  device.runUntilIdle();
  DestroyWindow(over.hwnd());
  SetActiveWindow(dialog);
  device.runUntilIdle();
  EXPECT_NE(form.menuBar(), first);
  EXPECT_FALSE(IsWindow(first));
  EXPECT_TRUE(IsWindowVisible(form.menuBar()));
  EXPECT_EQ(backOverride(form.menuBar()), SHMBOF_NODEFAULT | SHMBOF_NOTIFY);
}

TEST_P(FormStartTest, ModalRunReturnsWhatTheSoftKeysSay) {
  {
    SampleForm form;
    device.addStep([] { platform::testing::TestDevice::postKey(VK_F1); });
    EXPECT_EQ(form.run(device.owner(), u"Sample"), IDOK);
    EXPECT_TRUE(form.done);
    EXPECT_EQ(form.storedName, u"Anna");
    EXPECT_EQ(form.storedKind, 0);
  }
  {
    SampleForm form;
    device.addStep([] { platform::testing::TestDevice::postKey(VK_F2); });
    EXPECT_EQ(form.run(device.owner(), u"Sample"), IDCANCEL);
    EXPECT_FALSE(form.done);
  }
  EXPECT_TRUE(IsWindowEnabled(device.owner()));
}

INSTANTIATE_TEST_SUITE_P(Editions, FormStartTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

// ---------------------------------------------------------------------------------------------
// The Back key

class FormBackTest : public FormStartTest {
 protected:
  void SetUp() override {
    ASSERT_NE(form.open(device.owner(), u"Sample"), nullptr);
    device.runUntilIdle();
  }
  SampleForm form;
};

TEST_P(FormBackTest, InAnEmptyFieldDeletesNothingAndStaysOpen) {
  form.builder.focus(kSecret);
  device.runUntilIdle();
  device.key(VK_ESCAPE);
  EXPECT_TRUE(IsWindow(form.hwnd()));
  EXPECT_EQ(form.result(), 0);
  EXPECT_EQ(form.builder.text(kSecret), u"");
  EXPECT_EQ(form.builder.text(kName), u"Anna");
}

TEST_P(FormBackTest, InAFieldDeletesTheCharacterBeforeTheCaret) {
  const HWND name = form.builder.row(kName)->field;
  SetFocus(name);
  SendMessageW(name, EM_SETSEL, 4, 4);
  device.key(VK_ESCAPE);
  EXPECT_EQ(form.builder.text(kName), u"Ann");
  EXPECT_TRUE(IsWindow(form.hwnd()));
}

TEST_P(FormBackTest, OnAListClosesWithCancelWhenTheKeyComesUp) {
  form.builder.focus(kKind);
  device.runUntilIdle();
  ASSERT_NE(GetFocus(), nullptr);
  device.keyDown(VK_ESCAPE);
  EXPECT_TRUE(IsWindow(form.hwnd())) << "nothing happens on the way down";
  device.keyUp(VK_ESCAPE);
  EXPECT_FALSE(IsWindow(form.hwnd()));
  EXPECT_EQ(form.result(), IDCANCEL);
  EXPECT_FALSE(form.done);
}

TEST(FormBack, ClosesADroppedListOrCalendarBeforeTheForm) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const HWND list = form.builder.row(kKind)->field;
  form.builder.focus(kKind);
  SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
  SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
  ASSERT_TRUE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
  device.key(VK_ESCAPE);
  EXPECT_FALSE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_TRUE(IsWindow(form.hwnd())) << "the form stays";
  EXPECT_EQ(form.builder.choiceValue(kKind), 0) << "the list closed without a choice";

  const HWND day = form.builder.row(kDay)->field;
  SetFocus(day);
  SendMessageW(day, WM_KEYDOWN, VK_F4, 0);
  device.runUntilIdle();
  ASSERT_NE(DateTime_GetMonthCal(day), nullptr);
  device.key(VK_ESCAPE);
  EXPECT_EQ(DateTime_GetMonthCal(day), nullptr);
  EXPECT_TRUE(IsWindow(form.hwnd()));

  device.key(VK_ESCAPE);
  EXPECT_FALSE(IsWindow(form.hwnd())) << "then Back leaves";
  EXPECT_EQ(form.result(), IDCANCEL);
}

TEST(FormLifetime, AFormThatGoesTakesItsWindowAndMenubar) {
  FormDevice device(Edition::PocketPc, 240, 320);
  HWND dialog = nullptr;
  HWND bar = nullptr;
  {
    SampleForm form;
    dialog = form.open(device.owner(), u"Sample");
    device.runUntilIdle();
    bar = form.menuBar();
  }
  device.runUntilIdle();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_FALSE(IsWindow(bar));
}

INSTANTIATE_TEST_SUITE_P(Editions, FormBackTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

// ---------------------------------------------------------------------------------------------
// Rotation and the input panel

TEST(FormRotation, PocketPcFieldsWidenLabelsStayAndTheFormShortens) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  const HWND dialog = form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const RECT before = screenRect(dialog);
  const HWND oldBar = form.menuBar();
  const FieldRow name = *form.builder.row(kName);
  const FieldRow notes = *form.builder.row(kNotes);

  device.rotate();

  const RECT after = screenRect(dialog);
  EXPECT_EQ(after.left, before.left);
  EXPECT_EQ(after.top, before.top);
  EXPECT_EQ(after.right - after.left, 320);
  EXPECT_EQ(after.bottom - after.top, (before.bottom - before.top) - (320 - 240));
  EXPECT_EQ(rectIn(dialog, name.label).right, 80) << "labels keep their size";
  EXPECT_EQ(rectIn(dialog, name.field).left, 87);
  EXPECT_EQ(rectIn(dialog, name.field).right, 316);
  EXPECT_EQ(rectIn(dialog, name.separator).right, 316) << "the line under a field goes with it";
  EXPECT_EQ(rectIn(dialog, form.builder.row(kKind)->companion).right, 316);
  EXPECT_EQ(rectIn(dialog, form.builder.row(kDay)->field).right, 316);
  const RECT button = rectIn(dialog, notes.companion);
  EXPECT_EQ(button.right, 316) << "the expand button realigns to its widened edit";
  EXPECT_EQ(button.left, 300);
  EXPECT_EQ(rectIn(dialog, notes.field).right, 300);
  EXPECT_FALSE(IsWindow(oldBar)) << "the menubar is built again";
  ASSERT_NE(form.menuBar(), nullptr);
  EXPECT_EQ(screenRect(form.menuBar()).right, 320);
  EXPECT_EQ(after.bottom, screenRect(form.menuBar()).top);
  EXPECT_EQ(backOverride(form.menuBar()), SHMBOF_NODEFAULT | SHMBOF_NOTIFY);
  EXPECT_EQ(form.layoutChanges, 1);

  // Back to portrait: everything as it was.
  device.rotate();
  EXPECT_EQ(screenRect(dialog).bottom - screenRect(dialog).top, before.bottom - before.top);
  EXPECT_EQ(rectIn(dialog, name.field).right, 236);
  EXPECT_EQ(rectIn(dialog, notes.companion).left, 220);
  EXPECT_EQ(rectIn(dialog, notes.field).right, 220);
}

TEST(FormRotation, SmartphoneFieldsAndLabelsTakeTheNewWidth) {
  FormDevice device(Edition::Smartphone, 240, 320);
  SampleForm form;
  const HWND dialog = form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const FieldRow name = *form.builder.row(kName);
  EXPECT_EQ(rectIn(dialog, name.field).right, 235);
  device.rotate();
  EXPECT_EQ(screenRect(dialog).right - screenRect(dialog).left, 320);
  EXPECT_EQ(rectIn(dialog, name.field).left, 5);
  EXPECT_EQ(rectIn(dialog, name.field).right, 315);
  EXPECT_EQ(rectIn(dialog, name.label).right, 315);
  // The list's spinner takes the right end again and the list ends where it starts.
  const FieldRow kind = *form.builder.row(kKind);
  ASSERT_NE(kind.companion, nullptr);
  EXPECT_EQ(rectIn(dialog, kind.companion).right, 315);
  EXPECT_EQ(rectIn(dialog, kind.field).right, rectIn(dialog, kind.companion).left);
}

TEST(FormRotation, ASettingChangeWithoutANewWidthChangesNothing) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  const HWND dialog = form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const HWND bar = form.menuBar();
  const RECT before = screenRect(dialog);
  SendMessageW(dialog, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
  SendMessageW(dialog, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  EXPECT_EQ(form.menuBar(), bar);
  EXPECT_EQ(screenRect(dialog).bottom, before.bottom);
  EXPECT_EQ(form.layoutChanges, 0);
}

TEST(FormInputPanel, PocketPcFormEndsAboveThePanelAndAtTheMenubarWithoutIt) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  const HWND dialog = form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const int withoutPanel = screenRect(dialog).bottom;
  ASSERT_TRUE(SHSipPreference(dialog, SIP_UP));
  device.runUntilIdle();
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  ASSERT_TRUE(sip.fdwFlags & SIPF_ON);
  EXPECT_EQ(screenRect(dialog).bottom, sip.rcVisibleDesktop.bottom);
  EXPECT_LT(screenRect(dialog).bottom, withoutPanel);
  EXPECT_EQ(screenRect(dialog).right, 240);
  ASSERT_TRUE(SHSipPreference(dialog, SIP_DOWN));
  device.runUntilIdle();
  EXPECT_EQ(screenRect(dialog).bottom, screenRect(form.menuBar()).top);
  EXPECT_EQ(screenRect(dialog).bottom, withoutPanel);
}

// ---------------------------------------------------------------------------------------------
// Scrolling

class FormScrollTest : public ::testing::Test {
 protected:
  void open(Edition edition) {
    device = std::make_unique<FormDevice>(edition, 240, 320);
    form.extraRows = 12;
    ASSERT_NE(form.open(device->owner(), u"Sample"), nullptr);
    device->runUntilIdle();
    dialog = form.hwnd();
  }
  int labelTop() const { return rectIn(dialog, form.builder.row(kName)->label).top; }
  int page() const {
    RECT client{};
    GetClientRect(dialog, &client);
    return client.bottom;
  }
  void scroll(UINT code, int position = 0) {
    SendMessageW(dialog, WM_VSCROLL, MAKEWPARAM(code, position), 0);
    device->runUntilIdle();
  }
  // The bottom of the last row (its label reaches lowest), from the top of the content.
  int contentBottom() const {
    const FieldRow& last = form.builder.rows().back();
    return rectIn(dialog, last.label).bottom + form.scrollPosition();
  }

  std::unique_ptr<FormDevice> device;
  SampleForm form{true};
  HWND dialog = nullptr;
};

TEST_F(FormScrollTest, PocketPcRangeCoversTheRowsAndLinesArePixelsOf14) {
  open(Edition::PocketPc);
  EXPECT_TRUE(GetWindowLongW(dialog, GWL_STYLE) & WS_VSCROLL);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(dialog, SB_VERT, &info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, contentBottom());
  EXPECT_EQ(static_cast<int>(info.nPage), page());
  EXPECT_EQ(info.nPos, 0);

  const int top = labelTop();
  scroll(SB_LINEDOWN);
  EXPECT_EQ(form.scrollPosition(), 14);
  EXPECT_EQ(labelTop(), top - 14);
  scroll(SB_LINEUP);
  scroll(SB_LINEUP);
  EXPECT_EQ(form.scrollPosition(), 0) << "never above the top";
  scroll(SB_PAGEDOWN);
  EXPECT_EQ(form.scrollPosition(), std::min(page(), contentBottom() - page()));
  scroll(SB_BOTTOM);
  EXPECT_EQ(form.scrollPosition(), contentBottom() - page());
  scroll(SB_LINEDOWN);
  EXPECT_EQ(form.scrollPosition(), contentBottom() - page()) << "never below the end";
  scroll(SB_THUMBTRACK, 20);
  EXPECT_EQ(form.scrollPosition(), 20);
  EXPECT_EQ(labelTop(), top - 20);
  info.fMask = SIF_POS;
  GetScrollInfo(dialog, SB_VERT, &info);
  EXPECT_EQ(info.nPos, 20);
  scroll(SB_TOP);
  EXPECT_EQ(form.scrollPosition(), 0);
  EXPECT_EQ(labelTop(), top);
}

TEST_F(FormScrollTest, AFieldTakingTheFocusOutOfViewPagesToIt) {
  open(Edition::PocketPc);
  const FieldRow& last = form.builder.rows().back();
  SetFocus(last.field);
  device->runUntilIdle();
  EXPECT_GT(form.scrollPosition(), 0);
  const RECT r = rectIn(dialog, last.field);
  EXPECT_LE(r.bottom, page());
  SetFocus(form.builder.row(kName)->field);
  device->runUntilIdle();
  EXPECT_EQ(form.scrollPosition(), 0);
}

TEST_F(FormScrollTest, RecomputingAfterRowsChangeKeepsTheRangeWherePossible) {
  open(Edition::PocketPc);
  scroll(SB_BOTTOM);
  const int before = contentBottom();
  for (int i = 0; i < 6; ++i) form.builder.show(static_cast<UINT>(100 + i), false);
  SendMessageW(dialog, UM_RECOMPUTESCROLL, FALSE, TRUE);
  device->runUntilIdle();
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(dialog, SB_VERT, &info);
  EXPECT_LT(info.nMax, before);
  EXPECT_EQ(form.scrollPosition(), info.nMax - page()) << "the position stays within the new range";
  SendMessageW(dialog, UM_RECOMPUTESCROLL, TRUE, TRUE);
  EXPECT_EQ(form.scrollPosition(), 0);
}

TEST_F(FormScrollTest, SmartphoneFormsLeaveScrollingToThePlatform) {
  open(Edition::Smartphone);
  EXPECT_FALSE(GetWindowLongW(dialog, GWL_STYLE) & WS_VSCROLL) << "the platform scrolls without a bar";
  const int top = labelTop();
  scroll(SB_LINEDOWN);
  scroll(SB_PAGEDOWN);
  EXPECT_EQ(form.scrollPosition(), 0);
  EXPECT_EQ(labelTop(), top);
}

}  // namespace
}  // namespace pellucard::testing
