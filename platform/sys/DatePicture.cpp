#include "platform/sys/DatePicture.h"

#include <vector>

#include "platform/sys/TimeMath.h"
#include "platform/sys/WinNls.h"

namespace platform::sys {

namespace {

struct Piece {
  bool field;
  char16_t letter;  // the field's letter
  std::size_t count;
  std::u16string text;  // literal text
};

bool isFieldLetter(char16_t c, std::u16string_view letters) { return letters.find(c) != std::u16string_view::npos; }

std::vector<Piece> split(std::u16string_view picture, std::u16string_view letters) {
  std::vector<Piece> pieces;
  auto literal = [&pieces](char16_t c) {
    if (pieces.empty() || pieces.back().field) pieces.push_back({false, 0, 0, {}});
    pieces.back().text += c;
  };
  for (std::size_t i = 0; i < picture.size();) {
    const char16_t c = picture[i];
    if (c == u'\'' && i + 1 < picture.size() && picture[i + 1] == u'\'') {
      literal(u'\'');
      i += 2;
      continue;
    }
    if (c == u'\'') {
      ++i;
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
    if (isFieldLetter(c, letters)) {
      std::size_t n = 0;
      while (i < picture.size() && picture[i] == c) ++n, ++i;
      pieces.push_back({true, c, n, {}});
      continue;
    }
    literal(c);
    ++i;
  }
  return pieces;
}

std::u16string number(int value, std::size_t minimumDigits) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  while (digits.size() < minimumDigits) digits.insert(digits.begin(), u'0');
  return digits;
}

}  // namespace

std::u16string formatDatePicture(std::u16string_view picture, const SYSTEMTIME& date, const LocaleData& locale) {
  const int weekday = dayOfWeek(daysFromCivil(date.wYear, date.wMonth, date.wDay));
  std::u16string out;
  for (const Piece& p : split(picture, u"dMyg")) {
    if (!p.field) {
      out += p.text;
      continue;
    }
    switch (p.letter) {
      case u'd':
        if (p.count <= 2)
          out += number(date.wDay, p.count);
        else if (p.count == 3)
          out += locale.abbreviatedDayNames[weekday];
        else
          out += locale.dayNames[weekday];
        break;
      case u'M':
        if (p.count <= 2)
          out += number(date.wMonth, p.count);
        else if (p.count == 3)
          out += locale.abbreviatedMonthNames[date.wMonth - 1];
        else
          out += locale.monthNames[date.wMonth - 1];
        break;
      case u'y':
        if (p.count <= 2)
          out += number(date.wYear % 100, p.count);
        else
          out += number(date.wYear, 4);
        break;
      case u'g':
        out += u"A.D.";
        break;
      default:
        break;
    }
  }
  return out;
}

std::u16string formatTimePicture(std::u16string_view picture, const SYSTEMTIME& time, DWORD flags,
                                 const LocaleData& locale) {
  std::vector<Piece> pieces = split(picture, u"hHmst");
  const bool force24 = flags & TIME_FORCE24HOURFORMAT;
  auto dropped = [&](const Piece& p) {
    if (!p.field) return false;
    if (p.letter == u't') return (flags & TIME_NOTIMEMARKER) || force24;
    if (p.letter == u's') return (flags & (TIME_NOSECONDS | TIME_NOMINUTESORSECONDS)) != 0;
    if (p.letter == u'm') return (flags & TIME_NOMINUTESORSECONDS) != 0;
    return false;
  };
  // A left-out field takes the separator before it with it, or the one after it when it leads.
  std::vector<bool> keep(pieces.size(), true);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (!dropped(pieces[i])) continue;
    keep[i] = false;
    if (i > 0 && !pieces[i - 1].field)
      keep[i - 1] = false;
    else if (i == 0 && i + 1 < pieces.size() && !pieces[i + 1].field)
      keep[i + 1] = false;
  }
  const bool pm = time.wHour >= 12;
  std::u16string out;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (!keep[i]) continue;
    const Piece& p = pieces[i];
    if (!p.field) {
      out += p.text;
      continue;
    }
    const std::size_t width = p.count >= 2 ? 2 : 1;
    switch (p.letter) {
      case u'h':
        if (force24)
          out += number(time.wHour, width);
        else
          out += number(time.wHour % 12 == 0 ? 12 : time.wHour % 12, width);
        break;
      case u'H':
        out += number(time.wHour, width);
        break;
      case u'm':
        out += number(time.wMinute, width);
        break;
      case u's':
        out += number(time.wSecond, width);
        break;
      case u't': {
        const std::u16string& marker = pm ? locale.pm : locale.am;
        out += p.count == 1 ? marker.substr(0, 1) : marker;
        break;
      }
      default:
        break;
    }
  }
  return out;
}

}  // namespace platform::sys
