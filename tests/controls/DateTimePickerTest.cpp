// The date and time picker and the month calendar through their messages, keys and stylus on
// both editions: what they tell their parent, the no-date state, formats, the drop-down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/gdi/WinGdi.h"
#include "platform/sys/LocaleFormats.h"
#include "platform/sys/WinNls.h"
#include "tests/controls/ControlParent.h"
#include "tests/support/TestDevice.h"

using controls_test::createParent;
using controls_test::drawnTexts;
using controls_test::notifications;
using controls_test::reportedTimes;
using platform::Edition;
using platform::sys::LocaleFormats;
using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

SYSTEMTIME at(int year, int month, int day, int hour = 9, int minute = 30) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  return t;
}

std::u16string shown(HWND picker) {
  WCHAR buffer[128] = {};
  GetWindowTextW(picker, buffer, 128);
  return buffer;
}

SYSTEMTIME valueOf(HWND picker) {
  SYSTEMTIME t{};
  EXPECT_EQ(DateTime_GetSystemtime(picker, &t), static_cast<DWORD>(GDT_VALID));
  return t;
}

COLORREF colourOf(HWND hwnd, const std::u16string& text) {
  for (const auto& t : platform::gdi::capturedTexts(hwnd)) {
    if (t.text == text) return t.color;
  }
  return CLR_INVALID;
}

class PickerTest : public ::testing::Test {
 protected:
  explicit PickerTest(Edition edition = Edition::PocketPc, int width = 240, int height = 320)
      : device(edition, width, height) {
    LocaleFormats::instance().set(LocaleFormats::englishUnitedStates());
    parent = createParent(width, height);
  }
  ~PickerTest() override { LocaleFormats::instance().useHost(); }

  HWND create(DWORD style, const SYSTEMTIME& value = at(2024, 2, 28)) {
    HWND picker = CreateWindowExW(0, DATETIMEPICK_CLASSW, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 84, 30, 152,
                                  17, parent, reinterpret_cast<HMENU>(5), nullptr, nullptr);
    DateTime_SetSystemtime(picker, GDT_VALID, &value);
    return picker;
  }
  void clearLog() {
    MessageLog::instance().clear();
    reportedTimes().clear();
  }
  HWND calendar() { return FindWindowW(MONTHCAL_CLASSW, nullptr); }

  TestDevice device;
  HWND parent = nullptr;
};

TEST_F(PickerTest, ShowsTheLocaleShortDateAndRefusesTimesThePlatformDoesNotHave) {
  HWND picker = create(0);
  SYSTEMTIME value = at(2024, 2, 28);
  WCHAR expected[64] = {};
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &value, nullptr, expected, 64);
  EXPECT_EQ(shown(picker), std::u16string(expected));
  device.runUntilIdle();
  EXPECT_EQ(drawnTexts(picker), (std::vector<std::u16string>{u"2/28/24"}));

  for (const SYSTEMTIME& bad : {at(2025, 2, 29), at(2024, 2, 30), at(1600, 12, 31), at(30828, 1, 1), at(2024, 13, 1),
                                at(2024, 4, 31), at(2024, 1, 1, 24, 0)}) {
    EXPECT_FALSE(DateTime_SetSystemtime(picker, GDT_VALID, &bad)) << bad.wYear << "-" << bad.wMonth << "-" << bad.wDay;
  }
  EXPECT_FALSE(DateTime_SetSystemtime(picker, GDT_VALID, nullptr));
  EXPECT_FALSE(DateTime_SetSystemtime(picker, 7, &value));
  EXPECT_FALSE(DateTime_SetSystemtime(picker, GDT_NONE, nullptr)) << "no date needs DTS_SHOWNONE";
  EXPECT_EQ(valueOf(picker).wDay, 28);
  const SYSTEMTIME first = at(1601, 1, 1);
  const SYSTEMTIME last = at(30827, 12, 31);
  EXPECT_TRUE(DateTime_SetSystemtime(picker, GDT_VALID, &first));
  EXPECT_TRUE(DateTime_SetSystemtime(picker, GDT_VALID, &last));
  EXPECT_EQ(valueOf(picker).wDayOfWeek, 5) << "the day of the week is worked out";
  EXPECT_EQ(DateTime_GetSystemtime(picker, nullptr), static_cast<DWORD>(GDT_ERROR));
  EXPECT_TRUE(notifications().empty()) << "values set by message are not announced";
}

