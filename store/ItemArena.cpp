#include "store/ItemArena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

namespace pellucard {

ItemArena::ItemArena(ItemArena&& other) noexcept
    : blocks_(std::move(other.blocks_)),
      next_(std::exchange(other.next_, nullptr)),
      left_(std::exchange(other.left_, 0)),
      blockSize_(std::exchange(other.blockSize_, kFirstBlock)),
      capacity_(std::exchange(other.capacity_, 0)) {}

ItemArena& ItemArena::operator=(ItemArena&& other) noexcept {
  if (this != &other) {
    blocks_ = std::move(other.blocks_);
    next_ = std::exchange(other.next_, nullptr);
    left_ = std::exchange(other.left_, 0);
    blockSize_ = std::exchange(other.blockSize_, kFirstBlock);
    capacity_ = std::exchange(other.capacity_, 0);
  }
  return *this;
}

void* ItemArena::allocateInNewBlock(std::size_t bytes, std::size_t alignment) {
  // A request larger than the next block gets a block of its own size; the rest of the current
  // block is given up, which is little next to what was asked for.
  const std::size_t size = platform::sys::bulkBlockSize(std::max(blockSize_, bytes + alignment));
  blocks_.push_back(platform::sys::allocateBulk(size));
  capacity_ += size;
  blockSize_ = std::min(blockSize_ * 8, platform::sys::kLargePageSize);
  next_ = blocks_.back().get();
  left_ = size;
  return allocate(bytes, alignment);
}

std::u16string_view ItemArena::copyText(const void* bytes, std::size_t units) {
  auto* text = static_cast<char16_t*>(allocate((units + 1) * sizeof(char16_t), alignof(char16_t)));
  // One pass copies and looks for the end: four units at a time while none of them is null (the
  // test below is non-zero exactly when one of the four is), then unit by unit.
  constexpr std::uint64_t kLanesLow = 0x0001000100010001ULL;
  constexpr std::uint64_t kLanesHigh = 0x8000800080008000ULL;
  const auto* source = static_cast<const unsigned char*>(bytes);
  std::size_t length = 0;
  for (; length + 4 <= units; length += 4) {
    std::uint64_t four;
    std::memcpy(&four, source + length * sizeof(char16_t), sizeof four);
    if (((four - kLanesLow) & ~four & kLanesHigh) != 0) break;
    std::memcpy(text + length, &four, sizeof four);
  }
  for (; length < units; ++length) {
    char16_t unit;
    std::memcpy(&unit, source + length * sizeof(char16_t), sizeof unit);
    if (unit == u'\0') break;
    text[length] = unit;
  }
  text[length] = u'\0';
  if (length < units) {
    // A text that ends early gives back what it does not use.
    auto* used = reinterpret_cast<std::byte*>(text + length + 1);
    left_ += static_cast<std::size_t>(next_ - used);
    next_ = used;
  }
  return {text, length};
}

}  // namespace pellucard
