// A person: names, notes, a picture or a built-in avatar, and an optional link to a contact.
#pragma once

#include <cstddef>
#include <string>

#include "platform/base/WinTypes.h"
#include "platform/cedb/WinDb.h"
#include "store/FriendPicture.h"
#include "store/ItemText.h"
#include "store/RecordId.h"

namespace pellucard {

class Friend {
 public:
  // AvatarIndex -1: the friend shows its own picture; 0 or more: a built-in avatar.
  static constexpr LONG kOwnPicture = -1;
  // The longest texts the friend form takes. With them and the largest picture a record holds,
  // the friend's record still fits the volume's limits.
  static constexpr std::size_t kMaxNameLength = 4096;
  static constexpr std::size_t kMaxNotesLength = CEDB_MAXPROPDATASIZE / 2;

  Friend() = default;
  Friend(ItemText firstName, ItemText lastName, ItemText notes, LONG avatarIndex);

  // An index other than kOwnPicture empties the picture.
  void assign(ItemText firstName, ItemText lastName, ItemText notes, LONG avatarIndex);

  RecordId recordId() const { return recordId_; }
  void setRecordId(RecordId id) { recordId_ = id; }
  LONG contactId() const { return contactId_; }
  void setContactId(LONG id) { contactId_ = id; }
  std::u16string_view firstName() const { return firstName_; }
  std::u16string_view lastName() const { return lastName_; }
  std::u16string_view notes() const { return notes_; }
  LONG avatarIndex() const { return avatarIndex_; }
  FriendPicture& picture() { return picture_; }
  const FriendPicture& picture() const { return picture_; }

  // The folded display name as of the last sort by name.
  const std::u16string& sortName() const { return sortName_; }
  // Sets it to SortKey(display name), reusing its storage.
  void refreshSortName(bool firstNameFirst);

  // By the name-order setting: "First Last" or "Last, First"; a missing part drops the separator.
  std::u16string displayName() const;
  static std::u16string displayName(std::u16string_view first, std::u16string_view last, bool firstNameFirst);
  // The empty text when there is no friend.
  static std::u16string displayNameOf(const Friend* maybeFriend);

 private:
  RecordId recordId_ = 0;
  LONG contactId_ = 0;
  ItemText firstName_;
  ItemText lastName_;
  std::u16string sortName_;
  ItemText notes_;
  FriendPicture picture_;
  LONG avatarIndex_ = 0;
};

}  // namespace pellucard
