// Painting. The rules the program relies on:
// - Paint is a flag, not a queued message. Each window keeps an update rectangle (client
//   coordinates) and an erase flag. WM_PAINT is generated only when no sent, posted or input
//   message is waiting, and before WM_TIMER; windows are searched in z-order, topmost first,
//   a parent before its children.
// - InvalidateRect on a window without WS_CLIPCHILDREN also invalidates the children under the
//   rectangle. Invalidating a hidden window does nothing.
// - BeginPaint takes the update rectangle, sends WM_ERASEBKGND when the erase flag was set
//   (PAINTSTRUCT.fErase is TRUE when the window did not erase), clips the DC to the visible part
//   of the update rectangle, and starts a new text record for that area.
// - WM_SETREDRAW FALSE keeps a window and its children from being painted; what is invalidated
//   meanwhile stays pending and is painted once redraw is back on.
// - A window procedure that never validates keeps receiving WM_PAINT, as on the handheld.
#include <algorithm>

#include "platform/base/WinError.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/win/WindowManager.h"

using platform::RectList;
using platform::Window;
using platform::WindowManager;

namespace {
WindowManager& wm() { return WindowManager::instance(); }

RECT clientBounds(Window& w) {
  const RECT c = wm().clientRectLocal(w);
  return RECT{0, 0, c.right - c.left, c.bottom - c.top};
}

HWND searchPaint(HWND hwnd) {
  Window* w = wm().find(hwnd);
  if (!w || !(w->style & WS_VISIBLE) || !w->redraw) return nullptr;
  if (w->frameDirty) wm().paintFrame(*w);
  if (!platform::rectEmpty(w->update) || w->internalPaint) return hwnd;
  for (HWND c : w->children) {
    if (HWND found = searchPaint(c)) return found;
  }
  return nullptr;
}

HBRUSH brushFromClass(HBRUSH b) {
  const auto v = reinterpret_cast<UINT_PTR>(b);
  // Classes may name a system colour as COLOR_x + 1.
  if (v > 0 && v <= 64) return GetSysColorBrush(static_cast<int>(v - 1));
  return b;
}
}  // namespace

