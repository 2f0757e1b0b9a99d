// The time of day of a reminder as the settings keep it, hour times 256 plus minute (3072 is
// 12:00), and the format in which the options show it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"

namespace pellucard {

class ReminderTime {
 public:
  static constexpr int kNoon = 12 * 256;

  static int pack(int hour, int minute) { return hour * 256 + minute; }
  static int pack(const SYSTEMTIME& time) { return pack(time.wHour, time.wMinute); }
  // The day with the stored hour and minute (seconds 0); none when the value is no time of day,
  // as a hand-edited file may hold.
  static std::optional<SYSTEMTIME> onDay(int packed, const SYSTEMTIME& day);

  // "HH:mm", unless the locale's time format shows seconds: then that format without them and
  // the separator before them, so that the locale's hour style and day-half marker stay.
  static std::u16string displayFormat(std::u16string_view localeTimeFormat);
  // The same for the user's locale.
  static std::u16string displayFormat();
};

}  // namespace pellucard
