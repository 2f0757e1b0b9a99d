#include "store/LocalDate.h"

#include "platform/sys/WinBase.h"

namespace pellucard {

std::optional<std::uint64_t> fileTimeOf(const SYSTEMTIME& date) {
  if (date.wYear == 0) return std::nullopt;
  FILETIME ft;
  if (!SystemTimeToFileTime(&date, &ft)) return std::nullopt;
  return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

FILETIME toFileTimeOrZero(const SYSTEMTIME& date) {
  const std::uint64_t value = fileTimeOf(date).value_or(0);
  return FILETIME{static_cast<DWORD>(value & 0xFFFFFFFF), static_cast<DWORD>(value >> 32)};
}

SYSTEMTIME fromFileTime(const FILETIME& value) {
  SYSTEMTIME st{};
  if (!FileTimeToSystemTime(&value, &st)) st = SYSTEMTIME{};
  return st;
}

SYSTEMTIME localNow() {
  SYSTEMTIME st{};
  GetLocalTime(&st);
  return st;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

SYSTEMTIME withYear(const SYSTEMTIME& date, WORD year) {
  SYSTEMTIME moved = date;
  moved.wYear = year;
  if (moved.wMonth == 2 && moved.wDay == 29 && !isLeapYear(year)) moved.wDay = 28;
  return moved;
}

}  // namespace pellucard
