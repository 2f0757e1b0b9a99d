#include "platform/controls/EditDrawing.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/MemoryDc.h"
#include "platform/win/WinUser.h"

namespace platform::controls {

int editLineLeft(const EditPicture& picture, int line) {
  const int room = picture.format.right - picture.format.left;
  const int width = picture.layout->line(line).width;
  int offset = 0;
  if ((picture.align & 0x3) == 0x1) offset = std::max((room - width) / 2, 0);
  if ((picture.align & 0x3) == 0x2) offset = std::max(room - width, 0);
  return picture.format.left - picture.scrollX + offset;
}

namespace {

// Draws [from, to) of a line in one colour, in runs between tabs, at its place on the line.
void drawRun(HDC dc, const EditPicture& p, int line, int from, int to, int x0, int y, COLORREF color) {
  SetTextColor(dc, color);
  int at = from;
  while (at < to) {
    int stop = at;
    while (stop < to && p.text[static_cast<std::size_t>(stop)] != u'\t') ++stop;
    if (stop > at) {
      const int x = x0 + p.layout->xOnLine(p.text, line, at);
      TextOutW(dc, x, y, p.text.data() + at, stop - at);
    }
    at = stop < to ? stop + 1 : stop;
  }
}

}  // namespace

void drawEdit(HDC dc, POINT origin, const RECT& area, const EditPicture& p) {
  gdi::SavedDcState saved(dc);
  const RECT band{area.left - origin.x, area.top - origin.y, area.right - origin.x, area.bottom - origin.y};
  FillRect(dc, &band, p.background != nullptr ? p.background : GetSysColorBrush(COLOR_WINDOW));
  if (p.layout == nullptr) return;
  IntersectClipRect(dc, std::max(p.format.left, area.left) - origin.x, area.top - origin.y,
                    std::min(p.format.right, area.right) - origin.x, area.bottom - origin.y);
  gdi::SelectedObject font(dc, p.font);
  SetBkMode(dc, TRANSPARENT);
  const int count = p.layout->lineCount();
  const int firstVisible = std::max(p.firstLine + (area.top - p.top) / std::max(p.lineHeight, 1) - 1, p.firstLine);
  for (int i = std::max(firstVisible, 0); i < count; ++i) {
    const int y = p.top + (i - p.firstLine) * p.lineHeight;
    if (y >= area.bottom) break;
    if (y + p.lineHeight <= area.top) continue;
    const EditLine& line = p.layout->line(i);
    const int left = editLineLeft(p, i);
    const int x0 = left - origin.x;
    const int ly = y - origin.y;
    const int selFrom = std::clamp(p.selectionStart, line.start, line.end);
    const int selTo = std::clamp(p.selectionEnd, line.start, line.end);
    if (selFrom < selTo) {
      const int sx0 = x0 + p.layout->xOnLine(p.text, i, selFrom);
      const int sx1 = x0 + p.layout->xOnLine(p.text, i, selTo);
      const RECT lit{sx0, ly, sx1, ly + p.lineHeight};
      HBRUSH brush = CreateSolidBrush(p.selectedBackColor);
      FillRect(dc, &lit, brush);
      DeleteObject(brush);
    }
    if (line.start < selFrom) drawRun(dc, p, i, line.start, selFrom, x0, ly, p.textColor);
    if (selFrom < selTo) drawRun(dc, p, i, selFrom, selTo, x0, ly, p.selectedTextColor);
    const int restFrom = std::max(selTo, line.start);
    if (restFrom < line.end) drawRun(dc, p, i, restFrom, line.end, x0, ly, p.textColor);
  }
  if (p.caret >= 0) {
    const int line = p.layout->lineOf(p.caret);
    const int x = editLineLeft(p, line) + p.layout->xOnLine(p.text, line, p.caret) - origin.x;
    const int y = p.top + (line - p.firstLine) * p.lineHeight - origin.y;
    // The caret may stand just past the text area's right edge at the end of a full line.
    SelectClipRgn(dc, nullptr);
    const RECT caret{x, y, x + p.caretWidth, y + p.lineHeight};
    HBRUSH brush = CreateSolidBrush(p.textColor);
    FillRect(dc, &caret, brush);
    DeleteObject(brush);
  }
}

}  // namespace platform::controls
