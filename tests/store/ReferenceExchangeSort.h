// The plain quadratic exchange sort that defines the list order; the fast sort must match it.
#pragma once

#include <algorithm>
#include <utility>
#include <vector>

namespace pellucard::testing {

template <class T, class Before>
void referenceExchangeSort(std::vector<T>& list, Before before, bool ascending) {
  for (std::size_t i = 1; i < list.size(); ++i)
    for (std::size_t j = 0; j < i; ++j)
      if (before(list[i], list[j])) std::swap(list[i], list[j]);
  if (!ascending) std::reverse(list.begin(), list.end());
}

}  // namespace pellucard::testing
