// A Fenwick tree of counts: prefix sums and point updates in O(log n), and a walk down the tree
// to the slot that holds a given unit. T must hold the sum of all slots; a small T keeps a large
// tree in cache.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <vector>

namespace pellucard {

template <class T>
class Fenwick {
 public:
  // n slots holding 0.
  explicit Fenwick(std::size_t n = 0) {
    assign(n, [](std::size_t) { return T{0}; });
  }

  // n slots, slot i holding countOf(i), built in O(n). The tree is padded with empty slots to a
  // power of two, which take() relies on.
  template <class CountOf>
  void assign(std::size_t n, CountOf countOf) {
    const std::size_t slots = std::bit_ceil(std::max<std::size_t>(n, 1));
    tree_.assign(slots + 1, T{0});
    for (std::size_t i = 1; i < tree_.size(); ++i) {
      if (i <= n) tree_[i] += countOf(i - 1);
      const std::size_t parent = i + (i & (~i + 1));
      if (parent < tree_.size()) tree_[parent] += tree_[i];
    }
  }

  void add(std::size_t i, T delta) {
    for (++i; i < tree_.size(); i += i & (~i + 1)) tree_[i] += delta;
  }

  // The sum of the first `count` slots.
  T prefix(std::size_t count) const {
    T s = 0;
    for (std::size_t i = count; i > 0; i -= i & (~i + 1)) s += tree_[i];
    return s;
  }

  // Takes one unit out of the slot holding unit k (counting from 0 over all slots) and returns
  // that slot; k becomes the unit's place within it. One walk down the tree: the nodes it does
  // not step past are exactly the ones that count the slot. k must be less than the total.
  std::size_t take(T& k) {
    std::size_t pos = 0;
    for (std::size_t step = tree_.size() - 1; step > 0; step /= 2) {
      // Without branches: which way each step goes is as good as random.
      const T node = tree_[pos + step];
      const bool right = node <= k;
      tree_[pos + step] = node - static_cast<T>(!right);
      k -= right ? node : T{0};
      pos += right ? step : 0;
    }
    return pos;
  }

 private:
  std::vector<T> tree_;
};

}  // namespace pellucard
