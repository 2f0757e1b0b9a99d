#include "store/Friend.h"

#include "store/SortKey.h"
#include "store/StorePreferences.h"

namespace pellucard {

Friend::Friend(ItemText firstName, ItemText lastName, ItemText notes, LONG avatarIndex) {
  assign(std::move(firstName), std::move(lastName), std::move(notes), avatarIndex);
}

void Friend::assign(ItemText firstName, ItemText lastName, ItemText notes, LONG avatarIndex) {
  firstName_ = std::move(firstName);
  lastName_ = std::move(lastName);
  notes_ = std::move(notes);
  avatarIndex_ = avatarIndex;
  if (avatarIndex_ != kOwnPicture) picture_.clear();
}

void Friend::refreshSortName(bool firstNameFirst) {
  sortName_.clear();
  sortName_.reserve(firstName_.size() + lastName_.size() + 2);
  if (lastName_.empty() || firstName_.empty()) {
    appendSortKey(sortName_, lastName_.empty() ? firstName_ : lastName_);
  } else if (firstNameFirst) {
    appendSortKey(sortName_, firstName_);
    sortName_ += u' ';
    appendSortKey(sortName_, lastName_);
  } else {
    appendSortKey(sortName_, lastName_);
    sortName_ += u", ";
    appendSortKey(sortName_, firstName_);
  }
}

std::u16string Friend::displayName() const { return displayName(firstName_, lastName_, preferFirstNameFirst()); }

std::u16string Friend::displayName(std::u16string_view first, std::u16string_view last, bool firstNameFirst) {
  if (last.empty()) return std::u16string(first);
  if (first.empty()) return std::u16string(last);
  std::u16string name;
  name.reserve(first.size() + last.size() + 2);
  if (firstNameFirst) {
    name.append(first).append(u" ").append(last);
  } else {
    name.append(last).append(u", ").append(first);
  }
  return name;
}

std::u16string Friend::displayNameOf(const Friend* maybeFriend) {
  return maybeFriend ? maybeFriend->displayName() : std::u16string();
}

}  // namespace pellucard
