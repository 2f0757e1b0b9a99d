// Automation dates (days since 30 December 1899, time as the fraction) and calendar dates.
#pragma once

#include "platform/base/WinTypes.h"

namespace platform::pim {

class PimDates {
 public:
  // The year the service gives a contact date that has no year: a leap year, so that
  // 29 February survives, and early enough that no one mistakes it for a real year.
  static constexpr WORD kUnknownYear = 1604;

  static bool toVariant(const SYSTEMTIME& st, DATE& out);
  static bool toSystemTime(DATE value, SYSTEMTIME& out);
  // Whole days of an automation date, and its time of day in seconds (rounded).
  static bool split(DATE value, int& year, int& month, int& day, int& secondsOfDay);
  static DATE make(int year, int month, int day, int secondsOfDay);
};

}  // namespace platform::pim
