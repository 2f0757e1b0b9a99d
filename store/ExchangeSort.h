// The order of the list sort: an exchange sort (for each i, for each j < i, swap when item i comes
// before item j), descending being the exact reverse. It is not stable, and that order is what
// users see, so it is reproduced exactly, ties included, in O(n log n):
// - the sorted prefix grows by one item per step; the new item goes after its equal keys, and every
//   group of equal keys above it rotates by one place (its first item moves to its end);
// - how often each group rotates between the arrivals of its members is counted over key ranks,
//   and the rotations are then undone member by member from the last one (FreeSlots).
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <numeric>
#include <type_traits>
#include <vector>

namespace pellucard {

// The exchange sort's order from the ranks of the keys: rank[i] in 0..groups-1, equal keys sharing
// a rank, a smaller key a smaller rank. order[k] is the index of the item at position k, ascending.
std::vector<std::size_t> exchangeSortOrderFromRanks(const std::vector<std::uint32_t>& rank, std::size_t groups);

// The ranks of unsigned integer keys (dates as file times, days of the year), and the number of
// distinct ones, by a radix sort: only the bytes in which the keys differ are sorted on, and each
// key travels with its index so that every pass reads memory in order. Sorting indices that look
// their keys up took twice as long on 100,000 dates.
template <class Key>
std::vector<std::uint32_t> radixRanks(const std::vector<Key>& keys, std::uint32_t& groups) {
  static_assert(std::is_unsigned_v<Key>);
  struct Entry {
    Key key;
    std::uint32_t index;
  };
  const std::size_t n = keys.size();
  std::vector<Entry> sorted(n);
  std::vector<Entry> spare(n);
  Key common = static_cast<Key>(~Key{0});
  Key any = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sorted[i] = Entry{keys[i], static_cast<std::uint32_t>(i)};
    common &= keys[i];
    any |= keys[i];
  }
  const Key varying = common ^ any;
  for (unsigned shift = 0; shift < 8 * sizeof(Key); shift += 8) {
    if (((varying >> shift) & 0xFF) == 0) continue;
    std::array<std::size_t, 257> start{};
    for (const Entry& e : sorted) ++start[((e.key >> shift) & 0xFF) + 1];
    for (std::size_t d = 0; d < 256; ++d) start[d + 1] += start[d];
    for (const Entry& e : sorted) spare[start[(e.key >> shift) & 0xFF]++] = e;
    sorted.swap(spare);
  }
  std::vector<std::uint32_t> rank(n);
  groups = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (k > 0 && sorted[k - 1].key < sorted[k].key) ++groups;
    rank[sorted[k].index] = groups;
  }
  if (n > 0) ++groups;
  return rank;
}

// The same for keys compared with less (a strict weak order).
template <class Key, class Less = std::less<Key>>
std::vector<std::size_t> exchangeSortOrder(const std::vector<Key>& keys, Less less = Less()) {
  const std::size_t n = keys.size();
  std::vector<std::size_t> byKey(n);
  std::iota(byKey.begin(), byKey.end(), std::size_t{0});
  // Keys already in order (an identifier sort, most often) stay where they are.
  if (n < 2 || std::is_sorted(keys.begin(), keys.end(), less)) return byKey;
  if constexpr (std::is_unsigned_v<Key> && !std::is_same_v<Key, bool> && std::is_same_v<Less, std::less<Key>>) {
    std::uint32_t groups = 0;
    const std::vector<std::uint32_t> rank = radixRanks(keys, groups);
    return exchangeSortOrderFromRanks(rank, groups);
  }
  std::sort(byKey.begin(), byKey.end(), [&](std::size_t a, std::size_t b) { return less(keys[a], keys[b]); });
  std::vector<std::uint32_t> rank(n);
  std::uint32_t groups = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (k > 0 && less(keys[byKey[k - 1]], keys[byKey[k]])) ++groups;
    rank[byKey[k]] = groups;
  }
  return exchangeSortOrderFromRanks(rank, groups + 1);
}

// Sorts list (parallel to keys) as the exchange sort does; descending is the reversed result.
template <class T, class Key, class Less = std::less<Key>>
void exchangeSort(std::vector<T>& list, const std::vector<Key>& keys, bool ascending, Less less = Less()) {
  const std::vector<std::size_t> order = exchangeSortOrder(keys, less);
  std::vector<T> sorted;
  sorted.reserve(list.size());
  for (std::size_t i : order) sorted.push_back(std::move(list[i]));
  if (!ascending) std::reverse(sorted.begin(), sorted.end());
  list = std::move(sorted);
}

}  // namespace pellucard
