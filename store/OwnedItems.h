// Items with the storage they live in: what a table's load produces and what a collection keeps.
// Items added later are made with new and sit in the same list.
#pragma once

#include <utility>
#include <vector>

#include "platform/sys/BulkAllocator.h"
#include "store/ItemArena.h"

namespace pellucard {

// Lists of large tables run to megabytes, so they live in bulk memory.
template <class Item>
using ItemList = std::vector<ItemPtr<Item>, platform::sys::BulkAllocator<ItemPtr<Item>>>;

template <class Item>
struct OwnedItems {
  OwnedItems() = default;
  OwnedItems(OwnedItems&&) noexcept = default;
  OwnedItems& operator=(OwnedItems&& other) noexcept {
    items.clear();  // while their storage is still there
    arena = std::move(other.arena);
    items = std::move(other.items);
    return *this;
  }

  ItemArena arena;
  // Declared last so that the items go before the storage they point into.
  ItemList<Item> items;
};

}  // namespace pellucard
