// The date picker's pictures and field arithmetic: month ends, 29 February, the year range, and
// digits typed into a field.
#include <gtest/gtest.h>

#include "platform/controls/DateFieldEntry.h"
#include "platform/controls/DateTimeFields.h"
#include "platform/sys/LocaleFormats.h"

using platform::controls::DateField;
using platform::controls::DateFieldEntry;
using platform::controls::DateTimeFields;
using platform::controls::stepDateField;

namespace {

SYSTEMTIME at(int year, int month, int day, int hour = 12, int minute = 0) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(year);
  t.wMonth = static_cast<WORD>(month);
  t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour);
  t.wMinute = static_cast<WORD>(minute);
  return t;
}

std::string ymd(const SYSTEMTIME& t) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute);
  return buffer;
}

class DateTimeFieldsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::sys::LocaleFormats::instance().set(platform::sys::LocaleFormats::englishUnitedStates());
  }
};

TEST_F(DateTimeFieldsTest, SplitsAPictureIntoFieldsAndText) {
  const DateTimeFields fields(u"dddd, MMMM dd, yyyy 'at' h:mm tt");
  std::vector<DateField> kinds;
  for (const auto& p : fields.pieces()) kinds.push_back(p.field);
  EXPECT_EQ(kinds,
            (std::vector<DateField>{DateField::DayOfWeek, DateField::Text, DateField::Month, DateField::Text,
                                    DateField::Day, DateField::Text, DateField::Year, DateField::Text, DateField::Hour,
                                    DateField::Text, DateField::Minute, DateField::Text, DateField::AmPm}));
  EXPECT_EQ(fields.pieces()[7].picture, u" at ");
  EXPECT_EQ(fields.first(), 2) << "the day of the week follows the date; it is not edited";
  EXPECT_EQ(fields.next(2, 1), 4);
  EXPECT_EQ(fields.next(2, -1), -1);
  EXPECT_EQ(fields.next(12, 1), -1);
  EXPECT_EQ(fields.text(at(2024, 2, 29, 18, 5)), u"Thursday, February 29, 2024 at 6:05 PM");
  EXPECT_EQ(fields.digits(6), 4);
  EXPECT_EQ(DateTimeFields(u"d/M/yy").digits(4), 2);
  EXPECT_EQ(DateTimeFields(u"'It''s' HH").text(at(2025, 1, 1, 7)), u"It's 07");
}

TEST_F(DateTimeFieldsTest, DaysWrapWithinTheirMonth) {
  EXPECT_EQ(ymd(stepDateField(at(2025, 1, 31), DateField::Day, 1)), "2025-01-01 12:00");
  EXPECT_EQ(ymd(stepDateField(at(2025, 3, 1), DateField::Day, -1)), "2025-03-31 12:00");
  EXPECT_EQ(ymd(stepDateField(at(2024, 2, 28), DateField::Day, 1)), "2024-02-29 12:00");
  EXPECT_EQ(ymd(stepDateField(at(2025, 2, 28), DateField::Day, 1)), "2025-02-01 12:00");
  EXPECT_EQ(ymd(stepDateField(at(2025, 4, 30), DateField::Day, 1)), "2025-04-01 12:00");
}

TEST_F(DateTimeFieldsTest, MonthsAndYearsKeepTheDayWithinTheMonth) {
  EXPECT_EQ(ymd(stepDateField(at(2024, 1, 31), DateField::Month, 1)), "2024-02-29 12:00");
  EXPECT_EQ(ymd(stepDateField(at(2025, 1, 31), DateField::Month, 1)), "2025-02-28 12:00");
  EXPECT_EQ(ymd(stepDateField(at(2025, 3, 31), DateField::Month, 1)), "2025-04-30 12:00");
  EXPECT_EQ(ymd(stepDateField(at(2025, 12, 15), DateField::Month, 1)), "2025-01-15 12:00") << "the year stays";
  EXPECT_EQ(ymd(stepDateField(at(2025, 1, 15), DateField::Month, -1)), "2025-12-15 12:00");
  EXPECT_EQ(ymd(stepDateField(at(2024, 2, 29), DateField::Year, 1)), "2025-02-28 12:00");
  EXPECT_EQ(ymd(stepDateField(at(2024, 2, 29), DateField::Year, 4)), "2028-02-29 12:00");
  EXPECT_EQ(ymd(stepDateField(at(1601, 1, 1), DateField::Year, -1)), "1601-01-01 12:00");
  EXPECT_EQ(ymd(stepDateField(at(30827, 12, 31), DateField::Year, 1)), "30827-12-31 12:00");
  EXPECT_EQ(stepDateField(at(2024, 1, 31), DateField::Month, 1).wDayOfWeek, 4) << "29 February 2024 is a Thursday";
}

