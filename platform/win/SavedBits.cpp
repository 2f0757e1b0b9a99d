#include "platform/win/SavedBits.h"

#include <algorithm>

namespace platform {

int SavedBits::depthOf(HWND hwnd) const {
  const HWND top = tree_.topLevelOf(hwnd);
  const std::vector<HWND>& order = tree_.topLevels();
  const auto it = std::find(order.begin(), order.end(), top);
  return it == order.end() ? -1 : static_cast<int>(it - order.begin());
}

void SavedBits::save(HWND hwnd, const RECT& screenRect) {
  discard(hwnd);
  Entry entry{hwnd, gdi::SavedScreenArea(screenRect), RectList()};
  const RECT area = entry.saved.area();
  if (rectEmpty(area)) return;
  for (HWND top : tree_.topLevels()) {
    if (top == hwnd) break;
    const Window* above = tree_.find(top);
    if (!above || !(above->style & WS_VISIBLE)) continue;
    const RECT covered = rectIntersect(above->rect, area);
    if (!rectEmpty(covered)) entry.stale.add(covered);
  }
  entries_.push_back(std::move(entry));
}

void SavedBits::markStale(HWND changed, const RECT& screenRect) {
  const int changedDepth = changed ? depthOf(changed) : static_cast<int>(tree_.topLevels().size());
  if (changedDepth < 0) return;
  for (Entry& entry : entries_) {
    const RECT part = rectIntersect(screenRect, entry.saved.area());
    if (rectEmpty(part)) continue;
    const int depth = depthOf(entry.hwnd);
    if (depth >= 0 && changedDepth > depth) entry.stale.add(part);
  }
}

RectList SavedBits::restore(HWND hwnd, const RECT& screenRect) {
  const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.hwnd == hwnd; });
  if (it == entries_.end()) return RectList(screenRect);
  const Entry entry = std::move(*it);
  entries_.erase(it);
  if (!entry.saved.fitsScreen()) return RectList(screenRect);

  // What windows above it show stays as it is; the rest is put back or painted afresh.
  RectList repaint(screenRect);
  RectList good(rectIntersect(screenRect, entry.saved.area()));
  for (const RECT& r : entry.stale.rects()) good.subtract(r);
  for (HWND top : tree_.topLevels()) {
    if (top == hwnd) break;
    const Window* above = tree_.find(top);
    if (!above || !(above->style & WS_VISIBLE)) continue;
    good.subtract(above->rect);
    repaint.subtract(above->rect);
  }
  // Records go back only to windows still below it; the others are gone or lie above.
  const int depth = depthOf(hwnd);
  const auto below = [&](HWND owner) {
    if (!owner) return true;
    const int d = tree_.find(owner) ? depthOf(owner) : -1;
    return depth >= 0 && d > depth;
  };
  for (const RECT& r : good.rects()) {
    entry.saved.restore(r, below);
    repaint.subtract(r);
  }
  return repaint;
}

void SavedBits::discard(HWND hwnd) {
  std::erase_if(entries_, [&](const Entry& e) { return e.hwnd == hwnd; });
}

}  // namespace platform
