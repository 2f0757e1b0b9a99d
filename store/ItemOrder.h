// The sort keys of the list modes, computed once per sort, and the exchange-sort order by them.
// items is any range of pointers (a snapshot or a collection's owned items).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "store/ExchangeSort.h"
#include "store/FriendCollection.h"
#include "store/LocalDate.h"
#include "store/SortKey.h"

namespace pellucard::item_order {

template <class Items>
std::vector<std::size_t> byId(const Items& items) {
  std::vector<RecordId> keys;
  keys.reserve(items.size());
  for (const auto& item : items) keys.push_back(item->recordId());
  return exchangeSortOrder(keys);
}

template <class Items, class Get>
std::vector<std::size_t> byText(const Items& items, Get get) {
  std::vector<std::u16string> keys;
  keys.reserve(items.size());
  for (const auto& item : items) keys.push_back(SortKey(get(*item)));
  return exchangeSortOrder(keys);
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

// A missing friend sorts as the empty name.
template <class Items>
std::vector<std::size_t> byFriendName(const Items& items) {
  std::vector<std::u16string> keys;
  keys.reserve(items.size());
  for (const auto& item : items) keys.push_back(SortKey(Friend::displayNameOf(friendOf(item->friendId()))));
  return exchangeSortOrder(keys);
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
