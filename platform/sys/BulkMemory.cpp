#include "platform/sys/BulkMemory.h"

#include <sys/mman.h>

#include <new>

namespace platform::sys {

namespace {
// What operator new gives anyway; asking for it keeps one delete path for both sizes.
constexpr std::size_t kSmallAlignment = __STDCPP_DEFAULT_NEW_ALIGNMENT__;
}  // namespace

void BulkFree::operator()(std::byte* block) const { ::operator delete(block, std::align_val_t(alignment)); }

BulkBlock allocateBulk(std::size_t bytes) {
  const std::size_t alignment = bytes >= kLargePageSize ? kLargePageSize : kSmallAlignment;
  auto* block = static_cast<std::byte*>(::operator new(bytes, std::align_val_t(alignment)));
  if (alignment == kLargePageSize) {
    // Only advice: without large pages the block is ordinary memory.
    madvise(block, bytes / kLargePageSize * kLargePageSize, MADV_HUGEPAGE);
  }
  return BulkBlock(block, BulkFree{alignment});
}

}  // namespace platform::sys
