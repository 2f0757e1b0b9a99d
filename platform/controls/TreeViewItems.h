// The items of a tree view: a table of slots addressed by handles that carry a generation, so a
// deleted item's handle never reaches a later item; each item's children in order; and the
// flattened list of the rows that show (every item whose ancestors are all expanded), rebuilt
// only when it is asked for after a change.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/controls/WinTreeView.h"

namespace platform::controls {

using TreeSlot = std::uint32_t;

struct TreeItem {
  std::u16string text;
  bool textCallback = false;
  int image = 0;
  int selectedImage = 0;
  // cChildren as given (a count or I_CHILDRENCALLBACK); without it, whether the item has
  // children follows its child items.
  int children = 0;
  bool childrenGiven = false;
  LPARAM lParam = 0;
  UINT state = 0;
  int level = 0;           // 0 for top-level items
  int textWidth = -1;      // the measured label, -1 until measured
  bool kidsSorted = true;  // the children are in order by text, so a sorted insert can halve
  TreeSlot parent = 0;
  std::vector<TreeSlot> kids;
};

class TreeViewItems {
 public:
  static constexpr TreeSlot kRoot = 0;
  static constexpr TreeSlot kNone = 0xFFFFFFFFu;

  TreeViewItems();

  // Handles and slots. slotOf gives kNone for anything that is not a live item (TVI_ROOT too).
  HTREEITEM handle(TreeSlot slot) const;
  TreeSlot slotOf(HTREEITEM item) const;
  bool live(TreeSlot slot) const { return slot < slots_.size() && slots_[slot].live; }

  TreeItem& at(TreeSlot slot) { return slots_[slot].item; }
  const TreeItem& at(TreeSlot slot) const { return slots_[slot].item; }
  int count() const { return count_; }

  // Inserts under `parent` at `position` among its children (clamped to their count).
  TreeSlot insert(TreeSlot parent, std::size_t position, TreeItem item);
  // Takes the item out of its parent's children; it stays live (and keeps its parent) until
  // free() so that it can still be reported. Nothing to do for a detached item.
  void unlink(TreeSlot slot);
  // Empties an item's list of children and hands it over; the children are detached (still live,
  // still naming their parent) until they are freed.
  std::vector<TreeSlot> detachChildren(TreeSlot slot);
  // Frees an unlinked item; its handle is dead from now on. Its children must be gone already.
  void free(TreeSlot slot);
  // Reorders the children of an item (stable, by `less`).
  template <class Less>
  void sortChildren(TreeSlot parent, Less less);

  // Relations; kNone where there is none.
  TreeSlot parentOf(TreeSlot slot) const { return slot == kRoot ? kNone : at(slot).parent; }
  TreeSlot firstChild(TreeSlot slot) const;
  TreeSlot lastChild(TreeSlot slot) const;
  TreeSlot nextSibling(TreeSlot slot);
  TreeSlot previousSibling(TreeSlot slot);
  // The position of an item among its parent's children.
  std::size_t indexInParent(TreeSlot slot);
  bool isAncestor(TreeSlot ancestor, TreeSlot slot) const;
  // Expanded for the purpose of showing rows (the root always is).
  bool expanded(TreeSlot slot) const { return slot == kRoot || (at(slot).state & TVIS_EXPANDED); }
  // The item's ancestors are all expanded.
  bool shown(TreeSlot slot) const;

  // The rows that show, top to bottom.
  const std::vector<TreeSlot>& rows();
  // The row of an item, -1 when it does not show.
  int rowOf(TreeSlot slot);
  void rowsChanged() { rowsDirty_ = true; }
  bool rowsDirty() const { return rowsDirty_; }

  // Forgets every measured label width (the font changed).
  void forgetTextWidths();

 private:
  struct Slot {
    TreeItem item;
    std::uint32_t generation = 0;
    bool live = false;
    std::uint32_t index = 0;  // position among the parent's children, when the parent's are indexed
    std::uint32_t rowEpoch = 0;
    int row = -1;
    bool kidsIndexed = true;
    bool detached = false;
  };

  void reindex(TreeSlot parent);

  std::vector<Slot> slots_;
  std::vector<TreeSlot> freeSlots_;
  int count_ = 0;
  std::vector<TreeSlot> rows_;
  bool rowsDirty_ = false;
  std::uint32_t rowEpoch_ = 1;
};

template <class Less>
void TreeViewItems::sortChildren(TreeSlot parent, Less less) {
  std::vector<TreeSlot>& kids = at(parent).kids;
  std::stable_sort(kids.begin(), kids.end(), less);
  slots_[parent].kidsIndexed = false;
  rowsDirty_ = true;
}

}  // namespace platform::controls
