// Small value helpers on RECTs used throughout the drawing code.
#pragma once

#include <algorithm>

#include "platform/win/WinTypes.h"

namespace platform::gdi {

inline bool rectEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }
inline RECT intersectRects(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return rectEmpty(r) ? RECT{0, 0, 0, 0} : r;
}
inline RECT unionRects(const RECT& a, const RECT& b) {
  if (rectEmpty(a)) return rectEmpty(b) ? RECT{0, 0, 0, 0} : b;
  if (rectEmpty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}
inline RECT offsetRect(const RECT& r, int dx, int dy) {
  return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}
inline bool rectsEqual(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
// True when a (non-empty) lies wholly inside b.
inline bool rectInside(const RECT& a, const RECT& b) {
  return !rectEmpty(a) && a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom;
}
inline RECT normalizedRect(int left, int top, int right, int bottom) {
  return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

}  // namespace platform::gdi
