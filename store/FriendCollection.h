// Every friend, owned for the whole run, kept sorted by display name.
#pragma once

#include <memory>
#include <vector>

#include "store/Friend.h"
#include "store/IdIndex.h"
#include "store/ItemCollection.h"

namespace pellucard {

class FriendCollection final : public ItemCollection<Friend> {
 public:
  static constexpr int kSortByName = 1;

  FriendCollection() : ItemCollection(kSortByName) {}

  // Drops every friend and reads them all from the table.
  bool load();
  // Writes the friend and takes it over, also when the write failed (it then has RecordId 0).
  bool add(std::unique_ptr<Friend> item);
  // Writes the friend and takes it over only when the write succeeded; otherwise the friend is
  // dropped and the collection stays as it was, so that no list shows a friend that is not stored.
  bool tryAdd(std::unique_ptr<Friend> item);
  // Writes the friends in turn and takes over those that were stored, sorting once at the end:
  // thousands added one by one would sort thousands of times. Returns the friends taken over, in
  // the given order; the ones the table did not take stay in `friends`, the others leave null.
  std::vector<Friend*> addStored(std::vector<std::unique_ptr<Friend>>& friends);
  // The friend was changed through assign; its record is rewritten.
  bool update(Friend& item);
  // Deletes the first friend with that identifier and its record. False when there is none or the
  // record could not be deleted (the friend then stays).
  bool remove(RecordId id);

  // The first friend linked to that contact, or null.
  Friend* findByContactId(LONG contactId) const;
  // Friends are only ever sorted by display name, ascending; refreshes each friend's sort name.
  void sort(List& list, int mode = kSortByName, bool ascending = true);
  // Puts the friends in name order again after the name order setting changed.
  void resortByName() { sortStored(); }

 private:
  void sortStored();
  void rebuildContactIndex();

  IdIndex<Friend*> contacts_;  // by ContactId
};

// The friend an item refers to; null for 0 or an identifier no friend has.
Friend* friendOf(LONG friendId);

// Application-wide instance: created on first access, deleted by the store's shutdown order.
FriendCollection& getFriendCollection();
void deleteFriendCollection();

}  // namespace pellucard
