#include "views/DateText.h"

#include <array>

#include "platform/sys/WinBase.h"

namespace pellucard {

std::u16string DateText::shortDate(const SYSTEMTIME& date, LCID locale) {
  std::array<WCHAR, 64> buffer{};
  const int n = GetDateFormatW(locale, DATE_SHORTDATE, &date, nullptr, buffer.data(), static_cast<int>(buffer.size()));
  return n > 0 ? std::u16string(buffer.data()) : std::u16string();
}

bool DateText::later(const SYSTEMTIME& a, const SYSTEMTIME& b) {
  FILETIME fa{};
  FILETIME fb{};
  if (!SystemTimeToFileTime(&a, &fa) || !SystemTimeToFileTime(&b, &fb)) return false;
  return CompareFileTime(&fa, &fb) > 0;
}

}  // namespace pellucard
