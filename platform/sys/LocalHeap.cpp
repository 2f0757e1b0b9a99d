#include "platform/sys/LocalHeap.h"

#include <cstring>
#include <new>

#include "platform/base/WinError.h"
#include "platform/sys/WinBase.h"

namespace platform::sys {

LocalHeap& LocalHeap::instance() {
  static LocalHeap heap;
  return heap;
}

HLOCAL LocalHeap::allocate(UINT flags, std::size_t bytes) {
  if (flags & ~static_cast<UINT>(LMEM_MOVEABLE | LMEM_ZEROINIT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto block = std::make_unique<Block>();
  // A block of no bytes still gets an address of its own, as the handheld's heap gives one.
  block->bytes.reset(new (std::nothrow) std::byte[bytes > 0 ? bytes : 1]);
  if (!block->bytes) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (flags & LMEM_ZEROINIT) std::memset(block->bytes.get(), 0, bytes > 0 ? bytes : 1);
  block->size = bytes;
  // Both keys are addresses of live allocations, so they never collide.
  const void* key =
      (flags & LMEM_MOVEABLE) ? static_cast<const void*>(block.get()) : static_cast<const void*>(block->bytes.get());
  blocks_.emplace(key, std::move(block));
  return const_cast<void*>(key);
}

LocalHeap::Block* LocalHeap::find(HLOCAL handle) {
  auto it = blocks_.find(handle);
  return it == blocks_.end() ? nullptr : it->second.get();
}

const LocalHeap::Block* LocalHeap::find(HLOCAL handle) const {
  auto it = blocks_.find(handle);
  return it == blocks_.end() ? nullptr : it->second.get();
}

bool LocalHeap::release(HLOCAL handle) {
  if (blocks_.erase(handle) == 0) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

void* LocalHeap::lock(HLOCAL handle) {
  Block* block = find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  ++block->locks;
  return block->bytes.get();
}

bool LocalHeap::unlock(HLOCAL handle) {
  Block* block = find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  if (block->locks > 0) --block->locks;
  // Like the handheld: TRUE while the block is still locked, FALSE (with no error) once free.
  if (block->locks == 0) {
    SetLastError(ERROR_SUCCESS);
    return false;
  }
  return true;
}

std::size_t LocalHeap::size(HLOCAL handle) const {
  const Block* block = find(handle);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return block->size;
}

bool LocalHeap::owns(HLOCAL handle) const { return find(handle) != nullptr; }

}  // namespace platform::sys
