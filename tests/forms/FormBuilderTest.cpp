// Rows of labelled fields: where they lie on both editions, the controls and styles of each
// kind, and the values read and written by row id.
#include "forms/FormBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "forms/ChoiceField.h"
#include "forms/SeparatorLine.h"
#include "platform/controls/WinComboBox.h"
#include "platform/controls/WinDateTime.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinListBox.h"
#include "platform/controls/WinStatic.h"
#include "platform/controls/WinUpDown.h"
#include "platform/sys/WinBase.h"
#include "tests/forms/FormDevice.h"

namespace pellucard::testing {
namespace {

using platform::Edition;

RECT rectIn(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::u16string className(HWND hwnd) {
  WCHAR name[64] = {};
  GetClassNameW(hwnd, name, 64);
  return name;
}

DWORD styleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

LOGFONTW fontOf(HWND hwnd) {
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
  return font;
}

SYSTEMTIME dateOf(WORD year, WORD month, WORD day, WORD hour = 12, WORD minute = 0) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  return t;
}

class FormRowsTest : public ::testing::TestWithParam<Edition> {
 protected:
  void SetUp() override {
    form.day = dateOf(2024, 2, 29);
    form.time = dateOf(2025, 1, 15, 7, 5);
    ASSERT_NE(form.open(device.owner(), u"Sample"), nullptr);
    device.runUntilIdle();
    dialog = form.hwnd();
  }
  bool pocketPc() const { return GetParam() == Edition::PocketPc; }
  const FieldRow& row(UINT id) const { return *form.builder.row(id); }

  FormDevice device{GetParam(), 240, 320};
  SampleForm form;
  HWND dialog = nullptr;
};

TEST_P(FormRowsTest, EveryKindOfRowHasItsControlAndStyles) {
  const DWORD textStyle = styleOf(row(kName).field);
  EXPECT_EQ(className(row(kName).field), u"EDIT");
  EXPECT_TRUE(textStyle & WS_TABSTOP);
  EXPECT_TRUE(textStyle & ES_AUTOHSCROLL) << "long text scrolls";
  EXPECT_FALSE(textStyle & (ES_NUMBER | ES_PASSWORD | ES_MULTILINE));
  EXPECT_TRUE(styleOf(row(kCount).field) & ES_NUMBER);
  EXPECT_TRUE(styleOf(row(kSecret).field) & ES_PASSWORD);
  EXPECT_TRUE(styleOf(row(kSecret).field) & ES_NUMBER);

  const DWORD notesStyle = styleOf(row(kNotes).field);
  EXPECT_TRUE(notesStyle & ES_MULTILINE);
  EXPECT_TRUE(notesStyle & ES_AUTOHSCROLL);
  EXPECT_FALSE(notesStyle & ES_READONLY);
  ASSERT_NE(row(kNotes).companion, nullptr);
  EXPECT_EQ(className(row(kNotes).companion), pocketPc() ? u"STATIC" : u"msctls_updown32");
  if (!pocketPc()) {
    EXPECT_EQ(styleOf(row(kNotes).companion) & 0xFFFF,
              static_cast<DWORD>(UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_ARROWKEYS | UDS_EXPANDABLE | UDS_NOSCROLL));
  }
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(row(kNotes).companion, UDM_GETBUDDY, 0, 0)), row(kNotes).field);

  EXPECT_EQ(row(kKind).kind, FieldKind::Choice);
  if (pocketPc()) {
    EXPECT_EQ(className(row(kKind).field), u"ComboBox");
    EXPECT_EQ(styleOf(row(kKind).field) & 0x3, static_cast<DWORD>(CBS_DROPDOWNLIST));
    EXPECT_FALSE(styleOf(row(kKind).field) & WS_VISIBLE) << "the list hides behind its field";
    EXPECT_EQ(className(row(kKind).companion), u"EDIT");
    EXPECT_TRUE(styleOf(row(kKind).companion) & WS_VISIBLE);
  } else {
    EXPECT_EQ(className(row(kKind).field), u"LISTBOX");
    EXPECT_TRUE(styleOf(row(kKind).field) & LBS_NOINTEGRALHEIGHT);
    ASSERT_NE(row(kKind).companion, nullptr);
    EXPECT_EQ(styleOf(row(kKind).companion) & 0xFFFF, static_cast<DWORD>(UDS_WRAP | UDS_SETBUDDYINT | UDS_ALIGNRIGHT |
                                                                         UDS_ARROWKEYS | UDS_HORZ | UDS_EXPANDABLE));
  }

