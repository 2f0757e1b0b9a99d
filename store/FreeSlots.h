// The free places of one group of equal keys while the exchange sort puts its members back, the
// last one first: take(rank) fills the free place of that rank. Successive ranks mostly lie a few
// places apart, so a take looks near the previous one first, in a few words of a bit set, and only
// then walks a Fenwick tree of the free places per word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "store/Fenwick.h"

namespace pellucard {

class FreeSlots {
 public:
  // `count` places, all free.
  void reset(std::size_t count);
  // Fills the free place of `rank` (0 for the first free one) and returns it; rank must be less
  // than the number of free places.
  std::size_t take(std::size_t rank);

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  // The place of `rank` when it lies within a few words of the previous take, else kNone.
  std::size_t nearPrevious(std::size_t rank) const;

  std::vector<std::uint64_t> free_;  // bit i of word w: place 64 w + i is free
  Fenwick<std::uint32_t> perWord_;   // free places per word
  std::size_t lastPlace_ = 0;
  std::size_t lastRank_ = 0;
  bool hasLast_ = false;
};

}  // namespace pellucard
