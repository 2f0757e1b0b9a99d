// Dates as the cards and list rows show them.
#pragma once

#include <string>

#include "platform/sys/WinNls.h"

namespace pellucard {

class DateText {
 public:
  // The date in the short date format of a locale (LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT);
  // empty when it cannot be formatted.
  static std::u16string shortDate(const SYSTEMTIME& date, LCID locale);
  // Whether `a` comes after `b`; false when either is no valid date.
  static bool later(const SYSTEMTIME& a, const SYSTEMTIME& b);
};

}  // namespace pellucard
