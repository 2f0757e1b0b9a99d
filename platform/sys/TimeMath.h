// Calendar arithmetic shared by the time, automation-date and format services.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/base/WinTypes.h"

namespace platform::sys {

// 100 ns units between 1601-01-01 and 1970-01-01.
inline constexpr std::int64_t kFileTimeUnixEpoch = 116444736000000000LL;
inline constexpr std::int64_t kFileTimeUnitsPerMs = 10000;

bool isLeapYear(int year);
int daysInMonth(int year, int month);
// Days since 1970-01-01 of a proleptic Gregorian date (any year, also before 1970).
std::int64_t daysFromCivil(int year, int month, int day);
void civilFromDays(std::int64_t days, int& year, int& month, int& day);
// 0 = Sunday, as SYSTEMTIME counts.
int dayOfWeek(std::int64_t daysSince1970);

// The platform's validity checks: year 1601..30827, a real date, a real time of day.
bool isValidSystemTime(const SYSTEMTIME& st);

// Milliseconds since 1970 UTC <-> SYSTEMTIME (no zone involved).
std::int64_t systemTimeToUnixMs(const SYSTEMTIME& st);
SYSTEMTIME unixMsToSystemTime(std::int64_t ms);
// The same for a FILETIME value (never negative), in cheaper unsigned arithmetic: loading a large
// volume converts hundreds of thousands of them.
SYSTEMTIME fileTimeToSystemTime(std::uint64_t value);

std::uint64_t fileTimeValue(const FILETIME& ft);
FILETIME makeFileTime(std::uint64_t value);

// Offset of local time from UTC (ms) at the given UTC instant, read from the host's TZ.
std::int64_t localOffsetAtUtc(std::int64_t utcMs);
// Offset that applies to a local wall time; in a gap or fold the host's choice is taken.
std::int64_t localOffsetAtLocal(std::int64_t localMs);

}  // namespace platform::sys
