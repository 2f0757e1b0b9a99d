#include "platform/win/RectList.h"

#include <algorithm>

namespace platform {

bool rectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT rectIntersect(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (rectEmpty(r)) return RECT{0, 0, 0, 0};
  return r;
}

RECT rectUnion(const RECT& a, const RECT& b) {
  if (rectEmpty(a)) return rectEmpty(b) ? RECT{0, 0, 0, 0} : b;
  if (rectEmpty(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

RECT rectOffset(const RECT& r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

bool rectContains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

RectList::RectList(const RECT& r) {
  if (!rectEmpty(r)) rects_.push_back(r);
}

void RectList::add(const RECT& r) {
  if (rectEmpty(r)) return;
  // Only the parts of r not yet covered are added, so the list stays disjoint.
  RectList piece(r);
  for (const RECT& existing : rects_) piece.subtract(existing);
  rects_.insert(rects_.end(), piece.rects_.begin(), piece.rects_.end());
}

void RectList::subtract(const RECT& cut) {
  if (rectEmpty(cut)) return;
  std::vector<RECT> out;
  out.reserve(rects_.size() + 4);
  for (const RECT& r : rects_) {
    const RECT i = rectIntersect(r, cut);
    if (rectEmpty(i)) {
      out.push_back(r);
      continue;
    }
    if (r.top < i.top) out.push_back(RECT{r.left, r.top, r.right, i.top});
    if (i.bottom < r.bottom) out.push_back(RECT{r.left, i.bottom, r.right, r.bottom});
    if (r.left < i.left) out.push_back(RECT{r.left, i.top, i.left, i.bottom});
    if (i.right < r.right) out.push_back(RECT{i.right, i.top, r.right, i.bottom});
  }
  rects_ = std::move(out);
}

void RectList::intersect(const RECT& clip) {
  std::vector<RECT> out;
  for (const RECT& r : rects_) {
    const RECT i = rectIntersect(r, clip);
    if (!rectEmpty(i)) out.push_back(i);
  }
  rects_ = std::move(out);
}

RECT RectList::bounds() const {
  RECT b{0, 0, 0, 0};
  for (const RECT& r : rects_) b = rectUnion(b, r);
  return b;
}

}  // namespace platform
