// Where the parts of a month calendar lie in its client area: the title with the previous and
// next arrows, the row of day names, the grid of six weeks, and the line with today's date and
// the None button below; and which date each cell of the grid holds.
#pragma once

#include "platform/base/WinTypes.h"

namespace platform::controls {

struct MonthLayout {
  RECT title{};
  RECT previous{};
  RECT next{};
  RECT dayNames{};
  RECT grid{};
  int cellWidth = 0;
  int cellHeight = 0;
  RECT todayLine{};   // empty without it
  RECT noneButton{};  // empty without it

  static constexpr int kCells = 42;

  // `line` is the height of a line of text; `noneWidth` the width of the None button, 0 for none.
  static MonthLayout compute(const RECT& client, int line, bool todayLine, int noneWidth);
  // The height the parts take for cells `cellWidth` wide.
  static int height(int line, bool todayLine, bool noneButton);
  // The cell (0 to 41, a week a row) at a point, -1 outside the grid.
  int cellAt(POINT pt) const;
  RECT cell(int i) const;
};

// The date in cell i of the grid of a month whose weeks begin on firstDay (0 Monday ... 6
// Sunday); the first row holds the first of the month.
SYSTEMTIME dateInCell(int year, int month, int firstDay, int i);

}  // namespace platform::controls
