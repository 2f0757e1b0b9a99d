// Window scroll bars (WS_VSCROLL / WS_HSCROLL), drawn by the platform in the non-client area.
// Rules: a window scroll bar starts with the range 0..100. Setting the range or page shows the
// bar when there is something to scroll (page smaller than the range) and hides it otherwise,
// unless SIF_DISABLENOSCROLL keeps it shown, disabled. The position stays within
// [min, max - page + 1]. A change of the client area reaches the window as WM_SIZE.
#include <algorithm>

#include "platform/base/WinError.h"
#include "platform/win/ScrollBars.h"
#include "platform/win/WindowManager.h"

using platform::paintScheduler;
using platform::Window;
using platform::windowTree;

namespace {

platform::ScrollBarState& stateOf(Window& w, int bar) { return bar == SB_HORZ ? w.hscroll : w.vscroll; }
const platform::ScrollBarState& stateOf(const Window& w, int bar) { return bar == SB_HORZ ? w.hscroll : w.vscroll; }
DWORD styleBit(int bar) { return bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL; }

int maxPos(const platform::ScrollBarState& s) {
  const int page = s.page > 0 ? s.page - 1 : 0;
  return std::max(s.min, s.max - page);
}

bool scrollable(const platform::ScrollBarState& s) { return s.max > s.min && (s.page == 0 || s.page <= s.max - s.min); }

void frameChanged(HWND hwnd) {
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

bool validBar(int bar) { return bar == SB_HORZ || bar == SB_VERT; }

void fillRect(HDC dc, const RECT& r, int sysColor) {
  if (!platform::rectEmpty(r)) FillRect(dc, &r, GetSysColorBrush(sysColor));
}

// A filled triangle pointing up, down, left or right, centred in r.
void drawArrow(HDC dc, const RECT& r, int direction, int sysColor) {
  const int w = r.right - r.left;
  const int h = r.bottom - r.top;
  const int size = std::max(2, std::min(w, h) / 4);
  const int cx = r.left + w / 2;
  const int cy = r.top + h / 2;
  for (int i = 0; i < size; ++i) {
    RECT line;
    switch (direction) {
      case 0:  // up
        line = RECT{cx - i, cy - size / 2 + i, cx + i + 1, cy - size / 2 + i + 1};
        break;
      case 1:  // down
        line = RECT{cx - i, cy + size / 2 - i, cx + i + 1, cy + size / 2 - i + 1};
        break;
      case 2:  // left
        line = RECT{cx - size / 2 + i, cy - i, cx - size / 2 + i + 1, cy + i + 1};
        break;
      default:  // right
        line = RECT{cx + size / 2 - i, cy - i, cx + size / 2 - i + 1, cy + i + 1};
        break;
    }
    fillRect(dc, line, sysColor);
  }
}
}  // namespace

namespace platform {

bool updateScrollStyle(Window& w, int bar, bool disableNoScroll) {
  ScrollBarState& s = stateOf(w, bar);
  const DWORD bit = styleBit(bar);
  const bool want = scrollable(s) || disableNoScroll;
  s.enabled = scrollable(s);
  const bool has = (w.style & bit) != 0;
  if (want == has) return false;
  if (want) {
    w.style |= bit;
  } else {
    w.style &= ~bit;
  }
  return true;
}

ScrollGeometry scrollGeometry(const Window& w, int bar) {
  ScrollGeometry g;
  const bool vertical = bar != SB_HORZ;
  if (vertical ? !hasVScroll(w) : !hasHScroll(w)) return g;
  const RECT c = clientRectLocal(w);
  const int thick = GetSystemMetrics(vertical ? SM_CXVSCROLL : SM_CYHSCROLL);
  const int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
  if (vertical) {
    g.bar = RECT{c.right, c.top, c.right + thick, c.bottom};
  } else {
    g.bar = RECT{c.left, c.bottom, c.right, c.bottom + thick};
  }
  const int length = vertical ? g.bar.bottom - g.bar.top : g.bar.right - g.bar.left;
  const int arrowLen = std::min(arrow, length / 2);
  if (vertical) {
    g.lineUp = RECT{g.bar.left, g.bar.top, g.bar.right, g.bar.top + arrowLen};
    g.lineDown = RECT{g.bar.left, g.bar.bottom - arrowLen, g.bar.right, g.bar.bottom};
    g.track = RECT{g.bar.left, g.lineUp.bottom, g.bar.right, g.lineDown.top};
  } else {
    g.lineUp = RECT{g.bar.left, g.bar.top, g.bar.left + arrowLen, g.bar.bottom};
    g.lineDown = RECT{g.bar.right - arrowLen, g.bar.top, g.bar.right, g.bar.bottom};
    g.track = RECT{g.lineUp.right, g.bar.top, g.lineDown.left, g.bar.bottom};
  }
  const ScrollBarState& s = stateOf(w, bar);
  const int trackLen = vertical ? g.track.bottom - g.track.top : g.track.right - g.track.left;
  if (!s.enabled || trackLen <= 0) return g;
  const int range = s.max - s.min + 1;
  int thumbLen = s.page > 0 ? static_cast<int>(static_cast<long long>(trackLen) * s.page / range) : arrow;
  thumbLen = std::clamp(thumbLen, std::min(arrow / 2 + 2, trackLen), trackLen);
  const int span = maxPos(s) - s.min;
  const int offset =
      span > 0 ? static_cast<int>(static_cast<long long>(trackLen - thumbLen) * (s.pos - s.min) / span) : 0;
  if (vertical) {
    g.thumb = RECT{g.track.left, g.track.top + offset, g.track.right, g.track.top + offset + thumbLen};
  } else {
    g.thumb = RECT{g.track.left + offset, g.track.top, g.track.left + offset + thumbLen, g.track.bottom};
  }
  return g;
}

int scrollPosFromThumb(const Window& w, int bar, int offset) {
  const ScrollGeometry g = scrollGeometry(w, bar);
  const ScrollBarState& s = stateOf(w, bar);
  const bool vertical = bar != SB_HORZ;
  const int trackLen = vertical ? g.track.bottom - g.track.top : g.track.right - g.track.left;
  const int thumbLen = vertical ? g.thumb.bottom - g.thumb.top : g.thumb.right - g.thumb.left;
  const int free = trackLen - thumbLen;
  if (free <= 0) return s.min;
  const int clamped = std::clamp(offset, 0, free);
  return s.min + static_cast<int>((static_cast<long long>(maxPos(s) - s.min) * clamped + free / 2) / free);
}

void drawScrollBar(const Window& w, HDC dc, int bar) {
  const ScrollGeometry g = scrollGeometry(w, bar);
  if (rectEmpty(g.bar)) return;
  const bool vertical = bar != SB_HORZ;
  const ScrollBarState& s = stateOf(w, bar);
  fillRect(dc, g.track, COLOR_SCROLLBAR);
  for (const RECT* r : {&g.lineUp, &g.lineDown}) {
    fillRect(dc, *r, COLOR_BTNSHADOW);
    fillRect(dc, RECT{r->left + 1, r->top + 1, r->right - 1, r->bottom - 1}, COLOR_BTNFACE);
  }
  const int glyph = s.enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT;
  drawArrow(dc, g.lineUp, vertical ? 0 : 2, glyph);
  drawArrow(dc, g.lineDown, vertical ? 1 : 3, glyph);
  if (!rectEmpty(g.thumb)) {
    fillRect(dc, g.thumb, COLOR_BTNSHADOW);
    fillRect(dc, RECT{g.thumb.left + 1, g.thumb.top + 1, g.thumb.right - 1, g.thumb.bottom - 1}, COLOR_BTNFACE);
  }
}

}  // namespace platform

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw) {
  if (bar == SB_CTL) {
    if (!windowTree().get(hwnd)) return 0;
    return static_cast<int>(SendMessageW(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
  }
  Window* w = windowTree().get(hwnd);
  if (!w) return 0;
  if (!info || !validBar(bar) || info->cbSize != sizeof(SCROLLINFO) ||
      (info->fMask & ~(SIF_ALL | SIF_DISABLENOSCROLL))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  platform::ScrollBarState& s = stateOf(*w, bar);
  if (info->fMask & SIF_RANGE) {
    s.min = info->nMin;
    s.max = std::max(info->nMin, info->nMax);
  }
  if (info->fMask & SIF_PAGE) s.page = static_cast<int>(std::min<UINT>(info->nPage, 0x7FFFFFFF));
  s.page = std::clamp(s.page, 0, s.max - s.min + 1);
  if (info->fMask & SIF_POS) s.pos = info->nPos;
  s.pos = std::clamp(s.pos, s.min, maxPos(s));
  const int pos = s.pos;
  bool clientChanged = false;
  if (info->fMask & (SIF_RANGE | SIF_PAGE)) {
    clientChanged = platform::updateScrollStyle(*w, bar, (info->fMask & SIF_DISABLENOSCROLL) != 0);
  }
  if (clientChanged) {
    frameChanged(hwnd);
  } else if (redraw) {
    paintScheduler().invalidateFrame(*w);
  }
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info) {
  if (bar == SB_CTL) {
    if (!windowTree().get(hwnd)) return FALSE;
    return static_cast<BOOL>(SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
  }
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  if (!info || !validBar(bar) || info->cbSize != sizeof(SCROLLINFO) || !(info->fMask & SIF_ALL)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const platform::ScrollBarState& s = stateOf(*w, bar);
  if (info->fMask & SIF_RANGE) {
    info->nMin = s.min;
    info->nMax = s.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(s.page);
  if (info->fMask & SIF_POS) info->nPos = s.pos;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = s.trackPos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  SCROLLINFO get{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hwnd, bar, &get)) return 0;
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return get.nPos;
}

int GetScrollPos(HWND hwnd, int bar) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  if (maxPos - minPos > 0x7FFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0};
  if (bar != SB_CTL && !windowTree().get(hwnd)) return FALSE;
  SetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
  if (!minPos || !maxPos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!GetScrollInfo(hwnd, bar, &si)) return FALSE;
  *minPos = si.nMin;
  *maxPos = si.nMax;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  DWORD bits = bar == SB_BOTH   ? (WS_VSCROLL | WS_HSCROLL)
               : bar == SB_VERT ? WS_VSCROLL
               : bar == SB_HORZ ? WS_HSCROLL
                                : 0;
  if (!bits) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD before = w->style;
  if (show) {
    w->style |= bits;
  } else {
    w->style &= ~bits;
  }
  if (w->style != before) frameChanged(hwnd);
  return TRUE;
}

BOOL EnableScrollBar(HWND hwnd, UINT bars, UINT arrows) {
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  const bool enable = arrows == ESB_ENABLE_BOTH;
  if (bars == SB_VERT || bars == SB_BOTH) w->vscroll.enabled = enable && scrollable(w->vscroll);
  if (bars == SB_HORZ || bars == SB_BOTH) w->hscroll.enabled = enable && scrollable(w->hscroll);
  paintScheduler().invalidateFrame(*w);
  return TRUE;
}
