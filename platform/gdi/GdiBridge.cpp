// The screen side of the drawing layer, as the window manager and backends use it.
#include "platform/gdi/GdiBridge.h"

#include <cstring>

#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/RectMath.h"
#include "platform/gdi/Screen.h"

namespace platform::gdi {

void initScreen(int width, int height) { Screen::instance().init(width, height); }

void resizeScreen(int width, int height) { Screen::instance().init(width, height); }

const std::uint16_t* screenPixels() { return Screen::instance().surface().row16(0); }

int screenWidth() { return Screen::instance().width(); }

int screenHeight() { return Screen::instance().height(); }

RECT takeDirtyRect() { return Screen::instance().takeDirty(); }

HDC createWindowDC(HWND hwnd, POINT screenOrigin, const std::vector<RECT>& visibleScreenRects) {
  return createDC(DeviceContext::Kind::Window, hwnd, screenOrigin, Region(visibleScreenRects));
}

void releaseWindowDC(HDC hdc) {
  DeviceContext* dc = ObjectTable::instance().findDC(hdc);
  if (dc && dc->kind() == DeviceContext::Kind::Window) destroyDC(hdc);
}

void shiftScreenPixels(HWND hwnd, const RECT& area, int dx, int dy, const RECT& clipRect) {
  Screen& screen = Screen::instance();
  Surface& s = screen.surface();
  const RECT bounds = intersectRects(clipRect, s.bounds());
  const RECT source = intersectRects(area, bounds);
  const RECT target = intersectRects(offsetRect(source, dx, dy), bounds);
  if (rectEmpty(target)) return;
  const int width = static_cast<int>(target.right - target.left);
  std::vector<std::uint16_t> row(static_cast<std::size_t>(width));
  // Rows are visited away from the direction of travel so that overlapping areas copy intact.
  const bool down = dy > 0;
  for (int i = 0; i < target.bottom - target.top; ++i) {
    const int y = down ? static_cast<int>(target.bottom) - 1 - i : static_cast<int>(target.top) + i;
    std::memcpy(row.data(), s.row16(y - dy) + target.left - dx, row.size() * 2);
    std::memcpy(s.row16(y) + target.left, row.data(), row.size() * 2);
  }
  screen.markDirty(target);
  screen.texts(hwnd).shift(source, target, dx, dy);
}

void beginTextCapture(HWND hwnd, const RECT& updateScreenRect) {
  Screen::instance().texts(hwnd).eraseInside(updateScreenRect);
}

std::vector<CapturedText> capturedTexts(HWND hwnd) { return Screen::instance().texts(hwnd).records(); }

void moveCapturedTexts(HWND hwnd, int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  constexpr LONG kFar = 1 << 28;
  const RECT everywhere{-kFar, -kFar, kFar, kFar};
  Screen::instance().texts(hwnd).shift(everywhere, everywhere, dx, dy);
}

void forgetWindow(HWND hwnd) { Screen::instance().forget(hwnd); }

}  // namespace platform::gdi
