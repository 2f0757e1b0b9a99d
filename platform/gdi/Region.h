// A set of pixels made of disjoint rectangles: clip regions and window visible areas.
#pragma once

#include <vector>

#include "platform/base/WinTypes.h"

namespace platform::gdi {

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& rect);
  explicit Region(const std::vector<RECT>& rects);  // may overlap; stored disjoint

  const std::vector<RECT>& rects() const { return rects_; }
  bool empty() const { return rects_.empty(); }
  RECT bounds() const;
  bool contains(int x, int y) const;
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int complexity() const;

  void intersect(const RECT& rect);
  void intersect(const Region& other);
  void subtract(const RECT& rect);
  void subtract(const Region& other);
  void unite(const RECT& rect);
  void unite(const Region& other);
  void exclusiveOr(const Region& other);
  void offset(int dx, int dy);

 private:
  std::vector<RECT> rects_;
};

}  // namespace platform::gdi
