// Small value helpers on RECTs used throughout the drawing code.
#pragma once

#include <algorithm>

#include "platform/base/WinTypes.h"

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
// Coordinates far outside any surface are pinned here, so offsets never overflow.
constexpr long long kCoordinateLimit = 1 << 28;
inline LONG clampCoordinate(long long v) {
  return static_cast<LONG>(std::clamp(v, -kCoordinateLimit, kCoordinateLimit));
}
inline RECT offsetRect(const RECT& r, long long dx, long long dy) {
  return RECT{clampCoordinate(r.left + dx), clampCoordinate(r.top + dy), clampCoordinate(r.right + dx),
              clampCoordinate(r.bottom + dy)};
}
inline bool rectsEqual(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
// True when a (non-empty) lies wholly inside b.
inline bool rectInside(const RECT& a, const RECT& b) {
  return !rectEmpty(a) && a.left >= b.left && a.top >= b.top && a.right <= b.right && a.bottom <= b.bottom;
}
inline RECT normalizedRect(long long left, long long top, long long right, long long bottom) {
  return RECT{clampCoordinate(std::min(left, right)), clampCoordinate(std::min(top, bottom)),
              clampCoordinate(std::max(left, right)), clampCoordinate(std::max(top, bottom))};
}

}  // namespace platform::gdi
