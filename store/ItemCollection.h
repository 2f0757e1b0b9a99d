// What the four collections share: the owned items in their stored order, the constant-time
// lookup by RecordId, snapshots and the remembered sort mode.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "store/ExchangeSort.h"
#include "store/IdIndex.h"
#include "store/OwnedItems.h"
#include "store/RecordId.h"

namespace pellucard {

template <class Item>
class ItemCollection {
 public:
  using List = std::vector<Item*>;

  virtual ~ItemCollection() = default;
  ItemCollection(const ItemCollection&) = delete;
  ItemCollection& operator=(const ItemCollection&) = delete;

  // The same item pointers in the collection's order; the collection keeps owning them.
  List snapshot() const {
    List list;
    list.reserve(owned_.items.size());
    for (const auto& item : owned_.items) list.push_back(item.get());
    return list;
  }

  // The first item with that identifier, or null.
  Item* find(RecordId id) const {
    const auto* entry = index_.find(id);
    return entry ? entry->first : nullptr;
  }

  std::size_t size() const { return owned_.items.size(); }
  bool empty() const { return owned_.items.empty(); }
  // The sort mode last used with this collection.
  int sortMode() const { return sortMode_; }

 protected:
  explicit ItemCollection(int sortMode) : sortMode_(sortMode) {}

  // Drops every item, then takes over the loaded ones with their storage. Without indexing, the
  // caller must reorder (which indexes) before any lookup.
  void replaceAll(OwnedItems<Item> loaded, bool index = true) {
    owned_ = std::move(loaded);
    if (index) rebuildIndex();
  }

  Item* append(std::unique_ptr<Item> item) {
    Item* raw = item.get();
    owned_.items.push_back(ownItem(std::move(item)));
    index_.add(raw->recordId(), raw);
    return raw;
  }

  // Takes the first item with that identifier out of the list; the rest keep their order.
  ItemPtr<Item> take(RecordId id) {
    Item* target = find(id);
    if (!target) return nullptr;
    auto pos = std::find_if(owned_.items.begin(), owned_.items.end(), [&](const auto& p) { return p.get() == target; });
    ItemPtr<Item> taken = std::move(*pos);
    owned_.items.erase(pos);
    forget(id, target);
    return taken;
  }

  // Takes out every item the predicate selects, keeping the order of the rest.
  template <class Pred>
  std::vector<ItemPtr<Item>> takeIf(Pred&& pred) {
    std::vector<ItemPtr<Item>> taken;
    ItemList<Item> kept;
    kept.reserve(owned_.items.size());
    for (auto& item : owned_.items) {
      if (pred(*item)) {
        taken.push_back(std::move(item));
      } else {
        kept.push_back(std::move(item));
      }
    }
    owned_.items = std::move(kept);
    if (!taken.empty()) rebuildIndex();
    return taken;
  }

  // Puts the owned items into the order of the given permutation.
  void reorder(const std::vector<std::size_t>& order, bool ascending) {
    ItemList<Item> sorted;
    sorted.reserve(owned_.items.size());
    for (std::size_t i : order) sorted.push_back(std::move(owned_.items[i]));
    if (!ascending) std::reverse(sorted.begin(), sorted.end());
    owned_.items = std::move(sorted);
    rebuildIndex();
  }

  void rebuildIndex() {
    index_.assign(
        owned_.items.size(), [&](std::size_t i) { return owned_.items[i]->recordId(); },
        [&](std::size_t i) { return owned_.items[i].get(); });
  }

  const ItemList<Item>& items() const { return owned_.items; }

  // Sorts the owned items by RecordId. Distinct ascending identifiers (the usual state after an
  // add, whose new identifier is the largest) are already the exchange sort's order.
  void sortById() {
    bool ordered = true;
    for (std::size_t i = 1; i < owned_.items.size() && ordered; ++i)
      ordered = owned_.items[i - 1]->recordId() < owned_.items[i]->recordId();
    if (ordered) return;
    std::vector<RecordId> keys;
    keys.reserve(owned_.items.size());
    for (const auto& item : owned_.items) keys.push_back(item->recordId());
    reorder(exchangeSortOrder(keys), true);
  }

  int sortMode_;

 private:
  void forget(RecordId id, Item* removed) {
    auto* entry = index_.find(id);
    if (!entry) return;
    if (--entry->count == 0) {
      index_.erase(entry);
      return;
    }
    if (entry->first != removed) return;
    for (const auto& item : owned_.items) {
      if (item->recordId() == id) {
        entry->first = item.get();
        return;
      }
    }
  }

  OwnedItems<Item> owned_;
  IdIndex<Item*> index_;
};

}  // namespace pellucard
