// The sort keys of the list modes, computed once per sort, and the exchange-sort order by them.
// items is any range of pointers (a snapshot or a collection's owned items).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/ExchangeSort.h"
#include "store/FriendCollection.h"
#include "store/IdIndex.h"
#include "store/LocalDate.h"
#include "store/SortKey.h"
#include "store/TextRanks.h"

namespace pellucard::item_order {

template <class Items>
std::vector<std::size_t> byId(const Items& items) {
  std::vector<RecordId> keys;
  keys.reserve(items.size());
  for (const auto& item : items) keys.push_back(item->recordId());
  return exchangeSortOrder(keys);
}

// Lists repeat the same few texts many times: each distinct text is folded and ranked once.
// get must return a view of a text the item holds.
template <class Items, class Get>
std::vector<std::size_t> byText(const Items& items, Get get) {
  std::unordered_map<std::u16string_view, std::uint32_t> slotOf;
  slotOf.reserve(items.size());
  std::vector<std::u16string> folded;
  std::vector<std::uint32_t> keys;
  keys.reserve(items.size());
  for (const auto& item : items) {
    const std::u16string_view text = get(*item);
    auto [it, inserted] = slotOf.try_emplace(text, static_cast<std::uint32_t>(folded.size()));
    if (inserted) folded.push_back(SortKey(text));
    keys.push_back(it->second);
  }
  std::size_t groups = 0;
  const auto ranks = textRanks(
      folded.size(), [&](std::size_t i) -> const std::u16string& { return folded[i]; }, groups);
  for (std::uint32_t& key : keys) key = ranks[key];
  return exchangeSortOrderFromRanks(keys, groups);
}

// A date that does not convert (year 0: no date) counts as file time 0, the earliest.
template <class Items, class Get>
std::vector<std::size_t> byDate(const Items& items, Get get) {
  std::vector<std::uint64_t> keys;
  keys.reserve(items.size());
  for (const auto& item : items) keys.push_back(fileTimeOf(get(*item)).value_or(0));
  return exchangeSortOrder(keys);
}

// Month first, then day; year and time are ignored.
template <class Items, class Get>
std::vector<std::size_t> byDayOfYear(const Items& items, Get get) {
  std::vector<std::uint32_t> keys;
  keys.reserve(items.size());
  for (const auto& item : items) {
    const SYSTEMTIME& d = get(*item);
    keys.push_back(static_cast<std::uint32_t>(d.wMonth) * 64 + d.wDay);
  }
  return exchangeSortOrder(keys);
}

// A missing friend sorts as the empty name. Items share few friends: each friend's name is folded
// once and the items are sorted by its rank among the names.
template <class Items>
std::vector<std::size_t> byFriendName(const Items& items) {
  IdIndex<std::uint32_t> slotOf;  // friend identifier -> position in names
  slotOf.reset(items.size() / 4 + 1);
  std::vector<std::u16string> names;
  std::vector<std::uint32_t> itemSlot;
  itemSlot.reserve(items.size());
  for (const auto& item : items) {
    const auto id = static_cast<RecordId>(item->friendId());
    const auto* entry = slotOf.find(id);
    std::uint32_t slot;
    if (entry) {
      slot = entry->first;
    } else {
      slot = static_cast<std::uint32_t>(names.size());
      names.push_back(SortKey(Friend::displayNameOf(friendOf(item->friendId()))));
      slotOf.add(id, slot);
    }
    itemSlot.push_back(slot);
  }
  std::size_t groups = 0;
  const std::vector<std::uint32_t> rank = textRanks(
      names.size(), [&](std::size_t i) -> const std::u16string& { return names[i]; }, groups);
  std::vector<std::uint32_t> keys;
  keys.reserve(items.size());
  for (std::uint32_t slot : itemSlot) keys.push_back(rank[slot]);
  return exchangeSortOrderFromRanks(keys, groups);
}

template <class T>
void apply(std::vector<T*>& list, const std::vector<std::size_t>& order, bool ascending) {
  std::vector<T*> sorted;
  sorted.reserve(list.size());
  for (std::size_t i : order) sorted.push_back(list[i]);
  if (!ascending) std::reverse(sorted.begin(), sorted.end());
  list = std::move(sorted);
}

}  // namespace pellucard::item_order