  EXPECT_EQ(className(row(kDay).field), u"SysDateTimePick32");
  EXPECT_EQ(row(kDay).kind, FieldKind::Date);
  EXPECT_FALSE(styleOf(row(kDay).field) & DTS_SHOWNONE);
  EXPECT_TRUE(styleOf(row(kTime).field) & 0x0008) << "the time style";
  EXPECT_EQ(row(kTime).kind, FieldKind::Date);
  EXPECT_TRUE(styleOf(row(kReturnDay).field) & DTS_SHOWNONE);
  EXPECT_EQ((styleOf(row(kReturnDay).field) & DTS_NONEBUTTON) != 0, pocketPc());

  for (const FieldRow& r : form.builder.rows()) {
    EXPECT_EQ(className(r.label), u"STATIC");
    EXPECT_EQ((styleOf(r.label) & SS_TYPEMASK) == SS_RIGHT, pocketPc());
    EXPECT_EQ(r.separator != nullptr, pocketPc());
  }
}

TEST_P(FormRowsTest, RowsLieOneUnderTheOtherAt240) {
  const RECT label = rectIn(dialog, row(kName).label);
  const RECT field = rectIn(dialog, row(kName).field);
  const RECT nextLabel = rectIn(dialog, row(kCount).label);
  if (pocketPc()) {
    EXPECT_EQ(label.left, 4);
    EXPECT_EQ(label.right, 80);
    EXPECT_EQ(label.top, 6);
    EXPECT_EQ(label.bottom, 25);
    const RECT line = rectIn(dialog, row(kName).separator);
    EXPECT_EQ(line.left, 84) << "the field's column";
    EXPECT_EQ(line.right, 236);
    EXPECT_EQ(field.left, 87);
    EXPECT_EQ(field.right, 236);
    EXPECT_EQ(field.top, 4);
    EXPECT_EQ(field.bottom, 21);
    EXPECT_EQ(line.top, field.bottom);
    EXPECT_EQ(line.bottom, field.bottom + 1);
    EXPECT_EQ(nextLabel.top - label.top, 19);
    EXPECT_EQ(rectIn(dialog, row(kDay).field).right, 235) << "a picker is a pixel narrower";
    EXPECT_EQ(fontOf(row(kName).label).lfHeight, -11);
    EXPECT_NE(fontOf(row(kName).label).lfWeight, FW_BOLD);
  } else {
    EXPECT_EQ(label.left, 5);
    EXPECT_EQ(label.right, 235);
    EXPECT_EQ(label.top, 5);
    EXPECT_EQ(label.bottom, 31);
    EXPECT_EQ(field.left, 5);
    EXPECT_EQ(field.right, 235);
    EXPECT_EQ(field.top, 32);
    EXPECT_EQ(field.bottom, 58);
    EXPECT_EQ(nextLabel.top - label.top, 59);
    EXPECT_EQ(fontOf(row(kName).label).lfWeight, FW_BOLD) << "labels are bold";
  }
  EXPECT_EQ(form.builder.rowStep(), pocketPc() ? 19 : 59);
  EXPECT_EQ(form.builder.nextLabelRect().top, label.top + 8 * form.builder.rowStep());
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(row(kName).field, WM_GETFONT, 0, 0)), form.builder.fieldFont());
}

TEST_P(FormRowsTest, TextRowsReadAndWriteByTheirId) {
  EXPECT_EQ(form.builder.text(kName), u"Anna");
  EXPECT_EQ(form.builder.text(kNotes), u"Likes tea");
  form.builder.setText(kName, u"Zoë");
  EXPECT_EQ(form.builder.text(kName), u"Zoë");
  EXPECT_EQ(form.builder.text(999), u"") << "no such row";
  form.builder.setText(999, u"lost");
  form.builder.focus(kCount);
  EXPECT_EQ(GetFocus(), row(kCount).field);
  form.builder.enable(kName, false);
  EXPECT_FALSE(IsWindowEnabled(row(kName).field));
  form.builder.enable(kName, true);
  EXPECT_TRUE(IsWindowEnabled(row(kName).field));
}

