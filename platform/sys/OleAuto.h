// Automation dates: days since 1899-12-30 as a double, the time of day as the fraction
// (before 1899-12-30 the whole part is negative and the fraction still counts forward).
#pragma once

#include "platform/base/WinTypes.h"

// TRUE on success; years 100 to 9999 with real dates. Milliseconds are ignored.
INT SystemTimeToVariantTime(LPSYSTEMTIME lpSystemTime, DATE* pvtime);
// Rounds to the nearest second; FALSE outside years 100 to 9999.
INT VariantTimeToSystemTime(DATE vtime, LPSYSTEMTIME lpSystemTime);
