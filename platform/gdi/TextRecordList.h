// The texts drawn into one surface or one window, with where they lie and their colour.
#pragma once

#include <vector>

#include "platform/gdi/GdiBridge.h"

namespace platform::gdi {

class TextRecordList {
 public:
  // Drawing the same text at the same place again replaces the older record; a part of it
  // drawn again in the same colour (a partial repaint) joins it.
  void add(CapturedText record);
  // Drops the records lying wholly inside `area` (opaque drawing hid them).
  void eraseInside(const RECT& area);
  // Records that intersect `area`.
  std::vector<CapturedText> intersecting(const RECT& area) const;
  // Pixels of `source` moved by (dx, dy) and landed clipped to `target`: the records there move
  // with them, and the records they covered in `target` are dropped.
  void shift(const RECT& source, const RECT& target, int dx, int dy);
  // Puts back the records `saved` had within `area` (pixels put back there): records lying
  // wholly inside it that were not saved go, saved ones missing come back, the rest keep their
  // order.
  void restore(const RECT& area, const std::vector<CapturedText>& saved);
  void clear() { records_.clear(); }
  bool empty() const { return records_.empty(); }
  const std::vector<CapturedText>& records() const { return records_; }

 private:
  std::vector<CapturedText> records_;
};

}  // namespace platform::gdi