TEST_P(FormRowsTest, ChoicesSelectByIndexAndByValue) {
  EXPECT_EQ(form.builder.choiceValue(kKind), 0) << "the first item is selected";
  form.builder.selectChoiceByIndex(kKind, 2);
  EXPECT_EQ(form.builder.choiceValue(kKind), 2);
  form.builder.selectChoiceByValue(kKind, 1);
  EXPECT_EQ(form.builder.choiceValue(kKind), 1);
  form.builder.selectChoiceByValue(kKind, 7);
  EXPECT_EQ(form.builder.choiceValue(kKind), 1) << "a value no item has leaves the selection";
  form.builder.selectChoiceByIndex(kKind, 9);
  EXPECT_EQ(form.builder.choiceValue(kKind), 1);
  EXPECT_EQ(form.builder.choiceValue(kName), -1) << "a text row is no choice";
  EXPECT_EQ(form.builder.choiceValue(999), -1);
  form.builder.enable(kKind, false);
  EXPECT_FALSE(IsWindowEnabled(row(kKind).field));
  if (row(kKind).companion != nullptr) {
    EXPECT_FALSE(IsWindowEnabled(row(kKind).companion));
  }
}

TEST_P(FormRowsTest, DatesRoundTripAndYearZeroIsNoDate) {
  const SYSTEMTIME day = form.builder.date(kDay);
  EXPECT_EQ(day.wYear, 2024);
  EXPECT_EQ(day.wMonth, 2);
  EXPECT_EQ(day.wDay, 29);
  const SYSTEMTIME time = form.builder.date(kTime);
  EXPECT_EQ(time.wHour, 7);
  EXPECT_EQ(time.wMinute, 5);
  if (pocketPc()) {
    EXPECT_TRUE(platform::testing::TestDevice::drew(row(kTime).field, u"07:05")) << "shown as HH:mm";
  }

  // Made with year 0: it reads back as year 0 ...
  SYSTEMTIME unused{};
  EXPECT_EQ(DateTime_GetSystemtime(row(kReturnDay).field, &unused), static_cast<DWORD>(GDT_NONE));
  const SYSTEMTIME none = form.builder.date(kReturnDay);
  EXPECT_EQ(none.wYear, 0);
  EXPECT_EQ(none.wMonth, 0);
  EXPECT_EQ(none.wDay, 0);
  // ... and the date it holds meanwhile is today's, which the user gets on turning it on (the
  // check box on Smartphone, a change of a part on Pocket PC).
  const HWND picker = row(kReturnDay).field;
  if (pocketPc()) {
    SendMessageW(picker, WM_KEYDOWN, VK_UP, 0);
    SendMessageW(picker, WM_KEYDOWN, VK_DOWN, 0);
  } else {
    SendMessageW(picker, WM_KEYDOWN, VK_SPACE, 0);
  }
  SYSTEMTIME today{};
  GetLocalTime(&today);
  const SYSTEMTIME turnedOn = form.builder.date(kReturnDay);
  EXPECT_EQ(turnedOn.wYear, today.wYear);
  EXPECT_EQ(turnedOn.wMonth, today.wMonth);
  EXPECT_EQ(turnedOn.wDay, today.wDay);

  form.builder.setDate(kReturnDay, dateOf(2026, 12, 1));
  EXPECT_EQ(form.builder.date(kReturnDay).wDay, 1);
  form.builder.setDate(kReturnDay, SYSTEMTIME{});
  EXPECT_EQ(form.builder.date(kReturnDay).wYear, 0);
  EXPECT_EQ(form.builder.date(kName).wYear, 0) << "a text row holds no date";
  EXPECT_EQ(form.builder.date(999).wYear, 0);
}

