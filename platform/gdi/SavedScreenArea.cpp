#include "platform/gdi/SavedScreenArea.h"

#include <cstring>

#include "platform/gdi/RectMath.h"
#include "platform/gdi/Screen.h"

namespace platform::gdi {

SavedScreenArea::SavedScreenArea(const RECT& area) {
  Screen& screen = Screen::instance();
  Surface& surface = screen.surface();
  screenWidth_ = surface.width();
  screenHeight_ = surface.height();
  area_ = intersectRects(area, surface.bounds());
  const auto width = static_cast<std::size_t>(area_.right - area_.left);
  pixels_.resize(width * static_cast<std::size_t>(area_.bottom - area_.top));
  for (int y = area_.top; y < area_.bottom; ++y) {
    std::memcpy(pixels_.data() + (y - area_.top) * width, surface.row16(y) + area_.left, width * 2);
  }
  screen.forEachTextList([&](HWND hwnd, const TextRecordList& list) {
    std::vector<CapturedText> there = list.intersecting(area_);
    if (!there.empty()) texts_.emplace_back(hwnd, std::move(there));
  });
}

bool SavedScreenArea::fitsScreen() const {
  Surface& surface = Screen::instance().surface();
  return surface.width() == screenWidth_ && surface.height() == screenHeight_;
}

void SavedScreenArea::restore(const RECT& part, const std::function<bool(HWND)>& textsOf) const {
  if (!fitsScreen()) return;
  const RECT target = intersectRects(part, area_);
  if (rectEmpty(target)) return;
  Screen& screen = Screen::instance();
  Surface& surface = screen.surface();
  const auto width = static_cast<std::size_t>(area_.right - area_.left);
  const auto count = static_cast<std::size_t>(target.right - target.left);
  for (int y = target.top; y < target.bottom; ++y) {
    const std::uint16_t* from = pixels_.data() + (y - area_.top) * width + (target.left - area_.left);
    std::memcpy(surface.row16(y) + target.left, from, count * 2);
  }
  screen.markDirty(target);
  for (const auto& [hwnd, records] : texts_) {
    if (!textsOf(hwnd)) continue;
    screen.texts(hwnd).restore(target, records);
  }
}

}  // namespace platform::gdi
