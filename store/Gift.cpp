#include "store/Gift.h"

namespace pellucard {

Gift::Gift(ItemText name, LONG direction, LONG friendId, const SYSTEMTIME& date, ItemText notes) {
  assign(std::move(name), direction, friendId, date, std::move(notes));
}

void Gift::assign(ItemText name, LONG direction, LONG friendId, const SYSTEMTIME& date, ItemText notes) {
  name_ = std::move(name);
  direction_ = direction;
  friend_ = friendId;
  date_ = date;
  notes_ = std::move(notes);
}

}  // namespace pellucard