TEST_F(DateTimeFieldsTest, TimesWrapAndTheDayHalfFlips) {
  EXPECT_EQ(ymd(stepDateField(at(2025, 1, 1, 23, 59), DateField::Hour, 1)), "2025-01-01 00:59");
  EXPECT_EQ(ymd(stepDateField(at(2025, 1, 1, 23, 59), DateField::Minute, 1)), "2025-01-01 23:00");
  EXPECT_EQ(ymd(stepDateField(at(2025, 1, 1, 0, 0), DateField::Minute, -1)), "2025-01-01 00:59");
  EXPECT_EQ(ymd(stepDateField(at(2025, 1, 1, 9, 30), DateField::AmPm, 1)), "2025-01-01 21:30");
  EXPECT_EQ(ymd(stepDateField(at(2025, 1, 1, 21, 30), DateField::AmPm, -1)), "2025-01-01 09:30");
}

class TypingTest : public DateTimeFieldsTest {
 protected:
  // Types the digits into the piece; returns the time and whether the field was complete.
  std::string type(const char16_t* picture, int piece, const std::string& digits, SYSTEMTIME time) {
    const DateTimeFields fields(picture);
    DateFieldEntry entry;
    for (char c : digits) entry.type(c - '0', fields, piece, time);
    return ymd(time) + (entry.complete() ? " complete" : "") +
           (entry.pending().empty() ? "" : " pending " + std::string(entry.pending().begin(), entry.pending().end()));
  }
};

TEST_F(TypingTest, DigitsMakeValuesThatAreRealDates) {
  const SYSTEMTIME jan31 = at(2025, 1, 31);
  EXPECT_EQ(type(u"M/d/yyyy", 0, "1", jan31), "2025-01-31 12:00");
  EXPECT_EQ(type(u"M/d/yyyy", 0, "12", jan31), "2025-12-31 12:00 complete");
  EXPECT_EQ(type(u"M/d/yyyy", 0, "2", jan31), "2025-02-28 12:00 complete") << "no 31 February";
  EXPECT_EQ(type(u"M/d/yyyy", 0, "0", jan31), "2025-01-31 12:00 pending 0");
  EXPECT_EQ(type(u"M/d/yyyy", 0, "05", jan31), "2025-05-31 12:00 complete");
  EXPECT_EQ(type(u"M/d/yyyy", 0, "00", jan31), "2025-01-31 12:00");
  EXPECT_EQ(type(u"M/d/yyyy", 2, "29", at(2025, 2, 1)), "2025-02-09 12:00 complete") << "29 overflows: 9 starts over";
  EXPECT_EQ(type(u"M/d/yyyy", 2, "29", at(2024, 2, 1)), "2024-02-29 12:00 complete");
  EXPECT_EQ(type(u"M/d/yyyy", 2, "4", at(2024, 2, 1)), "2024-02-04 12:00 complete");
  EXPECT_EQ(type(u"M/d/yyyy", 4, "202", at(2024, 2, 29)), "2024-02-29 12:00 pending 202");
  EXPECT_EQ(type(u"M/d/yyyy", 4, "2025", at(2024, 2, 29)), "2025-02-28 12:00 complete");
  EXPECT_EQ(type(u"M/d/yyyy", 4, "1234", at(2024, 2, 29)), "2024-02-29 12:00") << "before 1601";
  EXPECT_EQ(type(u"M/d/yy", 4, "29", jan31), "2029-01-31 12:00 complete");
  EXPECT_EQ(type(u"M/d/yy", 4, "30", jan31), "1930-01-31 12:00 complete");
}

TEST_F(TypingTest, TwelveHourFieldsKeepTheDayHalf) {
  EXPECT_EQ(type(u"h:mm tt", 0, "7", at(2025, 1, 1, 15, 0)), "2025-01-01 19:00 complete");
  EXPECT_EQ(type(u"h:mm tt", 0, "12", at(2025, 1, 1, 9, 0)), "2025-01-01 00:00 complete");
  EXPECT_EQ(type(u"HH:mm", 0, "23", at(2025, 1, 1, 9, 0)), "2025-01-01 23:00 complete");
  EXPECT_EQ(type(u"HH:mm", 0, "3", at(2025, 1, 1, 9, 0)), "2025-01-01 03:00 complete");
  EXPECT_EQ(type(u"HH:mm", 2, "59", at(2025, 1, 1, 9, 0)), "2025-01-01 09:59 complete");
  EXPECT_EQ(type(u"HH:mm", 2, "7", at(2025, 1, 1, 9, 0)), "2025-01-01 09:07 complete");
}

}  // namespace
