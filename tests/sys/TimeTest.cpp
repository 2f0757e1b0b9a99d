#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <utility>

#include "platform/base/Clock.h"
#include "platform/sys/TimeMath.h"
#include "platform/sys/WinBase.h"

namespace {

SYSTEMTIME makeTime(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(mo);
  st.wDay = static_cast<WORD>(d);
  st.wHour = static_cast<WORD>(h);
  st.wMinute = static_cast<WORD>(mi);
  st.wSecond = static_cast<WORD>(s);
  st.wMilliseconds = static_cast<WORD>(ms);
  return st;
}

std::uint64_t value(const FILETIME& ft) { return (std::uint64_t{ft.dwHighDateTime} << 32) | ft.dwLowDateTime; }

class ZoneGuard {
 public:
  explicit ZoneGuard(const char* tz) {
    if (const char* old = std::getenv("TZ")) saved_ = old, had_ = true;
    setenv("TZ", tz, 1);
  }
  ~ZoneGuard() {
    if (had_)
      setenv("TZ", saved_.c_str(), 1);
    else
      unsetenv("TZ");
  }

 private:
  std::string saved_;
  bool had_ = false;
};

TEST(SystemTimeToFileTime, EpochAndKnownInstants) {
  FILETIME ft{};
  auto st = makeTime(1601, 1, 1);
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  EXPECT_EQ(value(ft), 0u);

  st = makeTime(1970, 1, 1);
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  EXPECT_EQ(value(ft), 116444736000000000ULL);

  st = makeTime(2000, 2, 29, 23, 59, 59, 999);
  ASSERT_TRUE(SystemTimeToFileTime(&st, &ft));
  SYSTEMTIME back{};
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
  EXPECT_EQ(back.wYear, 2000);
  EXPECT_EQ(back.wMonth, 2);
  EXPECT_EQ(back.wDay, 29);
  EXPECT_EQ(back.wDayOfWeek, 2);  // a Tuesday
  EXPECT_EQ(back.wHour, 23);
  EXPECT_EQ(back.wMinute, 59);
  EXPECT_EQ(back.wSecond, 59);
  EXPECT_EQ(back.wMilliseconds, 999);
}

TEST(SystemTimeToFileTime, RejectsImpossibleDates) {
  FILETIME ft{1, 2};
  for (auto st : {makeTime(0, 1, 1), makeTime(1600, 12, 31), makeTime(2023, 2, 29), makeTime(2024, 2, 30),
                  makeTime(1900, 2, 29), makeTime(2024, 4, 31), makeTime(2024, 13, 1), makeTime(2024, 0, 1),
                  makeTime(2024, 1, 0), makeTime(2024, 1, 1, 24), makeTime(2024, 1, 1, 0, 60),
                  makeTime(2024, 1, 1, 0, 0, 60), makeTime(2024, 1, 1, 0, 0, 0, 1000), makeTime(30828, 1, 1)}) {
    SetLastError(0);
    EXPECT_FALSE(SystemTimeToFileTime(&st, &ft)) << st.wYear << "-" << st.wMonth << "-" << st.wDay;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_EQ(value(ft), (2ULL << 32) | 1u) << "a failed conversion must not touch the output";
  auto leap = makeTime(2000, 2, 29);
  EXPECT_TRUE(SystemTimeToFileTime(&leap, &ft));
  auto last = makeTime(30827, 12, 31, 23, 59, 59, 999);
  EXPECT_TRUE(SystemTimeToFileTime(&last, &ft));
}

TEST(FileTimeToSystemTime, RangeAndWeekday) {
  FILETIME ft{0, 0};
  SYSTEMTIME st{};
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
  EXPECT_EQ(st.wYear, 1601);
  EXPECT_EQ(st.wDayOfWeek, 1);  // 1601-01-01 was a Monday
  ft = {0xFFFFFFFF, 0x7FFFFFFF};
  ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
  EXPECT_EQ(st.wYear, 30828);
  ft = {0, 0x80000000};
  SetLastError(0);
  EXPECT_FALSE(FileTimeToSystemTime(&ft, &st));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// Walks the calendar a day at a time, counting days by hand, through the first fourteen
// centuries of the range and its last years.
TEST(FileTimeToSystemTime, EveryDayMatchesAHandCountedCalendar) {
  const auto daysIn = [](int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
  };
  constexpr std::uint64_t kDay = 864000000000ULL;
  for (const auto& [first, last] : {std::pair{1601, 3000}, std::pair{30800, 30827}}) {
    SYSTEMTIME start = makeTime(first, 1, 1, 13, 5, 7, 9);
    FILETIME ft{};
    ASSERT_TRUE(SystemTimeToFileTime(&start, &ft));
    std::uint64_t v = value(ft);
    SYSTEMTIME st{};
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &st));
    int weekday = st.wDayOfWeek;
    for (int y = first; y <= last; ++y) {
      for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= daysIn(y, m); ++d, v += kDay, weekday = (weekday + 1) % 7) {
          const FILETIME at{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
          ASSERT_TRUE(FileTimeToSystemTime(&at, &st));
          ASSERT_TRUE(st.wYear == y && st.wMonth == m && st.wDay == d && st.wDayOfWeek == weekday)
              << y << "-" << m << "-" << d << " read as " << st.wYear << "-" << st.wMonth << "-" << st.wDay;
          ASSERT_TRUE(st.wHour == 13 && st.wMinute == 5 && st.wSecond == 7 && st.wMilliseconds == 9);
        }
      }
    }
  }
}

