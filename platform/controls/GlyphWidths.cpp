#include "platform/controls/GlyphWidths.h"

#include <algorithm>
#include <string>

#include "platform/controls/ControlLook.h"
#include "platform/gdi/MemoryDc.h"

namespace platform::controls {

void GlyphWidths::setFont(HFONT font) {
  font_ = font != nullptr ? font : systemFont();
  others_.clear();
  gdi::MemoryDc dc(nullptr, 1, 1);
  gdi::SelectedObject selected(dc.dc(), font_);
  TEXTMETRICW tm{};
  if (dc && GetTextMetricsW(dc.dc(), &tm)) {
    lineHeight_ = std::max<int>(tm.tmHeight, 1);
    averageWidth_ = std::max<int>(tm.tmAveCharWidth, 1);
  }
  // Every ASCII character in one call.
  std::u16string all;
  for (char16_t c = 0; c < 128; ++c) all.push_back(c < 0x20 ? u' ' : c);
  std::array<int, 128> ends{};
  SIZE size{};
  if (dc && GetTextExtentExPointW(dc.dc(), all.c_str(), 128, -1, nullptr, ends.data(), &size)) {
    for (int c = 0; c < 128; ++c)
      ascii_[static_cast<std::size_t>(c)] =
          ends[static_cast<std::size_t>(c)] - (c > 0 ? ends[static_cast<std::size_t>(c - 1)] : 0);
  }
  measured_ = true;
}

int GlyphWidths::advance(char32_t cp) {
  if (!measured_) setFont(font_);
  if (cp < 128) return ascii_[cp];
  auto it = others_.find(cp);
  if (it != others_.end()) return it->second;
  const int width = measure(cp);
  others_.emplace(cp, width);
  return width;
}

int GlyphWidths::measure(char32_t cp) const {
  std::u16string unit;
  if (cp >= 0x10000) {
    unit.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
    unit.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
  } else {
    unit.push_back(static_cast<char16_t>(cp));
  }
  gdi::MemoryDc dc(nullptr, 1, 1);
  gdi::SelectedObject selected(dc.dc(), font_);
  SIZE size{};
  if (!dc || !GetTextExtentPoint32W(dc.dc(), unit.c_str(), static_cast<int>(unit.size()), &size)) return averageWidth_;
  return size.cx;
}

}  // namespace platform::controls
