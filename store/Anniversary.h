// A yearly date of a friend: a birthday, a wedding anniversary or any other named day.
#pragma once

#include <optional>
#include <string>

#include "platform/base/WinTypes.h"
#include "store/ItemText.h"
#include "store/RecordId.h"

namespace pellucard {

class Anniversary {
 public:
  Anniversary() = default;
  Anniversary(ItemText name, LONG friendId, const SYSTEMTIME& date, ItemText notes, LONG outlookItemId);

  // The date always carries 12:00:00; the identifier and the appointment's identifier stay.
  void assign(ItemText name, LONG friendId, const SYSTEMTIME& date, ItemText notes);

  RecordId recordId() const { return recordId_; }
  void setRecordId(RecordId id) { recordId_ = id; }
  LONG friendId() const { return friend_; }
  std::u16string_view name() const { return name_; }
  std::u16string_view notes() const { return notes_; }
  const SYSTEMTIME& date() const { return date_; }
  LONG outlookItemId() const { return outlookItemId_; }
  void setOutlookItemId(LONG id) { outlookItemId_ = id; }

  // The day the anniversary next falls on, never before now nor before the stored date itself:
  // today gives now; 29 February falls on 28 February in common years.
  SYSTEMTIME nextOccurrence(const SYSTEMTIME& now) const;
  SYSTEMTIME nextOccurrence() const;
  // Within the window from just after noon 29 days before an occurrence until noon of the day
  // after it, looking at the occurrences of last year, this year and next year.
  bool isNearest(const SYSTEMTIME& now) const;

  // Imported day-and-month dates carry this year; no count of years can be told for them.
  static constexpr WORD kUnknownYear = 1604;
  bool hasUnknownYear() const { return date_.wYear == kUnknownYear; }
  // Years the next occurrence completes, or nothing when the year is unknown.
  std::optional<int> yearCount(const SYSTEMTIME& now) const;

 private:
  RecordId recordId_ = 0;
  LONG friend_ = 0;
  ItemText name_;
  ItemText notes_;
  SYSTEMTIME date_{};
  LONG outlookItemId_ = 0;
};

}  // namespace pellucard
