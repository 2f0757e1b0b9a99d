#include "store/FriendCollection.h"

#include "store/FriendsTable.h"
#include "store/SortKey.h"
#include "store/StorePreferences.h"
#include "store/TextRanks.h"

namespace pellucard {

namespace {
// Never destroyed at exit: the shutdown sequence empties it while the platform still runs.
std::unique_ptr<FriendCollection>& slot() {
  static auto* collection = new std::unique_ptr<FriendCollection>;
  return *collection;
}

// Refreshes the sort names and returns the order of the exchange sort by them.
template <class Friends>
std::vector<std::size_t> nameOrder(const Friends& friends) {
  const bool firstNameFirst = preferFirstNameFirst();
  for (const auto& f : friends) f->refreshSortName(firstNameFirst);
  std::size_t groups = 0;
  const auto ranks = textRanks(
      friends.size(), [&](std::size_t i) -> const std::u16string& { return friends[i]->sortName(); }, groups);
  return exchangeSortOrderFromRanks(ranks, groups);
}
}  // namespace

bool FriendCollection::load() {
  OwnedItems<Friend> loaded;
  replaceAll({});
  const bool ok = getFriendsTable().loadAll(loaded);
  // Sorting by name indexes the items; indexing them in the stored order first would be wasted.
  replaceAll(std::move(loaded), false);
  sortStored();
  return ok;
}

bool FriendCollection::add(std::unique_ptr<Friend> item) {
  if (!item) return false;
  const bool added = getFriendsTable().add(*item);
  append(std::move(item));
  sortStored();
  return added;
}

bool FriendCollection::tryAdd(std::unique_ptr<Friend> item) {
  if (!item || !getFriendsTable().add(*item)) return false;
  append(std::move(item));
  sortStored();
  return true;
}

std::vector<Friend*> FriendCollection::addStored(std::vector<std::unique_ptr<Friend>>& friends) {
  std::vector<Friend*> stored;
  for (std::unique_ptr<Friend>& item : friends) {
    if (!item || !getFriendsTable().add(*item)) continue;
    stored.push_back(append(std::move(item)));
  }
  if (!stored.empty()) sortStored();
  return stored;
}

bool FriendCollection::update(Friend& item) {
  const bool updated = getFriendsTable().update(item);
  sortStored();
  return updated;
}

bool FriendCollection::remove(RecordId id) {
  Friend* found = find(id);
  if (!found || (found->recordId() != 0 && !getFriendsTable().remove(*found))) return false;
  take(id);
  rebuildContactIndex();
  return true;
}

Friend* FriendCollection::findByContactId(LONG contactId) const {
  const auto* entry = contacts_.find(static_cast<RecordId>(contactId));
  return entry ? entry->first : nullptr;
}

void FriendCollection::sort(List& list, int mode, bool ascending) {
  // Display name is the only mode; any other keeps it.
  (void)mode;
  sortMode_ = kSortByName;
  const std::vector<std::size_t> order = nameOrder(list);
  List sorted;
  sorted.reserve(list.size());
  for (std::size_t i : order) sorted.push_back(list[i]);
  if (!ascending) std::reverse(sorted.begin(), sorted.end());
  list = std::move(sorted);
}

void FriendCollection::sortStored() {
  reorder(nameOrder(items()), true);
  rebuildContactIndex();
}

void FriendCollection::rebuildContactIndex() {
  const auto& friends = items();
  contacts_.assign(
      friends.size(), [&](std::size_t i) { return static_cast<RecordId>(friends[i]->contactId()); },
      [&](std::size_t i) { return friends[i].get(); });
}

Friend* friendOf(LONG friendId) {
  if (friendId == 0) return nullptr;
  return getFriendCollection().find(static_cast<RecordId>(friendId));
}

FriendCollection& getFriendCollection() {
  auto& collection = slot();
  if (!collection) collection = std::make_unique<FriendCollection>();
  return *collection;
}

void deleteFriendCollection() { slot().reset(); }

}  // namespace pellucard
