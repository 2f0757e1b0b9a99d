#include "platform/win/Frame.h"

#include <algorithm>

#include "platform/gdi/GdiBridge.h"
#include "platform/win/ScrollBars.h"

namespace platform {

void drawWindowFrame(const WindowTree& tree, const Window& w, bool active) {
  const RECT screen = tree.windowScreenRect(w);
  RectList clip = tree.visibleRegion(w, true);
  clip.subtract(tree.clientScreenRect(w));
  if (clip.empty()) return;
  HDC dc = gdi::createWindowDC(w.handle, POINT{screen.left, screen.top}, clip.rects());
  if (!dc) return;
  const int width = screen.right - screen.left;
  const int height = screen.bottom - screen.top;
  const int border = frameBorder(w);
  for (int i = 0; i < border; ++i) {
    const RECT ring{i, i, width - i, height - i};
    FrameRect(dc, &ring, GetSysColorBrush(i == 0 ? COLOR_WINDOWFRAME : COLOR_BTNFACE));
  }
  const int caption = frameCaption(w);
  if (caption > 0) {
    const RECT bar{border, border, width - border, border + caption};
    FillRect(dc, &bar, GetSysColorBrush(active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
    const RECT captionScreen = rectOffset(bar, screen.left, screen.top);
    gdi::beginTextCapture(w.handle, captionScreen);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT textRect{bar.left + 4, bar.top, bar.right - 2, bar.bottom};
    DrawTextW(dc, w.text.c_str(), static_cast<int>(w.text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (hasVScroll(w)) drawScrollBar(w, dc, SB_VERT);
  if (hasHScroll(w)) drawScrollBar(w, dc, SB_HORZ);
  if (hasVScroll(w) && hasHScroll(w)) {
    const RECT c = clientRectLocal(w);
    const RECT corner{c.right, c.bottom, c.right + GetSystemMetrics(SM_CXVSCROLL),
                      c.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    FillRect(dc, &corner, GetSysColorBrush(COLOR_BTNFACE));
  }
  gdi::releaseWindowDC(dc);
}

// The handheld shows its busy indicator, a ring of segments, in the middle of the screen.
RECT drawBusyIndicator() {
  const int unit = std::max(1, std::min(gdi::screenWidth(), gdi::screenHeight()) / 240);
  const int size = 32 * unit;
  const int left = (gdi::screenWidth() - size) / 2;
  const int top = (gdi::screenHeight() - size) / 2;
  const RECT where{left, top, left + size, top + size};
  HDC dc = gdi::createWindowDC(nullptr, POINT{0, 0}, std::vector<RECT>{where});
  if (!dc) return RECT{0, 0, 0, 0};
  FillRect(dc, &where, GetSysColorBrush(COLOR_WINDOW));
  FrameRect(dc, &where, GetSysColorBrush(COLOR_WINDOWFRAME));
  // Eight segments around the centre, in shades from dark to light.
  static const int dx[8] = {0, 1, 1, 1, 0, -1, -1, -1};
  static const int dy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
  const int cx = left + size / 2;
  const int cy = top + size / 2;
  const int seg = 4 * unit;
  const int reach = 9 * unit;
  for (int i = 0; i < 8; ++i) {
    const BYTE shade = static_cast<BYTE>(30 + i * 26);
    HBRUSH brush = CreateSolidBrush(RGB(shade, shade, shade));
    const int x = cx + dx[i] * reach - seg / 2;
    const int y = cy + dy[i] * reach - seg / 2;
    const RECT r{x, y, x + seg, y + seg};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  gdi::releaseWindowDC(dc);
  return where;
}

}  // namespace platform
