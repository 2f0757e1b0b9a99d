#include "platform/controls/TreeViewPainter.h"

#include <algorithm>

#include "platform/controls/WinImageList.h"
#include "platform/gdi/MemoryDc.h"

namespace platform::controls {

namespace {

void fill(HDC hdc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(hdc, &rect, brush);
  DeleteObject(brush);
}

// Lines are dotted on every other pixel of the client area, so they join up across rows
// (rows have even heights).
void dottedVertical(HDC hdc, int x, int top, int bottom, COLORREF color) {
  for (int y = top + ((x + top) & 1); y < bottom; y += 2) SetPixel(hdc, x, y, color);
}

void dottedHorizontal(HDC hdc, int y, int left, int right, COLORREF color) {
  for (int x = left + ((left + y) & 1); x < right; x += 2) SetPixel(hdc, x, y, color);
}

bool hasColumn(const TreeViewLook& look, int level) { return level > 0 || look.geometry.rootColumn; }

void drawLines(HDC hdc, const TreeViewLook& look, const TreeViewRow& row, int top) {
  const TreeViewGeometry& g = look.geometry;
  const int bottom = top + g.itemHeight;
  const int middle = top + g.itemHeight / 2;
  for (int level = 0; level < row.level && level < static_cast<int>(row.throughLines.size()); ++level) {
    if (row.throughLines[static_cast<std::size_t>(level)] && hasColumn(look, level)) {
      dottedVertical(hdc, g.linesLeft(level) + g.indent / 2, top, bottom, look.line);
    }
  }
  if (!hasColumn(look, row.level)) return;
  const int x = g.linesLeft(row.level) + g.indent / 2;
  dottedVertical(hdc, x, row.lineUp ? top : middle, row.lineDown ? bottom : middle + 1, look.line);
  dottedHorizontal(hdc, middle, x, g.stateLeft(row.level), look.line);
}

void drawButton(HDC hdc, const TreeViewLook& look, const TreeViewRow& row, int top) {
  const TreeViewGeometry& g = look.geometry;
  const int size = look.buttonSize | 1;  // odd, so the sign sits in the middle
  const int cx = g.linesLeft(row.level) + g.indent / 2;
  const int cy = top + g.itemHeight / 2;
  const RECT box{cx - size / 2, cy - size / 2, cx + size / 2 + 1, cy + size / 2 + 1};
  fill(hdc, box, look.background);
  HBRUSH frame = CreateSolidBrush(look.buttonFrame);
  FrameRect(hdc, &box, frame);
  DeleteObject(frame);
  const int stroke = std::max(1, size / 9);
  const int arm = size / 2 - 2 * stroke;
  fill(hdc, RECT{cx - arm, cy - stroke / 2, cx + arm + 1, cy - stroke / 2 + stroke}, look.text);
  if (!row.expanded) fill(hdc, RECT{cx - stroke / 2, cy - arm, cx - stroke / 2 + stroke, cy + arm + 1}, look.text);
}

void drawImages(HDC hdc, const TreeViewLook& look, const TreeViewRow& row, int top) {
  const TreeViewGeometry& g = look.geometry;
  if (look.stateImages != nullptr && row.stateImage > 0) {
    ImageList_Draw(look.stateImages, row.stateImage, hdc, g.stateLeft(row.level),
                   top + (g.itemHeight - look.stateImageHeight) / 2, ILD_TRANSPARENT);
  }
  if (look.images != nullptr && row.image >= 0 && row.image < ImageList_GetImageCount(look.images)) {
    ImageList_Draw(look.images, row.image, hdc, g.imageLeft(row.level), top + (g.itemHeight - look.imageHeight) / 2,
                   ILD_TRANSPARENT | (row.dimmedImage ? ILD_SELECTED : 0));
  }
}

void drawLabel(HDC hdc, const TreeViewLook& look, const TreeViewRow& row, int top) {
  const TreeViewGeometry& g = look.geometry;
  const int left = g.labelLeft(row.level);
  RECT label{left, top, left + g.labelWidth(row.textWidth), top + g.itemHeight};
  if (row.highlighted) {
    RECT band = label;
    if (look.fullRowSelect) band.right = std::max<LONG>(band.right, look.width);
    fill(hdc, band, look.highlight);
  }
  if (row.text.empty()) return;
  gdi::SelectedObject font(hdc, row.bold && look.boldFont != nullptr ? look.boldFont : look.font);
  SetTextColor(hdc, row.highlighted ? look.highlightText : look.text);
  RECT text{label.left + g.labelPadding, label.top, label.right, label.bottom};
  DrawTextW(hdc, row.text.data(), static_cast<int>(row.text.size()), &text,
            DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_NOCLIP);
}

}  // namespace

void paintTreeViewRows(HDC hdc, const TreeViewLook& look, std::span<const TreeViewRow> rows, int firstTop) {
  gdi::SavedDcState saved(hdc);
  SetBkMode(hdc, TRANSPARENT);
  int top = firstTop;
  for (const TreeViewRow& row : rows) {
    fill(hdc, RECT{0, top, look.width, top + look.geometry.itemHeight}, look.background);
    if (look.lines) drawLines(hdc, look, row, top);
    if (look.buttons && row.button && hasColumn(look, row.level)) drawButton(hdc, look, row, top);
    drawImages(hdc, look, row, top);
    drawLabel(hdc, look, row, top);
    top += look.geometry.itemHeight;
  }
}

}  // namespace platform::controls
