// The tree view window (SysTreeView32): items with text (or LPSTR_TEXTCALLBACK), images,
// lParam and a children flag (or I_CHILDRENCALLBACK), inserted first, last, sorted or after an
// item; buttons and dotted lines (TVS_HASBUTTONS, TVS_HASLINES, TVS_LINESATROOT), selection
// kept in view or shown only with focus (TVS_SHOWSELALWAYS), whole-row highlight
// (TVS_FULLROWSELECT); scroll bars when the rows are taller or wider than the window, only the
// rows in view drawn. Not built: label editing, check boxes, drag and drop, tooltips.
//
// As the handheld's tree: Up and Down move, Right expands or goes to the first child, Left
// collapses or goes to the parent, Enter (after NM_RETURN, unless the parent handles it) and a
// double tap toggle, Home, End and the page keys jump, a letter finds the next item starting with
// what was typed; a tap on a button toggles, on an image or label selects.
//
// Expansion follows Win32: a user's expand or collapse always sends TVN_ITEMEXPANDING (which may
// refuse it) and TVN_ITEMEXPANDED; TVM_EXPAND sends them only until the item has been expanded
// once (TVIS_EXPANDEDONCE), which TVE_COLLAPSERESET clears along with the children.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/TreeViewItems.h"
#include "platform/controls/TreeViewPainter.h"
#include "platform/controls/WinTreeView.h"

namespace platform::controls {

template <class Control>
class ControlTable;

class TreeView {
  friend class ControlTable<TreeView>;

 public:
  explicit TreeView(HWND hwnd);
  ~TreeView();
  TreeView(const TreeView&) = delete;
  TreeView& operator=(const TreeView&) = delete;

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static constexpr TreeSlot kNone = TreeViewItems::kNone;
  static constexpr TreeSlot kRoot = TreeViewItems::kRoot;
  static constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);

  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handleTreeMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Items.
  HTREEITEM insertItem(const TVINSERTSTRUCTW& insert);
  // Where a sorted insert of that text goes among the parent's children: before the first one
  // that sorts after it. kNoPosition when the parent went away while callback texts were asked.
  std::size_t sortedPosition(TreeSlot parent, std::u16string_view text);
  BOOL deleteItem(HTREEITEM handle);
  void deleteAll();
  // Removes an item and its children, children first, each reported with TVN_DELETEITEM.
  void removeSubtree(TreeSlot slot);
  void removeChildren(TreeSlot parent);
  void forgetReferences(TreeSlot slot);
  BOOL getItem(TVITEMW& item);
  BOOL setItem(const TVITEMW& item);
  HTREEITEM nextItem(HTREEITEM handle, UINT relation);
  BOOL sortChildren(HTREEITEM handle, bool recurse, const TVSORTCB* callback);

  // What an item shows, asking the parent (TVN_GETDISPINFO) for what it supplies itself.
  std::u16string displayText(TreeSlot slot);
  int displayImage(TreeSlot slot, bool selected);
  bool hasChildren(TreeSlot slot);
  // Asks TVN_GETDISPINFO for the fields of `mask`; false when the item went away meanwhile.
  bool askDisplayInfo(TreeSlot slot, UINT mask, NMTVDISPINFOW& info, WCHAR* buffer, int size);

  // Expansion.
  BOOL expand(TreeSlot slot, UINT action, bool byUser);
  BOOL expandItem(TreeSlot slot, bool byUser);
  BOOL collapseItem(TreeSlot slot, bool reset, bool byUser);
  BOOL toggle(TreeSlot slot, bool byUser);
  // Sends TVN_ITEMEXPANDING (the answer: refused) or TVN_ITEMEXPANDED.
  bool notifyExpand(UINT code, TreeSlot slot, UINT action);

  // Selection.
  // Makes the item the caret with TVN_SELCHANGING (which may refuse it) and TVN_SELCHANGED.
  bool select(TreeSlot slot, UINT cause);
  BOOL selectItem(UINT code, HTREEITEM handle);
  void setCaretQuietly(TreeSlot slot);

  // Geometry.
  // Measures the label of every row that shows and has not been measured yet, with one DC.
  void measure();
  int itemHeight();
  int rowCount() { return static_cast<int>(items_.rows().size()); }
  RECT clientRect() const;
  int pageRows();
  int topRow();
  int maxTopRow();
  int textWidth(TreeSlot slot);
  int measureText(std::u16string_view text, bool bold);
  int contentWidth();
  TreeViewGeometry geometry();
  bool getItemRect(RECT& rect, bool textOnly);
  TreeSlot hitTest(TVHITTESTINFO& info);

  // Scrolling and redrawing.
  void setTopRow(int row);
  void setScrollX(int x);
  // Brings the item into view, expanding its ancestors; true when it scrolled and expanded none.
  bool ensureVisible(TreeSlot slot);
  void layoutChanged();
  void updateScrollBars();
  void invalidateItem(TreeSlot slot);
  void invalidateAll();
  void onScroll(int bar, int code);

  // Input.
  void onKeyDown(WPARAM vk);
  void onChar(WPARAM ch);
  void onLButtonDown(LPARAM lParam, bool doubleTap);
  void onLButtonUp(LPARAM lParam);

  // Painting.
  void paint();
  TreeViewLook look();
  HFONT font() const;
  HFONT boldFont();
  TreeViewRow describeRow(TreeSlot slot, std::u16string& text);

  // Notifications.
  LRESULT notify(NMHDR& header, UINT code);
  LRESULT notifyTreeView(UINT code, UINT action, TreeSlot oldItem, TreeSlot newItem, UINT mask, POINT pt = {0, 0});
  void describeForNotify(TVITEMW& out, TreeSlot slot, UINT mask, std::u16string& text);
  DWORD style() const;

  HWND hwnd_;
  // The parent may destroy the window while a notification is out; the object lives on until
  // the outermost message returns.
  bool dead_ = false;
  int depth_ = 0;
  TreeViewItems items_;
  TreeSlot caret_ = kNone;
  TreeSlot dropTarget_ = kNone;
  TreeSlot firstVisible_ = kNone;  // the item in the top row
  int scrollX_ = 0;
  HIMAGELIST images_ = nullptr;
  HIMAGELIST stateImages_ = nullptr;
  HFONT font_ = nullptr;
  HFONT boldFont_ = nullptr;  // made from font_, owned
  int itemHeight_ = 0;        // 0 until measured
  int customItemHeight_ = 0;  // set by TVM_SETITEMHEIGHT; 0 for the natural height
  int indent_ = 0;
  COLORREF bkColor_ = CLR_NONE;
  COLORREF textColor_ = CLR_NONE;
  COLORREF lineColor_ = CLR_DEFAULT;
  bool redraw_ = true;
  bool layoutDirty_ = true;
  bool updatingScroll_ = false;
  int contentWidth_ = -1;     // -1 until measured
  TreeSlot pressed_ = kNone;  // the item the stylus went down on
  std::u16string search_;
  DWORD searchTime_ = 0;
};

}  // namespace platform::controls