namespace platform {

void WindowManager::invalidate(Window& w, const RECT* clientRect, bool eraseToo, bool children) {
  if (!visible(w)) return;
  const RECT bounds = clientBounds(w);
  const RECT r = clientRect ? rectIntersect(*clientRect, bounds) : bounds;
  if (rectEmpty(r)) return;
  w.update = rectUnion(w.update, r);
  if (eraseToo) w.erase = true;
  if (!children) return;
  for (HWND c : w.children) {
    Window* cw = find(c);
    if (!cw || !(cw->style & WS_VISIBLE)) continue;
    const RECT part = rectIntersect(cw->rect, r);
    if (rectEmpty(part)) continue;
    cw->frameDirty = true;
    const RECT cl = clientRectLocal(*cw);
    const RECT local = rectOffset(part, -(cw->rect.left + cl.left), -(cw->rect.top + cl.top));
    invalidate(*cw, &local, eraseToo, true);
  }
}

void WindowManager::validate(Window& w, const RECT* clientRect, bool children) {
  if (!clientRect) {
    w.update = RECT{0, 0, 0, 0};
    w.erase = false;
    w.internalPaint = false;
  } else {
    RectList left(w.update);
    left.subtract(*clientRect);
    w.update = left.bounds();
    if (rectEmpty(w.update)) w.erase = false;
  }
  if (!children) return;
  for (HWND c : w.children) {
    Window* cw = find(c);
    if (!cw) continue;
    if (!clientRect) {
      validate(*cw, nullptr, true);
      continue;
    }
    const RECT cl = clientRectLocal(*cw);
    const RECT local = rectOffset(*clientRect, -(cw->rect.left + cl.left), -(cw->rect.top + cl.top));
    validate(*cw, &local, true);
  }
}

void WindowManager::invalidateScreenArea(const RECT& screenRect) {
  const RECT area = rectIntersect(screenRect, RECT{0, 0, gdi::screenWidth(), gdi::screenHeight()});
  if (rectEmpty(area)) return;
  RectList uncovered(area);
  for (HWND top : topLevels) {
    Window* w = find(top);
    if (!w || !(w->style & WS_VISIBLE)) continue;
    const RECT part = rectIntersect(w->rect, area);
    if (rectEmpty(part)) continue;
    uncovered.subtract(w->rect);
    w->frameDirty = true;
    const POINT o = clientOrigin(*w);
    const RECT local = rectOffset(part, -o.x, -o.y);
    invalidate(*w, &local, true, true);
  }
  for (const RECT& r : uncovered.rects()) fillDesktop(r);
}

void WindowManager::fillDesktop(const RECT& screenRect) {
  HDC dc = gdi::createWindowDC(nullptr, POINT{0, 0}, std::vector<RECT>{screenRect});
  if (!dc) return;
  FillRect(dc, &screenRect, GetSysColorBrush(COLOR_BACKGROUND));
  gdi::releaseWindowDC(dc);
}

HWND WindowManager::findWindowToPaint() {
  const std::vector<HWND> order = topLevels;
  for (HWND top : order) {
    if (HWND found = searchPaint(top)) return found;
  }
  return nullptr;
}

void WindowManager::sendPaint(HWND hwnd) { SendMessageW(hwnd, WM_PAINT, 0, 0); }

void WindowManager::paintTree(HWND hwnd, bool children) {
  Window* w = find(hwnd);
  if (!w || !visible(*w) || !w->redraw) return;
  if (w->frameDirty) paintFrame(*w);
  if (!rectEmpty(w->update) || w->internalPaint) {
    sendPaint(hwnd);
    w = find(hwnd);
    if (!w) return;
  }
  if (!children) return;
  const std::vector<HWND> list = w->children;
  for (HWND c : list) paintTree(c, true);
}

}  // namespace platform

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = wm().get(hwnd);
  if (!w) return nullptr;
  if (!ps) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (w->frameDirty) wm().paintFrame(*w);
  const RECT paint = platform::rectIntersect(w->update, clientBounds(*w));
  const bool eraseNeeded = w->erase;
  w->update = RECT{0, 0, 0, 0};
  w->erase = false;
  w->internalPaint = false;
  w->painting = true;
  const POINT origin = wm().clientOrigin(*w);
  const RECT screenPaint = platform::rectOffset(paint, origin.x, origin.y);
  RectList clip = wm().visibleRegion(*w, false);
  clip.intersect(screenPaint);
  platform::gdi::beginTextCapture(hwnd, screenPaint);
  HDC dc = platform::gdi::createWindowDC(hwnd, origin, clip.rects());
  *ps = PAINTSTRUCT{};
  ps->hdc = dc;
  ps->rcPaint = paint;
  ps->fErase = FALSE;
  if (eraseNeeded && dc) {
    ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  }
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps) {
  Window* w = wm().find(hwnd);
  if (w) w->painting = false;
  if (!ps) return FALSE;
  if (ps->hdc) platform::gdi::releaseWindowDC(ps->hdc);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) {
    const RECT screen{0, 0, platform::gdi::screenWidth(), platform::gdi::screenHeight()};
    return platform::gdi::createWindowDC(nullptr, POINT{0, 0}, std::vector<RECT>{screen});
  }
  Window* w = wm().get(hwnd);
  if (!w) return nullptr;
  return platform::gdi::createWindowDC(hwnd, wm().clientOrigin(*w), wm().visibleRegion(*w, false).rects());
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return GetDC(nullptr);
  Window* w = wm().get(hwnd);
  if (!w) return nullptr;
  const RECT r = wm().windowScreenRect(*w);
  return platform::gdi::createWindowDC(hwnd, POINT{r.left, r.top}, wm().visibleRegion(*w, true).rects());
}

