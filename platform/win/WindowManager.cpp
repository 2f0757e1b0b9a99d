#include "platform/win/WindowManager.h"

#include <algorithm>

#include "platform/base/Clock.h"
#include "platform/base/WinError.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/win/SystemHooks.h"

namespace platform {

WindowManager& WindowManager::instance() {
  static WindowManager manager;
  installSystemHooks();
  return manager;
}

Window* WindowManager::find(HWND hwnd) {
  if (!hwnd) return nullptr;
  auto it = windows.find(hwnd);
  return it == windows.end() ? nullptr : it->second.get();
}

Window* WindowManager::get(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

std::shared_ptr<WindowClass> WindowManager::findClass(const std::u16string& name) {
  std::u16string key = name;
  for (auto& c : key)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  auto it = classes.find(key);
  return it == classes.end() ? nullptr : it->second;
}

// Handles are never reused, so a stale handle stays invalid for the life of the process.
HWND WindowManager::newHandle() {
  nextHandle_ += 4;
  return reinterpret_cast<HWND>(nextHandle_);
}

int frameBorder(const Window& w) {
  if ((w.style & WS_DLGFRAME) || (w.exStyle & WS_EX_DLGMODALFRAME)) return GetSystemMetrics(SM_CXDLGFRAME);
  if (w.style & WS_BORDER) return GetSystemMetrics(SM_CXBORDER);
  return 0;
}

int frameCaption(const Window& w) { return (w.style & WS_CAPTION) == WS_CAPTION ? GetSystemMetrics(SM_CYCAPTION) : 0; }

bool hasVScroll(const Window& w) { return (w.style & WS_VSCROLL) != 0; }
bool hasHScroll(const Window& w) { return (w.style & WS_HSCROLL) != 0; }

RECT WindowManager::clientRectLocal(const Window& w) {
  const int width = w.rect.right - w.rect.left;
  const int height = w.rect.bottom - w.rect.top;
  const int b = frameBorder(w);
  RECT r{b, b + frameCaption(w), width - b, height - b};
  if (hasVScroll(w)) r.right -= GetSystemMetrics(SM_CXVSCROLL);
  if (hasHScroll(w)) r.bottom -= GetSystemMetrics(SM_CYHSCROLL);
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

RECT WindowManager::windowScreenRect(const Window& w) {
  if (!w.parent) return w.rect;
  Window* p = find(w.parent);
  if (!p) return w.rect;
  const POINT o = clientOrigin(*p);
  return rectOffset(w.rect, o.x, o.y);
}

POINT WindowManager::clientOrigin(const Window& w) {
  const RECT wr = windowScreenRect(w);
  const RECT c = clientRectLocal(w);
  return POINT{wr.left + c.left, wr.top + c.top};
}

RECT WindowManager::clientScreenRect(const Window& w) {
  const RECT wr = windowScreenRect(w);
  return rectOffset(clientRectLocal(w), wr.left, wr.top);
}

bool WindowManager::visible(const Window& w) {
  const Window* cur = &w;
  while (cur) {
    if (!(cur->style & WS_VISIBLE)) return false;
    cur = cur->parent ? find(cur->parent) : nullptr;
  }
  return true;
}

bool WindowManager::enabled(const Window& w) { return !(w.style & WS_DISABLED); }

HWND WindowManager::topLevelOf(HWND hwnd) {
  Window* w = find(hwnd);
  while (w && w->parent) w = find(w->parent);
  return w ? w->handle : nullptr;
}

bool WindowManager::isDescendant(HWND ancestor, HWND hwnd) {
  Window* w = find(hwnd);
  while (w) {
    if (w->handle == ancestor) return true;
    w = w->parent ? find(w->parent) : nullptr;
  }
  return false;
}

std::vector<HWND>& WindowManager::siblingsOf(const Window& w) {
  if (w.parent) {
    if (Window* p = find(w.parent)) return p->children;
  }
  return topLevels;
}

// Top-level windows always clip each other. A child is clipped by its parent's client area,
// by siblings above it only when it has WS_CLIPSIBLINGS, and by its own children only in its
// client DC and only with WS_CLIPCHILDREN.
RectList WindowManager::visibleRegion(const Window& w, bool wholeWindow) {
  if (!visible(w)) return RectList();
  RectList region(wholeWindow ? windowScreenRect(w) : clientScreenRect(w));
  region.intersect(RECT{0, 0, gdi::screenWidth(), gdi::screenHeight()});
  const Window* cur = &w;
  while (cur && !region.empty()) {
    const bool clipSiblings = !cur->parent || (cur->style & WS_CLIPSIBLINGS);
    if (clipSiblings) {
      for (HWND s : siblingsOf(*cur)) {
        if (s == cur->handle) break;
        Window* sw = find(s);
        if (sw && (sw->style & WS_VISIBLE)) region.subtract(windowScreenRect(*sw));
      }
    }
    if (!cur->parent) break;
    Window* p = find(cur->parent);
    if (!p) break;
    region.intersect(clientScreenRect(*p));
    cur = p;
  }
  if (!wholeWindow && (w.style & WS_CLIPCHILDREN)) {
    for (HWND c : w.children) {
      Window* cw = find(c);
      if (cw && (cw->style & WS_VISIBLE)) region.subtract(windowScreenRect(*cw));
    }
  }
  return region;
}

HWND WindowManager::windowFromPoint(POINT pt, int* hitTest) {
  for (HWND top : topLevels) {
    Window* w = find(top);
    if (!w || !(w->style & WS_VISIBLE) || !rectContains(w->rect, pt)) continue;
    // Descend into the topmost visible child under the point.
    for (;;) {
      Window* next = nullptr;
      if (rectContains(clientScreenRect(*w), pt)) {
        for (HWND c : w->children) {
          Window* cw = find(c);
          if (cw && (cw->style & WS_VISIBLE) && rectContains(windowScreenRect(*cw), pt)) {
            next = cw;
            break;
          }
        }
      }
      if (!next) break;
      w = next;
    }
    if (hitTest) {
      const RECT client = clientScreenRect(*w);
      const RECT wr = windowScreenRect(*w);
      if (rectContains(client, pt)) {
        *hitTest = HTCLIENT;
      } else if (hasVScroll(*w) && pt.x >= client.right && pt.y >= client.top && pt.y < client.bottom) {
        *hitTest = HTVSCROLL;
      } else if (hasHScroll(*w) && pt.y >= client.bottom && pt.x >= client.left && pt.x < client.right) {
        *hitTest = HTHSCROLL;
      } else if (frameCaption(*w) && pt.y < wr.top + frameBorder(*w) + frameCaption(*w)) {
        *hitTest = HTCAPTION;
      } else {
        *hitTest = HTBORDER;
      }
    }
    return w->handle;
  }
  if (hitTest) *hitTest = HTNOWHERE;
  return nullptr;
}

std::int64_t WindowManager::now() {
  // The clock's tick count wraps at 2^32; timers need a counter that does not.
  const std::uint32_t raw = Clock::instance().tickCount();
  if (!ticksStarted) {
    ticksStarted = true;
    lastRawTicks = raw;
    lastTicks = raw;
    return lastTicks;
  }
  const std::uint32_t delta = raw - lastRawTicks;
  // A clock switched or restarted (tests) shows up as a huge jump; treat it as a new start.
  if (delta > 0x80000000u) {
    lastRawTicks = raw;
    return lastTicks;
  }
  lastRawTicks = raw;
  lastTicks += delta;
  return lastTicks;
}

int WindowManager::msUntilNextTimer() {
  if (timers.empty()) return -1;
  const std::int64_t t = now();
  std::int64_t best = timers.front().due;
  for (const Timer& timer : timers) best = std::min(best, timer.due);
  if (best <= t) return 0;
  return static_cast<int>(std::min<std::int64_t>(best - t, 0x7FFFFFFF));
}

void WindowManager::reset() {
  while (!topLevels.empty()) {
    const HWND h = topLevels.front();
    DestroyWindow(h);
    if (!topLevels.empty() && topLevels.front() == h) topLevels.erase(topLevels.begin());
  }
  windows.clear();
  classes.clear();
  posted.clear();
  input.clear();
  timers.clear();
  hotKeys.clear();
  quitPosted = false;
  quitCode = 0;
  hostFinished = false;
  focus = active = capture = nullptr;
  std::fill(std::begin(keyState), std::end(keyState), BYTE{0});
  lastClickWindow = nullptr;
  lastClickTime = 0;
  scrollTrackWindow = nullptr;
  scrollRepeatTimer = 0;
  cursor = nullptr;
  waitCursorDrawn = false;
  ticksStarted = false;
  nextAtom = 0xC000;
}

}  // namespace platform
