#include "settings/ReminderTime.h"

#include <array>

#include "platform/sys/WinNls.h"

namespace pellucard {

std::optional<SYSTEMTIME> ReminderTime::onDay(int packed, const SYSTEMTIME& day) {
  if (packed < 0) return std::nullopt;
  const int hour = packed / 256;
  const int minute = packed % 256;
  if (hour > 23 || minute > 59) return std::nullopt;
  SYSTEMTIME time = day;
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  time.wSecond = 0;
  time.wMilliseconds = 0;
  return time;
}

std::u16string ReminderTime::displayFormat(std::u16string_view localeTimeFormat) {
  const std::size_t seconds = localeTimeFormat.find(u"ss");
  if (seconds == std::u16string_view::npos) return u"HH:mm";
  const std::size_t from = seconds == 0 ? 0 : seconds - 1;
  std::u16string format(localeTimeFormat);
  format.erase(from, seconds + 2 - from);
  return format.empty() ? u"HH:mm" : format;
}

std::u16string ReminderTime::displayFormat() {
  // Formats longer than the buffer are not the user's and give the plain one.
  std::array<WCHAR, 64> buffer{};
  const int length =
      GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, buffer.data(), static_cast<int>(buffer.size()));
  if (length <= 0) return u"HH:mm";
  return displayFormat(std::u16string_view(buffer.data()));
}

}  // namespace pellucard
