// What the gift, loan and anniversary collections share: items that belong to a friend, written
// through their table and kept in RecordId order. Hooks let loans and anniversaries keep their
// exported copies in step.
#pragma once

#include <memory>
#include <vector>

#include "store/ItemCollection.h"
#include "store/ItemOrder.h"

namespace pellucard {

template <class Item, class Table, Table& (*table)()>
class FriendItemCollection : public ItemCollection<Item> {
 public:
  using List = typename ItemCollection<Item>::List;

  bool load() {
    OwnedItems<Item> loaded;
    this->replaceAll({});
    const bool ok = table().loadAll(loaded);
    this->replaceAll(std::move(loaded));
    this->sortById();
    return ok;
  }

  // Writes the item and takes it over, also when the write failed (it then has RecordId 0). Only
  // an item that was written is exported.
  bool add(std::unique_ptr<Item> item) {
    if (!item) return false;
    const bool added = table().add(*item);
    Item* raw = this->append(std::move(item));
    if (added) stored(*raw);
    this->sortById();
    return added;
  }

  bool update(Item& item) {
    const bool updated = table().update(item);
    if (updated) stored(item);
    this->sortById();
    return updated;
  }

  // Deletes the first item with that identifier and its record; false when there is none or the
  // record could not be deleted, and then the item stays, its exported copy too. An item never
  // stored (RecordId 0) deletes no record.
  bool remove(RecordId id) {
    Item* found = this->find(id);
    if (!found || (found->recordId() != 0 && !table().remove(*found))) return false;
    ItemPtr<Item> item = this->take(id);
    removing(*item);
    return true;
  }

  List itemsOfFriend(LONG friendId) const {
    List list;
    for (const auto& item : this->items())
      if (item->friendId() == friendId) list.push_back(item.get());
    return list;
  }

  // Removes every item of the friend as remove() does; false when a record could not be deleted
  // (its item stays).
  bool removeAllOfFriend(LONG friendId) {
    bool all = true;
    // Each record is deleted as its item is picked, so that only deleted ones leave the list.
    auto taken = this->takeIf([&](Item& item) {
      if (item.friendId() != friendId) return false;
      if (item.recordId() != 0 && !table().remove(item)) {
        all = false;
        return false;
      }
      return true;
    });
    for (auto& item : taken) removing(*item);
    return all;
  }

 protected:
  explicit FriendItemCollection(int sortMode) : ItemCollection<Item>(sortMode) {}

  // The sorting every item list shares: an unknown mode means the last one used, and the mode is
  // remembered; mode 0 sorts by identifier and friendMode by the friend's display name. The
  // other modes are the item's own and give their order through orderBy(mode).
  template <class OrderBy>
  void sortByMode(List& list, int mode, int friendMode, bool ascending, OrderBy&& orderBy) {
    if (mode < 0 || mode > friendMode) mode = this->sortMode_;
    this->sortMode_ = mode;
    std::vector<std::size_t> order;
    if (mode == 0) {
      order = item_order::byId(list);
    } else if (mode == friendMode) {
      order = item_order::byFriendName(list);
    } else {
      order = orderBy(mode);
    }
    item_order::apply(list, order, ascending);
  }

  // After an add or update was written, before the list is re-sorted.
  virtual void stored(Item&) {}
  // When an item leaves the collection, its record deleted.
  virtual void removing(Item&) {}
};

}  // namespace pellucard
