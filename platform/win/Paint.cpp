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
// - A top-level window of a CS_SAVEBITS class keeps the screen under it while it is shown;
//   hiding it puts back the pixels and the texts recorded there, and only what changed below
//   it meanwhile is invalidated (SavedBits.h).
#include <algorithm>

#include "platform/base/WinError.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/win/WindowManager.h"

using platform::paintScheduler;
using platform::RectList;
using platform::Window;
using platform::windowTree;

namespace {

RECT clientBounds(const Window& w) {
  const RECT c = platform::clientRectLocal(w);
  return RECT{0, 0, c.right - c.left, c.bottom - c.top};
}
}  // namespace

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT ps) {
  Window* w = windowTree().get(hwnd);
  if (!w) return nullptr;
  if (!ps) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  paintScheduler().paintFrameIfDirty(*w);
  const platform::PaintScheduler::Update update = paintScheduler().takeUpdate(*w);
  const POINT origin = windowTree().clientOrigin(*w);
  const RECT screenPaint = platform::rectOffset(update.rect, origin.x, origin.y);
  RectList clip = windowTree().visibleRegion(*w, false);
  clip.intersect(screenPaint);
  platform::gdi::beginTextCapture(hwnd, screenPaint);
  HDC dc = platform::gdi::createWindowDC(hwnd, origin, clip.rects());
  *ps = PAINTSTRUCT{};
  ps->hdc = dc;
  ps->rcPaint = update.rect;
  ps->fErase = FALSE;
  if (update.erase && dc) {
    ps->fErase = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  }
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (!ps) return FALSE;
  if (ps->hdc) platform::gdi::releaseWindowDC(ps->hdc);
  return TRUE;
}

HDC GetDC(HWND hwnd) {
  if (!hwnd) {
    const RECT screen{0, 0, platform::gdi::screenWidth(), platform::gdi::screenHeight()};
    return platform::gdi::createWindowDC(nullptr, POINT{0, 0}, std::vector<RECT>{screen});
  }
  Window* w = windowTree().get(hwnd);
  if (!w) return nullptr;
  // Drawing outside WM_PAINT changes the window where it is covered too, as far as the screen
  // kept under windows above it goes.
  paintScheduler().windowChanged(*w, windowTree().clientScreenRect(*w));
  return platform::gdi::createWindowDC(hwnd, windowTree().clientOrigin(*w),
                                       windowTree().visibleRegion(*w, false).rects());
}

HDC GetWindowDC(HWND hwnd) {
  if (!hwnd) return GetDC(nullptr);
  Window* w = windowTree().get(hwnd);
  if (!w) return nullptr;
  const RECT r = windowTree().windowScreenRect(*w);
  paintScheduler().windowChanged(*w, r);
  return platform::gdi::createWindowDC(hwnd, POINT{r.left, r.top}, windowTree().visibleRegion(*w, true).rects());
}

int ReleaseDC(HWND, HDC hdc) {
  if (!hdc) return 0;
  platform::gdi::releaseWindowDC(hdc);
  return 1;
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
  if (!hwnd) {
    // The whole screen: every top-level window, erased.
    const std::vector<HWND> tops = windowTree().topLevels();
    for (HWND top : tops) {
      if (Window* w = windowTree().find(top)) {
        paintScheduler().invalidateFrame(*w);
        paintScheduler().invalidate(*w, nullptr, true, true);
      }
    }
    return TRUE;
  }
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  paintScheduler().invalidate(*w, rect, erase != FALSE, !(w->style & WS_CLIPCHILDREN));
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
  if (!hwnd) return InvalidateRect(nullptr, nullptr, TRUE);
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  paintScheduler().validate(*w, rect, !(w->style & WS_CLIPCHILDREN));
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase) {
  Window* w = windowTree().get(hwnd);
  if (!w) return FALSE;
  const platform::PaintScheduler::Update update = paintScheduler().pendingUpdate(*w);
  const bool pending = !platform::rectEmpty(update.rect);
  if (rect) *rect = pending ? update.rect : RECT{0, 0, 0, 0};
  if (pending && erase && update.erase) {
    HDC dc = GetDC(hwnd);
    paintScheduler().clearErase(*w);
    SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    ReleaseDC(hwnd, dc);
  }
  return pending ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
  if (!windowTree().get(hwnd)) return FALSE;
  paintScheduler().paintTree(hwnd, true);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* updateRect, HRGN updateRegion, UINT flags) {
  if (!hwnd) {
    const std::vector<HWND> tops = windowTree().topLevels();
    for (HWND top : tops) RedrawWindow(top, nullptr, nullptr, flags | RDW_ALLCHILDREN);
    return TRUE;
  }
  Window* w = windowTree().get(hwnd);
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
    paintScheduler().invalidate(*w, area, (flags & RDW_ERASE) != 0, children);
    if (flags & RDW_FRAME) paintScheduler().invalidateFrame(*w);
  }
  if (flags & RDW_INTERNALPAINT) paintScheduler().setInternalPaint(*w, true);
  if (flags & RDW_VALIDATE) paintScheduler().validate(*w, area, children);
  if (flags & RDW_NOINTERNALPAINT) paintScheduler().setInternalPaint(*w, false);
  if (flags & RDW_NOERASE) paintScheduler().clearErase(*w);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) paintScheduler().paintTree(hwnd, children);
  return TRUE;
}

// Moves the pixels of the scrolled area when the window is fully visible; an obscured window is
// simply invalidated, as there are no saved pixels below other windows.
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion,
                   LPRECT updateRect, UINT flags) {
  Window* w = windowTree().get(hwnd);
  if (!w) return ERROR;
  const RECT bounds = clientBounds(*w);
  const RECT area = platform::rectIntersect(scroll ? *scroll : bounds, bounds);
  const RECT clipArea = platform::rectIntersect(clip ? *clip : bounds, bounds);
  const RECT target = platform::rectIntersect(platform::rectOffset(area, dx, dy), clipArea);
  RectList exposed(platform::rectIntersect(area, clipArea));
  exposed.subtract(target);
  const POINT o = windowTree().clientOrigin(*w);
  const RectList vis = windowTree().visibleRegion(*w, false);
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
    paintScheduler().scrollUpdate(*w, area, dx, dy, clipArea);
  }
  if (flags & SW_SCROLLCHILDREN) {
    const std::vector<HWND> list = w->children;
    for (HWND c : list) {
      Window* cw = windowTree().find(c);
      if (!cw) continue;
      if (scroll && platform::rectEmpty(platform::rectIntersect(cw->rect, area))) continue;
      SetWindowPos(c, nullptr, cw->rect.left + dx, cw->rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if ((w = windowTree().find(hwnd)) == nullptr) return ERROR;
  }
  if ((flags & SW_INVALIDATE) && !platform::rectEmpty(exposedBox)) {
    paintScheduler().invalidate(*w, &exposedBox, (flags & SW_ERASE) != 0, !(w->style & WS_CLIPCHILDREN));
  }
  if (updateRect) *updateRect = exposedBox;
  if (updateRegion) SetRectRgn(updateRegion, exposedBox.left, exposedBox.top, exposedBox.right, exposedBox.bottom);
  return platform::rectEmpty(exposedBox) ? NULLREGION : SIMPLEREGION;
}
