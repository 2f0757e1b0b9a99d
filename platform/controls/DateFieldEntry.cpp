#include "platform/controls/DateFieldEntry.h"

#include "platform/sys/TimeMath.h"

namespace platform::controls {
namespace {

int valueOf(const std::u16string& digits) {
  int value = 0;
  for (char16_t c : digits) value = value * 10 + (c - u'0');
  return value;
}

// The largest value a two-digit field can take for the time as it is.
int largest(DateField field, bool twelveHour, const SYSTEMTIME& time) {
  switch (field) {
    case DateField::Day:
      return sys::daysInMonth(time.wYear, time.wMonth);
    case DateField::Month:
      return 12;
    case DateField::Hour:
      return twelveHour ? 12 : 23;
    default:
      return 59;
  }
}

}  // namespace

void DateFieldEntry::reset() {
  typed_.clear();
  pending_.clear();
  complete_ = false;
}

bool DateFieldEntry::type(int digit, const DateTimeFields& fields, int piece, SYSTEMTIME& time) {
  if (digit < 0 || digit > 9 || !fields.editable(piece) || fields.digits(piece) == 0) return false;
  if (complete_) reset();
  const DatePiece& p = fields.pieces()[static_cast<std::size_t>(piece)];
  const int width = fields.digits(piece);
  typed_ += static_cast<char16_t>(u'0' + digit);
  pending_.clear();

  if (p.field == DateField::Year) {
    if (static_cast<int>(typed_.size()) < width) {
      pending_ = typed_;
      return false;
    }
    int year = valueOf(typed_);
    if (width == 2) year += year < 30 ? 2000 : 1900;
    typed_.clear();
    complete_ = setDateField(time, DateField::Year, year, false);
    return complete_;
  }

  const bool twelveHour = p.field == DateField::Hour && p.picture[0] == u'h';
  const int most = largest(p.field, twelveHour, time);
  if (valueOf(typed_) > most) typed_ = std::u16string(1, static_cast<char16_t>(u'0' + digit));
  const int value = valueOf(typed_);
  const bool changed = setDateField(time, p.field, value, twelveHour);
  if (!changed) pending_ = typed_;
  complete_ = static_cast<int>(typed_.size()) >= width || value * 10 > most;
  if (complete_ && !changed) {
    // A full value that is no day or month (00) is dropped.
    typed_.clear();
    pending_.clear();
    complete_ = false;
  }
  return changed;
}

}  // namespace platform::controls
