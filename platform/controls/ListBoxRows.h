// What the list box and the combo box's drop-down list share: the items, the selected row, the
// first row shown and the row height, with the geometry and keyboard rules of a list of rows
// of one height, and the drawing of the visible rows.
#pragma once

#include <string>

#include "platform/controls/ListBoxItems.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {

class ListBoxRows {
 public:
  ListBoxItems& items() { return items_; }
  const ListBoxItems& items() const { return items_; }
  int count() const { return items_.count(); }

  int selected() const { return selected_; }
  // -1 clears the selection; an index out of range is ignored.
  void setSelected(int i);

  int top() const { return top_; }
  int itemHeight() const { return itemHeight_; }
  void setItemHeight(int height) { itemHeight_ = height > 0 ? height : 1; }

  // Rows wholly visible in a client area this high; at least 1.
  int perPage(int clientHeight) const;
  int maxTop(int clientHeight) const;
  // Clamps to the rows there are; true when the first row shown changed.
  bool setTop(int top, int clientHeight);
  // Scrolls the least that shows row i whole; true when it scrolled.
  bool ensureVisible(int i, int clientHeight);
  // The row at a client y, or -1.
  int rowAt(int y) const;
  RECT rowRect(int i, int width) const;
  // Where a navigation key (arrows, Home, End, Page Up, Page Down) takes the selection, or -1
  // for any other key or an empty list.
  int keyTarget(UINT vk, int clientHeight) const;

  // Inserting and removing keep the same item selected and the first row shown within range.
  // insert returns the index the text took (-1 appends); -1 when `at` is out of range.
  int insert(int at, std::u16string text);
  bool erase(int i);
  void clear();

 private:
  ListBoxItems items_;
  int selected_ = -1;
  int top_ = 0;
  int itemHeight_ = 16;
};

struct ListRowLook {
  HFONT font = nullptr;
  HBRUSH background = nullptr;
  COLORREF text = 0;
  COLORREF highlight = 0;
  COLORREF highlightText = 0;
  int padding = 2;  // left and right of the text
};

// Draws the rows visible in `client` (the rest in the background) with row `marked` (-1: none)
// in the highlight colours.
void drawListBoxRows(HDC hdc, const ListBoxRows& rows, const RECT& client, int marked, const ListRowLook& look);

}  // namespace platform::controls
