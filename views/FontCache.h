// The program's four fonts, made once from the system font: 0 normal, 1 smaller (0.8 times the
// system height), 2 bold, 3 smaller bold. Application-wide; deleted by the shutdown order.
#pragma once

#include <array>

#include "platform/gdi/WinGdi.h"

namespace pellucard {

class FontCache {
 public:
  static constexpr int kNormal = 0;
  static constexpr int kSmall = 1;
  static constexpr int kBold = 2;
  static constexpr int kSmallBold = 3;

  static FontCache& instance();
  static void destroy();

  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  // The font of an id, or nullptr for an unknown id or a font that could not be made.
  HFONT font(int id) const;

 private:
  FontCache();
  std::array<HFONT, 4> fonts_{};
};

}  // namespace pellucard
