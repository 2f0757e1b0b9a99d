#include "settings/ReminderTime.h"

#include <gtest/gtest.h>

namespace pellucard {
namespace {

SYSTEMTIME day() {
  SYSTEMTIME t{};
  t.wYear = 2025;
  t.wMonth = 1;
  t.wDay = 15;
  t.wDayOfWeek = 3;
  t.wHour = 10;
  t.wMinute = 42;
  t.wSecond = 17;
  t.wMilliseconds = 500;
  return t;
}

TEST(ReminderTime, PackedValuesBecomeTheTimeOfTheGivenDay) {
  const auto noon = ReminderTime::onDay(3072, day());
  ASSERT_TRUE(noon);
  EXPECT_EQ(noon->wYear, 2025);
  EXPECT_EQ(noon->wDay, 15);
  EXPECT_EQ(noon->wHour, 12);
  EXPECT_EQ(noon->wMinute, 0);
  EXPECT_EQ(noon->wSecond, 0);
  EXPECT_EQ(noon->wMilliseconds, 0);
  const auto late = ReminderTime::onDay(1830, day());
  ASSERT_TRUE(late);
  EXPECT_EQ(late->wHour, 7);
  EXPECT_EQ(late->wMinute, 38);

  SYSTEMTIME fivepast = day();
  fivepast.wHour = 7;
  fivepast.wMinute = 5;
  EXPECT_EQ(ReminderTime::pack(fivepast), 1797);
  EXPECT_EQ(ReminderTime::pack(23, 59), 23 * 256 + 59);
}

TEST(ReminderTime, ValuesThatAreNoTimeOfDayAreRefused) {
  EXPECT_FALSE(ReminderTime::onDay(-1, day()));
  EXPECT_FALSE(ReminderTime::onDay(24 * 256, day()));
  EXPECT_FALSE(ReminderTime::onDay(12 * 256 + 60, day()));
  EXPECT_FALSE(ReminderTime::onDay(0x7FFFFFFF, day()));
  EXPECT_TRUE(ReminderTime::onDay(0, day()));
}

TEST(ReminderTime, TheLocaleFormatLosesItsSecondsOnly) {
  EXPECT_EQ(ReminderTime::displayFormat(u"h:mm:ss tt"), u"h:mm tt");
  EXPECT_EQ(ReminderTime::displayFormat(u"HH:mm:ss"), u"HH:mm");
  EXPECT_EQ(ReminderTime::displayFormat(u"tt hh.mm.ss"), u"tt hh.mm");
  EXPECT_EQ(ReminderTime::displayFormat(u"h:mm tt"), u"HH:mm") << "without seconds the plain format serves";
  EXPECT_EQ(ReminderTime::displayFormat(u""), u"HH:mm");
  EXPECT_EQ(ReminderTime::displayFormat(u"ss"), u"HH:mm");
}

}  // namespace
}  // namespace pellucard
