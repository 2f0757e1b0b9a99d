#include <cstring>
#include <string>

#include "platform/sys/DatePicture.h"
#include "platform/sys/LocaleFormats.h"
#include "platform/sys/TimeMath.h"
#include "platform/sys/WinBase.h"
#include "platform/sys/WinNls.h"

using namespace platform::sys;

namespace {

constexpr LCID kEnglishUnitedStates = 0x0409;

// The locale data an LCID stands for; nullptr when the platform does not know it.
const LocaleData* localeFor(LCID locale) {
  static const LocaleData english = LocaleFormats::englishUnitedStates();
  switch (locale) {
    case LOCALE_USER_DEFAULT:
    case LOCALE_SYSTEM_DEFAULT:
    case LOCALE_NEUTRAL:
      return &LocaleFormats::instance().current();
    case kEnglishUnitedStates:
    case LOCALE_INVARIANT:
      return &english;
    default:
      return nullptr;
  }
}

int deliver(const std::u16string& text, LPWSTR buffer, int size) {
  const int needed = static_cast<int>(text.size()) + 1;
  if (size == 0) return needed;
  if (size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(buffer, text.c_str(), static_cast<std::size_t>(needed) * sizeof(WCHAR));
  return needed;
}

bool validBuffer(LPWSTR buffer, int size) {
  if (size < 0 || (size > 0 && !buffer)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

std::u16string separatorOf(std::u16string_view picture, std::u16string_view fields, const char16_t* fallback) {
  // The first run of other characters between two fields.
  const std::size_t first = picture.find_first_of(fields);
  if (first == std::u16string_view::npos) return fallback;
  const std::size_t afterField = picture.find_first_not_of(picture[first], first);
  if (afterField == std::u16string_view::npos) return fallback;
  const std::size_t next = picture.find_first_of(fields, afterField);
  if (next == std::u16string_view::npos) return fallback;
  std::u16string separator(picture.substr(afterField, next - afterField));
  if (separator.find(u'\'') != std::u16string::npos) return fallback;
  return separator;
}

}  // namespace

int GetDateFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpDate, LPCWSTR lpFormat, LPWSTR lpDateStr,
                   int cchDate) {
  if (!validBuffer(lpDateStr, cchDate)) return 0;
  const LocaleData* locale = localeFor(Locale);
  if (!locale) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  constexpr DWORD kKnown = DATE_SHORTDATE | DATE_LONGDATE | DATE_USE_ALT_CALENDAR | DATE_YEARMONTH | DATE_LTRREADING |
                           DATE_RTLREADING | LOCALE_NOUSEROVERRIDE;
  const DWORD kinds = dwFlags & (DATE_SHORTDATE | DATE_LONGDATE | DATE_YEARMONTH);
  if ((dwFlags & ~kKnown) || (lpFormat && kinds) || (kinds & (kinds - 1))) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  SYSTEMTIME date{};
  if (lpDate) {
    date = *lpDate;
    date.wHour = date.wMinute = date.wSecond = date.wMilliseconds = 0;
    if (!isValidSystemTime(date)) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  } else {
    GetLocalTime(&date);
  }
  std::u16string picture;
  if (lpFormat)
    picture = lpFormat;
  else if (dwFlags & DATE_LONGDATE)
    picture = locale->longDate;
  else if (dwFlags & DATE_YEARMONTH)
    picture = u"MMMM yyyy";
  else
    picture = locale->shortDate;
  return deliver(formatDatePicture(picture, date, *locale), lpDateStr, cchDate);
}

int GetTimeFormatW(LCID Locale, DWORD dwFlags, const SYSTEMTIME* lpTime, LPCWSTR lpFormat, LPWSTR lpTimeStr,
                   int cchTime) {
  if (!validBuffer(lpTimeStr, cchTime)) return 0;
  const LocaleData* locale = localeFor(Locale);
  if (!locale) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  constexpr DWORD kKnown =
      TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT | LOCALE_NOUSEROVERRIDE;
  if (dwFlags & ~kKnown) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  SYSTEMTIME time{};
  if (lpTime) {
    time = *lpTime;
    if (time.wHour > 23 || time.wMinute > 59 || time.wSecond > 59 || time.wMilliseconds > 999) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
  } else {
    GetLocalTime(&time);
  }
  const std::u16string picture = lpFormat ? std::u16string(lpFormat) : locale->time;
  return deliver(formatTimePicture(picture, time, dwFlags, *locale), lpTimeStr, cchTime);
}

int GetLocaleInfoW(LCID Locale, DWORD LCType, LPWSTR lpLCData, int cchData) {
  if (!validBuffer(lpLCData, cchData)) return 0;
  const LocaleData* locale = localeFor(Locale);
  if (!locale) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const DWORD type = LCType & ~(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP);
  std::u16string value;
  if (type >= LOCALE_SDAYNAME1 && type <= LOCALE_SDAYNAME7) {
    value = locale->dayNames[(type - LOCALE_SDAYNAME1 + 1) % 7];  // 1 is Monday
  } else if (type >= LOCALE_SABBREVDAYNAME1 && type <= LOCALE_SABBREVDAYNAME7) {
    value = locale->abbreviatedDayNames[(type - LOCALE_SABBREVDAYNAME1 + 1) % 7];
  } else if (type >= LOCALE_SMONTHNAME1 && type <= LOCALE_SMONTHNAME12) {
    value = locale->monthNames[type - LOCALE_SMONTHNAME1];
  } else if (type >= LOCALE_SABBREVMONTHNAME1 && type <= LOCALE_SABBREVMONTHNAME12) {
    value = locale->abbreviatedMonthNames[type - LOCALE_SABBREVMONTHNAME1];
  } else {
    switch (type) {
      case LOCALE_SSHORTDATE:
        value = locale->shortDate;
        break;
      case LOCALE_SLONGDATE:
        value = locale->longDate;
        break;
      case LOCALE_STIMEFORMAT:
        value = locale->time;
        break;
      case LOCALE_S1159:
        value = locale->am;
        break;
      case LOCALE_S2359:
        value = locale->pm;
        break;
      case LOCALE_SDATE:
        value = separatorOf(locale->shortDate, u"dMy", u"/");
        break;
      case LOCALE_STIME:
        value = separatorOf(locale->time, u"hHms", u":");
        break;
      case LOCALE_IDATE: {
        const std::u16string& p = locale->shortDate;
        const std::size_t d = p.find(u'd'), m = p.find(u'M'), y = p.find(u'y');
        value = (y < d && y < m) ? u"2" : (d < m ? u"1" : u"0");
        break;
      }
      case LOCALE_ITIME:
        value = locale->time.find(u'H') != std::u16string::npos ? u"1" : u"0";
        break;
      case LOCALE_IFIRSTDAYOFWEEK:
        value = std::u16string(1, static_cast<char16_t>(u'0' + locale->firstDayOfWeek));
        break;
      default:
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
  }
  return deliver(value, lpLCData, cchData);
}

LCID GetUserDefaultLCID() { return LOCALE_USER_DEFAULT; }
LCID GetSystemDefaultLCID() { return LOCALE_SYSTEM_DEFAULT; }
