// The typed operations every table offers on its own item type. Derived tables supply the
// conversion between an item and its property record (toRecord / fromRecord).
#pragma once

#include <memory>
#include <vector>

#include "store/OwnedItems.h"
#include "store/RecordTable.h"

namespace pellucard {

template <class Item, class Derived>
class ItemTable : public RecordTable {
 public:
  using RecordTable::RecordTable;

  // Writes the item as a new record and gives it the new identifier. Fails, writing nothing,
  // when the item already names a stored record.
  bool add(Item& item) {
    if (!isOpen()) return false;
    PropertyRecord record;
    Derived::toRecord(item, record);
    RecordId id = item.recordId();
    const bool added = addRecord(record, id);
    item.setRecordId(id);
    return added;
  }

  // Rewrites the item's record; fails, writing nothing, when the item has no stored record.
  bool update(const Item& item) {
    if (!isOpen()) return false;
    PropertyRecord record;
    Derived::toRecord(item, record);
    return updateRecord(record, item.recordId());
  }

  // Deletes the item's record and clears its identifier; an item whose record could not be
  // deleted keeps it.
  bool remove(Item& item) {
    RecordId id = item.recordId();
    const bool removed = RecordTable::remove(id);
    if (isOpen()) item.setRecordId(id);
    return removed;
  }

  // Appends one item per stored record, in the volume's order, built in the list's own storage.
  bool loadAll(OwnedItems<Item>& list) {
    if (!isOpen()) return false;
    return forEachRecord([&](const RecordReader& record) {
      ItemPtr<Item> item = list.arena.template make<Item>([&] { return Derived::fromRecord(record, list.arena); });
      item->setRecordId(record.recordId());
      list.items.push_back(std::move(item));
    });
  }
};

}  // namespace pellucard
