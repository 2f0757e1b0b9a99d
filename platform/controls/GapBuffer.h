// A sequence with a movable gap: inserting or erasing next to the previous edit costs O(1)
// amortised, so filling a list in order, or emptying it from either end, stays linear.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace platform::controls {

template <typename T>
class GapBuffer {
 public:
  std::size_t size() const { return store_.size() - gapLength(); }
  bool empty() const { return size() == 0; }

  T& operator[](std::size_t i) { return store_[physical(i)]; }
  const T& operator[](std::size_t i) const { return store_[physical(i)]; }

  // Inserts before position i (i == size() appends).
  void insert(std::size_t i, T value) {
    if (gapLength() == 0) grow();
    moveGap(i);
    store_[gapStart_] = std::move(value);
    ++gapStart_;
  }

  void erase(std::size_t i) {
    moveGap(i);
    store_[gapEnd_] = T{};
    ++gapEnd_;
  }

  // Makes room for `count` elements in all, so that inserting up to that many moves none.
  void reserve(std::size_t count) {
    if (count > store_.size()) resize(count);
  }

  void clear() {
    store_.clear();
    store_.shrink_to_fit();
    gapStart_ = gapEnd_ = 0;
  }

 private:
  std::size_t gapLength() const { return gapEnd_ - gapStart_; }
  std::size_t physical(std::size_t i) const { return i < gapStart_ ? i : i + gapLength(); }

  void moveGap(std::size_t i) {
    const std::size_t gap = gapLength();
    if (i < gapStart_) {
      for (std::size_t k = gapStart_; k > i; --k) store_[k - 1 + gap] = std::move(store_[k - 1]);
    } else {
      for (std::size_t k = gapStart_; k < i; ++k) store_[k] = std::move(store_[k + gap]);
    }
    gapStart_ = i;
    gapEnd_ = i + gap;
  }

  void grow() {
    const std::size_t used = size();
    resize(used < 8 ? 16 : used * 2);
  }

  // The gap takes up every added slot.
  void resize(std::size_t capacity) {
    std::vector<T> bigger(capacity);
    for (std::size_t k = 0; k < gapStart_; ++k) bigger[k] = std::move(store_[k]);
    const std::size_t tail = store_.size() - gapEnd_;
    for (std::size_t k = 0; k < tail; ++k) bigger[capacity - tail + k] = std::move(store_[gapEnd_ + k]);
    store_ = std::move(bigger);
    gapEnd_ = capacity - tail;
  }

  std::vector<T> store_;
  std::size_t gapStart_ = 0;
  std::size_t gapEnd_ = 0;
};

}  // namespace platform::controls
