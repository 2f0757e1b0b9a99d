#include "platform/pim/PimDates.h"

#include <cmath>

#include "platform/sys/TimeMath.h"

namespace platform::pim {

namespace {
const std::int64_t kEpochDays = platform::sys::daysFromCivil(1899, 12, 30);
constexpr double kMaxDate = 2958465.99999;  // 31 December 9999
constexpr double kMinDate = -657434.0;      // 1 January 100
}  // namespace

DATE PimDates::make(int year, int month, int day, int secondsOfDay) {
  double days = static_cast<double>(platform::sys::daysFromCivil(year, month, day) - kEpochDays);
  double fraction = secondsOfDay / 86400.0;
  // Before the epoch the fraction still counts forward from midnight of that day.
  return days >= 0 ? days + fraction : days - fraction;
}

bool PimDates::split(DATE value, int& year, int& month, int& day, int& secondsOfDay) {
  if (!std::isfinite(value) || value < kMinDate || value > kMaxDate) return false;
  double whole = std::trunc(value);
  double fraction = std::fabs(value - whole);
  auto days = static_cast<std::int64_t>(whole);
  auto seconds = static_cast<int>(std::llround(fraction * 86400.0));
  if (seconds >= 86400) {
    seconds -= 86400;
    days += 1;
  }
  platform::sys::civilFromDays(days + kEpochDays, year, month, day);
  secondsOfDay = seconds;
  return true;
}

bool PimDates::toVariant(const SYSTEMTIME& st, DATE& out) {
  if (st.wYear < 100 || st.wYear > 9999 || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1 ||
      st.wDay > platform::sys::daysInMonth(st.wYear, st.wMonth) || st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59)
    return false;
  out = make(st.wYear, st.wMonth, st.wDay, st.wHour * 3600 + st.wMinute * 60 + st.wSecond);
  return true;
}

bool PimDates::toSystemTime(DATE value, SYSTEMTIME& out) {
  int y, m, d, s;
  if (!split(value, y, m, d, s)) return false;
  out = SYSTEMTIME{};
  out.wYear = static_cast<WORD>(y);
  out.wMonth = static_cast<WORD>(m);
  out.wDay = static_cast<WORD>(d);
  out.wHour = static_cast<WORD>(s / 3600);
  out.wMinute = static_cast<WORD>(s / 60 % 60);
  out.wSecond = static_cast<WORD>(s % 60);
  out.wDayOfWeek = static_cast<WORD>(platform::sys::dayOfWeek(platform::sys::daysFromCivil(y, m, d)));
  return true;
}

}  // namespace platform::pim
