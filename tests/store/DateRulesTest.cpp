#include <gtest/gtest.h>

#include "store/Anniversary.h"
#include "store/AnniversaryCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "tests/store/StoreFixture.h"

using namespace pellucard;

namespace {

bool sameDay(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

class DateRulesTest : public StoreFixture {};

TEST_F(DateRulesTest, AnniversaryDatesAlwaysCarryNoon) {
  Anniversary a(u"x", 0, makeDate(2001, 4, 5, 23, 59, 30), u"", 0);
  EXPECT_EQ(a.date().wHour, 12);
  EXPECT_EQ(a.date().wMinute, 0);
  EXPECT_EQ(a.date().wSecond, 0);
  EXPECT_EQ(a.date().wDay, 5);
  a.setOutlookItemId(31);
  a.assign(u"y", 2, makeDate(2002, 6, 7, 1, 2, 3), u"n");
  EXPECT_EQ(a.date().wHour, 12);
  EXPECT_EQ(a.outlookItemId(), 31);
}

TEST_F(DateRulesTest, NextOccurrenceOfAPastDate) {
  const Anniversary a(u"x", 0, makeDate(1990, 5, 10), u"", 0);
  EXPECT_TRUE(sameDay(a.nextOccurrence(makeDate(2026, 3, 1, 8)), makeDate(2026, 5, 10)));
  EXPECT_TRUE(sameDay(a.nextOccurrence(makeDate(2026, 6, 1, 8)), makeDate(2027, 5, 10)));
  const SYSTEMTIME now = makeDate(2026, 5, 10, 17, 45, 3);
  const SYSTEMTIME today = a.nextOccurrence(now);
  EXPECT_TRUE(sameDay(today, now));
  EXPECT_EQ(today.wHour, 17);
  EXPECT_EQ(today.wMinute, 45);
  EXPECT_EQ(a.nextOccurrence(makeDate(2026, 6, 1)).wHour, 12);
  // Through the clock.
  setNow(makeDate(2026, 3, 1, 9));
  EXPECT_TRUE(sameDay(a.nextOccurrence(), makeDate(2026, 5, 10)));
}

TEST_F(DateRulesTest, AFutureDateIsItsOwnNextOccurrence) {
  const Anniversary later(u"x", 0, makeDate(2026, 11, 2), u"", 0);
  EXPECT_TRUE(sameDay(later.nextOccurrence(makeDate(2026, 3, 1)), makeDate(2026, 11, 2)));
  const Anniversary nextYears(u"x", 0, makeDate(2028, 1, 15), u"", 0);
  EXPECT_TRUE(sameDay(nextYears.nextOccurrence(makeDate(2026, 3, 1)), makeDate(2028, 1, 15)));
  EXPECT_TRUE(sameDay(nextYears.nextOccurrence(makeDate(2027, 1, 15, 9)), makeDate(2028, 1, 15)));
  // Stored today, before its noon: today at the current time, like any other anniversary today.
  const Anniversary today(u"x", 0, makeDate(2026, 3, 1), u"", 0);
  const SYSTEMTIME morning = makeDate(2026, 3, 1, 9, 15);
  EXPECT_TRUE(sameDay(today.nextOccurrence(morning), morning));
  EXPECT_EQ(today.nextOccurrence(morning).wHour, 9);
}

TEST_F(DateRulesTest, TwentyNinthOfFebruaryFallsOnTheTwentyEighthInCommonYears) {
  const Anniversary leap(u"x", 0, makeDate(2000, 2, 29), u"", 0);
  EXPECT_TRUE(sameDay(leap.nextOccurrence(makeDate(2026, 1, 10)), makeDate(2026, 2, 28)));
  EXPECT_TRUE(sameDay(leap.nextOccurrence(makeDate(2027, 12, 1)), makeDate(2028, 2, 29)));
  EXPECT_TRUE(sameDay(leap.nextOccurrence(makeDate(2028, 2, 28, 15)), makeDate(2028, 2, 29)));
  EXPECT_TRUE(sameDay(leap.nextOccurrence(makeDate(2026, 2, 28, 15)), makeDate(2026, 2, 28)));
  EXPECT_TRUE(leap.isNearest(makeDate(2026, 2, 20)));
  EXPECT_TRUE(leap.isNearest(makeDate(2028, 2, 29, 10)));
  // Today is 29 February and the anniversary's own year has none.
  const Anniversary common(u"x", 0, makeDate(2027, 3, 1), u"", 0);
  EXPECT_TRUE(common.isNearest(makeDate(2028, 2, 29, 10)));
}

TEST_F(DateRulesTest, NearestWindowAroundTheDayAndAcrossTheYearEnd) {
  auto anniversary = [](int month, int day) { return Anniversary(u"x", 0, makeDate(1980, month, day), u"", 0); };
  EXPECT_TRUE(anniversary(1, 5).isNearest(makeDate(2026, 12, 20, 9)));
  EXPECT_TRUE(anniversary(1, 15).isNearest(makeDate(2026, 1, 1, 9)));
  EXPECT_TRUE(anniversary(12, 30).isNearest(makeDate(2027, 1, 1, 0, 30)) == false);
  EXPECT_TRUE(anniversary(12, 31).isNearest(makeDate(2027, 1, 1, 11, 59)));
  EXPECT_FALSE(anniversary(12, 31).isNearest(makeDate(2027, 1, 1, 12, 0, 1)));
  // Today all day; yesterday until noon; 29 days ahead from just after noon.
  EXPECT_TRUE(anniversary(6, 10).isNearest(makeDate(2026, 6, 10, 0, 0)));
  EXPECT_TRUE(anniversary(6, 10).isNearest(makeDate(2026, 6, 10, 23, 59)));
  EXPECT_TRUE(anniversary(6, 9).isNearest(makeDate(2026, 6, 10, 11, 59)));
  EXPECT_FALSE(anniversary(6, 9).isNearest(makeDate(2026, 6, 10, 12, 0, 1)));
  EXPECT_FALSE(anniversary(7, 9).isNearest(makeDate(2026, 6, 10, 12, 0)));
  EXPECT_TRUE(anniversary(7, 9).isNearest(makeDate(2026, 6, 10, 12, 0, 1)));
}

TEST_F(DateRulesTest, ADateInALaterYearIsNearestOnlyWhenThatDayIsNear) {
  // Years ahead: its day of the year coming up this month does not make it near.
  const Anniversary wedding(u"x", 0, makeDate(2029, 3, 10), u"", 0);
  EXPECT_FALSE(wedding.isNearest(makeDate(2026, 3, 1, 9)));
  EXPECT_FALSE(wedding.isNearest(makeDate(2028, 3, 1, 9)));
  EXPECT_TRUE(wedding.isNearest(makeDate(2029, 3, 1, 9)));
  EXPECT_TRUE(sameDay(wedding.nextOccurrence(makeDate(2026, 3, 1, 9)), makeDate(2029, 3, 10)));
  // Across the year end: next January is near in December, the January after is not.
  const Anniversary newYear(u"x", 0, makeDate(2027, 1, 5), u"", 0);
  EXPECT_TRUE(newYear.isNearest(makeDate(2026, 12, 20, 9)));
  EXPECT_FALSE(newYear.isNearest(makeDate(2025, 12, 20, 9)));
  const Anniversary laterLeap(u"x", 0, makeDate(2028, 2, 29), u"", 0);
  EXPECT_FALSE(laterLeap.isNearest(makeDate(2027, 2, 20, 9)));
  EXPECT_TRUE(laterLeap.isNearest(makeDate(2028, 2, 20, 9)));
}

TEST_F(DateRulesTest, NearestFilterUsesTheClock) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  auto& days = getAnniversaryCollection();
  days.add(std::make_unique<Anniversary>(u"soon", 0, makeDate(1990, 1, 5), u"", 0));
  days.add(std::make_unique<Anniversary>(u"far", 0, makeDate(1990, 6, 5), u"", 0));
  setNow(makeDate(2026, 12, 20, 9));
  auto list = days.snapshot();
  days.filter(list, AnniversaryCollection::kFilterAll);
  EXPECT_EQ(list.size(), 2u);
  days.filter(list, AnniversaryCollection::kFilterNearest);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->name(), u"soon");
}

