#include "platform/controls/DateTimeFields.h"

#include <algorithm>

#include "platform/sys/TimeMath.h"
#include "platform/sys/WinNls.h"

namespace platform::controls {
namespace {

constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;

DateField fieldOf(char16_t letter, std::size_t count) {
  switch (letter) {
    case u'd':
      return count <= 2 ? DateField::Day : DateField::DayOfWeek;
    case u'M':
      return DateField::Month;
    case u'y':
      return DateField::Year;
    case u'g':
      return DateField::Era;
    case u'h':
    case u'H':
      return DateField::Hour;
    case u'm':
      return DateField::Minute;
    case u's':
      return DateField::Second;
    case u't':
      return DateField::AmPm;
    default:
      return DateField::Text;
  }
}

bool isTimeField(DateField field) {
  return field == DateField::Hour || field == DateField::Minute || field == DateField::Second ||
         field == DateField::AmPm;
}

int wrap(int value, int low, int high) {
  const int span = high - low + 1;
  return low + ((value - low) % span + span) % span;
}

void keepDayInMonth(SYSTEMTIME& time) {
  time.wDay = static_cast<WORD>(std::min<int>(time.wDay, sys::daysInMonth(time.wYear, time.wMonth)));
}

}  // namespace

DateTimeFields::DateTimeFields(std::u16string_view picture) {
  auto literal = [this](char16_t c) {
    if (pieces_.empty() || pieces_.back().field != DateField::Text) pieces_.push_back({DateField::Text, {}});
    pieces_.back().picture += c;
  };
  for (std::size_t i = 0; i < picture.size();) {
    const char16_t c = picture[i];
    if (c == u'\'') {
      // Quoted text; two quotes stand for one.
      ++i;
      if (i < picture.size() && picture[i] == u'\'') {
        literal(u'\'');
        ++i;
        continue;
      }
      while (i < picture.size()) {
        if (picture[i] == u'\'') {
          if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
            literal(u'\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        literal(picture[i++]);
      }
      continue;
    }
    std::size_t n = 0;
    while (i + n < picture.size() && picture[i + n] == c) ++n;
    const DateField field = fieldOf(c, n);
    if (field == DateField::Text) {
      literal(c);
      ++i;
      continue;
    }
    pieces_.push_back({field, std::u16string(picture.substr(i, n))});
    i += n;
  }
}

bool DateTimeFields::editable(int piece) const {
  if (piece < 0 || piece >= count()) return false;
  const DateField field = pieces_[static_cast<std::size_t>(piece)].field;
  return field != DateField::Text && field != DateField::DayOfWeek && field != DateField::Era;
}

int DateTimeFields::first() const { return next(-1, 1); }

int DateTimeFields::next(int piece, int direction) const {
  const int step = direction < 0 ? -1 : 1;
  for (int i = piece + step; i >= 0 && i < count(); i += step) {
    if (editable(i)) return i;
  }
  return -1;
}

int DateTimeFields::digits(int piece) const {
  if (!editable(piece)) return 0;
  const DatePiece& p = pieces_[static_cast<std::size_t>(piece)];
  if (p.field == DateField::AmPm) return 0;
  if (p.field == DateField::Year) return p.picture.size() >= 3 ? 4 : 2;
  return 2;
}

std::u16string DateTimeFields::text(int piece, const SYSTEMTIME& time) const {
  if (piece < 0 || piece >= count()) return {};
  const DatePiece& p = pieces_[static_cast<std::size_t>(piece)];
  if (p.field == DateField::Text) return p.picture;
  WCHAR buffer[128] = {};
  const int written = isTimeField(p.field)
                          ? GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, p.picture.c_str(), buffer, 128)
                          : GetDateFormatW(LOCALE_USER_DEFAULT, 0, &time, p.picture.c_str(), buffer, 128);
  return written > 0 ? std::u16string(buffer) : std::u16string();
}

std::u16string DateTimeFields::text(const SYSTEMTIME& time) const {
  std::u16string out;
  for (int i = 0; i < count(); ++i) out += text(i, time);
  return out;
}

int weekdayOf(const SYSTEMTIME& time) { return sys::dayOfWeek(sys::daysFromCivil(time.wYear, time.wMonth, time.wDay)); }

SYSTEMTIME stepDateField(const SYSTEMTIME& time, DateField field, int delta) {
  SYSTEMTIME out = time;
  switch (field) {
    case DateField::Day:
      out.wDay = static_cast<WORD>(wrap(out.wDay + delta, 1, sys::daysInMonth(out.wYear, out.wMonth)));
      break;
    case DateField::Month:
      out.wMonth = static_cast<WORD>(wrap(out.wMonth + delta, 1, 12));
      keepDayInMonth(out);
      break;
    case DateField::Year:
      out.wYear = static_cast<WORD>(std::clamp(out.wYear + delta, kFirstYear, kLastYear));
      keepDayInMonth(out);
      break;
    case DateField::Hour:
      out.wHour = static_cast<WORD>(wrap(out.wHour + delta, 0, 23));
      break;
    case DateField::Minute:
      out.wMinute = static_cast<WORD>(wrap(out.wMinute + delta, 0, 59));
      break;
    case DateField::Second:
      out.wSecond = static_cast<WORD>(wrap(out.wSecond + delta, 0, 59));
      break;
    case DateField::AmPm:
      if (delta % 2 != 0) out.wHour = static_cast<WORD>((out.wHour + 12) % 24);
      break;
    default:
      break;
  }
  out.wDayOfWeek = static_cast<WORD>(weekdayOf(out));
  return out;
}

bool setDateField(SYSTEMTIME& time, DateField field, int value, bool twelveHour) {
  if (value < 0) return false;
  SYSTEMTIME out = time;
  switch (field) {
    case DateField::Day:
      if (value < 1 || value > sys::daysInMonth(out.wYear, out.wMonth)) return false;
      out.wDay = static_cast<WORD>(value);
      break;
    case DateField::Month:
      if (value < 1 || value > 12) return false;
      out.wMonth = static_cast<WORD>(value);
      keepDayInMonth(out);
      break;
    case DateField::Year:
      if (value < kFirstYear || value > kLastYear) return false;
      out.wYear = static_cast<WORD>(value);
      keepDayInMonth(out);
      break;
    case DateField::Hour:
      if (twelveHour) {
        if (value < 1 || value > 12) return false;
        out.wHour = static_cast<WORD>(value % 12 + (out.wHour >= 12 ? 12 : 0));
      } else {
        if (value > 23) return false;
        out.wHour = static_cast<WORD>(value);
      }
      break;
    case DateField::Minute:
      if (value > 59) return false;
      out.wMinute = static_cast<WORD>(value);
      break;
    case DateField::Second:
      if (value > 59) return false;
      out.wSecond = static_cast<WORD>(value);
      break;
    default:
      return false;
  }
  out.wDayOfWeek = static_cast<WORD>(weekdayOf(out));
  time = out;
  return true;
}

}  // namespace platform::controls