// The unsigned conversion of FILETIME values agrees with the general one through milliseconds
// since 1970, at any instant of the range.
TEST(FileTimeToSystemTime, AgreesWithTheMillisecondConversionAcrossTheRange) {
  std::mt19937_64 random(11);
  for (int i = 0; i < 200000; ++i) {
    const std::uint64_t v = i < 4 ? std::uint64_t{0x7FFFFFFFFFFFFFFF} >> (i * 20) : random() >> 1;
    const FILETIME ft{static_cast<DWORD>(v), static_cast<DWORD>(v >> 32)};
    SYSTEMTIME fast{};
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &fast));
    const SYSTEMTIME general =
        platform::sys::unixMsToSystemTime(static_cast<std::int64_t>(v / 10000) - 11644473600000LL);
    ASSERT_EQ(std::memcmp(&fast, &general, sizeof fast), 0) << v;
  }
}

TEST(CompareFileTime, OrdersByFullValue) {
  FILETIME a{0xFFFFFFFF, 1}, b{0, 2}, c{0, 2};
  EXPECT_EQ(CompareFileTime(&a, &b), -1);
  EXPECT_EQ(CompareFileTime(&b, &a), 1);
  EXPECT_EQ(CompareFileTime(&b, &c), 0);
}

class LocalTimeTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::Clock::instance().useReal(); }
};

TEST_F(LocalTimeTest, LocalTimeFollowsZoneOfHost) {
  ZoneGuard zone("Europe/Berlin");
  auto& clock = platform::Clock::instance();
  // 2024-07-01 10:00:00 UTC, summer time: +2 h.
  clock.useVirtual(1719828000000LL);
  SYSTEMTIME utc{}, local{};
  GetSystemTime(&utc);
  GetLocalTime(&local);
  EXPECT_EQ(utc.wHour, 10);
  EXPECT_EQ(local.wHour, 12);
  EXPECT_EQ(local.wDayOfWeek, 1);  // Monday
  // Winter: +1 h.
  clock.setUtcMilliseconds(1704067200000LL);  // 2024-01-01 00:00 UTC
  GetLocalTime(&local);
  EXPECT_EQ(local.wHour, 1);

  FILETIME ftUtc{}, ftLocal{}, again{};
  GetSystemTime(&utc);
  SystemTimeToFileTime(&utc, &ftUtc);
  ASSERT_TRUE(FileTimeToLocalFileTime(&ftUtc, &ftLocal));
  EXPECT_EQ(value(ftLocal) - value(ftUtc), 36000000000ULL);
  ASSERT_TRUE(LocalFileTimeToFileTime(&ftLocal, &again));
  EXPECT_EQ(value(again), value(ftUtc));
}

TEST_F(LocalTimeTest, SetLocalTimeMovesVirtualClockOnly) {
  ZoneGuard zone("America/New_York");
  auto& clock = platform::Clock::instance();
  clock.useVirtual(0);
  auto st = makeTime(2024, 12, 24, 18, 30);
  ASSERT_TRUE(SetLocalTime(&st));
  SYSTEMTIME utc{};
  GetSystemTime(&utc);
  EXPECT_EQ(utc.wHour, 23);
  EXPECT_EQ(utc.wMinute, 30);
  SYSTEMTIME local{};
  GetLocalTime(&local);
  EXPECT_EQ(local.wDay, 24);
  EXPECT_EQ(local.wHour, 18);

  auto bad = makeTime(2024, 2, 30);
  EXPECT_FALSE(SetLocalTime(&bad));

  clock.useReal();
  SetLastError(0);
  EXPECT_FALSE(SetSystemTime(&st));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PRIVILEGE_NOT_HELD));
}

TEST_F(LocalTimeTest, SleepAdvancesVirtualTicks) {
  auto& clock = platform::Clock::instance();
  clock.useVirtual(1000);
  const DWORD before = GetTickCount();
  Sleep(250);
  EXPECT_EQ(GetTickCount() - before, 250u);
  SYSTEMTIME st{};
  GetSystemTime(&st);
  EXPECT_EQ(st.wSecond, 1);
  EXPECT_EQ(st.wMilliseconds, 250);
}

}  // namespace
