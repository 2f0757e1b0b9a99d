// The process heap behind LocalAlloc and its kin. A fixed block's handle is the address of its
// bytes, as on the handheld; a moveable block's handle is a token that LocalLock turns into
// the address. Blocks live until LocalFree, whoever holds them (the clipboard takes ownership
// of the blocks it is given).
#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>

#include "platform/base/WinTypes.h"

namespace platform::sys {

class LocalHeap {
 public:
  static LocalHeap& instance();

  // Null (ERROR_NOT_ENOUGH_MEMORY or ERROR_INVALID_PARAMETER) when the block cannot be made.
  HLOCAL allocate(UINT flags, std::size_t bytes);
  // False (ERROR_INVALID_HANDLE) for a handle the heap never gave or already took back.
  bool release(HLOCAL handle);
  // The block's bytes, nullptr for an unknown handle.
  void* lock(HLOCAL handle);
  bool unlock(HLOCAL handle);
  // Bytes asked for when the block was made; 0 for an unknown handle.
  std::size_t size(HLOCAL handle) const;
  bool owns(HLOCAL handle) const;

 private:
  struct Block {
    std::unique_ptr<std::byte[]> bytes;
    std::size_t size = 0;
    int locks = 0;
  };

  LocalHeap() = default;
  Block* find(HLOCAL handle);
  const Block* find(HLOCAL handle) const;

  std::unordered_map<const void*, std::unique_ptr<Block>> blocks_;
};

}  // namespace platform::sys
