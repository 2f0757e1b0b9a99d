// Position, size, z-order and visibility of windows, and coordinate mapping.
//
// SetWindowPos rules kept here:
// - WM_WINDOWPOSCHANGING is sent first (unless SWP_NOSENDCHANGING); the window may change the
//   WINDOWPOS. WM_WINDOWPOSCHANGED follows only when something really changed. SWP_NOMOVE and
//   SWP_NOSIZE are added when the position or size stays the same; SWP_SHOWWINDOW and
//   SWP_HIDEWINDOW stay in the flags only when the visibility really changes. DefWindowProc
//   turns WM_WINDOWPOSCHANGED into WM_MOVE and WM_SIZE.
// - Activation of a top-level window happens between the two messages.
// - There is no compositor: what a move or hide uncovers is invalidated (erase) in the windows
//   below, and the desktop colour fills what no window covers. A moved or shown window is
//   repainted whole; a resized one whole with CS_HREDRAW/CS_VREDRAW, else only the new part.
#include <algorithm>

#include "platform/base/WinError.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/win/WindowManager.h"

using platform::inputState;
using platform::paintScheduler;
using platform::Window;
using platform::windowManager;
using platform::windowTree;

namespace {

// A moved window takes what it and its children drew along; their next paint brings it up to date.
void moveTexts(const Window& w, int dx, int dy) {
  platform::gdi::moveCapturedTexts(w.handle, dx, dy);
  for (HWND child : w.children) {
    if (const Window* c = windowTree().find(child)) moveTexts(*c, dx, dy);
  }
}

}  // namespace

namespace platform {

BOOL setWindowPosition(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  if (!(flags & SWP_NOZORDER) && insertAfter != HWND_TOP && insertAfter != HWND_BOTTOM && insertAfter != HWND_TOPMOST &&
      insertAfter != HWND_NOTOPMOST && !windowTree().find(insertAfter)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  if ((flags & SWP_SHOWWINDOW) && wasVisible) flags &= ~SWP_SHOWWINDOW;
  if ((flags & SWP_HIDEWINDOW) && !wasVisible) flags &= ~SWP_HIDEWINDOW;
  if ((flags & SWP_SHOWWINDOW) && (flags & SWP_HIDEWINDOW)) flags &= ~SWP_HIDEWINDOW;
  if (flags & SWP_NOMOVE) {
    x = w->rect.left;
    y = w->rect.top;
  }
  if (flags & SWP_NOSIZE) {
    cx = w->rect.right - w->rect.left;
    cy = w->rect.bottom - w->rect.top;
  }
  WINDOWPOS pos{hwnd, insertAfter, x, y, std::max(cx, 0), std::max(cy, 0), flags};
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessageW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if ((w = windowTree().find(hwnd)) == nullptr) return FALSE;
  }
  flags = pos.flags;
  if (pos.x == w->rect.left && pos.y == w->rect.top) flags |= SWP_NOMOVE;
  if (pos.cx == w->rect.right - w->rect.left && pos.cy == w->rect.bottom - w->rect.top) flags |= SWP_NOSIZE;
  const RECT oldScreen = windowTree().windowScreenRect(*w);
  const bool wasShown = windowTree().visible(*w);
  // Windows above that keep the screen under them learn of the change while it is still below.
  const bool mayChange = !(flags & SWP_NOZORDER) || !(flags & SWP_NOMOVE) || !(flags & SWP_NOSIZE) ||
                         (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED));
  if (wasShown && mayChange) paintScheduler().windowChanged(*w, oldScreen);
  bool zChanged = false;
  if (!(flags & SWP_NOZORDER)) {
    zChanged = windowTree().place(*w, pos.hwndInsertAfter);
    if (!zChanged) flags |= SWP_NOZORDER;
  }
  const bool moved = !(flags & SWP_NOMOVE);
  const bool sized = !(flags & SWP_NOSIZE);
  const bool showing = (flags & SWP_SHOWWINDOW) != 0;
  const bool hiding = (flags & SWP_HIDEWINDOW) != 0;
  const bool changed = moved || sized || zChanged || showing || hiding || (flags & SWP_FRAMECHANGED);

