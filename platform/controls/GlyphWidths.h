// The advance widths of one font, measured once per character and kept, so that breaking and
// hit-testing a long text does not go back to the font engine for every character.
#pragma once

#include <array>
#include <unordered_map>

#include "platform/gdi/WinGdi.h"

namespace platform::controls {

class GlyphWidths {
 public:
  // A null font measures the system font.
  void setFont(HFONT font);
  HFONT font() const { return font_; }

  int advance(char32_t cp);
  int lineHeight() const { return lineHeight_; }
  int averageWidth() const { return averageWidth_; }

 private:
  int measure(char32_t cp) const;

  HFONT font_ = nullptr;
  bool measured_ = false;
  std::array<int, 128> ascii_{};
  std::unordered_map<char32_t, int> others_;
  int lineHeight_ = 13;
  int averageWidth_ = 6;
};

}  // namespace platform::controls
