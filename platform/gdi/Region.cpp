#include "platform/gdi/Region.h"

#include "platform/gdi/RectMath.h"
#include "platform/gdi/WinGdi.h"

namespace platform::gdi {

namespace {

// Pieces of r outside cut: at most four bands.
void appendDifference(const RECT& r, const RECT& cut, std::vector<RECT>& out) {
  const RECT i = intersectRects(r, cut);
  if (rectEmpty(i)) {
    out.push_back(r);
    return;
  }
  if (r.top < i.top) out.push_back(RECT{r.left, r.top, r.right, i.top});
  if (i.bottom < r.bottom) out.push_back(RECT{r.left, i.bottom, r.right, r.bottom});
  if (r.left < i.left) out.push_back(RECT{r.left, i.top, i.left, i.bottom});
  if (i.right < r.right) out.push_back(RECT{i.right, i.top, r.right, i.bottom});
}

}  // namespace

Region::Region(const RECT& rect) {
  if (!rectEmpty(rect)) rects_.push_back(rect);
}

Region::Region(const std::vector<RECT>& rects) {
  for (const RECT& r : rects) unite(r);
}

RECT Region::bounds() const {
  RECT b{0, 0, 0, 0};
  for (const RECT& r : rects_) b = unionRects(b, r);
  return b;
}

bool Region::contains(int x, int y) const {
  for (const RECT& r : rects_) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  }
  return false;
}

int Region::complexity() const {
  if (rects_.empty()) return NULLREGION;
  if (rects_.size() == 1) return SIMPLEREGION;
  // Disjoint pieces that exactly tile their bounds still form one rectangle.
  long long area = 0;
  for (const RECT& r : rects_) area += static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  const RECT b = bounds();
  return area == static_cast<long long>(b.right - b.left) * (b.bottom - b.top) ? SIMPLEREGION : COMPLEXREGION;
}

void Region::intersect(const RECT& rect) {
  std::vector<RECT> out;
  for (const RECT& r : rects_) {
    const RECT i = intersectRects(r, rect);
    if (!rectEmpty(i)) out.push_back(i);
  }
  rects_ = std::move(out);
}

void Region::intersect(const Region& other) {
  std::vector<RECT> out;
  for (const RECT& a : rects_) {
    for (const RECT& b : other.rects_) {
      const RECT i = intersectRects(a, b);
      if (!rectEmpty(i)) out.push_back(i);
    }
  }
  rects_ = std::move(out);
}

void Region::subtract(const RECT& rect) {
  if (rectEmpty(rect)) return;
  std::vector<RECT> out;
  for (const RECT& r : rects_) appendDifference(r, rect, out);
  rects_ = std::move(out);
}

void Region::subtract(const Region& other) {
  for (const RECT& r : other.rects_) subtract(r);
}

void Region::unite(const RECT& rect) {
  if (rectEmpty(rect)) return;
  // Keep the pieces disjoint: add only what the region does not cover yet.
  std::vector<RECT> pieces{rect};
  for (const RECT& existing : rects_) {
    std::vector<RECT> next;
    for (const RECT& p : pieces) appendDifference(p, existing, next);
    pieces = std::move(next);
    if (pieces.empty()) return;
  }
  rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void Region::unite(const Region& other) {
  for (const RECT& r : other.rects_) unite(r);
}

void Region::exclusiveOr(const Region& other) {
  Region onlyOther = other;
  onlyOther.subtract(*this);
  subtract(other);
  unite(onlyOther);
}

void Region::offset(int dx, int dy) {
  for (RECT& r : rects_) r = offsetRect(r, dx, dy);
}

}  // namespace platform::gdi
