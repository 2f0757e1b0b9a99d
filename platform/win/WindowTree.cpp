#include "platform/win/WindowTree.h"

#include <algorithm>

#include "platform/base/WinError.h"
#include "platform/gdi/GdiBridge.h"

namespace platform {

namespace {
std::u16string lower(std::u16string s) {
  for (auto& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return s;
}
}  // namespace

Window* WindowTree::find(HWND hwnd) const {
  if (!hwnd) return nullptr;
  const auto* w = windows_.find(hwnd);
  return w ? w->get() : nullptr;
}

Window* WindowTree::get(HWND hwnd) const {
  Window* w = find(hwnd);
  if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
  return w;
}

std::shared_ptr<WindowClass> WindowTree::findClass(const std::u16string& name) const {
  auto it = classes_.find(lower(name));
  return it == classes_.end() ? nullptr : it->second;
}

std::shared_ptr<WindowClass> WindowTree::findClass(ATOM atom) const {
  for (const auto& [key, cls] : classes_)
    if (cls->atom == atom) return cls;
  return nullptr;
}

ATOM WindowTree::addClass(std::shared_ptr<WindowClass> cls) {
  cls->atom = nextAtom_++;
  const ATOM atom = cls->atom;
  classes_[lower(cls->name)] = std::move(cls);
  return atom;
}

void WindowTree::removeClass(const WindowClass& cls) { classes_.erase(lower(cls.name)); }

// Handles are never reused, so a stale handle stays invalid for the life of the process.
Window& WindowTree::create() {
  nextHandle_ += 4;
  auto made = std::make_unique<Window>();
  made->handle = reinterpret_cast<HWND>(nextHandle_);
  Window& w = *made;
  windows_.emplace(w.handle, std::move(made));
  return w;
}

void WindowTree::remove(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return;
  unlink(*w);
  windows_.erase(hwnd);
}

const std::vector<HWND>& WindowTree::siblingsOf(const Window& w) const {
  if (w.parent) {
    if (const Window* p = find(w.parent)) return p->children;
  }
  return topLevels_;
}

std::vector<HWND>& WindowTree::siblingList(const Window& w) {
  if (w.parent) {
    if (Window* p = find(w.parent)) return p->children;
  }
  return topLevels_;
}

void WindowTree::linkAtBottom(const Window& w) { siblingList(w).push_back(w.handle); }

void WindowTree::linkAtTop(const Window& w) {
  auto& list = siblingList(w);
  list.insert(list.begin(), w.handle);
}

void WindowTree::unlink(const Window& w) {
  auto& list = siblingList(w);
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
}

void WindowTree::unlinkTopLevel(HWND hwnd) { std::erase(topLevels_, hwnd); }

bool WindowTree::raise(HWND hwnd) {
  Window* w = find(hwnd);
  if (!w) return false;
  auto& list = siblingList(*w);
  const std::vector<HWND> before = list;
  list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
  auto pos = list.begin();
  if (w->parent == nullptr && !(w->exStyle & WS_EX_TOPMOST)) {
    while (pos != list.end()) {
      Window* o = find(*pos);
      if (!o || !(o->exStyle & WS_EX_TOPMOST)) break;
      ++pos;
    }
  }
  list.insert(pos, hwnd);
  if (!w->parent) {
    // Owned windows stay above their owner, in their order.
    std::vector<HWND> owned;
    for (HWND h : std::vector<HWND>(list)) {
      Window* o = find(h);
      if (!o || h == hwnd || (o->exStyle & WS_EX_TOPMOST)) continue;
      for (HWND up = o->owner; up; up = find(up) ? find(up)->owner : nullptr) {
        if (up == hwnd) {
          owned.push_back(h);
          break;
        }
      }
    }
    for (HWND h : owned) list.erase(std::remove(list.begin(), list.end(), h), list.end());
    auto at = std::find(list.begin(), list.end(), hwnd);
    list.insert(at, owned.begin(), owned.end());
  }
  return list != before;
}

bool WindowTree::place(Window& w, HWND insertAfter) {
  auto& list = siblingList(w);
  const std::vector<HWND> before = list;
  list.erase(std::remove(list.begin(), list.end(), w.handle), list.end());
  if (insertAfter == HWND_BOTTOM) {
    list.push_back(w.handle);
  } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    if (insertAfter == HWND_TOPMOST) w.exStyle |= WS_EX_TOPMOST;
    if (insertAfter == HWND_NOTOPMOST) w.exStyle &= ~WS_EX_TOPMOST;
    list.insert(list.begin(), w.handle);
    raise(w.handle);
  } else {
    auto it = std::find(list.begin(), list.end(), insertAfter);
    list.insert(it == list.end() ? list.begin() : it + 1, w.handle);
  }
  return list != before;
}

RECT WindowTree::windowScreenRect(const Window& w) const {
  if (!w.parent) return w.rect;
  const Window* p = find(w.parent);
  if (!p) return w.rect;
  const POINT o = clientOrigin(*p);
  return rectOffset(w.rect, o.x, o.y);
}

POINT WindowTree::clientOrigin(const Window& w) const {
  const RECT wr = windowScreenRect(w);
  const RECT c = clientRectLocal(w);
  return POINT{wr.left + c.left, wr.top + c.top};
}

RECT WindowTree::clientScreenRect(const Window& w) const {
  const RECT wr = windowScreenRect(w);
  return rectOffset(clientRectLocal(w), wr.left, wr.top);
}

bool WindowTree::visible(const Window& w) const {
  const Window* cur = &w;
  while (cur) {
    if (!(cur->style & WS_VISIBLE)) return false;
    cur = cur->parent ? find(cur->parent) : nullptr;
  }
  return true;
}

bool WindowTree::enabled(const Window& w) const { return !(w.style & WS_DISABLED); }

HWND WindowTree::topLevelOf(HWND hwnd) const {
  const Window* w = find(hwnd);
  while (w && w->parent) w = find(w->parent);
  return w ? w->handle : nullptr;
}

bool WindowTree::isDescendant(HWND ancestor, HWND hwnd) const {
  const Window* w = find(hwnd);
  while (w) {
    if (w->handle == ancestor) return true;
    w = w->parent ? find(w->parent) : nullptr;
  }
  return false;
}

// Top-level windows always clip each other. A child is clipped by its parent's client area,
// by siblings above it only when it has WS_CLIPSIBLINGS, and by its own children only in its
// client DC and only with WS_CLIPCHILDREN.
RectList WindowTree::visibleRegion(const Window& w, bool wholeWindow) const {
  if (!visible(w)) return RectList();
  RectList region(wholeWindow ? windowScreenRect(w) : clientScreenRect(w));
  region.intersect(RECT{0, 0, gdi::screenWidth(), gdi::screenHeight()});
  const Window* cur = &w;
  while (cur && !region.empty()) {
    const bool clipSiblings = !cur->parent || (cur->style & WS_CLIPSIBLINGS);
    if (clipSiblings) {
      for (HWND s : siblingsOf(*cur)) {
        if (s == cur->handle) break;
        const Window* sw = find(s);
        if (sw && (sw->style & WS_VISIBLE)) region.subtract(windowScreenRect(*sw));
      }
    }
    if (!cur->parent) break;
    const Window* p = find(cur->parent);
    if (!p) break;
    region.intersect(clientScreenRect(*p));
    cur = p;
  }
  if (!wholeWindow && (w.style & WS_CLIPCHILDREN)) {
    for (HWND c : w.children) {
      const Window* cw = find(c);
      if (cw && (cw->style & WS_VISIBLE)) region.subtract(windowScreenRect(*cw));
    }
  }
  return region;
}

HWND WindowTree::windowFromPoint(POINT pt, int* hitTest) const {
  for (HWND top : topLevels_) {
    const Window* w = find(top);
    if (!w || !(w->style & WS_VISIBLE) || !rectContains(w->rect, pt)) continue;
    // Descend into the topmost visible child under the point.
    for (;;) {
      const Window* next = nullptr;
      if (rectContains(clientScreenRect(*w), pt)) {
        for (HWND c : w->children) {
          const Window* cw = find(c);
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

void WindowTree::clear() {
  windows_.clear();
  classes_.clear();
  topLevels_.clear();
  nextAtom_ = 0xC000;
}

}  // namespace platform
