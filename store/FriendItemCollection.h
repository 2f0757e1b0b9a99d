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

  // Writes the item and takes it over, also when the write failed (it then has RecordId 0).
  bool add(std::unique_ptr<Item> item) {
    if (!item) return false;
    const bool added = table().add(*item);
    Item* raw = this->append(std::move(item));
    stored(*raw);
    this->sortById();
    return added;
  }

  bool update(Item& item) {
    const bool updated = table().update(item);
    stored(item);
    this->sortById();
    return updated;
  }

  // Deletes the first item with that identifier and its record; false when there is none or the
  // record could not be deleted (the item leaves the list all the same). An item never stored
  // (RecordId 0) deletes no record.
  bool remove(RecordId id) {
    ItemPtr<Item> item = this->take(id);
    if (!item) return false;
    removing(*item);
    if (item->recordId() == 0) return true;
    return table().remove(*item);
  }

  List itemsOfFriend(LONG friendId) const {
    List list;
    for (const auto& item : this->items())
      if (item->friendId() == friendId) list.push_back(item.get());
    return list;
  }

  void removeAllOfFriend(LONG friendId) {
    auto taken = this->takeIf([&](const Item& item) { return item.friendId() == friendId; });
    for (auto& item : taken) {
      removing(*item);
      if (item->recordId() != 0) table().remove(*item);
    }
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

  // After an add or update was written (or failed to be), before the list is re-sorted.
  virtual void stored(Item&) {}
  // Before an item leaves the collection and its record is deleted.
  virtual void removing(Item&) {}
};

}  // namespace pellucard
