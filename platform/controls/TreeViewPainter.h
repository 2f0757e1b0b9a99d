// Drawing of tree view rows from a plain description: what each row shows and the look of the
// whole tree. It draws and decides nothing else, so the window's state never leaks into it.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "platform/controls/TreeViewGeometry.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {

struct TreeViewRow {
  int level = 0;
  std::u16string_view text;
  int textWidth = 0;
  int image = -1;       // index in the image list; none when outside it
  int stateImage = 0;   // 1-based index in the state image list; 0 for none
  bool button = false;  // the item has children
  bool expanded = false;
  bool highlighted = false;  // drawn in the highlight colours (selected, or a drop target)
  bool dimmedImage = false;  // the image blended with the highlight colour (cut, drop target)
  bool bold = false;
  bool lineUp = false;    // its line reaches up to a sibling above or to its parent
  bool lineDown = false;  // a sibling follows below
  // For each level above the row's own: an ancestor there has a sibling below, so that
  // ancestor's line passes through the row.
  std::vector<bool> throughLines;
};

struct TreeViewLook {
  TreeViewGeometry geometry;
  int width = 0;  // of the client area
  int buttonSize = 9;
  HFONT font = nullptr;
  HFONT boldFont = nullptr;
  HIMAGELIST images = nullptr;
  int imageHeight = 0;
  HIMAGELIST stateImages = nullptr;
  int stateImageHeight = 0;
  COLORREF background = RGB(255, 255, 255);
  COLORREF text = RGB(0, 0, 0);
  COLORREF line = RGB(128, 128, 128);
  COLORREF buttonFrame = RGB(128, 128, 128);
  COLORREF highlight = RGB(0, 0, 128);
  COLORREF highlightText = RGB(255, 255, 255);
  bool buttons = false;
  bool lines = false;
  bool fullRowSelect = false;
};

// Draws the rows one below the other, the first with its top at firstTop.
void paintTreeViewRows(HDC hdc, const TreeViewLook& look, std::span<const TreeViewRow> rows, int firstTop);

}  // namespace platform::controls
