#include <cmath>

#include "platform/sys/OleAuto.h"
#include "platform/sys/TimeMath.h"

using namespace platform::sys;

namespace {
// Days from 1970-01-01 back to the automation epoch, 1899-12-30.
constexpr std::int64_t kEpochOffsetDays = -25569;
constexpr double kMinDate = -657434.0;         // 0100-01-01
constexpr double kMaxDate = 2958465.99999999;  // 9999-12-31 23:59:59
}  // namespace

INT SystemTimeToVariantTime(LPSYSTEMTIME lpSystemTime, DATE* pvtime) {
  if (!lpSystemTime || !pvtime) return FALSE;
  const SYSTEMTIME& st = *lpSystemTime;
  if (st.wYear < 100 || st.wYear > 9999 || st.wMonth < 1 || st.wMonth > 12 || st.wDay < 1 ||
      st.wDay > daysInMonth(st.wYear, st.wMonth) || st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59)
    return FALSE;
  const std::int64_t days = daysFromCivil(st.wYear, st.wMonth, st.wDay) - kEpochOffsetDays;
  const double fraction = (st.wHour * 3600.0 + st.wMinute * 60.0 + st.wSecond) / 86400.0;
  *pvtime = days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
  return TRUE;
}

INT VariantTimeToSystemTime(DATE vtime, LPSYSTEMTIME lpSystemTime) {
  if (!lpSystemTime || std::isnan(vtime) || vtime < kMinDate || vtime > kMaxDate) return FALSE;
  double whole = 0;
  const double fraction = std::fabs(std::modf(vtime, &whole));
  std::int64_t days = static_cast<std::int64_t>(whole);
  std::int64_t seconds = std::llround(fraction * 86400.0);
  if (seconds >= 86400) {
    // Rounding reached midnight: the next calendar day.
    seconds -= 86400;
    ++days;
  }
  const SYSTEMTIME st = unixMsToSystemTime((days + kEpochOffsetDays) * 86400000LL + seconds * 1000);
  if (st.wYear > 9999) return FALSE;
  *lpSystemTime = st;
  return TRUE;
}
