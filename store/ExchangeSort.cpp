#include "store/ExchangeSort.h"

#include "store/Fenwick.h"
#include "store/FreeSlots.h"

namespace pellucard {

std::vector<std::size_t> exchangeSortOrderFromRanks(const std::vector<std::uint32_t>& rank, std::size_t groups) {
  const std::size_t n = rank.size();

  // Where each group of equal keys starts in the result.
  std::vector<std::size_t> groupStart(groups + 1, 0);
  for (std::size_t i = 0; i < n; ++i) ++groupStart[rank[i] + 1];
  for (std::size_t g = 0; g < groups; ++g) groupStart[g + 1] += groupStart[g];
  // Keys all different or already in order move nothing: each arrival goes after its equals with
  // nothing above. The order is then the members of each group in arrival order.
  const bool plain = groups == n || std::is_sorted(rank.begin(), rank.end());

  // Members of each group in arrival order (counting sort by rank, stable in i).
  std::vector<std::size_t> members(n);
  std::vector<std::size_t> fill(groupStart.begin(), groupStart.end() - 1);
  if (plain) {
    for (std::size_t i = 0; i < n; ++i) members[fill[rank[i]]++] = i;
    return members;
  }
  // With each member, the number of smaller keys that arrived before it, kept in member order so
  // that a group is read front to back. (Lists are indexed by int: counts fit 32 bits.)
  std::vector<std::uint32_t> lessBefore(n);
  Fenwick<std::uint32_t> arrived(groups);
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t at = fill[rank[i]]++;
    members[at] = i;
    lessBefore[at] = arrived.prefix(rank[i]);
    arrived.add(rank[i], 1);
  }

  std::vector<std::size_t> order(n);
  FreeSlots slots;
  for (std::size_t g = 0; g < groups; ++g) {
    const std::size_t first = groupStart[g];
    const std::size_t k = groupStart[g + 1] - first;
    if (k == 1) {
      order[first] = members[first];
      continue;
    }
    slots.reset(k);
    // Undone member by member from the last one. The group as it stands is the remaining slots
    // rotated by offset (0 <= offset < size). The divisions are kept out of the common cases:
    // they cost more than the rest of a step.
    std::size_t offset = 0;
    for (std::size_t s = k; s >= 1; --s) {
      // Rotations after member s - 1 arrived: smaller keys arriving before the next member (after
      // the last member: all remaining smaller keys).
      const std::size_t until = s < k ? lessBefore[first + s] : first;
      std::size_t back = until - lessBefore[first + s - 1];
      if (back >= s) back %= s;
      offset = offset >= back ? offset - back : offset + s - back;
      const std::size_t j = offset == 0 ? s - 1 : offset - 1;
      order[first + slots.take(j)] = members[first + s - 1];
      offset = j == s - 1 ? 0 : j;
    }
  }
  return order;
}

}  // namespace pellucard
