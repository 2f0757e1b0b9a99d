#include "platform/controls/MonthLayout.h"

#include <algorithm>

#include "platform/controls/ControlLook.h"
#include "platform/sys/TimeMath.h"

namespace platform::controls {
namespace {

int titleHeight(int line) { return line + scaled(6); }
int namesHeight(int line) { return line + scaled(2); }
int cellHeightFor(int line) { return line + scaled(3); }
int bottomHeight(int line) { return line + scaled(8); }

}  // namespace

int MonthLayout::height(int line, bool todayLine, bool noneButton) {
  return titleHeight(line) + namesHeight(line) + 1 + 6 * cellHeightFor(line) +
         (todayLine || noneButton ? bottomHeight(line) : scaled(2));
}

MonthLayout MonthLayout::compute(const RECT& client, int line, bool todayLine, int noneWidth) {
  MonthLayout l;
  const int pad = scaled(2);
  const int width = client.right - client.left;
  const int titleH = titleHeight(line);
  l.title = RECT{client.left, client.top, client.right, client.top + titleH};
  const int arrow = titleH - 2 * pad;
  l.previous = RECT{client.left + pad, client.top + pad, client.left + pad + arrow, client.top + pad + arrow};
  l.next = RECT{client.right - pad - arrow, client.top + pad, client.right - pad, client.top + pad + arrow};
  l.dayNames = RECT{client.left, l.title.bottom, client.right, l.title.bottom + namesHeight(line)};
  l.cellWidth = std::max(width / 7, 1);
  l.cellHeight = cellHeightFor(line);
  const int gridLeft = client.left + (width - 7 * l.cellWidth) / 2;
  l.dayNames.left = gridLeft;
  l.dayNames.right = gridLeft + 7 * l.cellWidth;
  l.grid = RECT{gridLeft, l.dayNames.bottom + 1, gridLeft + 7 * l.cellWidth, l.dayNames.bottom + 1 + 6 * l.cellHeight};
  if (todayLine || noneWidth > 0) {
    const RECT row{client.left, l.grid.bottom + pad, client.right, l.grid.bottom + bottomHeight(line) - pad};
    if (noneWidth > 0) l.noneButton = RECT{row.right - pad - noneWidth, row.top, row.right - pad, row.bottom};
    if (todayLine)
      l.todayLine = RECT{row.left + pad, row.top, noneWidth > 0 ? l.noneButton.left - pad : row.right, row.bottom};
  }
  return l;
}

int MonthLayout::cellAt(POINT pt) const {
  if (pt.x < grid.left || pt.x >= grid.right || pt.y < grid.top || pt.y >= grid.bottom) return -1;
  const int column = (pt.x - grid.left) / cellWidth;
  const int row = (pt.y - grid.top) / cellHeight;
  return row * 7 + column;
}

RECT MonthLayout::cell(int i) const {
  const int x = grid.left + (i % 7) * cellWidth;
  const int y = grid.top + (i / 7) * cellHeight;
  return RECT{x, y, x + cellWidth, y + cellHeight};
}

SYSTEMTIME dateInCell(int year, int month, int firstDay, int i) {
  const std::int64_t first = sys::daysFromCivil(year, month, 1);
  const int sundayFirst = (firstDay + 1) % 7;  // as SYSTEMTIME counts the days
  const int lead = (sys::dayOfWeek(first) - sundayFirst + 7) % 7;
  int y = 0;
  int m = 0;
  int d = 0;
  const std::int64_t days = first - lead + i;
  sys::civilFromDays(days, y, m, d);
  SYSTEMTIME out{};
  out.wYear = static_cast<WORD>(y);
  out.wMonth = static_cast<WORD>(m);
  out.wDay = static_cast<WORD>(d);
  out.wDayOfWeek = static_cast<WORD>(sys::dayOfWeek(days));
  return out;
}

}  // namespace platform::controls
