// Item dates are broken-down local date-times, stored as file times without any zone shift.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/base/WinTypes.h"

namespace pellucard {

// Nonempty only for a date the platform can convert (year 0 means "no date" and never converts).
std::optional<std::uint64_t> fileTimeOf(const SYSTEMTIME& date);
FILETIME toFileTimeOrZero(const SYSTEMTIME& date);
// All zero when the file time does not convert.
SYSTEMTIME fromFileTime(const FILETIME& value);
// The current local date and time from the platform clock.
SYSTEMTIME localNow();

bool isLeapYear(int year);
// The date moved to another year; 29 February becomes 28 February in a common year.
SYSTEMTIME withYear(const SYSTEMTIME& date, WORD year);

}  // namespace pellucard
