#include "forms/FieldArrow.h"

#include "platform/controls/ControlLook.h"

namespace pellucard {

void drawFieldArrow(HDC hdc, const RECT& box, int scale) {
  const int k = scale < 1 ? 1 : scale;
  const int x = box.right - 11 * k;
  const int y = box.top + 8 * k;
  for (int line = 0; line < 4; ++line) {
    const int left = x + line * k;
    const int length = (7 - 2 * line) * k;
    for (int row = 0; row < k; ++row) {
      const int top = y + line * k + row;
      platform::controls::drawLine(hdc, left, top, left + length, top, RGB(0, 0, 0));
    }
  }
}

}  // namespace pellucard