TEST_P(FormRowsTest, HiddenRowsTakeNoPlaceAndKeepTheirValues) {
  const int countTop = rectIn(dialog, row(kCount).label).top;
  const int notesTop = rectIn(dialog, row(kNotes).label).top;
  form.builder.setText(kSecret, u"1234");
  form.builder.focus(kSecret);
  form.builder.show(kSecret, false);
  form.builder.show(kCount, false);
  EXPECT_FALSE(IsWindowVisible(row(kSecret).field));
  EXPECT_FALSE(IsWindowVisible(row(kSecret).label));
  EXPECT_NE(GetFocus(), row(kSecret).field) << "the focus leaves a hidden row";
  EXPECT_EQ(rectIn(dialog, row(kNotes).label).top, countTop) << "the rows below move up";
  EXPECT_EQ(form.builder.text(kSecret), u"1234");
  form.builder.show(kSecret, true);
  form.builder.show(kCount, true);
  EXPECT_TRUE(IsWindowVisible(row(kSecret).field));
  EXPECT_EQ(rectIn(dialog, row(kCount).label).top, countTop);
  EXPECT_EQ(rectIn(dialog, row(kNotes).label).top, notesTop);
  EXPECT_EQ(rectIn(dialog, row(kNotes).companion).top, rectIn(dialog, row(kNotes).field).top);
}

INSTANTIATE_TEST_SUITE_P(Editions, FormRowsTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

TEST(FormRows, SameIdOfAnotherKindIsFoundOnlyByTextAndFocus) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  form.afterContent = [](SampleForm& f) {
    f.builder.begin(f.hwnd());
    f.builder.addDateRow(3, u"Date:", dateOf(2020, 5, 6));
    f.builder.addChoiceRow(3, u"Kind:", {u"A", u"B"}, {10, 20});
  };
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  EXPECT_EQ(form.builder.choiceValue(3), 10);
  EXPECT_EQ(form.builder.date(3).wYear, 2020);
  form.builder.focus(3);
  EXPECT_EQ(GetFocus(), form.builder.rows()[0].field) << "focus takes the first row of the id";
}

TEST(FormRows, SmartphoneOptionalDatesKeepTheirValueAsTheFocusLeaves) {
  FormDevice device(Edition::Smartphone, 240, 320);
  SampleForm form;
  form.afterContent = [](SampleForm& f) {
    f.builder.begin(f.hwnd());
    f.builder.addDateRow(1, u"Return:", SYSTEMTIME{}, true);
    f.builder.addDateRow(2, u"Due:", dateOf(2026, 3, 4), true);
    f.builder.addTextRow(3, u"Name:", u"");
  };
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  for (UINT id : {1u, 2u}) {
    form.builder.focus(id);
    device.runUntilIdle();
    form.builder.focus(3);
    device.runUntilIdle();
  }
  EXPECT_EQ(form.builder.date(1).wYear, 0);
  EXPECT_EQ(form.builder.date(2).wYear, 2026);
  EXPECT_EQ(form.builder.date(2).wDay, 4);
  EXPECT_TRUE(platform::testing::TestDevice::drew(form.builder.row(2)->field, u"3/4/26"));
}

TEST(FormRows, PocketPcLabelsTooWideForTheColumnShowWholeOnOneLine) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  form.afterContent = [](SampleForm& f) {
    f.builder.begin(f.hwnd());
    f.builder.addTextRow(1, u"Name:", u"");
    f.builder.addTextRow(2, u"Reminder Time:", u"");
    f.builder.addTextRow(3, u"Name Format:", u"");
  };
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  EXPECT_EQ(fontOf(form.builder.row(1)->label).lfHeight, -11) << "a label that fits keeps the form's size";
  for (UINT id : {2u, 3u}) {
    const HWND label = form.builder.row(id)->label;
    WCHAR text[32] = {};
    GetWindowTextW(label, text, 32);
    ASSERT_TRUE(platform::testing::TestDevice::drew(label, text)) << "drawn as one piece, not wrapped";
    const RECT drawn = platform::testing::TestDevice::textRect(label, text);
    RECT column{};
    GetWindowRect(label, &column);
    EXPECT_GE(drawn.left, column.left);
    EXPECT_LE(drawn.right, column.right);
    EXPECT_LE(drawn.bottom - drawn.top, 13) << "one line";
    EXPECT_LE(fontOf(label).lfHeight, -9) << "still a readable size";
  }
}

TEST(FormRows, ChoiceItemsNeedAValueEach) {
  FormDevice device(Edition::Smartphone, 240, 320);
  SampleForm form;
  form.afterContent = [](SampleForm& f) {
    f.builder.begin(f.hwnd());
    f.builder.addChoiceRow(1, u"Kind:", {u"A", u"B"}, {10});
  };
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  EXPECT_EQ(SendMessageW(form.builder.row(1)->field, LB_GETCOUNT, 0, 0), 0);
  EXPECT_EQ(form.builder.choiceValue(1), -1);
}

