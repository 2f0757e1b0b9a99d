// The items of a list box or of a combo box's list: a text and a data value each, in order.
// Inserting next to the previous insertion costs O(1) amortised, so a list is filled in linear
// time whether it is appended to or kept sorted.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/WinTypes.h"
#include "platform/controls/GapBuffer.h"

namespace platform::controls {

struct ListBoxItem {
  std::u16string text;
  LPARAM data = 0;
};

class ListBoxItems {
 public:
  int count() const { return static_cast<int>(items_.size()); }
  bool valid(int i) const { return i >= 0 && i < count(); }
  const ListBoxItem& at(int i) const { return items_[static_cast<std::size_t>(i)]; }

  // Where a text goes in a list kept in order (case ignored): after the texts that sort before
  // it or with it, so equal texts keep the order they came in.
  int sortedPosition(std::u16string_view text) const;
  void insert(int i, std::u16string text);
  void erase(int i);
  void clear() { items_.clear(); }
  void setData(int i, LPARAM data) { items_[static_cast<std::size_t>(i)].data = data; }

  // The first item after `start` (from the first when start is -1 or out of range), going on
  // from the top up to `start` itself, whose text equals `text` or begins with `prefix`, case
  // ignored; -1 when there is none.
  int findExact(int start, std::u16string_view text) const;
  int findPrefix(int start, std::u16string_view prefix) const;

 private:
  template <typename Match>
  int find(int start, Match match) const;

  GapBuffer<ListBoxItem> items_;
};

}  // namespace platform::controls
