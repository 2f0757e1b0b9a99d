#include "platform/gdi/TextRecordList.h"

#include <algorithm>

#include "platform/gdi/RectMath.h"

namespace platform::gdi {

void TextRecordList::add(CapturedText record) {
  std::erase_if(records_, [&](const CapturedText& r) {
    return r.text == record.text && rectsEqual(r.screenRect, record.screenRect);
  });
  records_.push_back(std::move(record));
}

void TextRecordList::eraseInside(const RECT& area) {
  std::erase_if(records_, [&](const CapturedText& r) { return rectInside(r.screenRect, area); });
}

std::vector<CapturedText> TextRecordList::intersecting(const RECT& area) const {
  std::vector<CapturedText> result;
  for (const CapturedText& r : records_) {
    if (!rectEmpty(intersectRects(r.screenRect, area))) result.push_back(r);
  }
  return result;
}

void TextRecordList::shift(const RECT& source, const RECT& target, int dx, int dy) {
  std::vector<CapturedText> kept;
  for (CapturedText& r : records_) {
    if (rectInside(r.screenRect, source)) {
      r.screenRect = intersectRects(offsetRect(r.screenRect, dx, dy), target);
      if (!rectEmpty(r.screenRect)) kept.push_back(std::move(r));
    } else if (!rectInside(r.screenRect, target)) {
      kept.push_back(std::move(r));
    }
  }
  records_ = std::move(kept);
}

}  // namespace platform::gdi
