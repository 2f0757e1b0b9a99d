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

void TextRecordList::offsetInside(const RECT& area, int dx, int dy) {
  for (CapturedText& r : records_) {
    if (rectInside(r.screenRect, area)) r.screenRect = offsetRect(r.screenRect, dx, dy);
  }
}

}  // namespace platform::gdi
