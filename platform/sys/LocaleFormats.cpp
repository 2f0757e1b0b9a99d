#include "platform/sys/LocaleFormats.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>

#include "platform/base/Utf.h"

namespace platform::sys {

namespace {

bool isCLocale(const std::string& name) {
  return name.empty() || name == "C" || name == "POSIX" || name.rfind("C.", 0) == 0;
}

std::string environmentLocaleName() {
  for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value) return value;
  }
  return "";
}

// Host locale texts in the locale's own code set, as UTF-8.
std::string toUtf8From(const char* codeset, const char* text) {
  if (!text) return "";
  if (!codeset || !std::strcmp(codeset, "UTF-8") || !std::strcmp(codeset, "ANSI_X3.4-1968")) return text;
  iconv_t cd = iconv_open("UTF-8", codeset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return text;
  std::string in(text);
  std::string out(in.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<size_t>(-1)) return text;
  out.resize(out.size() - outLeft);
  return out;
}

// A run of literal text, quoted when it holds letters a picture would read as fields.
void appendLiteral(std::u16string& picture, const std::u16string& literal) {
  if (literal.empty()) return;
  bool needsQuotes = false;
  for (char16_t c : literal)
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'\'') needsQuotes = true;
  if (!needsQuotes) {
    picture += literal;
    return;
  }
  picture += u'\'';
  for (char16_t c : literal) {
    if (c == u'\'') picture += u'\'';
    picture += c;
  }
  picture += u'\'';
}

}  // namespace

LocaleFormats& LocaleFormats::instance() {
  static LocaleFormats formats;
  return formats;
}

const LocaleData& LocaleFormats::current() {
  if (!loaded_) useHost();
  return data_;
}

void LocaleFormats::set(LocaleData data) {
  data_ = std::move(data);
  loaded_ = true;
}

void LocaleFormats::useHost() { set(fromHost()); }

LocaleData LocaleFormats::englishUnitedStates() {
  LocaleData d;
  d.shortDate = u"M/d/yy";
  d.longDate = u"dddd, MMMM dd, yyyy";
  d.time = u"h:mm:ss tt";
  d.am = u"AM";
  d.pm = u"PM";
  d.dayNames = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
  d.abbreviatedDayNames = {u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  d.monthNames = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                  u"July",    u"August",   u"September", u"October", u"November", u"December"};
  d.abbreviatedMonthNames = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                             u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  d.firstDayOfWeek = 6;
  return d;
}

LocaleData LocaleFormats::fromHost(const std::string& localeName) {
  const std::string name = localeName.empty() ? environmentLocaleName() : localeName;
  if (isCLocale(name)) return englishUnitedStates();
  locale_t locale = newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name.c_str(), static_cast<locale_t>(0));
  if (!locale) return englishUnitedStates();
  const char* codeset = nl_langinfo_l(CODESET, locale);
  auto item = [&](nl_item i) { return toUtf8From(codeset, nl_langinfo_l(i, locale)); };
  HostTimeItems items;
  items.dateFormat = item(D_FMT);
  items.timeFormat = item(T_FMT);
  items.am = item(AM_STR);
  items.pm = item(PM_STR);
  for (int i = 0; i < 7; ++i) {
    items.days[i] = item(static_cast<nl_item>(DAY_1 + i));
    items.abbreviatedDays[i] = item(static_cast<nl_item>(ABDAY_1 + i));
  }
  for (int i = 0; i < 12; ++i) {
    items.months[i] = item(static_cast<nl_item>(MON_1 + i));
    items.abbreviatedMonths[i] = item(static_cast<nl_item>(ABMON_1 + i));
  }
  items.firstWeekday = static_cast<unsigned char>(*nl_langinfo_l(_NL_TIME_FIRST_WEEKDAY, locale));
  freelocale(locale);
  return fromTimeItems(items);
}

