// Constant-time lookup from a 32-bit identifier to a value (the first item holding it), with the
// number of items that hold it. Open addressing in one flat array: rebuilding it after every sort of a large
// collection costs no allocation per item.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/sys/BulkAllocator.h"
#include "store/RecordId.h"

namespace pellucard {

template <class Value>
class IdIndex {
 public:
  struct Entry {
    RecordId id = 0;
    std::uint32_t count = 0;  // 0: the slot is free
    Value first{};
  };

  // Empties the index, sized for n identifiers: at most two thirds of the slots are used, which
  // keeps probes short while a table of 100,000 items stays small enough to build quickly.
  void reset(std::size_t n) {
    slots_.assign(std::max<std::size_t>(16, n + n / 2 + 2), Entry{});
    size_ = 0;
  }

  // Empties the index and adds the identifiers of count items, ids(i) giving the i-th. Fetches the
  // slots a few items ahead, as ascending identifiers land all over the array.
  template <class Ids, class Values>
  void assign(std::size_t count, Ids&& ids, Values&& values) {
    reset(count);
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < count; ++i) {
      if (i + kAhead < count) __builtin_prefetch(&slots_[home(ids(i + kAhead))], 1);
      add(ids(i), values(i));
    }
  }

  Entry* find(RecordId id) {
    if (slots_.empty()) return nullptr;
    for (std::size_t i = home(id);; i = next(i)) {
      Entry& e = slots_[i];
      if (e.count == 0) return nullptr;
      if (e.id == id) return &e;
    }
  }
  const Entry* find(RecordId id) const { return const_cast<IdIndex*>(this)->find(id); }

  // Counts one more item with that identifier; the first one added stays the first.
  void add(RecordId id, Value value) {
    if ((size_ + 1) * 3 > slots_.size() * 2) grow();
    for (std::size_t i = home(id);; i = next(i)) {
      Entry& e = slots_[i];
      if (e.count == 0) {
        e = Entry{id, 1, value};
        ++size_;
        return;
      }
      if (e.id == id) {
        ++e.count;
        return;
      }
    }
  }

  // Removes the entry, moving later entries of its probe run back so that lookups still find them.
  void erase(Entry* entry) {
    std::size_t hole = static_cast<std::size_t>(entry - slots_.data());
    slots_[hole] = Entry{};
    --size_;
    for (std::size_t i = next(hole); slots_[i].count != 0; i = next(i)) {
      const std::size_t want = home(slots_[i].id);
      // Move back when the hole lies on the way from the entry's home slot to where it is.
      const bool between = hole <= i ? (want <= hole || want > i) : (want <= hole && want > i);
      if (between) {
        slots_[hole] = slots_[i];
        slots_[i] = Entry{};
        hole = i;
      }
    }
  }

 private:
  // Fibonacci hashing scaled onto the slot count, which need not be a power of two.
  std::size_t home(RecordId id) const {
    const std::uint64_t mixed = static_cast<std::uint64_t>(id) * 0x9E3779B97F4A7C15ULL;
    return static_cast<std::size_t>((static_cast<Wide>(mixed) * slots_.size()) >> 64);
  }
  std::size_t next(std::size_t i) const { return i + 1 == slots_.size() ? 0 : i + 1; }

  void grow() {
    auto old = std::move(slots_);
    reset(old.size() * 4 / 3 + 1);
    for (const Entry& e : old) {
      if (e.count == 0) continue;
      for (std::size_t i = home(e.id);; i = next(i)) {
        if (slots_[i].count == 0) {
          slots_[i] = e;
          ++size_;
          break;
        }
      }
    }
  }

  __extension__ typedef unsigned __int128 Wide;

  std::vector<Entry, platform::sys::BulkAllocator<Entry>> slots_;
  std::size_t size_ = 0;
};

}  // namespace pellucard
