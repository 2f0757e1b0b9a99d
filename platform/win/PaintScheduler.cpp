#include "platform/win/PaintScheduler.h"

#include "platform/gdi/GdiBridge.h"
#include "platform/win/Frame.h"

namespace platform {

PaintScheduler::PaintScheduler(WindowTree& tree, const InputState& input)
    : tree_(tree), input_(input), savedBits_(tree) {}

PaintScheduler::Pending* PaintScheduler::pendingOf(HWND hwnd) {
  auto it = pending_.find(hwnd);
  return it == pending_.end() ? nullptr : &it->second;
}

const PaintScheduler::Pending* PaintScheduler::pendingOf(HWND hwnd) const {
  auto it = pending_.find(hwnd);
  return it == pending_.end() ? nullptr : &it->second;
}

// An entry with nothing left pending goes, so that an idle screen has none to search.
void PaintScheduler::tidy(HWND hwnd) {
  auto it = pending_.find(hwnd);
  if (it == pending_.end()) return;
  const Pending& p = it->second;
  if (rectEmpty(p.update) && !p.erase && !p.internalPaint && !p.frameDirty) pending_.erase(it);
}

RECT PaintScheduler::clientBounds(const Window& w) const {
  const RECT c = clientRectLocal(w);
  return RECT{0, 0, c.right - c.left, c.bottom - c.top};
}

void PaintScheduler::invalidate(Window& w, const RECT* clientRect, bool eraseToo, bool children) {
  if (!tree_.visible(w)) return;
  const RECT bounds = clientBounds(w);
  const RECT r = clientRect ? rectIntersect(*clientRect, bounds) : bounds;
  if (rectEmpty(r)) return;
  if (!savedBits_.empty()) {
    const POINT o = tree_.clientOrigin(w);
    savedBits_.markStale(w.handle, rectOffset(r, o.x, o.y));
  }
  Pending& p = pending_[w.handle];
  p.update = rectUnion(p.update, r);
  if (eraseToo) p.erase = true;
  if (!children) return;
  for (HWND c : w.children) {
    Window* cw = tree_.find(c);
    if (!cw || !(cw->style & WS_VISIBLE)) continue;
    const RECT part = rectIntersect(cw->rect, r);
    if (rectEmpty(part)) continue;
    invalidateFrame(*cw);
    const RECT cl = clientRectLocal(*cw);
    const RECT local = rectOffset(part, -(cw->rect.left + cl.left), -(cw->rect.top + cl.top));
    invalidate(*cw, &local, eraseToo, true);
  }
}

void PaintScheduler::validate(Window& w, const RECT* clientRect, bool children) {
  if (Pending* p = pendingOf(w.handle)) {
    if (!clientRect) {
      p->update = RECT{0, 0, 0, 0};
      p->erase = false;
      p->internalPaint = false;
    } else {
      RectList left(p->update);
      left.subtract(*clientRect);
      p->update = left.bounds();
      if (rectEmpty(p->update)) p->erase = false;
    }
    tidy(w.handle);
  }
  if (!children) return;
  for (HWND c : w.children) {
    Window* cw = tree_.find(c);
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

void PaintScheduler::invalidateFrame(const Window& w) {
  pending_[w.handle].frameDirty = true;
  if (!savedBits_.empty()) frameChanged(w);
}

void PaintScheduler::frameChanged(const Window& w) {
  RectList frame(tree_.windowScreenRect(w));
  frame.subtract(tree_.clientScreenRect(w));
  for (const RECT& r : frame.rects()) savedBits_.markStale(w.handle, r);
}

// Only the topmost window at each point was uncovered; what lies under other windows still
// shows nothing new and is left alone.
void PaintScheduler::invalidateScreenArea(const RECT& screenRect) {
  const RECT area = rectIntersect(screenRect, RECT{0, 0, gdi::screenWidth(), gdi::screenHeight()});
  if (rectEmpty(area)) return;
  RectList uncovered(area);
  const std::vector<HWND> order = tree_.topLevels();
  for (HWND top : order) {
    if (uncovered.empty()) break;
    Window* w = tree_.find(top);
    if (!w || !(w->style & WS_VISIBLE)) continue;
    RectList exposed = uncovered;
    exposed.intersect(w->rect);
    if (exposed.empty()) continue;
    uncovered.subtract(w->rect);
    invalidateFrame(*w);
    const POINT o = tree_.clientOrigin(*w);
    const RECT local = rectOffset(exposed.bounds(), -o.x, -o.y);
    invalidate(*w, &local, true, true);
  }
  for (const RECT& r : uncovered.rects()) fillDesktop(r);
}

void PaintScheduler::fillDesktop(const RECT& screenRect) {
  HDC dc = gdi::createWindowDC(nullptr, POINT{0, 0}, std::vector<RECT>{screenRect});
  if (!dc) return;
  FillRect(dc, &screenRect, GetSysColorBrush(COLOR_BACKGROUND));
  gdi::releaseWindowDC(dc);
}

PaintScheduler::Update PaintScheduler::pendingUpdate(const Window& w) const {
  const Pending* p = pendingOf(w.handle);
  return p ? Update{p->update, p->erase} : Update{};
}

PaintScheduler::Update PaintScheduler::takeUpdate(const Window& w) {
  Pending* p = pendingOf(w.handle);
  if (!p) return Update{};
  const Update taken{rectIntersect(p->update, clientBounds(w)), p->erase};
  p->update = RECT{0, 0, 0, 0};
  p->erase = false;
  p->internalPaint = false;
  tidy(w.handle);
  return taken;
}

void PaintScheduler::clearErase(const Window& w) {
  if (Pending* p = pendingOf(w.handle)) {
    p->erase = false;
    tidy(w.handle);
  }
}

void PaintScheduler::setInternalPaint(const Window& w, bool on) {
  if (on) {
    pending_[w.handle].internalPaint = true;
  } else if (Pending* p = pendingOf(w.handle)) {
    p->internalPaint = false;
    tidy(w.handle);
  }
}

void PaintScheduler::scrollUpdate(const Window& w, const RECT& area, int dx, int dy, const RECT& clipArea) {
  Pending* p = pendingOf(w.handle);
  if (!p || rectEmpty(p->update)) return;
  const RECT inside = rectIntersect(p->update, area);
  if (!rectEmpty(inside)) p->update = rectUnion(p->update, rectIntersect(rectOffset(inside, dx, dy), clipArea));
}

void PaintScheduler::setRedraw(const Window& w, bool on) {
  if (on) {
    noRedraw_.erase(w.handle);
  } else {
    noRedraw_.insert(w.handle);
  }
}

HWND PaintScheduler::searchPaint(HWND hwnd) {
  Window* w = tree_.find(hwnd);
  if (!w || !(w->style & WS_VISIBLE) || !redrawOn(hwnd)) return nullptr;
  if (const Pending* p = pendingOf(hwnd)) {
    paintFrameIfDirty(*w);
    p = pendingOf(hwnd);
    if (p && (!rectEmpty(p->update) || p->internalPaint)) return hwnd;
  }
  for (HWND c : w->children) {
    if (HWND found = searchPaint(c)) return found;
  }
  return nullptr;
}

HWND PaintScheduler::findWindowToPaint() {
  if (pending_.empty()) return nullptr;
  const std::vector<HWND> order = tree_.topLevels();
  for (HWND top : order) {
    if (HWND found = searchPaint(top)) return found;
  }
  return nullptr;
}

void PaintScheduler::paintTree(HWND hwnd, bool children) {
  Window* w = tree_.find(hwnd);
  if (!w || !tree_.visible(*w) || !redrawOn(hwnd)) return;
  if (const Pending* p = pendingOf(hwnd)) {
    paintFrameIfDirty(*w);
    p = pendingOf(hwnd);
    if (p && (!rectEmpty(p->update) || p->internalPaint)) {
      SendMessageW(hwnd, WM_PAINT, 0, 0);
      w = tree_.find(hwnd);
      if (!w) return;
    }
  }
  if (!children) return;
  const std::vector<HWND> list = w->children;
  for (HWND c : list) paintTree(c, true);
}

void PaintScheduler::paintFrameIfDirty(const Window& w) {
  Pending* p = pendingOf(w.handle);
  if (!p || !p->frameDirty) return;
  p->frameDirty = false;
  tidy(w.handle);
  drawWindowFrame(tree_, w, tree_.topLevelOf(w.handle) == input_.active());
}

void PaintScheduler::windowShown(const Window& w) {
  if (w.parent || !w.cls || !(w.cls->style & CS_SAVEBITS)) return;
  savedBits_.save(w.handle, tree_.windowScreenRect(w));
  // What windows below are still to paint there is not on the screen yet.
  for (const auto& [hwnd, p] : pending_) {
    const Window* below = tree_.find(hwnd);
    if (!below || hwnd == w.handle) continue;
    if (p.frameDirty) frameChanged(*below);
    if (!rectEmpty(p.update)) {
      const POINT o = tree_.clientOrigin(*below);
      savedBits_.markStale(hwnd, rectOffset(p.update, o.x, o.y));
    }
  }
}

void PaintScheduler::windowChanged(const Window& w, const RECT& screenRect) {
  if (!savedBits_.empty()) savedBits_.markStale(w.handle, screenRect);
}

void PaintScheduler::windowHidden(const Window& w, const RECT& oldScreenRect, bool redraw) {
  if (!redraw) {
    savedBits_.discard(w.handle);
    return;
  }
  const RectList repaint = savedBits_.restore(w.handle, oldScreenRect);
  for (const RECT& r : repaint.rects()) invalidateScreenArea(r);
}

void PaintScheduler::forget(HWND hwnd) {
  pending_.erase(hwnd);
  noRedraw_.erase(hwnd);
  savedBits_.discard(hwnd);
}

void PaintScheduler::clear() {
  pending_.clear();
  noRedraw_.clear();
  savedBits_.clear();
}

}  // namespace platform