TEST_F(PickerTest, NoDateRoundTripsAndShowsGreyed) {
  HWND picker = create(DTS_SHOWNONE, at(2024, 2, 29, 18, 45));
  EXPECT_TRUE(DateTime_SetSystemtime(picker, GDT_NONE, nullptr));
  SYSTEMTIME untouched = at(1999, 9, 9);
  EXPECT_EQ(DateTime_GetSystemtime(picker, &untouched), static_cast<DWORD>(GDT_NONE));
  EXPECT_EQ(untouched.wYear, 1999);
  device.runUntilIdle();
  EXPECT_EQ(colourOf(picker, u"2/29/24"), GetSysColor(COLOR_GRAYTEXT));
  const SYSTEMTIME again = at(2023, 7, 1, 8, 5);
  EXPECT_TRUE(DateTime_SetSystemtime(picker, GDT_VALID, &again));
  const SYSTEMTIME back = valueOf(picker);
  EXPECT_EQ(back.wYear, 2023);
  EXPECT_EQ(back.wHour, 8);
  EXPECT_EQ(back.wMinute, 5);
  device.runUntilIdle();
  EXPECT_EQ(colourOf(picker, u"7/1/23"), GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(PickerTest, ArrowsMoveBetweenFieldsAndChangeTheOneInFocus) {
  HWND picker = create(0, at(2024, 1, 31));
  SetFocus(picker);
  device.runUntilIdle();
  EXPECT_EQ(notifications(), (Seq{"NM_SETFOCUS"}));
  EXPECT_EQ(drawnTexts(picker), (std::vector<std::u16string>{u"1/31/24", u"1"})) << "the month has the focus";
  clearLog();
  device.key(VK_UP);  // February: the 31st becomes the 29th
  EXPECT_EQ(shown(picker), u"2/29/24");
  device.key(VK_RIGHT);
  device.key(VK_UP);  // the day wraps within February
  EXPECT_EQ(shown(picker), u"2/1/24");
  device.key(VK_DOWN);
  device.key(VK_DOWN);
  EXPECT_EQ(shown(picker), u"2/28/24");
  device.key(VK_RIGHT);
  device.key(VK_RIGHT);  // no field after the year
  device.key(VK_UP);
  EXPECT_EQ(shown(picker), u"2/28/25");
  EXPECT_EQ(drawnTexts(picker), (std::vector<std::u16string>{u"2/28/25", u"25"}));
  EXPECT_EQ(notifications(), (Seq{"DTN_DATETIMECHANGE", "DTN_DATETIMECHANGE", "DTN_DATETIMECHANGE",
                                  "DTN_DATETIMECHANGE", "DTN_DATETIMECHANGE"}));
  ASSERT_EQ(reportedTimes().size(), 5u);
  EXPECT_EQ(reportedTimes().back().wYear, 2025);
  EXPECT_EQ(reportedTimes().back().wHour, 9) << "the time of day stays";
}

TEST_F(PickerTest, DigitsTypeAFieldAndMoveOnWhenItIsFull) {
  HWND picker = create(0, at(2024, 1, 31));
  SetFocus(picker);
  clearLog();
  device.type(u"2");  // February, complete: on to the day
  device.type(u"2");
  device.type(u"9");  // 29
  device.type(u"2");
  device.type(u"0");
  EXPECT_EQ(shown(picker), u"2/29/20");
  EXPECT_EQ(notifications().size(), 4u) << "the 2 of 29 is a change of its own";
  EXPECT_EQ(valueOf(picker).wYear, 2020);
}

TEST_F(PickerTest, TimeFormatsFromThePictureGiven) {
  HWND picker = create(0x0008, at(2024, 5, 1, 18, 5));
  EXPECT_EQ(shown(picker), u"6:05:00 PM") << "the locale's time";
  DateTime_SetFormat(picker, u"HH:mm");
  EXPECT_EQ(shown(picker), u"18:05");
  // The locale's time without its seconds, as the options build it.
  DateTime_SetFormat(picker, u"h:mm tt");
  EXPECT_EQ(shown(picker), u"6:05 PM");
  SetFocus(picker);
  device.key(VK_UP);
  EXPECT_EQ(shown(picker), u"7:05 PM");
  device.key(VK_RIGHT);
  device.type(u"59");
  EXPECT_EQ(shown(picker), u"7:59 PM");
  device.type(u"a");
  EXPECT_EQ(valueOf(picker).wHour, 7);
  device.key(VK_UP);
  EXPECT_EQ(shown(picker), u"7:59 PM");
  DateTime_SetFormat(picker, nullptr);
  EXPECT_EQ(shown(picker), u"7:59:00 PM") << "back to the locale's";
  // Pocket PC times have spin buttons instead of a calendar.
  device.tap(230, 32);
  EXPECT_EQ(shown(picker), u"8:59:00 PM");
  device.key(VK_F4);
  EXPECT_EQ(calendar(), nullptr);
}

TEST_F(PickerTest, CheckBoxSaysWhetherThereIsADate) {
  HWND picker = create(DTS_SHOWNONE);
  SetFocus(picker);
  clearLog();
  device.key(VK_SPACE);
  SYSTEMTIME t{};
  EXPECT_EQ(DateTime_GetSystemtime(picker, &t), static_cast<DWORD>(GDT_NONE));
  device.key(VK_LEFT);  // onto the check box
  device.key(VK_UP);    // checks it
  EXPECT_EQ(DateTime_GetSystemtime(picker, &t), static_cast<DWORD>(GDT_VALID));
  device.tap(88, 38);  // the box itself
  EXPECT_EQ(DateTime_GetSystemtime(picker, &t), static_cast<DWORD>(GDT_NONE));
  device.key(VK_RIGHT);
  device.key(VK_UP);  // editing a field gives the date back
  EXPECT_EQ(DateTime_GetSystemtime(picker, &t), static_cast<DWORD>(GDT_VALID));
  EXPECT_EQ(t.wMonth, 3);
  EXPECT_EQ(notifications(),
            (Seq{"DTN_DATETIMECHANGE", "DTN_DATETIMECHANGE", "DTN_DATETIMECHANGE", "DTN_DATETIMECHANGE"}));
  ASSERT_EQ(reportedTimes().size(), 4u);
  EXPECT_EQ(reportedTimes()[0].wYear, 0) << "GDT_NONE";
  EXPECT_EQ(reportedTimes()[1].wYear, 2024);
}

TEST_F(PickerTest, CalendarDropsDownAndChoosesADay) {
  HWND picker = create(0, at(2024, 2, 28, 17, 15));
  SetFocus(picker);
  clearLog();
  device.key(VK_F4);
  HWND month = calendar();
  ASSERT_NE(month, nullptr);
  EXPECT_EQ(DateTime_GetMonthCal(picker), month);
  EXPECT_TRUE(IsWindowVisible(month));
  EXPECT_EQ(GetFocus(), picker);
  SYSTEMTIME selected{};
  MonthCal_GetCurSel(month, &selected);
  EXPECT_EQ(selected.wDay, 28);
  device.runUntilIdle();
  const std::string dump = device.dump();
  EXPECT_NE(dump.find("text \"February 2024\""), std::string::npos) << dump;
  EXPECT_NE(dump.find("text \"Today: 1/1"), std::string::npos) << dump;

  device.key(VK_RIGHT);  // the 29th
  device.key(VK_RETURN);
  EXPECT_EQ(calendar(), nullptr);
  EXPECT_EQ(notifications(), (Seq{"DTN_DROPDOWN", "DTN_DATETIMECHANGE", "DTN_CLOSEUP"}));
  const SYSTEMTIME chosen = valueOf(picker);
  EXPECT_EQ(chosen.wDay, 29);
  EXPECT_EQ(chosen.wHour, 17) << "the time of day stays";

  // Back leaves without a change; so does a tap outside.
  clearLog();
  device.key(VK_F4);
  device.key(VK_DOWN);
  device.key(VK_ESCAPE);
  device.tap(230, 35);  // the button
  device.tap(10, 300);
  EXPECT_EQ(calendar(), nullptr);
  EXPECT_EQ(valueOf(picker).wDay, 29);
  EXPECT_EQ(notifications(), (Seq{"DTN_DROPDOWN", "DTN_CLOSEUP", "DTN_DROPDOWN", "DTN_CLOSEUP"}));
}

TEST_F(PickerTest, TapOnADayOfTheCalendarChoosesIt) {
  HWND picker = create(0, at(2025, 1, 15));
  device.tap(230, 35);
  HWND month = calendar();
  ASSERT_NE(month, nullptr);
  // Find where "31" of January lies from what the calendar drew.
  POINT target{-1, -1};
  for (const auto& t : platform::gdi::capturedTexts(month)) {
    if (t.text == u"31" && t.color == GetSysColor(COLOR_WINDOWTEXT)) {
      target = {(t.screenRect.left + t.screenRect.right) / 2, (t.screenRect.top + t.screenRect.bottom) / 2};
    }
  }
  ASSERT_GE(target.x, 0);
  clearLog();
  device.tap(target.x, target.y);
  EXPECT_EQ(calendar(), nullptr);
  EXPECT_EQ(valueOf(picker).wDay, 31);
  EXPECT_EQ(notifications(), (Seq{"DTN_DATETIMECHANGE", "DTN_CLOSEUP"}));
}

TEST_F(PickerTest, NoneButtonInTheCalendarClearsTheDate) {
  HWND picker = create(DTS_SHOWNONE | DTS_NONEBUTTON, at(2025, 3, 3));
  device.tap(230, 35);
  HWND month = calendar();
  ASSERT_NE(month, nullptr);
  device.runUntilIdle();
  RECT none{};
  for (const auto& t : platform::gdi::capturedTexts(month)) {
    if (t.text == u"None") none = t.screenRect;
  }
  ASSERT_GT(none.right, 0) << device.dump();
  clearLog();
  device.tap((none.left + none.right) / 2, (none.top + none.bottom) / 2);
  SYSTEMTIME t{};
  EXPECT_EQ(DateTime_GetSystemtime(picker, &t), static_cast<DWORD>(GDT_NONE));
  EXPECT_EQ(notifications(), (Seq{"DTN_DATETIMECHANGE", "DTN_CLOSEUP"}));
  device.runUntilIdle();
  EXPECT_EQ(drawnTexts(picker), (std::vector<std::u16string>{u"None"}));
  EXPECT_EQ(shown(picker), u"None");

  // Choosing a day gives it a date again.
  device.key(VK_F4);
  device.key(VK_RETURN);
  EXPECT_EQ(DateTime_GetSystemtime(picker, &t), static_cast<DWORD>(GDT_VALID));
}

TEST_F(PickerTest, LosingTheFocusClosesTheCalendar) {
  HWND picker = create(0);
  SetFocus(picker);
  device.key(VK_F4);
  clearLog();
  SetFocus(parent);
  EXPECT_EQ(calendar(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(notifications(), (Seq{"DTN_CLOSEUP", "NM_KILLFOCUS"}));
  device.key(VK_F4);
  DestroyWindow(picker);
  EXPECT_EQ(calendar(), nullptr);
}

class SmartphonePickerTest : public PickerTest {
 protected:
  SmartphonePickerTest() : PickerTest(Edition::Smartphone, 176, 220) {}
};

TEST_F(SmartphonePickerTest, EditsInPlaceWithoutACalendar) {
  HWND picker = create(DTS_SHOWNONE | DTS_NONEBUTTON, at(2024, 12, 31));
  SetFocus(picker);
  clearLog();
  device.key(VK_F4);
  EXPECT_EQ(calendar(), nullptr);
  device.key(VK_RIGHT);
  device.key(VK_UP);
  EXPECT_EQ(shown(picker), u"12/1/24");
  device.key(VK_LEFT);
  device.key(VK_LEFT);  // the check box: the None button is a Pocket PC drop-down's
  device.key(VK_DOWN);
  SYSTEMTIME t{};
  EXPECT_EQ(DateTime_GetSystemtime(picker, &t), static_cast<DWORD>(GDT_NONE));
  device.runUntilIdle();
  EXPECT_EQ(colourOf(picker, u"12/1/24"), GetSysColor(COLOR_GRAYTEXT));
  EXPECT_EQ(notifications(), (Seq{"DTN_DATETIMECHANGE", "DTN_DATETIMECHANGE"}));
}

class CalendarTest : public PickerTest {
 protected:
  HWND createCalendar(DWORD style = 0) {
    HWND month = CreateWindowExW(0, MONTHCAL_CLASSW, u"", WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 200, parent,
                                 reinterpret_cast<HMENU>(3), nullptr, nullptr);
    const SYSTEMTIME day = at(2024, 2, 29);
    MonthCal_SetCurSel(month, &day);
    return month;
  }
};

TEST_F(CalendarTest, WeeksBeginOnTheLocalesFirstDay) {
  HWND month = createCalendar();
  device.runUntilIdle();
  std::vector<std::u16string> texts = drawnTexts(month);
  ASSERT_GE(texts.size(), 9u);
  EXPECT_EQ(texts[0], u"February 2024");
  EXPECT_EQ(texts[1], u"Sun");
  EXPECT_EQ(texts[8], u"28") << "29 January 2024 is a Monday: the grid starts on the Sunday before";

  auto locale = LocaleFormats::englishUnitedStates();
  locale.firstDayOfWeek = 0;  // Monday
  LocaleFormats::instance().set(locale);
  InvalidateRect(month, nullptr, FALSE);
  device.runUntilIdle();
  texts = drawnTexts(month);
  EXPECT_EQ(texts[1], u"Mon");
  EXPECT_EQ(texts[8], u"29");
  EXPECT_EQ(LOWORD(MonthCal_GetFirstDayOfWeek(month)), 0);
  MonthCal_SetFirstDayOfWeek(month, 6);
  EXPECT_EQ(MonthCal_GetFirstDayOfWeek(month), static_cast<DWORD>(MAKELONG(6, 1)));
}

TEST_F(CalendarTest, KeysMoveTheSelectionAcrossMonthsAndTellTheParent) {
  HWND month = createCalendar();
  SetFocus(month);
  clearLog();
  device.key(VK_RIGHT);  // 1 March
  device.key(VK_NEXT);   // 1 April
  device.key(VK_END);    // 30 April
  device.key(VK_PRIOR);  // 30 March
  device.key(VK_UP);     // 23 March
  device.key(VK_RETURN);
  SYSTEMTIME t{};
  MonthCal_GetCurSel(month, &t);
  EXPECT_EQ(t.wMonth, 3);
  EXPECT_EQ(t.wDay, 23);
  EXPECT_EQ(notifications(),
            (Seq{"MCN_SELCHANGE", "MCN_SELCHANGE", "MCN_SELCHANGE", "MCN_SELCHANGE", "MCN_SELCHANGE", "MCN_SELECT"}));
  ASSERT_EQ(reportedTimes().size(), 1u);
  EXPECT_EQ(reportedTimes()[0].wDay, 23);

  const SYSTEMTIME bad = at(2023, 2, 29);
  EXPECT_FALSE(MonthCal_SetCurSel(month, &bad));
  MonthCal_GetCurSel(month, &t);
  EXPECT_EQ(t.wDay, 23);
  RECT need{};
  EXPECT_TRUE(MonthCal_GetMinReqRect(month, &need));
  EXPECT_GT(need.right, 7 * 12);
  EXPECT_GT(need.bottom, 8 * 12);
}

}  // namespace
