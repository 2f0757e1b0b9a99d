// Memory for the items read from the volume and their texts, freed together. Blocks grow from
// 16 KB to large pages, so loading 100,000 items takes a few dozen allocations instead of several
// hundred thousand, and a large table a fraction of the page faults. Each item is owned through an
// ItemPtr, which destroys it in place; the memory goes back when the arena goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

#include "platform/sys/BulkMemory.h"

namespace pellucard {

// Deletes an item made with new, or only destroys one that lives in an ItemArena.
template <class Item>
struct ItemDeleter {
  bool inArena = false;
  void operator()(Item* item) const {
    if (inArena) {
      std::destroy_at(item);
    } else {
      delete item;
    }
  }
};

template <class Item>
using ItemPtr = std::unique_ptr<Item, ItemDeleter<Item>>;

// Takes over an item made with new.
template <class Item>
ItemPtr<Item> ownItem(std::unique_ptr<Item> item) {
  return ItemPtr<Item>(item.release());
}

class ItemArena {
 public:
  ItemArena() = default;
  ItemArena(ItemArena&& other) noexcept;
  ItemArena& operator=(ItemArena&& other) noexcept;
  ItemArena(const ItemArena&) = delete;
  ItemArena& operator=(const ItemArena&) = delete;

  // Builds an item in the arena from what make() returns. The item must be destroyed (through its
  // ItemPtr) before the arena is.
  template <class Item, class Make>
  ItemPtr<Item> make(Make&& make) {
    void* slot = allocate(sizeof(Item), alignof(Item));
    return ItemPtr<Item>(::new (slot) Item(make()), ItemDeleter<Item>{true});
  }

  // Copies units UTF-16 code units from bytes (which need not be aligned) up to the first null,
  // and terminates the copy. The view stays valid, and null-terminated, while the arena lives.
  std::u16string_view copyText(const void* bytes, std::size_t units);

  // Uninitialised memory, freed with the arena. alignment is a power of two.
  void* allocate(std::size_t bytes, std::size_t alignment) {
    const std::size_t pad = (0 - reinterpret_cast<std::uintptr_t>(next_)) & (alignment - 1);
    if (pad + bytes > left_) return allocateInNewBlock(bytes, alignment);
    std::byte* start = next_ + pad;
    next_ = start + bytes;
    left_ -= pad + bytes;
    return start;
  }

  // What the blocks hold, in bytes.
  std::size_t capacityBytes() const { return capacity_; }

 private:
  static constexpr std::size_t kFirstBlock = 16 * 1024;

  void* allocateInNewBlock(std::size_t bytes, std::size_t alignment);

  std::vector<platform::sys::BulkBlock> blocks_;
  std::byte* next_ = nullptr;
  std::size_t left_ = 0;
  std::size_t blockSize_ = kFirstBlock;
  std::size_t capacity_ = 0;
};

}  // namespace pellucard
