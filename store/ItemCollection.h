// What the four collections share: the owned items in their stored order, the constant-time
// lookup by RecordId, snapshots and the remembered sort mode.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "store/ExchangeSort.h"
#include "store/IdIndex.h"
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
    list.reserve(items_.size());
    for (const auto& item : items_) list.push_back(item.get());
    return list;
  }

  // The first item with that identifier, or null.
  Item* find(RecordId id) const {
    const auto* entry = index_.find(id);
    return entry ? entry->first : nullptr;
  }

  std::size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  // The sort mode last used with this collection.
  int sortMode() const { return sortMode_; }

 protected:
  explicit ItemCollection(int sortMode) : sortMode_(sortMode) {}

  // Without indexing, the caller must reorder (which indexes) before any lookup.
  void replaceAll(std::vector<std::unique_ptr<Item>> items, bool index = true) {
    items_ = std::move(items);
    if (index) rebuildIndex();
  }

  Item* append(std::unique_ptr<Item> item) {
    Item* raw = item.get();
    items_.push_back(std::move(item));
    index_.add(raw->recordId(), raw);
    return raw;
  }

  // Takes the first item with that identifier out of the list; the rest keep their order.
  std::unique_ptr<Item> take(RecordId id) {
    Item* target = find(id);
    if (!target) return nullptr;
    auto pos = std::find_if(items_.begin(), items_.end(), [&](const auto& p) { return p.get() == target; });
    std::unique_ptr<Item> taken = std::move(*pos);
    items_.erase(pos);
    forget(id, target);
    return taken;
  }

  // Takes out every item the predicate selects, keeping the order of the rest.
  template <class Pred>
  std::vector<std::unique_ptr<Item>> takeIf(Pred&& pred) {
    std::vector<std::unique_ptr<Item>> taken;
    std::vector<std::unique_ptr<Item>> kept;
    kept.reserve(items_.size());
    for (auto& item : items_) (pred(*item) ? taken : kept).push_back(std::move(item));
    items_ = std::move(kept);
    if (!taken.empty()) rebuildIndex();
    return taken;
  }

  // Puts the owned items into the order of the given permutation.
  void reorder(const std::vector<std::size_t>& order, bool ascending) {
    std::vector<std::unique_ptr<Item>> sorted;
    sorted.reserve(items_.size());
    for (std::size_t i : order) sorted.push_back(std::move(items_[i]));
    if (!ascending) std::reverse(sorted.begin(), sorted.end());
    items_ = std::move(sorted);
    rebuildIndex();
  }

  void rebuildIndex() {
    index_.assign(
        items_.size(), [&](std::size_t i) { return items_[i]->recordId(); },
        [&](std::size_t i) { return items_[i].get(); });
  }

  const std::vector<std::unique_ptr<Item>>& items() const { return items_; }

  // Sorts the owned items by RecordId. Distinct ascending identifiers (the usual state after an
  // add, whose new identifier is the largest) are already the exchange sort's order.
  void sortById() {
    bool ordered = true;
    for (std::size_t i = 1; i < items_.size() && ordered; ++i)
      ordered = items_[i - 1]->recordId() < items_[i]->recordId();
    if (ordered) return;
    std::vector<RecordId> keys;
    keys.reserve(items_.size());
    for (const auto& item : items_) keys.push_back(item->recordId());
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
    for (const auto& item : items_) {
      if (item->recordId() == id) {
        entry->first = item.get();
        return;
      }
    }
  }

  std::vector<std::unique_ptr<Item>> items_;
  IdIndex<Item*> index_;
};

}  // namespace pellucard
