#include "skin/WindowGeometry.h"

#include "platform/win/WinUser.h"

namespace pellucard {

RECT WindowGeometry::rectInParent(HWND hwnd) {
  RECT rect{0, 0, 0, 0};
  if (!GetWindowRect(hwnd, &rect)) return RECT{0, 0, 0, 0};
  HWND parent = GetParent(hwnd);
  RECT parentRect{0, 0, 0, 0};
  if (parent != nullptr && GetWindowRect(parent, &parentRect)) {
    rect.left -= parentRect.left;
    rect.right -= parentRect.left;
    rect.top -= parentRect.top;
    rect.bottom -= parentRect.top;
  }
  return rect;
}

}  // namespace pellucard