TEST_F(DateRulesTest, OverdueLoansAndTheLoanFilters) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  auto& loans = getLoanCollection();
  auto add = [&](const char16_t* item, LONG direction, SYSTEMTIME ret) {
    auto l = std::make_unique<Loan>(item, direction, 0, makeDate(2026, 1, 1), ret, u"", 0);
    Loan* raw = l.get();
    loans.add(std::move(l));
    return raw;
  };
  Loan* borrowed = add(u"borrowed", kLoanFrom, SYSTEMTIME{});
  Loan* lent = add(u"lent", kLoanTo, makeDate(2026, 5, 1, 12));
  const SYSTEMTIME now = makeDate(2026, 5, 1, 12);
  EXPECT_FALSE(lent->isOverdue(now));  // due exactly now is not yet overdue
  EXPECT_FALSE(borrowed->isOverdue(makeDate(2100, 1, 1)));

  auto list = loans.snapshot();
  loans.filter(list, 4, now);
  EXPECT_TRUE(list.empty());
  list = loans.snapshot();
  loans.filter(list, 4, makeDate(2026, 5, 1, 12, 0, 1));
  EXPECT_EQ(list, (LoanCollection::List{lent}));
  list = loans.snapshot();
  loans.filter(list, 1, now);
  EXPECT_EQ(list, (LoanCollection::List{borrowed}));
  list = loans.snapshot();
  loans.filter(list, 2, now);
  EXPECT_EQ(list, (LoanCollection::List{lent}));
  list = loans.snapshot();
  loans.filter(list, LoanCollection::kFilterAll, now);
  EXPECT_EQ(list.size(), 2u);
  setNow(makeDate(2026, 6, 1));
  list = loans.snapshot();
  loans.filter(list, 4);
  EXPECT_EQ(list, (LoanCollection::List{lent}));
}

