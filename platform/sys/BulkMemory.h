// Memory for data built in bulk and freed together. A block of half a large page or more takes
// whole large pages, aligned and offered to the kernel as such, so filling it costs one page
// fault per 2 MB instead of one per 4 KB; smaller blocks are ordinary memory.
#pragma once

#include <cstddef>
#include <memory>

namespace platform::sys {

inline constexpr std::size_t kLargePageSize = std::size_t{2} << 20;

// What a block asked for with that many bytes really holds: large ones are whole large pages.
std::size_t bulkBlockSize(std::size_t bytes);

// Throws std::bad_alloc like new when the memory is not there. The block must be freed with the
// same size.
void* allocateBulkBytes(std::size_t bytes);
void freeBulkBytes(void* block, std::size_t bytes) noexcept;

struct BulkFree {
  std::size_t bytes = 0;
  void operator()(std::byte* block) const noexcept { freeBulkBytes(block, bytes); }
};

using BulkBlock = std::unique_ptr<std::byte[], BulkFree>;

inline BulkBlock allocateBulk(std::size_t bytes) {
  return BulkBlock(static_cast<std::byte*>(allocateBulkBytes(bytes)), BulkFree{bytes});
}

}  // namespace platform::sys
