#include "store/Friend.h"

#include "settings/Settings.h"
#include "store/SortKey.h"

namespace pellucard {

Friend::Friend(std::u16string firstName, std::u16string lastName, std::u16string notes, LONG avatarIndex) {
  assign(std::move(firstName), std::move(lastName), std::move(notes), avatarIndex);
}

void Friend::assign(std::u16string firstName, std::u16string lastName, std::u16string notes, LONG avatarIndex) {
  firstName_ = std::move(firstName);
  lastName_ = std::move(lastName);
  notes_ = std::move(notes);
  avatarIndex_ = avatarIndex;
  if (avatarIndex_ != kOwnPicture) picture_.clear();
}

void Friend::refreshSortName(bool firstNameFirst) {
  sortName_.clear();
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

std::u16string Friend::displayName() const { return displayName(firstName_, lastName_, getSettings().fNameFirst()); }

std::u16string Friend::displayName(const std::u16string& first, const std::u16string& last, bool firstNameFirst) {
  if (last.empty()) return first;
  if (first.empty()) return last;
  return firstNameFirst ? first + u" " + last : last + u", " + first;
}

std::u16string Friend::displayNameOf(const Friend* maybeFriend) {
  return maybeFriend ? maybeFriend->displayName() : std::u16string();
}

}  // namespace pellucard
