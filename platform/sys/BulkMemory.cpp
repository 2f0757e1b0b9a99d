#include "platform/sys/BulkMemory.h"

#include <sys/mman.h>

#include <new>

namespace platform::sys {

namespace {
// From half a large page on, a block takes whole large pages: the few that big are the
// ones filled at once, and the most that is left unused is less than what it holds.
constexpr std::size_t kLargeFrom = kLargePageSize / 2;

bool large(std::size_t bytes) { return bytes >= kLargeFrom; }

std::size_t roundedUp(std::size_t bytes) { return (bytes + kLargePageSize - 1) / kLargePageSize * kLargePageSize; }

std::align_val_t alignmentFor(std::size_t bytes) {
  // Small blocks ask for what operator new gives anyway, which keeps one delete path for both.
  return std::align_val_t(large(bytes) ? kLargePageSize : __STDCPP_DEFAULT_NEW_ALIGNMENT__);
}
}  // namespace

std::size_t bulkBlockSize(std::size_t bytes) { return large(bytes) ? roundedUp(bytes) : bytes; }

void* allocateBulkBytes(std::size_t bytes) {
  if (!large(bytes)) return ::operator new(bytes, alignmentFor(bytes));
  const std::size_t size = roundedUp(bytes);
  void* block = ::operator new(size, alignmentFor(bytes));
  // Only advice: without large pages the block is ordinary memory.
  madvise(block, size, MADV_HUGEPAGE);
  return block;
}

void freeBulkBytes(void* block, std::size_t bytes) noexcept {
  ::operator delete(block, large(bytes) ? roundedUp(bytes) : bytes, alignmentFor(bytes));
}

}  // namespace platform::sys
