#include "store/FreeSlots.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <random>
#include <vector>

using pellucard::FreeSlots;

namespace {

// Takes every place of a group of `count` in the order `nextRank` gives (it receives the number
// of free places and the previous rank) and checks each against a plain list of free places.
void takeAll(std::size_t count, const std::function<std::size_t(std::size_t, std::size_t)>& nextRank) {
  FreeSlots slots;
  slots.reset(count);
  std::vector<std::size_t> free(count);
  std::iota(free.begin(), free.end(), std::size_t{0});
  std::size_t rank = 0;
  while (!free.empty()) {
    rank = nextRank(free.size(), rank) % free.size();
    ASSERT_EQ(slots.take(rank), free[rank]) << "group of " << count << ", " << free.size() << " free, rank " << rank;
    free.erase(free.begin() + static_cast<std::ptrdiff_t>(rank));
  }
}

// Group sizes around the word size and far beyond it, where a take first looks near the previous
// one and otherwise asks the tree.
const std::size_t kSizes[] = {1, 2, 63, 64, 65, 129, 700, 5000};

TEST(FreeSlotsTest, TakesTheRightPlaceForRanksNearThePreviousOne) {
  std::mt19937 rng(3);
  for (std::size_t size : kSizes) {
    takeAll(size, [&](std::size_t, std::size_t previous) { return previous + 20 - rng() % 24; });
  }
}

TEST(FreeSlotsTest, TakesTheRightPlaceForRanksAnywhere) {
  std::mt19937 rng(5);
  for (std::size_t size : kSizes) takeAll(size, [&](std::size_t, std::size_t) { return rng(); });
}

TEST(FreeSlotsTest, TakesTheRightPlaceAtBothEndsAndAcrossEmptiedWords) {
  for (std::size_t size : kSizes) {
    bool front = false;
    takeAll(size, [&](std::size_t left, std::size_t) { return (front = !front) ? 0 : left - 1; });
    // Taking the middle again and again leaves long runs of filled words on either side.
    takeAll(size, [](std::size_t left, std::size_t) { return left / 2; });
  }
}

TEST(FreeSlotsTest, ResetMakesEveryPlaceFreeAgain) {
  FreeSlots slots;
  slots.reset(300);
  for (int i = 0; i < 100; ++i) slots.take(50);
  slots.reset(70);
  EXPECT_EQ(slots.take(69), 69u);
  EXPECT_EQ(slots.take(0), 0u);
  EXPECT_EQ(slots.take(64), 65u) << "places 1 to 68 are left";
}

}  // namespace
