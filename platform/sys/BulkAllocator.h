// A standard allocator over bulk memory, for the few containers that grow to megabytes at once
// (the item lists and identifier indexes of large tables).
#pragma once

#include <cstddef>

#include "platform/sys/BulkMemory.h"

namespace platform::sys {

template <class T>
struct BulkAllocator {
  using value_type = T;

  BulkAllocator() = default;
  template <class U>
  BulkAllocator(const BulkAllocator<U>&) noexcept {}  // NOLINT(google-explicit-constructor)

  T* allocate(std::size_t n) { return static_cast<T*>(allocateBulkBytes(n * sizeof(T))); }
  void deallocate(T* block, std::size_t n) noexcept { freeBulkBytes(block, n * sizeof(T)); }

  template <class U>
  bool operator==(const BulkAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace platform::sys
