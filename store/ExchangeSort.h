// The order of the list sort: an exchange sort (for each i, for each j < i, swap when item i comes
// before item j), descending being the exact reverse. It is not stable, and that order is what
// users see, so it is reproduced exactly, ties included, in O(n log n):
// - the sorted prefix grows by one item per step; the new item goes after its equal keys, and every
//   group of equal keys above it rotates by one place (its first item moves to its end);
// - how often each group rotates between the arrivals of its members is counted with a Fenwick
//   tree over key ranks, and the rotations are then undone member by member from the last one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <numeric>
#include <vector>

namespace pellucard {

namespace exchange_sort_detail {

class Fenwick {
 public:
  explicit Fenwick(std::size_t n) : tree_(n + 1, 0) {}
  void add(std::size_t i, std::int64_t delta) {
    for (++i; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
  }
  std::int64_t prefix(std::size_t count) const {  // sum of the first `count` slots
    std::int64_t s = 0;
    for (std::size_t i = count; i > 0; i -= i & (~i + 1)) s += tree_[i];
    return s;
  }
  // Fills every slot with 1 in O(n).
  void fillOnes() {
    for (std::size_t i = 1; i < tree_.size(); ++i) {
      tree_[i] += 1;
      const std::size_t parent = i + (i & (~i + 1));
      if (parent < tree_.size()) tree_[parent] += tree_[i];
    }
  }
  // The slot holding the (k+1)-th one.
  std::size_t select(std::int64_t k) const {
    std::size_t pos = 0;
    std::size_t step = 1;
    while (step * 2 < tree_.size()) step *= 2;
    for (; step > 0; step /= 2) {
      if (pos + step < tree_.size() && tree_[pos + step] <= k) {
        pos += step;
        k -= tree_[pos];
      }
    }
    return pos;
  }

 private:
  std::vector<std::int64_t> tree_;
};

}  // namespace exchange_sort_detail

// The exchange sort's order from the ranks of the keys: rank[i] in 0..groups-1, equal keys sharing
// a rank, a smaller key a smaller rank. order[k] is the index of the item at position k, ascending.
inline std::vector<std::size_t> exchangeSortOrderFromRanks(const std::vector<std::uint32_t>& rank, std::size_t groups) {
  using exchange_sort_detail::Fenwick;
  const std::size_t n = rank.size();

  // Members of each group in arrival order (counting sort by rank, stable in i), and where each
  // group of equal keys starts in the result.
  std::vector<std::size_t> groupStart(groups + 1, 0);
  for (std::size_t i = 0; i < n; ++i) ++groupStart[rank[i] + 1];
  for (std::size_t g = 0; g < groups; ++g) groupStart[g + 1] += groupStart[g];
  std::vector<std::size_t> members(n);
  {
    std::vector<std::size_t> fill(groupStart.begin(), groupStart.end() - 1);
    for (std::size_t i = 0; i < n; ++i) members[fill[rank[i]]++] = i;
  }
  if (groups == n) return members;  // all keys differ: the plain sorted order

  // lessBefore[i]: items before i whose key is smaller.
  std::vector<std::int64_t> lessBefore(n);
  {
    Fenwick ranks(groups);
    for (std::size_t i = 0; i < n; ++i) {
      lessBefore[i] = ranks.prefix(rank[i]);
      ranks.add(rank[i], 1);
    }
  }

  std::vector<std::size_t> order(n);
  for (std::size_t g = 0; g < groups; ++g) {
    const std::size_t first = groupStart[g];
    const std::size_t k = groupStart[g + 1] - first;
    if (k == 1) {
      order[first] = members[first];
      continue;
    }
    // Rotations after the t-th member arrived: smaller keys arriving before the next member
    // (after the last member: all remaining smaller keys).
    auto rotationsAfter = [&](std::size_t t) -> std::int64_t {
      const std::size_t at = members[first + t];
      const std::int64_t until = t + 1 < k ? lessBefore[members[first + t + 1]] : static_cast<std::int64_t>(first);
      return until - lessBefore[at];
    };
    Fenwick slots(k);
    slots.fillOnes();
    std::int64_t offset = 0;  // the group as it stands is the remaining slots rotated by offset
    for (std::size_t s = k; s >= 1; --s) {
      const auto size = static_cast<std::int64_t>(s);
      offset = ((offset - rotationsAfter(s - 1)) % size + size) % size;
      const std::int64_t j = (size - 1 + offset) % size;
      const std::size_t slot = slots.select(j);
      order[first + slot] = members[first + s - 1];
      slots.add(slot, -1);
      offset = s > 1 ? j % (size - 1) : 0;
    }
  }
  return order;
}

// The same for keys compared with less (a strict weak order).
template <class Key, class Less = std::less<Key>>
std::vector<std::size_t> exchangeSortOrder(const std::vector<Key>& keys, Less less = Less()) {
  const std::size_t n = keys.size();
  std::vector<std::size_t> byKey(n);
  std::iota(byKey.begin(), byKey.end(), std::size_t{0});
  if (n < 2) return byKey;
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
