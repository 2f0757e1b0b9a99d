#include "platform/base/Clock.h"
#include "platform/sys/TimeMath.h"
#include "platform/sys/WinBase.h"

using namespace platform::sys;

namespace {

constexpr std::int64_t kEpochMs = kFileTimeUnixEpoch / kFileTimeUnitsPerMs;
constexpr std::uint64_t kMaxFileTime = 0x7FFFFFFFFFFFFFFFULL;

std::int64_t fileTimeToUnixMs(std::uint64_t value) {
  return static_cast<std::int64_t>(value / kFileTimeUnitsPerMs) - kEpochMs;
}

// Keeps the sub-millisecond part of the input, as a shift by whole milliseconds should.
bool shiftFileTime(const FILETIME* in, LPFILETIME out, std::int64_t offsetMs) {
  if (!in || !out) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  const std::uint64_t value = fileTimeValue(*in);
  const std::int64_t shifted = static_cast<std::int64_t>(value) + offsetMs * kFileTimeUnitsPerMs;
  if (value > kMaxFileTime || shifted < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  *out = makeFileTime(static_cast<std::uint64_t>(shifted));
  return true;
}

std::int64_t nowUtcMs() { return platform::Clock::instance().utcMilliseconds(); }

BOOL setClockUtc(std::int64_t utcMs) {
  auto& clock = platform::Clock::instance();
  if (!clock.isVirtual()) {
    SetLastError(ERROR_PRIVILEGE_NOT_HELD);
    return FALSE;
  }
  clock.setUtcMilliseconds(utcMs);
  return TRUE;
}

}  // namespace

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime) {
  if (!lpSystemTime || !lpFileTime || !isValidSystemTime(*lpSystemTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t ms = systemTimeToUnixMs(*lpSystemTime);
  *lpFileTime = makeFileTime(static_cast<std::uint64_t>((ms + kEpochMs) * kFileTimeUnitsPerMs));
  return TRUE;
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, LPSYSTEMTIME lpSystemTime) {
  if (!lpFileTime || !lpSystemTime || fileTimeValue(*lpFileTime) > kMaxFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *lpSystemTime = fileTimeToSystemTime(fileTimeValue(*lpFileTime));
  return TRUE;
}

LONG CompareFileTime(const FILETIME* lpFileTime1, const FILETIME* lpFileTime2) {
  // A missing time counts as the earliest rather than crashing the caller.
  const std::uint64_t a = lpFileTime1 ? fileTimeValue(*lpFileTime1) : 0;
  const std::uint64_t b = lpFileTime2 ? fileTimeValue(*lpFileTime2) : 0;
  return a < b ? -1 : (a > b ? 1 : 0);
}

BOOL FileTimeToLocalFileTime(const FILETIME* lpFileTime, LPFILETIME lpLocalFileTime) {
  if (!lpFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t utcMs = fileTimeToUnixMs(fileTimeValue(*lpFileTime));
  return shiftFileTime(lpFileTime, lpLocalFileTime, localOffsetAtUtc(utcMs));
}

BOOL LocalFileTimeToFileTime(const FILETIME* lpLocalFileTime, LPFILETIME lpFileTime) {
  if (!lpLocalFileTime) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t localMs = fileTimeToUnixMs(fileTimeValue(*lpLocalFileTime));
  return shiftFileTime(lpLocalFileTime, lpFileTime, -localOffsetAtLocal(localMs));
}

void GetSystemTime(LPSYSTEMTIME lpSystemTime) {
  if (lpSystemTime) *lpSystemTime = unixMsToSystemTime(nowUtcMs());
}

void GetLocalTime(LPSYSTEMTIME lpSystemTime) {
  if (!lpSystemTime) return;
  const std::int64_t utc = nowUtcMs();
  *lpSystemTime = unixMsToSystemTime(utc + localOffsetAtUtc(utc));
}

BOOL SetSystemTime(const SYSTEMTIME* lpSystemTime) {
  if (!lpSystemTime || !isValidSystemTime(*lpSystemTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return setClockUtc(systemTimeToUnixMs(*lpSystemTime));
}

BOOL SetLocalTime(const SYSTEMTIME* lpSystemTime) {
  if (!lpSystemTime || !isValidSystemTime(*lpSystemTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::int64_t local = systemTimeToUnixMs(*lpSystemTime);
  return setClockUtc(local - localOffsetAtLocal(local));
}

DWORD GetTickCount() { return platform::Clock::instance().tickCount(); }

void Sleep(DWORD dwMilliseconds) {
  // INFINITE would hang the only thread forever; on the virtual clock it would never return either.
  if (dwMilliseconds == INFINITE) dwMilliseconds = 0x7FFFFFFF;
  platform::Clock::instance().advance(static_cast<std::int64_t>(dwMilliseconds));
}
