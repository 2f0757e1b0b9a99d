#include "platform/base/HandleMap.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <unordered_map>

#include "platform/base/WinTypes.h"

using platform::HandleMap;

namespace {

HWND handle(std::uintptr_t n) { return reinterpret_cast<HWND>(0x10000 + 4 * n); }

// Windows come and go in any order while others stay; the map must keep finding the ones that
// stay, also across growth and the entries that move back when one before them is erased.
TEST(HandleMapTest, MatchesAPlainMapThroughInsertsAndErasesInAnyOrder) {
  std::mt19937 rng(9);
  HandleMap<HWND, int> map;
  std::unordered_map<HWND, int> plain;
  for (int round = 0; round < 20000; ++round) {
    const HWND h = handle(rng() % 600);
    if (rng() % 3 == 0) {
      ASSERT_EQ(map.erase(h), plain.erase(h) == 1);
    } else {
      const auto [value, added] = map.emplace(h, round);
      const auto [it, plainAdded] = plain.emplace(h, round);
      ASSERT_EQ(added, plainAdded);
      ASSERT_EQ(*value, it->second);
    }
    ASSERT_EQ(map.size(), plain.size());
  }
  for (std::uintptr_t n = 0; n < 600; ++n) {
    const auto it = plain.find(handle(n));
    const int* found = map.find(handle(n));
    ASSERT_EQ(found != nullptr, it != plain.end()) << n;
    if (found) {
      EXPECT_EQ(*found, it->second);
    }
  }
}

TEST(HandleMapTest, NullAndUnknownHandlesFindNothing) {
  HandleMap<HWND, std::unique_ptr<int>> map;
  EXPECT_EQ(map.find(nullptr), nullptr);
  EXPECT_FALSE(map.erase(handle(1)));
  map.emplace(handle(1), std::make_unique<int>(5));
  EXPECT_EQ(map.find(nullptr), nullptr);
  EXPECT_EQ(map.find(handle(2)), nullptr);
  EXPECT_EQ(**map.find(handle(1)), 5);
  map[handle(3)] = std::make_unique<int>(7);
  EXPECT_EQ(**map.find(handle(3)), 7);
  map.clear();
  EXPECT_TRUE(map.empty());
  EXPECT_EQ(map.find(handle(1)), nullptr);
}

}  // namespace
