// A present received from a friend, given to a friend, or an idea for one.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"
#include "store/ItemText.h"
#include "store/RecordId.h"

namespace pellucard {

enum GiftDirection : LONG { kGiftFrom = 0, kGiftFor = 1, kGiftIdea = 2 };

class Gift {
 public:
  Gift() = default;
  Gift(ItemText name, LONG direction, LONG friendId, const SYSTEMTIME& date, ItemText notes);

  // Replaces everything but the identifier.
  void assign(ItemText name, LONG direction, LONG friendId, const SYSTEMTIME& date, ItemText notes);

  RecordId recordId() const { return recordId_; }
  void setRecordId(RecordId id) { recordId_ = id; }
  std::u16string_view name() const { return name_; }
  std::u16string_view notes() const { return notes_; }
  LONG direction() const { return direction_; }
  // The friend's RecordId as stored (signed, as the record keeps it).
  LONG friendId() const { return friend_; }
  const SYSTEMTIME& date() const { return date_; }

 private:
  RecordId recordId_ = 0;
  ItemText name_;
  ItemText notes_;
  LONG direction_ = kGiftFrom;
  LONG friend_ = 0;
  SYSTEMTIME date_{};
};

}  // namespace pellucard
