// Digits typed into one field of a date and time picker. Each digit makes a value of the digits
// so far; the field takes it as soon as it is a real day, month, hour or minute (a 1 typed into
// the month is January at once, a following 2 makes it December), a digit that would overflow
// starts the value again, and a year is taken when all its digits are there (a two-digit year
// falls in 1930 to 2029). The field is complete when no further digit could follow.
#pragma once

#include <string>

#include "platform/controls/DateTimeFields.h"

namespace platform::controls {

class DateFieldEntry {
 public:
  // Forgets the digits typed so far.
  void reset();
  // Types one digit (0 to 9) into `piece` of `fields`; true when `time` changed.
  bool type(int digit, const DateTimeFields& fields, int piece, SYSTEMTIME& time);
  bool complete() const { return complete_; }
  // Digits that made no value yet (a leading 0, part of a year), shown in the field's place.
  const std::u16string& pending() const { return pending_; }

 private:
  std::u16string typed_;
  std::u16string pending_;
  bool complete_ = false;
};

}  // namespace platform::controls
