#include "store/Anniversary.h"

#include "store/LocalDate.h"

namespace pellucard {

namespace {
constexpr std::int64_t kFileTimeDay = 864000000000LL;
constexpr int kNearestDays = 28;
}  // namespace

Anniversary::Anniversary(ItemText name, LONG friendId, const SYSTEMTIME& date, ItemText notes, LONG outlookItemId)
    : outlookItemId_(outlookItemId) {
  assign(std::move(name), friendId, date, std::move(notes));
}

void Anniversary::assign(ItemText name, LONG friendId, const SYSTEMTIME& date, ItemText notes) {
  name_ = std::move(name);
  friend_ = friendId;
  notes_ = std::move(notes);
  date_ = date;
  date_.wHour = 12;
  date_.wMinute = 0;
  date_.wSecond = 0;
}

SYSTEMTIME Anniversary::nextOccurrence(const SYSTEMTIME& now) const {
  const auto stored = fileTimeOf(date_);
  const auto current = fileTimeOf(now);
  if (!stored || !current) return date_;
  const SYSTEMTIME thisYear = withYear(date_, now.wYear);
  if (date_.wYear <= now.wYear && thisYear.wMonth == now.wMonth && thisYear.wDay == now.wDay) return now;
  if (*stored > *current) return date_;
  const auto occurrence = fileTimeOf(thisYear);
  if (occurrence && *occurrence > *current) return thisYear;
  return withYear(date_, static_cast<WORD>(now.wYear + 1));
}

SYSTEMTIME Anniversary::nextOccurrence() const { return nextOccurrence(localNow()); }

std::optional<int> Anniversary::yearCount(const SYSTEMTIME& now) const {
  if (hasUnknownYear()) return std::nullopt;
  return static_cast<int>(nextOccurrence(now).wYear) - static_cast<int>(date_.wYear);
}

bool Anniversary::isNearest(const SYSTEMTIME& now) const {
  const auto current = fileTimeOf(now);
  if (!current || date_.wYear == 0) return false;
  auto inWindow = [&](const SYSTEMTIME& day) {
    const auto occurrence = fileTimeOf(day);
    if (!occurrence) return false;
    const std::int64_t days =
        (static_cast<std::int64_t>(*occurrence) - static_cast<std::int64_t>(*current)) / kFileTimeDay;
    return static_cast<std::uint32_t>(days) <= kNearestDays;
  };
  // A date in a later year is its own next occurrence, so it is near only when that day is.
  if (date_.wYear > now.wYear) return inWindow(date_);
  for (int delta = -1; delta <= 1; ++delta) {
    const int year = static_cast<int>(now.wYear) + delta;
    if (year < 1601 || year > 30827) continue;
    if (inWindow(withYear(date_, static_cast<WORD>(year)))) return true;
  }
  return false;
}

}  // namespace pellucard