  const RECT oldClient = clientRectLocal(*w);
  w->rect = RECT{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
  if (moved) {
    const RECT newScreen = windowTree().windowScreenRect(*w);
    moveTexts(*w, newScreen.left - oldScreen.left, newScreen.top - oldScreen.top);
  }
  if (showing) w->style |= WS_VISIBLE;
  if (hiding) w->style &= ~WS_VISIBLE;
  const bool nowShown = windowTree().visible(*w);
  if (changed && nowShown) paintScheduler().windowChanged(*w, windowTree().windowScreenRect(*w));

  const bool redraw = !(flags & SWP_NOREDRAW);
  if (wasShown && hiding) {
    paintScheduler().windowHidden(*w, oldScreen, changed && redraw);
  } else if (wasShown && (moved || sized)) {
    paintScheduler().windowMoved(*w);
    if (redraw) paintScheduler().invalidateScreenArea(oldScreen);
  }
  if (changed && redraw && nowShown) {
    if (showing) paintScheduler().windowShown(*w);
    const RECT newClient = clientRectLocal(*w);
    const bool fullRedraw = moved || showing || zChanged || (flags & SWP_FRAMECHANGED) ||
                            (sized && (((w->cls->style & CS_HREDRAW) && pos.cx != oldScreen.right - oldScreen.left) ||
                                       ((w->cls->style & CS_VREDRAW) && pos.cy != oldScreen.bottom - oldScreen.top)));
    paintScheduler().invalidateFrame(*w);
    if (fullRedraw) {
      paintScheduler().invalidate(*w, nullptr, true, true);
    } else if (sized) {
      const int width = newClient.right - newClient.left;
      const int height = newClient.bottom - newClient.top;
      const int oldWidth = oldClient.right - oldClient.left;
      const int oldHeight = oldClient.bottom - oldClient.top;
      if (width > oldWidth) {
        RECT r{oldWidth, 0, width, height};
        paintScheduler().invalidate(*w, &r, true, true);
      }
      if (height > oldHeight) {
        RECT r{0, oldHeight, width, height};
        paintScheduler().invalidate(*w, &r, true, true);
      }
    }
  }
  if (hiding) {
    if (inputState().capture() && windowTree().isDescendant(hwnd, inputState().capture())) ReleaseCapture();
    if ((w = windowTree().find(hwnd)) == nullptr) return FALSE;
    if (!w->parent && inputState().active() == hwnd) windowManager().activateNextTopLevel(hwnd);
  }
  if ((w = windowTree().find(hwnd)) == nullptr) return FALSE;
  if (!(flags & SWP_NOACTIVATE) && !w->parent && nowShown && (showing || zChanged || inputState().active() != hwnd)) {
    windowManager().activate(hwnd, WA_ACTIVE);
    if ((w = windowTree().find(hwnd)) == nullptr) return FALSE;
  }
  if (changed) {
    WINDOWPOS done{hwnd,        pos.hwndInsertAfter,          w->rect.left,
                   w->rect.top, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top,
                   flags};
    SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
  }
  return TRUE;
}

}  // namespace platform

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  return platform::setWindowPosition(hwnd, insertAfter, x, y, cx, cy, flags);
}

// Returns whether the window was visible before. WM_SHOWWINDOW goes first, and only when the
// visibility changes; hiding a child that holds the focus gives the focus to its parent.
BOOL ShowWindow(HWND hwnd, int command) {
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  const bool wasVisible = (w->style & WS_VISIBLE) != 0;
  UINT flags = SWP_NOMOVE | SWP_NOSIZE;
  switch (command) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      flags |= SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
    case SW_SHOWMINNOACTIVE:
      if (wasVisible) return TRUE;
      flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOW:
    case SW_SHOWNORMAL:
    case SW_SHOWMAXIMIZED:
    case SW_RESTORE:
    case SW_SHOWDEFAULT:
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
      if (wasVisible) {
        if (!w->parent && inputState().active() != hwnd && command != SW_MINIMIZE) SetActiveWindow(hwnd);
        return TRUE;
      }
      flags |= SWP_SHOWWINDOW;
      if (w->parent) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return FALSE;
  }
  SendMessageW(hwnd, WM_SHOWWINDOW, command != SW_HIDE, 0);
  if (!windowTree().find(hwnd)) return wasVisible;
  platform::setWindowPosition(hwnd, HWND_TOP, 0, 0, 0, 0, flags);
  w = windowTree().find(hwnd);
  if (w && command == SW_HIDE && w->parent && inputState().focus() &&
      windowTree().isDescendant(hwnd, inputState().focus())) {
    windowManager().moveFocus(w->parent);
  }
  return wasVisible ? TRUE : FALSE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : static_cast<UINT>(SWP_NOREDRAW)));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *rect = windowTree().windowScreenRect(*w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect) {
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const RECT c = platform::clientRectLocal(*w);
  *rect = RECT{0, 0, c.right - c.left, c.bottom - c.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
  Window* w = windowTree().get(hwnd);
  if (!w || !point) return FALSE;
  const POINT o = windowTree().clientOrigin(*w);
  point->x += o.x;
  point->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
  Window* w = windowTree().get(hwnd);
  if (!w || !point) return FALSE;
  const POINT o = windowTree().clientOrigin(*w);
  point->x -= o.x;
  point->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count) {
  POINT a{0, 0};
  POINT b{0, 0};
  if (from) {
    Window* w = windowTree().get(from);
    if (!w) return 0;
    a = windowTree().clientOrigin(*w);
  }
  if (to) {
    Window* w = windowTree().get(to);
    if (!w) return 0;
    b = windowTree().clientOrigin(*w);
  }
  const int dx = a.x - b.x;
  const int dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(0);
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

HWND WindowFromPoint(POINT point) { return windowTree().windowFromPoint(point); }

HWND ChildWindowFromPoint(HWND parent, POINT point) {
  Window* w = windowTree().get(parent);
  if (!w) return nullptr;
  const RECT c = platform::clientRectLocal(*w);
  if (point.x < 0 || point.y < 0 || point.x >= c.right - c.left || point.y >= c.bottom - c.top) return nullptr;
  for (HWND h : w->children) {
    Window* cw = windowTree().find(h);
    if (cw && platform::rectContains(cw->rect, point)) return h;
  }
  return parent;
}
