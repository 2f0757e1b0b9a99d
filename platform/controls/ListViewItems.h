// The rows of a list view: text, sub-item texts, image, lParam and state, with the focused
// row and the selection kept at hand so that the usual questions cost O(1).
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/controls/GapBuffer.h"

namespace platform::controls {

struct ListViewItem {
  std::u16string text;
  std::vector<std::u16string> subItems;  // sub-item k (k >= 1) at k - 1
  int image = 0;
  LPARAM lParam = 0;
  UINT state = 0;
  int indent = 0;

  const std::u16string& textOf(int subItem) const;
  void setText(int subItem, std::u16string value);
};

class ListViewItems {
 public:
  int count() const { return static_cast<int>(items_.size()); }
  bool valid(int i) const { return i >= 0 && i < count(); }
  const ListViewItem& at(int i) const { return items_[static_cast<std::size_t>(i)]; }
  // Everything but the state, which goes through setState.
  ListViewItem& edit(int i) { return items_[static_cast<std::size_t>(i)]; }

  // Inserts at min(max(i, 0), count()) and returns that position. The item's state is kept.
  int insert(int i, ListViewItem item);
  void erase(int i);
  void clear();
  // Room for `total` rows, so that a fill of that many moves no row. Only a hint: a count beyond
  // any real list is not taken at its word, rows past it make room as they come.
  void reserve(int total) { items_.reserve(static_cast<std::size_t>(std::clamp(total, 0, kMaxReserved))); }

  void setState(int i, UINT state);

  int focused() const { return focused_; }
  int selectedCount() const { return selectedCount_; }
  // The first row after `start` (-1: from the top) whose state has every bit of `mask`; -1 if none.
  int next(int start, UINT mask) const;

 private:
  static constexpr int kMaxReserved = 1 << 20;

  void noteAdded(int i, UINT state);
  void noteRemoved(int i, UINT state);

  GapBuffer<ListViewItem> items_;
  int focused_ = -1;
  int selectedCount_ = 0;
  int soleSelected_ = -1;  // the selected row while exactly one is selected
};

}  // namespace platform::controls
