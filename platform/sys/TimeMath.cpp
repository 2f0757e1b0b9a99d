#include "platform/sys/TimeMath.h"

#include <ctime>

namespace platform::sys {

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  if (month == 2 && isLeapYear(year)) return 29;
  return kDays[month - 1];
}

// Howard Hinnant's days-from-civil algorithm, valid for the whole proleptic calendar.
std::int64_t daysFromCivil(int year, int month, int day) {
  std::int64_t y = year - (month <= 2 ? 1 : 0);
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const std::int64_t yoe = y - era * 400;
  const std::int64_t mp = (month + 9) % 12;
  const std::int64_t doy = (153 * mp + 2) / 5 + day - 1;
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  // Within one 400-year era everything fits unsigned 32-bit arithmetic, several times cheaper
  // than 64-bit: loading a large volume converts hundreds of thousands of dates.
  const auto doe = static_cast<std::uint32_t>(days - era * 146097);
  const std::uint32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::uint32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::uint32_t mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2 ? 1 : 0));
}

int dayOfWeek(std::int64_t daysSince1970) {
  // 1970-01-01 was a Thursday.
  std::int64_t d = (daysSince1970 + 4) % 7;
  if (d < 0) d += 7;
  return static_cast<int>(d);
}

bool isValidSystemTime(const SYSTEMTIME& st) {
  if (st.wYear < 1601 || st.wYear > 30827) return false;
  if (st.wMonth < 1 || st.wMonth > 12) return false;
  if (st.wDay < 1 || st.wDay > daysInMonth(st.wYear, st.wMonth)) return false;
  return st.wHour < 24 && st.wMinute < 60 && st.wSecond < 60 && st.wMilliseconds < 1000;
}

std::int64_t systemTimeToUnixMs(const SYSTEMTIME& st) {
  const std::int64_t days = daysFromCivil(st.wYear, st.wMonth, st.wDay);
  return ((days * 24 + st.wHour) * 60 + st.wMinute) * 60000 + st.wSecond * 1000LL + st.wMilliseconds;
}

namespace {
constexpr std::uint32_t kMsPerDay = 86400000;

SYSTEMTIME systemTimeOf(std::int64_t daysSince1970, std::uint32_t msOfDay) {
  int y = 0, m = 0, d = 0;
  civilFromDays(daysSince1970, y, m, d);
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wDayOfWeek = static_cast<WORD>(dayOfWeek(daysSince1970));
  st.wHour = static_cast<WORD>(msOfDay / 3600000);
  st.wMinute = static_cast<WORD>(msOfDay / 60000 % 60);
  st.wSecond = static_cast<WORD>(msOfDay / 1000 % 60);
  st.wMilliseconds = static_cast<WORD>(msOfDay % 1000);
  return st;
}
}  // namespace

SYSTEMTIME unixMsToSystemTime(std::int64_t ms) {
  std::int64_t days = ms / kMsPerDay;
  std::int64_t rest = ms % kMsPerDay;
  if (rest < 0) {
    rest += kMsPerDay;
    --days;
  }
  return systemTimeOf(days, static_cast<std::uint32_t>(rest));
}

SYSTEMTIME fileTimeToSystemTime(std::uint64_t value) {
  constexpr std::int64_t kDaysFrom1601To1970 = 134774;
  const std::uint64_t ms = value / static_cast<std::uint64_t>(kFileTimeUnitsPerMs);
  return systemTimeOf(static_cast<std::int64_t>(ms / kMsPerDay) - kDaysFrom1601To1970,
                      static_cast<std::uint32_t>(ms % kMsPerDay));
}

std::uint64_t fileTimeValue(const FILETIME& ft) {
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME makeFileTime(std::uint64_t value) {
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFFu), static_cast<DWORD>(value >> 32)};
}

std::int64_t localOffsetAtUtc(std::int64_t utcMs) {
  // TZ may change between calls (tests set it); tzset re-reads it.
  tzset();
  std::int64_t secs = utcMs / 1000;
  if (utcMs % 1000 < 0) --secs;
  const time_t t = static_cast<time_t>(secs);
  struct tm local {};
  if (!localtime_r(&t, &local)) return 0;
  return static_cast<std::int64_t>(local.tm_gmtoff) * 1000;
}

std::int64_t localOffsetAtLocal(std::int64_t localMs) {
  // Guess with the offset at the same reading taken as UTC, then settle on the offset at that instant.
  std::int64_t offset = localOffsetAtUtc(localMs);
  for (int i = 0; i < 2; ++i) {
    const std::int64_t next = localOffsetAtUtc(localMs - offset);
    if (next == offset) break;
    offset = next;
  }
  return offset;
}

}  // namespace platform::sys
