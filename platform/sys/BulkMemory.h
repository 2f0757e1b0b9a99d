// Memory for data built in bulk and freed together. A block of a large page or more is aligned to
// large pages and offered to the kernel for them, so filling it costs one page fault per 2 MB
// instead of one per 4 KB; smaller blocks are ordinary memory.
#pragma once

#include <cstddef>
#include <memory>

namespace platform::sys {

inline constexpr std::size_t kLargePageSize = std::size_t{2} << 20;

struct BulkFree {
  std::size_t alignment = 0;
  void operator()(std::byte* block) const;
};

using BulkBlock = std::unique_ptr<std::byte[], BulkFree>;

// Throws std::bad_alloc like new when the memory is not there.
BulkBlock allocateBulk(std::size_t bytes);

}  // namespace platform::sys
