#include "platform/gdi/TextRecordList.h"

#include <algorithm>

#include "platform/gdi/RectMath.h"

namespace platform::gdi {

namespace {
bool sameRecord(const CapturedText& a, const CapturedText& b) {
  return a.text == b.text && a.color == b.color && rectsEqual(a.screenRect, b.screenRect) &&
         rectsEqual(a.drawnRect, b.drawnRect);
}
}  // namespace

void TextRecordList::add(CapturedText record) {
  const RECT seen = record.screenRect;
  auto kept = records_.begin();
  for (auto it = records_.begin(); it != records_.end(); ++it) {
    bool replaced = false;
    if (it->text == record.text) {
      if (rectsEqual(it->screenRect, seen)) {
        replaced = true;
      } else if (rectsEqual(it->drawnRect, record.drawnRect)) {
        if (it->color == record.color) {
          record.screenRect = unionRects(it->screenRect, record.screenRect);
          replaced = true;
        } else {
          // Another colour over part of it leaves the rest showing the old one.
          replaced = rectInside(it->screenRect, seen);
        }
      }
    }
    if (replaced) continue;
    if (kept != it) *kept = std::move(*it);
    ++kept;
  }
  records_.erase(kept, records_.end());
  records_.push_back(std::move(record));
}

void TextRecordList::eraseInside(const RECT& area) {
  std::erase_if(records_, [&](const CapturedText& r) { return rectInside(r.screenRect, area); });
}

void TextRecordList::restore(const RECT& area, const std::vector<CapturedText>& saved) {
  const auto wasSaved = [&](const CapturedText& r) {
    return std::any_of(saved.begin(), saved.end(), [&](const CapturedText& s) { return sameRecord(r, s); });
  };
  std::erase_if(records_, [&](const CapturedText& r) { return rectInside(r.screenRect, area) && !wasSaved(r); });
  for (const CapturedText& s : saved) {
    if (rectEmpty(intersectRects(s.screenRect, area))) continue;
    const bool present =
        std::any_of(records_.begin(), records_.end(), [&](const CapturedText& r) { return sameRecord(r, s); });
    if (!present) add(s);
  }
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
      r.drawnRect = offsetRect(r.drawnRect, dx, dy);
      if (!rectEmpty(r.screenRect)) kept.push_back(std::move(r));
    } else if (!rectInside(r.screenRect, target)) {
      kept.push_back(std::move(r));
    }
  }
  records_ = std::move(kept);
}

}  // namespace platform::gdi
