#include "platform/controls/ControlLook.h"

#include <algorithm>

#include "platform/gdi/MemoryDc.h"
#include "platform/win/Screen.h"
#include "platform/win/WinUser.h"

namespace platform::controls {

int uiScale() { return platform::screenScale(); }

int scaled(int pixels) { return pixels * uiScale(); }

HFONT systemFont() { return static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); }

int fontHeight(HFONT font) {
  const platform::gdi::MemoryDc dc(nullptr);
  if (!dc) return scaled(13);
  const platform::gdi::SelectedObject selected(dc.dc(), font != nullptr ? font : systemFont());
  TEXTMETRICW tm{};
  const int height = GetTextMetricsW(dc.dc(), &tm) ? tm.tmHeight : scaled(13);
  return height > 0 ? height : scaled(13);
}

HFONT windowFont(HWND hwnd) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
  return font != nullptr ? font : systemFont();
}

void fillSysColor(HDC hdc, const RECT& rect, int colorIndex) { FillRect(hdc, &rect, GetSysColorBrush(colorIndex)); }

void drawLine(HDC hdc, int x0, int y0, int x1, int y1, COLORREF color) {
  HPEN pen = CreatePen(PS_SOLID, 1, color);
  HGDIOBJ old = SelectObject(hdc, pen);
  MoveToEx(hdc, x0, y0, nullptr);
  LineTo(hdc, x1, y1);
  SelectObject(hdc, old);
  DeleteObject(pen);
}

void frameRect(HDC hdc, const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FrameRect(hdc, &rect, brush);
  DeleteObject(brush);
}

}  // namespace platform::controls
