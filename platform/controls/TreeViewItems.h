// The items of a tree view: a table of slots addressed by handles that carry a generation, so a
// deleted item's handle never reaches a later item; each item's children in order; and the
// flattened list of the rows that show (every item whose ancestors are all expanded), rebuilt
// only when it is asked for after a change.
//
// Sorted inserts among siblings that are in order are only appended; they are merged into place
// the next time the order is read, so filling a folder of thousands costs one sort, not a move
// of the whole list per item. The order is the one inserting them one by one gives: each after
// the siblings that sort equal to it.
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
  int level = 0;       // 0 for top-level items
  int textWidth = -1;  // the measured label, -1 until measured
  TreeSlot parent = 0;
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

  // The children in order.
  const std::vector<TreeSlot>& children(TreeSlot slot);
  std::size_t childCount(TreeSlot slot) const { return slots_[slot].kids.size(); }
  // The children are in order by text (none supplied by the parent window), so a sorted insert
  // can find its place by halving.
  bool childrenSorted(TreeSlot slot) const { return slots_[slot].sorted; }
  void childrenUnsorted(TreeSlot slot) { slots_[slot].sorted = false; }

  // Inserts under `parent` at `position` among its children (clamped to their count).
  TreeSlot insert(TreeSlot parent, std::size_t position, TreeItem item);
  // Inserts among children that are in order, after the ones that sort before or equal to it.
  // Only for children in order and an item with a text of its own.
  TreeSlot insertSorted(TreeSlot parent, TreeItem item);
  // Takes the item out of its parent's children; it stays live (and keeps its parent) until
  // free() so that it can still be reported. Nothing to do for a detached item.
  void unlink(TreeSlot slot);
  // Empties an item's list of children and hands it over; the children are detached (still live,
  // still naming their parent) until they are freed.
  std::vector<TreeSlot> detachChildren(TreeSlot slot);
  // Frees an unlinked item; its handle is dead from now on. Its children must be gone already.
  void free(TreeSlot slot);
  // Reorders the children of an item (stable, by `less`); `byText` when that is their text order.
  template <class Less>
  void sortChildren(TreeSlot parent, Less less, bool byText);

  // Relations; kNone where there is none.
  TreeSlot parentOf(TreeSlot slot) const { return slot == kRoot ? kNone : at(slot).parent; }
  TreeSlot firstChild(TreeSlot slot);
  TreeSlot lastChild(TreeSlot slot);
  TreeSlot nextSibling(TreeSlot slot);
  TreeSlot previousSibling(TreeSlot slot);
  // The position of an item among its parent's children.
  std::size_t indexInParent(TreeSlot slot);
  bool isAncestor(TreeSlot ancestor, TreeSlot slot) const;
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
    std::vector<TreeSlot> kids;
    std::size_t pending = 0;  // sorted inserts at the end of kids, not merged yet
    bool sorted = true;
    std::uint32_t generation = 0;
    bool live = false;
    std::uint32_t index = 0;  // position among the parent's children, when the parent's are indexed
    std::uint32_t rowEpoch = 0;
    int row = -1;
    bool kidsIndexed = true;
    bool detached = false;
  };

  TreeSlot allocate(TreeSlot parent, TreeItem item);
  // Merges the pending sorted inserts into place.
  void settle(TreeSlot parent);
  void reindex(TreeSlot parent);
  bool textBefore(TreeSlot a, TreeSlot b) const;

  std::vector<Slot> slots_;
  std::vector<TreeSlot> freeSlots_;
  int count_ = 0;
  std::vector<TreeSlot> rows_;
  bool rowsDirty_ = false;
  std::uint32_t rowEpoch_ = 1;
};

template <class Less>
void TreeViewItems::sortChildren(TreeSlot parent, Less less, bool byText) {
  settle(parent);
  std::vector<TreeSlot>& kids = slots_[parent].kids;
  std::stable_sort(kids.begin(), kids.end(), less);
  slots_[parent].kidsIndexed = false;
  slots_[parent].sorted = byText;
  rowsDirty_ = true;
}

}  // namespace platform::controls
