// A date and time picture in the handheld's notation ("M/d/yyyy", "h:mm tt", "HH:mm") split
// into the fields a date and time picker edits and the text between them, with the arithmetic
// of changing one field: whatever is stepped, the result is a real date (31 February cannot
// come out) within the years the platform keeps (1601 to 30827).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/base/WinTypes.h"

namespace platform::controls {

enum class DateField { Text, Day, Month, Year, Hour, Minute, Second, AmPm, DayOfWeek, Era };

struct DatePiece {
  DateField field = DateField::Text;
  std::u16string picture;  // the field's letters ("dd", "MMM"), or the text itself
};

class DateTimeFields {
 public:
  DateTimeFields() = default;
  explicit DateTimeFields(std::u16string_view picture);

  const std::vector<DatePiece>& pieces() const { return pieces_; }
  int count() const { return static_cast<int>(pieces_.size()); }
  // Day, month, year, hour, minute, second and the day half can be edited.
  bool editable(int piece) const;
  // The first editable piece, -1 when there is none.
  int first() const;
  // The nearest editable piece before (direction < 0) or after `piece`, -1 when there is none.
  int next(int piece, int direction) const;
  // How many digits typing into the piece takes (a year of "yy" two, of "yyyy" four).
  int digits(int piece) const;

  // The text of one piece, and of the whole picture, for a valid time, as the locale writes it.
  std::u16string text(int piece, const SYSTEMTIME& time) const;
  std::u16string text(const SYSTEMTIME& time) const;

 private:
  std::vector<DatePiece> pieces_;
};

// The time with one field moved by `delta`: days wrap within the month, months within the year,
// hours, minutes and seconds within their range, the day half flips; years stop at 1601 and
// 30827. A day the new month or year does not have becomes its last day. The day of the week
// follows.
SYSTEMTIME stepDateField(const SYSTEMTIME& time, DateField field, int delta);

// Sets one field to a typed value when that makes a real date or time (hours 0 to 23; a 12-hour
// field keeps the day half); false, and the time unchanged, otherwise.
bool setDateField(SYSTEMTIME& time, DateField field, int value, bool twelveHour);

// The day of the week of a date (0 = Sunday), as SYSTEMTIME counts.
int weekdayOf(const SYSTEMTIME& time);

}  // namespace platform::controls