TEST(FormRows, TheBuilderDestroysWhatItMadeAndBeginsAfresh) {
  FormDevice device(Edition::PocketPc, 240, 320);
  const HWND parent = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, device.owner(),
                                      nullptr, nullptr, nullptr);
  std::vector<HWND> made;
  {
    FormBuilder builder;
    builder.begin(parent);
    builder.addTextRow(1, u"Name:", u"Anna");
    builder.addExpandableTextRow(2, u"Notes:", u"");
    builder.addChoiceRow(3, u"Kind:", {u"A"}, {1});
    for (const FieldRow& r : builder.rows()) made.insert(made.end(), {r.label, r.field, r.companion, r.separator});
    builder.begin(parent);
    EXPECT_TRUE(builder.rows().empty());
    for (HWND hwnd : made) EXPECT_FALSE(IsWindow(hwnd));
    builder.addTextRow(1, u"Name:", u"Bo");
    EXPECT_EQ(rectIn(parent, builder.row(1)->label).top, 6) << "the first row again";
    made = {builder.row(1)->label, builder.row(1)->field, builder.row(1)->separator};
  }
  for (HWND hwnd : made) EXPECT_FALSE(IsWindow(hwnd));
  EXPECT_EQ(GetWindow(parent, GW_CHILD), nullptr);
  DestroyWindow(parent);
}

TEST(FormRows, DoubleDensityScreensDoubleTheMeasures) {
  FormDevice device(Edition::PocketPc, 480, 640);
  SampleForm form;
  form.open(device.owner(), u"Sample");
  device.runUntilIdle();
  const RECT label = rectIn(form.hwnd(), form.builder.row(kName)->label);
  EXPECT_EQ(label.left, 8);
  EXPECT_EQ(label.right, 160);
  EXPECT_EQ(rectIn(form.hwnd(), form.builder.row(kName)->separator).left, 168);
  EXPECT_EQ(rectIn(form.hwnd(), form.builder.row(kCount)->label).top - label.top, 38);
  EXPECT_EQ(rectIn(form.hwnd(), form.builder.row(kNotes)->companion).right -
                rectIn(form.hwnd(), form.builder.row(kNotes)->companion).left,
            32);
}

// ---------------------------------------------------------------------------------------------
// The Pocket PC choice field and its list

class ChoiceFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(form.open(device.owner(), u"Sample"), nullptr);
    device.runUntilIdle();
    field = form.builder.row(kKind)->companion;
    list = form.builder.row(kKind)->field;
  }
  RECT screenRectOf(HWND hwnd) const {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
  }

  FormDevice device{Edition::PocketPc, 240, 320};
  SampleForm form;
  HWND field = nullptr;
  HWND list = nullptr;
};

TEST_F(ChoiceFieldTest, ShowsTheSelectedItemWithTheArrowAndTheLineInGrey) {
  EXPECT_TRUE(platform::testing::TestDevice::drew(field, u"From"));
  form.builder.selectChoiceByValue(kKind, 2);
  device.runUntilIdle();
  EXPECT_TRUE(platform::testing::TestDevice::drew(field, u"Idea")) << "a selection by program shows at once";
  const RECT r = screenRectOf(field);
  // The arrow: 7, 5, 3 and 1 black pixels from (right - 11, top + 8), each a pixel lower and
  // further right.
  for (int line = 0; line < 4; ++line) {
    const int y = r.top + 8 + line;
    const int x = r.right - 11 + line;
    EXPECT_EQ(device.pixel(x - 1, y), RGB(255, 255, 255)) << "line " << line;
    for (int i = 0; i < 7 - 2 * line; ++i) EXPECT_EQ(device.pixel(x + i, y), RGB(0, 0, 0)) << line << "," << i;
    EXPECT_EQ(device.pixel(x + 7 - 2 * line, y), RGB(255, 255, 255)) << "line " << line;
  }
  const RECT line = screenRectOf(form.builder.row(kKind)->separator);
  // The screen keeps 16 bits a pixel: the grey comes back within a step of each channel.
  const COLORREF grey = device.pixel(line.left + 5, line.top);
  EXPECT_NEAR(GetRValue(grey), GetRValue(SeparatorLine::kColor), 4);
  EXPECT_NEAR(GetGValue(grey), GetGValue(SeparatorLine::kColor), 4);
  EXPECT_NEAR(GetBValue(grey), GetBValue(SeparatorLine::kColor), 4);
}