LocaleData LocaleFormats::fromTimeItems(const HostTimeItems& items) {
  LocaleData d = englishUnitedStates();
  const std::u16string shortDate = pictureFromStrftime(items.dateFormat);
  if (shortDate.find_first_of(u"dMy") != std::u16string::npos) {
    d.shortDate = shortDate;
    d.longDate = longDateFor(shortDate);
  }
  const std::u16string time = pictureFromStrftime(items.timeFormat);
  if (time.find_first_of(u"hH") != std::u16string::npos) d.time = time;
  d.am = toUtf16(items.am);
  d.pm = toUtf16(items.pm);
  for (int i = 0; i < 7; ++i) {
    if (!items.days[i].empty()) d.dayNames[i] = toUtf16(items.days[i]);
    if (!items.abbreviatedDays[i].empty()) d.abbreviatedDayNames[i] = toUtf16(items.abbreviatedDays[i]);
  }
  for (int i = 0; i < 12; ++i) {
    if (!items.months[i].empty()) d.monthNames[i] = toUtf16(items.months[i]);
    if (!items.abbreviatedMonths[i].empty()) d.abbreviatedMonthNames[i] = toUtf16(items.abbreviatedMonths[i]);
  }
  // The host counts 1 = Sunday, the handheld 0 = Monday ... 6 = Sunday.
  if (items.firstWeekday >= 1 && items.firstWeekday <= 7) d.firstDayOfWeek = (items.firstWeekday + 5) % 7;
  return d;
}

std::u16string LocaleFormats::pictureFromStrftime(std::string_view format) {
  std::u16string picture;
  std::string literal;
  auto flush = [&] {
    appendLiteral(picture, toUtf16(literal));
    literal.clear();
  };
  auto field = [&](const char16_t* token) {
    flush();
    picture += token;
  };
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      literal += format[i];
      continue;
    }
    if (++i >= format.size()) break;
    // glibc flags: '-' drops the padding, '_' pads with blanks (taken as no padding here).
    bool unpadded = false;
    while (i < format.size() &&
           (format[i] == '-' || format[i] == '_' || format[i] == '0' || format[i] == '^' || format[i] == '#')) {
      if (format[i] == '-' || format[i] == '_') unpadded = true;
      ++i;
    }
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
    if (i >= format.size()) break;
    switch (format[i]) {
      case 'a':
        field(u"ddd");
        break;
      case 'A':
        field(u"dddd");
        break;
      case 'b':
      case 'h':
        field(u"MMM");
        break;
      case 'B':
        field(u"MMMM");
        break;
      case 'd':
        field(unpadded ? u"d" : u"dd");
        break;
      case 'e':
        field(u"d");
        break;
      case 'm':
        field(unpadded ? u"M" : u"MM");
        break;
      case 'y':
        field(u"yy");
        break;
      case 'Y':
        field(u"yyyy");
        break;
      case 'H':
        field(unpadded ? u"H" : u"HH");
        break;
      case 'k':
        field(u"H");
        break;
      case 'I':
        field(unpadded ? u"h" : u"hh");
        break;
      case 'l':
        field(u"h");
        break;
      case 'M':
        field(u"mm");
        break;
      case 'S':
        field(u"ss");
        break;
      case 'p':
      case 'P':
        field(u"tt");
        break;
      case 'D':
        field(u"MM/dd/yy");
        break;
      case 'F':
        field(u"yyyy-MM-dd");
        break;
      case 'T':
        field(u"HH:mm:ss");
        break;
      case 'R':
        field(u"HH:mm");
        break;
      case 'r':
        field(u"hh:mm:ss tt");
        break;
      case 'n':
      case 't':
        literal += ' ';
        break;
      case '%':
        literal += '%';
        break;
      default:
        // Fields a picture cannot show (zone, week number, day of year...) are left out.
        break;
    }
  }
  flush();
  return picture;
}

std::u16string LocaleFormats::longDateFor(std::u16string_view shortDate) {
  const std::size_t day = shortDate.find(u'd');
  const std::size_t month = shortDate.find(u'M');
  const std::size_t year = shortDate.find(u'y');
  if (year != std::u16string_view::npos && (day == std::u16string_view::npos || year < day) &&
      (month == std::u16string_view::npos || year < month))
    return u"yyyy MMMM d, dddd";
  if (day != std::u16string_view::npos && month != std::u16string_view::npos && day < month)
    return u"dddd, d MMMM yyyy";
  return u"dddd, MMMM dd, yyyy";
}

}  // namespace platform::sys
