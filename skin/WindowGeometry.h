// Window rectangles as the skin's drawing code needs them.
#pragma once

#include "platform/base/WinTypes.h"

namespace pellucard {

class WindowGeometry {
 public:
  // The window's rectangle moved by minus its parent's window origin; the screen rectangle for
  // a window without a parent; empty for an invalid window.
  static RECT rectInParent(HWND hwnd);
};

}  // namespace pellucard
