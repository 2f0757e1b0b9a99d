#include "platform/controls/ArrowGlyph.h"

#include <algorithm>

namespace platform::controls {

void drawArrowGlyph(HDC hdc, const RECT& box, ArrowDirection direction, COLORREF color) {
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  // Rows of 1, 3, 5 ... pixels; `size` rows make a triangle 2 * size - 1 wide.
  const int size = std::max(std::min(width, height) / 3, 2);
  const int cx = box.left + width / 2;
  const int cy = box.top + height / 2;
  HBRUSH brush = CreateSolidBrush(color);
  for (int i = 0; i < size; ++i) {
    RECT line{};
    switch (direction) {
      case ArrowDirection::Up:
        line = RECT{cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1};
        break;
      case ArrowDirection::Down:
        line = RECT{cx - i, cy + size / 2 - i, cx + i + 1, cy + size / 2 - i + 1};
        break;
      case ArrowDirection::Left:
        line = RECT{cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1};
        break;
      case ArrowDirection::Right:
        line = RECT{cx + size / 2 - i, cy - i, cx + size / 2 - i + 1, cy + i + 1};
        break;
    }
    FillRect(hdc, &line, brush);
  }
  DeleteObject(brush);
}

}  // namespace platform::controls
