#include "platform/controls/ListViewItems.h"

#include <algorithm>

#include "platform/controls/CommCtrl.h"

namespace platform::controls {

const std::u16string& ListViewItem::textOf(int subItem) const {
  static const std::u16string empty;
  if (subItem <= 0) return text;
  const auto k = static_cast<std::size_t>(subItem - 1);
  return k < subItems.size() ? subItems[k] : empty;
}

void ListViewItem::setText(int subItem, std::u16string value) {
  if (subItem <= 0) {
    text = std::move(value);
    return;
  }
  const auto k = static_cast<std::size_t>(subItem - 1);
  if (k >= subItems.size()) subItems.resize(k + 1);
  subItems[k] = std::move(value);
}

int ListViewItems::insert(int i, ListViewItem item) {
  i = std::clamp(i, 0, count());
  const UINT state = item.state;
  item.state = 0;
  items_.insert(static_cast<std::size_t>(i), std::move(item));
  if (focused_ >= i) ++focused_;
  if (soleSelected_ >= i) ++soleSelected_;
  if (state != 0) setState(i, state);
  return i;
}

void ListViewItems::erase(int i) {
  if (!valid(i)) return;
  const UINT state = at(i).state;
  noteRemoved(i, state);
  items_.erase(static_cast<std::size_t>(i));
  if (focused_ > i) --focused_;
  if (soleSelected_ > i) --soleSelected_;
  if (selectedCount_ == 1 && soleSelected_ < 0) soleSelected_ = next(-1, LVIS_SELECTED);
}

void ListViewItems::clear() {
  items_.clear();
  focused_ = -1;
  selectedCount_ = 0;
  soleSelected_ = -1;
}

void ListViewItems::setState(int i, UINT state) {
  if (!valid(i)) return;
  const UINT old = at(i).state;
  if (old == state) return;
  // Only a change of the focus bit moves the focus: a row that merely keeps it while
  // another flag changes must not take it back from the row that gained it since.
  const UINT focusChange = (old ^ state) & LVIS_FOCUSED;
  if (focusChange && (state & LVIS_FOCUSED)) {
    focused_ = i;
  } else if (focusChange && focused_ == i) {
    focused_ = -1;
  }
  noteRemoved(i, old & ~LVIS_FOCUSED);
  items_[static_cast<std::size_t>(i)].state = state;
  noteAdded(i, state & ~LVIS_FOCUSED);
  if (selectedCount_ == 1 && soleSelected_ < 0) soleSelected_ = next(-1, LVIS_SELECTED);
}

void ListViewItems::noteAdded(int i, UINT state) {
  if (state & LVIS_FOCUSED) focused_ = i;
  if (state & LVIS_SELECTED) {
    ++selectedCount_;
    soleSelected_ = selectedCount_ == 1 ? i : -1;
  }
}

void ListViewItems::noteRemoved(int i, UINT state) {
  if ((state & LVIS_FOCUSED) && focused_ == i) focused_ = -1;
  if (state & LVIS_SELECTED) {
    --selectedCount_;
    // Leaving one selected row behind: found again lazily by the caller.
    soleSelected_ = -1;
  }
}

int ListViewItems::next(int start, UINT mask) const {
  const int from = std::max(start + 1, 0);
  if (mask == 0) return from < count() ? from : -1;
  if (mask == LVIS_FOCUSED) return focused_ >= from ? focused_ : -1;
  if (mask == LVIS_SELECTED) {
    if (selectedCount_ == 0) return -1;
    if (selectedCount_ == 1 && soleSelected_ >= 0) return soleSelected_ >= from ? soleSelected_ : -1;
  }
  for (int k = from; k < count(); ++k) {
    if ((at(k).state & mask) == mask) return k;
  }
  return -1;
}

}  // namespace platform::controls
