#include "store/Gift.h"

namespace pellucard {

Gift::Gift(std::u16string name, LONG direction, LONG friendId, const SYSTEMTIME& date, std::u16string notes) {
  assign(std::move(name), direction, friendId, date, std::move(notes));
}

void Gift::assign(std::u16string name, LONG direction, LONG friendId, const SYSTEMTIME& date, std::u16string notes) {
  name_ = std::move(name);
  direction_ = direction;
  friend_ = friendId;
  date_ = date;
  notes_ = std::move(notes);
}

}  // namespace pellucard
