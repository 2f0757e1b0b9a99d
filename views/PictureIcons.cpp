#include "views/PictureIcons.h"

#include <algorithm>

namespace pellucard {

PictureIcons& PictureIcons::instance() {
  static PictureIcons icons;
  return icons;
}

std::uint64_t PictureIcons::fingerprint(const std::vector<std::uint8_t>& bytes) {
  // FNV-1a over the size and both ends: cheap, and a replaced picture differs there in practice.
  std::uint64_t h = 1469598103934665603ull ^ bytes.size();
  auto mix = [&h](std::uint8_t b) { h = (h ^ b) * 1099511628211ull; };
  const std::size_t edge = std::min<std::size_t>(bytes.size(), 256);
  for (std::size_t i = 0; i < edge; ++i) mix(bytes[i]);
  for (std::size_t i = bytes.size() - edge; i < bytes.size(); ++i) mix(bytes[i]);
  return h;
}

const DibBitmap* PictureIcons::smallPicture(const Friend& person, const ScreenLayout& layout) {
  const auto& bytes = person.picture().bytes();
  if (bytes.empty()) {
    icons_.erase(person.recordId());
    return nullptr;
  }
  const std::uint64_t print = fingerprint(bytes);
  Icon& icon = icons_[person.recordId()];
  if (icon.fingerprint != print || icon.layout != layout.kind()) {
    icon.bitmaps.reset();
    icon.fingerprint = print;
    icon.layout = layout.kind();
  }
  if (icon.bitmaps.small(bytes, layout) == nullptr) return nullptr;
  return &icon.bitmaps.smallBitmap();
}

}  // namespace pellucard
