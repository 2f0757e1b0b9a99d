#include "platform/controls/TreeViewItems.h"

#include "platform/base/TextCase.h"

namespace platform::controls {

namespace {

// Generations stay below the top bit, so no handle can look like TVI_ROOT and its kin.
constexpr std::uint32_t kLastGeneration = 0x7FFFFFFFu;

}  // namespace

TreeViewItems::TreeViewItems() {
  slots_.emplace_back();
  slots_[kRoot].live = true;
  slots_[kRoot].generation = 1;
  slots_[kRoot].item.state = TVIS_EXPANDED;
  slots_[kRoot].item.level = -1;
}

HTREEITEM TreeViewItems::handle(TreeSlot slot) const {
  if (slot == kRoot || !live(slot)) return nullptr;
  const auto value = static_cast<std::uintptr_t>(slots_[slot].generation) << 32 | slot;
  return reinterpret_cast<HTREEITEM>(value);
}

TreeSlot TreeViewItems::slotOf(HTREEITEM item) const {
  const auto value = reinterpret_cast<std::uintptr_t>(item);
  const auto slot = static_cast<TreeSlot>(value & 0xFFFFFFFFu);
  const auto generation = static_cast<std::uint32_t>(value >> 32);
  if (slot == kRoot || slot >= slots_.size() || !slots_[slot].live || slots_[slot].generation != generation) {
    return kNone;
  }
  return slot;
}

bool TreeViewItems::textBefore(TreeSlot a, TreeSlot b) const {
  return platform::compareIgnoringCase(at(a).text, at(b).text) < 0;
}

const std::vector<TreeSlot>& TreeViewItems::children(TreeSlot slot) {
  settle(slot);
  return slots_[slot].kids;
}

void TreeViewItems::settle(TreeSlot parent) {
  Slot& p = slots_[parent];
  if (p.pending == 0) return;
  // Each text is folded once, and the keys compared as they are: the order of compareIgnoringCase.
  struct Keyed {
    std::u16string key;
    TreeSlot slot;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(p.kids.size());
  for (TreeSlot kid : p.kids) keyed.push_back(Keyed{platform::upperCase(at(kid).text), kid});
  const auto less = [](const Keyed& a, const Keyed& b) { return a.key < b.key; };
  const auto middle = keyed.end() - static_cast<std::ptrdiff_t>(p.pending);
  // New ones among themselves in the order they came, then after the equal ones already there.
  std::stable_sort(middle, keyed.end(), less);
  std::inplace_merge(keyed.begin(), middle, keyed.end(), less);
  for (std::size_t i = 0; i < keyed.size(); ++i) p.kids[i] = keyed[i].slot;
  p.pending = 0;
  p.kidsIndexed = false;
}

TreeSlot TreeViewItems::allocate(TreeSlot parent, TreeItem item) {
  TreeSlot slot;
  if (!freeSlots_.empty()) {
    slot = freeSlots_.back();
    freeSlots_.pop_back();
  } else {
    slot = static_cast<TreeSlot>(slots_.size());
    slots_.emplace_back();
  }
  Slot& s = slots_[slot];
  s.live = true;
  ++s.generation;
  s.kids.clear();
  s.pending = 0;
  s.sorted = true;
  s.kidsIndexed = true;
  s.row = -1;
  s.rowEpoch = 0;
  item.parent = parent;
  item.level = at(parent).level + 1;
  s.item = std::move(item);
  ++count_;
  return slot;
}

TreeSlot TreeViewItems::insert(TreeSlot parent, std::size_t position, TreeItem item) {
  settle(parent);
  const TreeSlot slot = allocate(parent, std::move(item));
  Slot& p = slots_[parent];
  position = std::min(position, p.kids.size());
  if (p.sorted) {
    // Still in order when the new one sorts between its neighbours.
    const bool afterPrevious = position == 0 || !textBefore(slot, p.kids[position - 1]);
    const bool beforeNext = position == p.kids.size() || !textBefore(p.kids[position], slot);
    p.sorted = !at(slot).textCallback && afterPrevious && beforeNext;
  }
  p.kids.insert(p.kids.begin() + static_cast<std::ptrdiff_t>(position), slot);
  if (position + 1 == p.kids.size()) {
    slots_[slot].index = static_cast<std::uint32_t>(position);
  } else {
    p.kidsIndexed = false;
  }
  if (shown(slot)) rowsDirty_ = true;
  return slot;
}

TreeSlot TreeViewItems::insertSorted(TreeSlot parent, TreeItem item) {
  const TreeSlot slot = allocate(parent, std::move(item));
  Slot& p = slots_[parent];
  p.kids.push_back(slot);
  ++p.pending;
  p.kidsIndexed = false;
  if (shown(slot)) rowsDirty_ = true;
  return slot;
}

void TreeViewItems::unlink(TreeSlot slot) {
  if (slots_[slot].detached) return;
  const TreeSlot parent = at(slot).parent;
  if (shown(slot)) rowsDirty_ = true;
  settle(parent);
  std::vector<TreeSlot>& kids = slots_[parent].kids;
  const std::size_t i = indexInParent(slot);
  if (i < kids.size() && kids[i] == slot) {
    kids.erase(kids.begin() + static_cast<std::ptrdiff_t>(i));
    if (i < kids.size()) slots_[parent].kidsIndexed = false;
  }
}

std::vector<TreeSlot> TreeViewItems::detachChildren(TreeSlot slot) {
  settle(slot);
  Slot& s = slots_[slot];
  std::vector<TreeSlot> kids = std::move(s.kids);
  s.kids.clear();
  s.sorted = true;
  s.kidsIndexed = true;
  for (TreeSlot kid : kids) slots_[kid].detached = true;
  if (!kids.empty() && (slot == kRoot || ((s.item.state & TVIS_EXPANDED) && shown(slot)))) rowsDirty_ = true;
  return kids;
}

void TreeViewItems::free(TreeSlot slot) {
  Slot& s = slots_[slot];
  s.live = false;
  s.detached = false;
  s.item = TreeItem{};
  s.kids.clear();
  s.pending = 0;
  --count_;
  if (s.generation < kLastGeneration) freeSlots_.push_back(slot);
}

TreeSlot TreeViewItems::firstChild(TreeSlot slot) {
  const std::vector<TreeSlot>& kids = children(slot);
  return kids.empty() ? kNone : kids.front();
}

TreeSlot TreeViewItems::lastChild(TreeSlot slot) {
  const std::vector<TreeSlot>& kids = children(slot);
  return kids.empty() ? kNone : kids.back();
}

void TreeViewItems::reindex(TreeSlot parent) {
  settle(parent);
  const std::vector<TreeSlot>& kids = slots_[parent].kids;
  for (std::size_t i = 0; i < kids.size(); ++i) slots_[kids[i]].index = static_cast<std::uint32_t>(i);
  slots_[parent].kidsIndexed = true;
}

std::size_t TreeViewItems::indexInParent(TreeSlot slot) {
  const TreeSlot parent = at(slot).parent;
  settle(parent);
  if (!slots_[parent].kidsIndexed) reindex(parent);
  return slots_[slot].index;
}

TreeSlot TreeViewItems::nextSibling(TreeSlot slot) {
  if (slot == kRoot || slots_[slot].detached) return kNone;
  const std::size_t i = indexInParent(slot) + 1;
  const std::vector<TreeSlot>& kids = slots_[at(slot).parent].kids;
  return i < kids.size() ? kids[i] : kNone;
}

TreeSlot TreeViewItems::previousSibling(TreeSlot slot) {
  if (slot == kRoot || slots_[slot].detached) return kNone;
  const std::size_t i = indexInParent(slot);
  const std::vector<TreeSlot>& kids = slots_[at(slot).parent].kids;
  return i > 0 && i <= kids.size() ? kids[i - 1] : kNone;
}

bool TreeViewItems::isAncestor(TreeSlot ancestor, TreeSlot slot) const {
  if (slot == kRoot || slot == kNone) return false;
  for (TreeSlot p = at(slot).parent; p != kRoot; p = at(p).parent) {
    if (p == ancestor) return true;
  }
  return ancestor == kRoot;
}

bool TreeViewItems::shown(TreeSlot slot) const {
  for (TreeSlot p = at(slot).parent; p != kRoot; p = at(p).parent) {
    if (!(at(p).state & TVIS_EXPANDED)) return false;
  }
  return true;
}

const std::vector<TreeSlot>& TreeViewItems::rows() {
  if (!rowsDirty_) return rows_;
  rows_.clear();
  ++rowEpoch_;
  // Depth first, children in order: a stack of the next child to visit at each level.
  std::vector<std::pair<TreeSlot, std::size_t>> stack;
  settle(kRoot);
  stack.emplace_back(kRoot, 0);
  while (!stack.empty()) {
    auto& [parent, next] = stack.back();
    const std::vector<TreeSlot>& kids = slots_[parent].kids;
    if (next >= kids.size()) {
      stack.pop_back();
      continue;
    }
    const TreeSlot slot = kids[next++];
    Slot& s = slots_[slot];
    s.row = static_cast<int>(rows_.size());
    s.rowEpoch = rowEpoch_;
    rows_.push_back(slot);
    if ((s.item.state & TVIS_EXPANDED) && !s.kids.empty()) {
      settle(slot);
      stack.emplace_back(slot, 0);
    }
  }
  rowsDirty_ = false;
  return rows_;
}

int TreeViewItems::rowOf(TreeSlot slot) {
  if (slot == kRoot || !live(slot)) return -1;
  rows();
  const Slot& s = slots_[slot];
  return s.rowEpoch == rowEpoch_ ? s.row : -1;
}

void TreeViewItems::forgetTextWidths() {
  for (Slot& s : slots_) s.item.textWidth = -1;
}

}  // namespace platform::controls
