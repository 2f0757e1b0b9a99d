// A map from handles (HWND and kin: non-null pointers, usually handed out in sequence) to values,
// looked up without a division. Every sent message looks its window up more than once, and the
// standard hash map's modulo by a prime was the largest single cost of a message.
//
// Open addressing with linear probing over a power-of-two table; erasing shifts the entries that
// follow back, so there are no tombstones. Values move when the table grows or an entry is erased:
// keep pointers to values only until the next insert or erase (store owning pointers for objects
// that must stay put).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

template <class Handle, class Value>
class HandleMap {
 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  Value* find(Handle handle) {
    if (size_ == 0 || handle == Handle{}) return nullptr;
    for (std::size_t i = home(handle);; i = next(i)) {
      Slot& slot = slots_[i];
      if (!slot.value) return nullptr;
      if (slot.key == handle) return &*slot.value;
    }
  }
  const Value* find(Handle handle) const { return const_cast<HandleMap*>(this)->find(handle); }

  // Adds the value unless the handle has one; returns the handle's value and whether it was added.
  std::pair<Value*, bool> emplace(Handle handle, Value value) {
    if (Value* found = find(handle)) return {found, false};
    if ((size_ + 1) * 4 > slots_.size() * 3) grow();
    std::size_t i = home(handle);
    while (slots_[i].value) i = next(i);
    slots_[i].key = handle;
    slots_[i].value.emplace(std::move(value));
    ++size_;
    return {&*slots_[i].value, true};
  }

  Value& operator[](Handle handle) { return *emplace(handle, Value{}).first; }

  // Removes the handle's value; false when there was none.
  bool erase(Handle handle) {
    if (size_ == 0 || handle == Handle{}) return false;
    std::size_t hole = home(handle);
    while (slots_[hole].value && !(slots_[hole].key == handle)) hole = next(hole);
    if (!slots_[hole].value) return false;
    slots_[hole].value.reset();
    --size_;
    // Entries after the hole whose probe passed it move back into it, so searches still find them.
    for (std::size_t i = next(hole); slots_[i].value; i = next(i)) {
      const std::size_t want = home(slots_[i].key);
      const bool passesHole = hole <= i ? (want <= hole || want > i) : (want <= hole && want > i);
      if (!passesHole) continue;
      slots_[hole].key = slots_[i].key;
      slots_[hole].value = std::move(slots_[i].value);
      slots_[i].value.reset();
      hole = i;
    }
    return true;
  }

  void clear() {
    slots_.clear();
    size_ = 0;
  }

 private:
  struct Slot {
    Handle key{};
    std::optional<Value> value;
  };

  // Fibonacci hashing of the handle's bits: sequential handles spread over the whole table.
  std::size_t home(Handle handle) const {
    const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
    return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> shift_);
  }
  std::size_t next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

  void grow() {
    std::vector<Slot> old = std::move(slots_);
    const std::size_t capacity = old.empty() ? 16 : old.size() * 2;
    slots_ = std::vector<Slot>(capacity);
    shift_ = 64 - std::countr_zero(capacity);
    size_ = 0;
    for (Slot& slot : old) {
      if (!slot.value) continue;
      std::size_t i = home(slot.key);
      while (slots_[i].value) i = next(i);
      slots_[i].key = slot.key;
      slots_[i].value = std::move(slot.value);
      ++size_;
    }
  }

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
  int shift_ = 64;
};

}  // namespace platform