TEST_F(DateRulesTest, GiftFilterBits) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  auto& gifts = getGiftCollection();
  for (LONG d : {0, 1, 2, 5}) gifts.add(std::make_unique<Gift>(u"g", d, 0, makeDate(2026, 1, 1), u""));
  auto count = [&](int selection) {
    auto list = gifts.snapshot();
    gifts.filter(list, selection);
    return list.size();
  };
  EXPECT_EQ(count(7), 4u);
  EXPECT_EQ(count(1), 1u);
  EXPECT_EQ(count(2), 1u);
  EXPECT_EQ(count(4), 1u);
  EXPECT_EQ(count(6), 2u);
  EXPECT_EQ(count(0), 0u);
}

TEST_F(DateRulesTest, LoanAssignKeepsTheExportedTask) {
  Loan l(u"a", kLoanFrom, 1, makeDate(2026, 1, 1), SYSTEMTIME{}, u"", 44);
  l.setRecordId(9);
  l.assign(u"b", kLoanTo, 2, makeDate(2026, 2, 1), makeDate(2026, 3, 1), u"n");
  EXPECT_EQ(l.outlookItemId(), 44);
  EXPECT_EQ(l.recordId(), 9u);
  EXPECT_EQ(l.item(), u"b");
}

}  // namespace

TEST_F(DateRulesTest, CountOfYearsIsTheNextOccurrencesAndUnknownForYearlessDates) {
  const Anniversary known(u"x", 0, makeDate(1990, 5, 10), u"", 0);
  EXPECT_EQ(known.yearCount(makeDate(2026, 3, 1)), 36);
  EXPECT_EQ(known.yearCount(makeDate(2026, 6, 1)), 37);
  const Anniversary yearless(u"x", 0, makeDate(Anniversary::kUnknownYear, 5, 10), u"", 0);
  EXPECT_TRUE(yearless.hasUnknownYear());
  EXPECT_FALSE(yearless.yearCount(makeDate(2026, 3, 1)).has_value());
}
