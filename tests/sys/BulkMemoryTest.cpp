#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/sys/BulkAllocator.h"
#include "platform/sys/BulkMemory.h"

namespace {

using platform::sys::allocateBulk;
using platform::sys::BulkAllocator;
using platform::sys::kLargePageSize;

// Every size around the point where blocks turn to large pages can be filled to the last byte it
// really holds and freed again (the sanitizer build checks the sizes given back).
TEST(BulkMemory, BlocksOfEverySizeAreUsableToTheirLastByteAndLargeOnesAreAligned) {
  for (const std::size_t bytes : {std::size_t{1}, std::size_t{4096}, kLargePageSize / 2 - 1, kLargePageSize / 2,
                                  kLargePageSize - 1, kLargePageSize, kLargePageSize + 1, 3 * kLargePageSize}) {
    platform::sys::BulkBlock block = allocateBulk(bytes);
    ASSERT_NE(block, nullptr);
    const std::size_t usable = platform::sys::bulkBlockSize(bytes);
    ASSERT_GE(usable, bytes);
    std::memset(block.get(), 0xA5, usable);
    EXPECT_EQ(block[usable - 1], std::byte{0xA5});
    if (bytes >= kLargePageSize / 2) {
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % kLargePageSize, 0u) << bytes;
      EXPECT_EQ(usable % kLargePageSize, 0u) << bytes;
    } else {
      EXPECT_EQ(usable, bytes);
    }
  }
}

TEST(BulkMemory, AVectorKeepsItsContentWhileGrowingIntoLargePages) {
  std::vector<std::uint64_t, BulkAllocator<std::uint64_t>> values;
  for (std::uint64_t i = 0; i < 1'000'000; ++i) values.push_back(i * 7);
  for (std::uint64_t i = 0; i < values.size(); i += 997) ASSERT_EQ(values[i], i * 7);
  values.erase(values.begin(), values.begin() + 999'990);
  values.shrink_to_fit();
  ASSERT_EQ(values.size(), 10u);
  EXPECT_EQ(values.front(), 999'990u * 7);
  std::vector<std::uint64_t, BulkAllocator<std::uint64_t>> copy = values;
  EXPECT_EQ(copy, values);
}

}  // namespace
