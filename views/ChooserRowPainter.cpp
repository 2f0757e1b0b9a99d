#include "views/ChooserRowPainter.h"

#include <array>

#include "platform/gdi/MemoryDc.h"
#include "views/SearchHighlight.h"

namespace pellucard {

namespace {

void fill(HDC hdc, const RECT& rect, int sysColour) { FillRect(hdc, &rect, GetSysColorBrush(sysColour)); }

RECT shrunk(RECT r, int by) {
  InflateRect(&r, -by, -by);
  return r;
}

}  // namespace

RECT ChooserRowPainter::boxSquare(const RECT& row) {
  const int h = row.bottom - row.top;
  return shrunk(RECT{row.left, row.top, row.left + h, row.top + h}, 1);
}

void ChooserRowPainter::drawBox(HDC hdc, const RECT& row, bool checked) const {
  RECT box = boxSquare(row);
  fill(hdc, box, COLOR_WINDOW);
  box = shrunk(box, pocketPc_ ? 2 : 3);
  {
    const platform::gdi::SelectedObject hollow(hdc, GetStockObject(NULL_BRUSH));
    Rectangle(hdc, box.left, box.top, box.right, box.bottom);
  }
  if (!checked) return;
  box = shrunk(box, 2);
  const int e = (box.right - box.left) / 3;
  // Four strokes, each a pixel above the last, make the tick thick enough to read.
  for (int i = 1; i <= 4; ++i) {
    const std::array<POINT, 3> tick = {POINT{box.left, box.bottom - i - e}, POINT{box.left + e, box.bottom - i},
                                       POINT{box.right, box.top + e - i}};
    Polyline(hdc, tick.data(), static_cast<int>(tick.size()));
  }
}

void ChooserRowPainter::draw(HDC hdc, const RECT& row, std::u16string_view text, std::u16string_view word,
                             bool selected, bool checked) const {
  fill(hdc, row, selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
  const COLORREF oldText = SetTextColor(hdc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
  const int oldMode = SetBkMode(hdc, TRANSPARENT);
  RECT line = row;
  if (checkBoxes_) {
    drawBox(hdc, row, checked);
    line.left += row.bottom - row.top;
  }
  // The typed part stands out in the other colour pair.
  SearchHighlight::Look look;
  look.pieceFormat = kTextFormat;
  look.litText = GetSysColor(selected ? COLOR_WINDOWTEXT : COLOR_HIGHLIGHTTEXT);
  look.litBack = GetSysColor(selected ? COLOR_WINDOW : COLOR_HIGHLIGHT);
  SearchHighlight::draw(hdc, text, word, typedKeys_, line, kTextFormat, look);
  SetBkMode(hdc, oldMode);
  SetTextColor(hdc, oldText);
}

}  // namespace pellucard
