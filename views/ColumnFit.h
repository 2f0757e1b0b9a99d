// Fits the one column of a list to the list's width: when the rows are taller than the list, the
// list scrolls and the column leaves room for the scroll bar; otherwise the list never shows a
// scroll bar and the column takes the whole width. Lists apply it after they are filled or
// resized.
#pragma once

#include "platform/base/WinTypes.h"

namespace pellucard {

class ColumnFit {
 public:
  // Does nothing for a window that is not a list view.
  static void fit(HWND list);
};

}  // namespace pellucard