int ReleaseDC(HWND, HDC hdc) {
  if (!hdc) return 0;
  platform::gdi::releaseWindowDC(hdc);
  return 1;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    // The whole screen: every top-level window, erased.
    for (HWND top : wm().topLevels) {
      if (Window* w = wm().find(top)) {
        w->frameDirty = true;
        wm().invalidate(*w, nullptr, true, true);
      }
    }
    return TRUE;
  }
  Window* w = wm().get(hwnd);
  if (!w) return FALSE;
  wm().invalidate(*w, rect, erase != FALSE, !(w->style & WS_CLIPCHILDREN));
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  if (!hwnd) return InvalidateRect(nullptr, nullptr, TRUE);
  Window* w = wm().get(hwnd);
  if (!w) return FALSE;
  wm().validate(*w, rect, !(w->style & WS_CLIPCHILDREN));
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = wm().get(hwnd);
  if (!w) return FALSE;
  const bool pending = !platform::rectEmpty(w->update);
  if (rect) *rect = pending ? w->update : RECT{0, 0, 0, 0};
  if (pending && erase && w->erase) {
    HDC dc = GetDC(hwnd);
    w->erase = false;
    SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(hwnd, dc);
  }
  return pending ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
  if (!wm().get(hwnd)) return FALSE;
  wm().paintTree(hwnd, true);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* updateRect, HRGN updateRegion, UINT flags) {
  if (!hwnd) {
    const std::vector<HWND> tops = wm().topLevels;
    for (HWND top : tops) RedrawWindow(top, nullptr, nullptr, flags | RDW_ALLCHILDREN);
    return TRUE;
  }
  Window* w = wm().get(hwnd);
  if (!w) return FALSE;
  RECT regionBox{};
  const RECT* area = updateRect;
  if (!area && updateRegion) {
    GetRgnBox(updateRegion, &regionBox);
    area = &regionBox;
  }
  const bool children = (flags & RDW_ALLCHILDREN)  ? true
                        : (flags & RDW_NOCHILDREN) ? false
                                                   : !(w->style & WS_CLIPCHILDREN);
  if (flags & RDW_INVALIDATE) {
    wm().invalidate(*w, area, (flags & RDW_ERASE) != 0, children);
    if (flags & RDW_FRAME) w->frameDirty = true;
  }
  if (flags & RDW_INTERNALPAINT) w->internalPaint = true;
  if (flags & RDW_VALIDATE) wm().validate(*w, area, children);
  if (flags & RDW_NOINTERNALPAINT) w->internalPaint = false;
  if (flags & RDW_NOERASE) w->erase = false;
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) wm().paintTree(hwnd, children);
  return TRUE;
}

// Moves the pixels of the scrolled area when the window is fully visible; an obscured window is
// simply invalidated, as there are no saved pixels below other windows.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion,
                   LPRECT updateRect, UINT flags) {
  Window* w = wm().get(hwnd);
  if (!w) return ERROR;
  const RECT bounds = clientBounds(*w);
  const RECT area = platform::rectIntersect(scroll ? *scroll : bounds, bounds);
  const RECT clipArea = platform::rectIntersect(clip ? *clip : bounds, bounds);
  const RECT target = platform::rectIntersect(platform::rectOffset(area, dx, dy), clipArea);
  RectList exposed(platform::rectIntersect(area, clipArea));
  exposed.subtract(target);
  const POINT o = wm().clientOrigin(*w);
  const RectList vis = wm().visibleRegion(*w, false);
  const RECT clientScreen = platform::rectOffset(bounds, o.x, o.y);
  const bool fullyVisible = vis.rects().size() == 1 && vis.rects()[0].left == clientScreen.left &&
                            vis.rects()[0].top == clientScreen.top && vis.rects()[0].right == clientScreen.right &&
                            vis.rects()[0].bottom == clientScreen.bottom;
  RECT exposedBox = exposed.bounds();
  if (!platform::rectEmpty(area) && (dx || dy)) {
    if (fullyVisible) {
      platform::gdi::shiftScreenPixels(hwnd, platform::rectOffset(area, o.x, o.y), dx, dy,
                                       platform::rectOffset(clipArea, o.x, o.y));
    } else {
      exposedBox = platform::rectIntersect(area, clipArea);
    }
    // A pending update moves with the pixels.
    if (!platform::rectEmpty(w->update)) {
      const RECT inside = platform::rectIntersect(w->update, area);
      if (!platform::rectEmpty(inside)) {
        w->update =
            platform::rectUnion(w->update, platform::rectIntersect(platform::rectOffset(inside, dx, dy), clipArea));
      }
    }
  }
  if (flags & SW_SCROLLCHILDREN) {
    const std::vector<HWND> list = w->children;
    for (HWND c : list) {
      Window* cw = wm().find(c);
      if (!cw) continue;
      if (scroll && platform::rectEmpty(platform::rectIntersect(cw->rect, area))) continue;
      SetWindowPos(c, nullptr, cw->rect.left + dx, cw->rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((w = wm().find(hwnd)) == nullptr) return ERROR;
  }
  if ((flags & SW_INVALIDATE) && !platform::rectEmpty(exposedBox)) {
    wm().invalidate(*w, &exposedBox, (flags & SW_ERASE) != 0, !(w->style & WS_CLIPCHILDREN));
  }
  if (updateRect) *updateRect = exposedBox;
  if (updateRegion) SetRectRgn(updateRegion, exposedBox.left, exposedBox.top, exposedBox.right, exposedBox.bottom);
  return platform::rectEmpty(exposedBox) ? NULLREGION : SIMPLEREGION;
}

namespace platform {
HBRUSH classBackgroundBrush(const Window& w) { return w.cls ? brushFromClass(w.cls->background) : nullptr; }
}  // namespace platform
