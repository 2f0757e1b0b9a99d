// Items with the storage they live in: what a table's load produces and what a collection keeps.
// Items added later are made with new and sit in the same list.
#pragma once

#include <utility>
#include <vector>

#include "store/ItemArena.h"

namespace pellucard {

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
  std::vector<ItemPtr<Item>> items;
};

}  // namespace pellucard