TEST_F(ChoiceFieldTest, TakingTheFocusShowsTheListInItsPlace) {
  form.builder.focus(kKind);
  device.runUntilIdle();
  EXPECT_EQ(GetFocus(), list);
  EXPECT_TRUE(IsWindowVisible(list));
  EXPECT_EQ(screenRectOf(list).left, screenRectOf(field).left);
  EXPECT_EQ(screenRectOf(list).top, screenRectOf(field).top);
  EXPECT_EQ(WindowFromPoint(POINT{screenRectOf(field).left + 2, screenRectOf(field).top + 2}), list)
      << "the list lies in front while it shows";
  SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
  SetFocus(form.builder.row(kDay)->field);
  device.runUntilIdle();
  EXPECT_FALSE(IsWindowVisible(list));
  EXPECT_EQ(form.builder.choiceValue(kKind), 1);
  EXPECT_TRUE(platform::testing::TestDevice::drew(field, u"For")) << "the field shows the choice";
}

TEST_F(ChoiceFieldTest, FocusComingBackFromTheListGoesPastItsField) {
  form.builder.focus(kKind);
  device.runUntilIdle();
  SetFocus(field);
  EXPECT_EQ(GetFocus(), form.builder.row(kDay)->field) << "on to the next field";
  EXPECT_FALSE(IsWindowVisible(list));
  form.builder.focus(kKind);
  device.keyDown(VK_SHIFT);
  SetFocus(field);
  device.keyUp(VK_SHIFT);
  EXPECT_EQ(GetFocus(), form.builder.row(kNotes)->field) << "backwards with Shift held";
}

TEST(ChoiceFieldKeys, TabMovesThroughTheListAndOn) {
  FormDevice device(Edition::PocketPc, 240, 320);
  SampleForm form;
  HWND focusOnList = nullptr;
  HWND focusAfter = nullptr;
  device.addStep([&] {
    form.builder.focus(kNotes);
    platform::testing::TestDevice::postKey(VK_TAB);
  });
  device.addStep([&] {
    focusOnList = GetFocus();
    platform::testing::TestDevice::postKey(VK_DOWN);
    platform::testing::TestDevice::postKey(VK_DOWN);
    platform::testing::TestDevice::postKey(VK_TAB);
  });
  device.addStep([&] {
    focusAfter = GetFocus();
    platform::testing::TestDevice::postKey(VK_F1);
  });
  EXPECT_EQ(form.run(device.owner(), u"Sample"), IDOK);
  EXPECT_NE(focusOnList, nullptr);
  EXPECT_EQ(focusOnList, form.builder.row(kKind)->field) << "Tab reaches the list through its field";
  EXPECT_EQ(form.storedKind, 2);
  EXPECT_NE(focusAfter, focusOnList);
}

TEST_F(ChoiceFieldTest, TappingTheArrowOpensTheListAndTheChosenItemShows) {
  const RECT r = screenRectOf(field);
  device.tap(r.right - 5, (r.top + r.bottom) / 2);
  EXPECT_EQ(GetFocus(), list);
  ASSERT_TRUE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0)) << "the list dropped";
  RECT drop{};
  SendMessageW(list, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&drop));
  const HWND dropped = WindowFromPoint(POINT{drop.left + 5, drop.bottom - 3});
  ASSERT_NE(dropped, nullptr);
  device.tapOn(dropped, u"Idea");
  EXPECT_FALSE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(form.builder.choiceValue(kKind), 2);
  form.builder.focus(kName);
  device.runUntilIdle();
  EXPECT_TRUE(platform::testing::TestDevice::drew(field, u"Idea"));
  EXPECT_FALSE(IsWindowVisible(list));
}

TEST_F(ChoiceFieldTest, TappingTheTextOnlyFocusesTheList) {
  const RECT r = screenRectOf(field);
  device.tap(r.left + 10, (r.top + r.bottom) / 2);
  EXPECT_EQ(GetFocus(), list);
  EXPECT_FALSE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
}

}  // namespace
}  // namespace pellucard::testing
