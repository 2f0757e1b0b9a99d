// A region as a list of disjoint rectangles: what the window manager needs for visible parts
// of windows and exposed screen areas.
#pragma once

#include <vector>

#include "platform/base/WinTypes.h"

namespace platform {

bool rectEmpty(const RECT& r);
RECT rectIntersect(const RECT& a, const RECT& b);
// Smallest rectangle holding both; an empty operand is ignored.
RECT rectUnion(const RECT& a, const RECT& b);
RECT rectOffset(const RECT& r, int dx, int dy);
bool rectContains(const RECT& r, POINT p);

class RectList {
 public:
  RectList() = default;
  explicit RectList(const RECT& r);

  void add(const RECT& r);  // keeps the rectangles disjoint
  void subtract(const RECT& r);
  void intersect(const RECT& r);
  bool empty() const { return rects_.empty(); }
  RECT bounds() const;
  const std::vector<RECT>& rects() const { return rects_; }

 private:
  std::vector<RECT> rects_;
};

}  // namespace platform
