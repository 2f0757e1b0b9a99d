#include "platform/controls/TreeViewItems.h"

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

TreeSlot TreeViewItems::insert(TreeSlot parent, std::size_t position, TreeItem item) {
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
  s.kidsIndexed = true;
  s.row = -1;
  s.rowEpoch = 0;
  item.parent = parent;
  item.level = at(parent).level + 1;
  item.kids.clear();
  s.item = std::move(item);

  std::vector<TreeSlot>& kids = at(parent).kids;
  position = std::min(position, kids.size());
  kids.insert(kids.begin() + static_cast<std::ptrdiff_t>(position), slot);
  if (position + 1 == kids.size()) {
    s.index = static_cast<std::uint32_t>(position);
  } else {
    slots_[parent].kidsIndexed = false;
  }
  ++count_;
  if (shown(slot)) rowsDirty_ = true;
  return slot;
}

void TreeViewItems::unlink(TreeSlot slot) {
  if (slots_[slot].detached) return;
  const TreeSlot parent = at(slot).parent;
  if (shown(slot)) rowsDirty_ = true;
  std::vector<TreeSlot>& kids = at(parent).kids;
  const std::size_t i = indexInParent(slot);
  if (i < kids.size() && kids[i] == slot) {
    kids.erase(kids.begin() + static_cast<std::ptrdiff_t>(i));
    if (i < kids.size()) slots_[parent].kidsIndexed = false;
  }
}

std::vector<TreeSlot> TreeViewItems::detachChildren(TreeSlot slot) {
  std::vector<TreeSlot> kids = std::move(at(slot).kids);
  at(slot).kids.clear();
  for (TreeSlot kid : kids) slots_[kid].detached = true;
  if (!kids.empty() && expanded(slot) && (slot == kRoot || shown(slot))) rowsDirty_ = true;
  slots_[slot].kidsIndexed = true;
  return kids;
}

void TreeViewItems::free(TreeSlot slot) {
  Slot& s = slots_[slot];
  s.live = false;
  s.detached = false;
  s.item = TreeItem{};
  --count_;
  if (s.generation < kLastGeneration) freeSlots_.push_back(slot);
}

TreeSlot TreeViewItems::firstChild(TreeSlot slot) const {
  const std::vector<TreeSlot>& kids = at(slot).kids;
  return kids.empty() ? kNone : kids.front();
}

TreeSlot TreeViewItems::lastChild(TreeSlot slot) const {
  const std::vector<TreeSlot>& kids = at(slot).kids;
  return kids.empty() ? kNone : kids.back();
}

void TreeViewItems::reindex(TreeSlot parent) {
  const std::vector<TreeSlot>& kids = at(parent).kids;
  for (std::size_t i = 0; i < kids.size(); ++i) slots_[kids[i]].index = static_cast<std::uint32_t>(i);
  slots_[parent].kidsIndexed = true;
}

std::size_t TreeViewItems::indexInParent(TreeSlot slot) {
  const TreeSlot parent = at(slot).parent;
  if (!slots_[parent].kidsIndexed) reindex(parent);
  return slots_[slot].index;
}

TreeSlot TreeViewItems::nextSibling(TreeSlot slot) {
  if (slot == kRoot) return kNone;
  const std::vector<TreeSlot>& kids = at(at(slot).parent).kids;
  const std::size_t i = indexInParent(slot) + 1;
  return i < kids.size() ? kids[i] : kNone;
}

TreeSlot TreeViewItems::previousSibling(TreeSlot slot) {
  if (slot == kRoot) return kNone;
  const std::vector<TreeSlot>& kids = at(at(slot).parent).kids;
  const std::size_t i = indexInParent(slot);
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
  stack.emplace_back(kRoot, 0);
  while (!stack.empty()) {
    auto& [parent, next] = stack.back();
    const std::vector<TreeSlot>& kids = at(parent).kids;
    if (next >= kids.size()) {
      stack.pop_back();
      continue;
    }
    const TreeSlot slot = kids[next++];
    Slot& s = slots_[slot];
    s.row = static_cast<int>(rows_.size());
    s.rowEpoch = rowEpoch_;
    rows_.push_back(slot);
    if ((s.item.state & TVIS_EXPANDED) && !s.item.kids.empty()) stack.emplace_back(slot, 0);
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
