// A font the form made and deletes when it goes (or is given another).
#pragma once

#include <utility>

#include "platform/gdi/WinGdi.h"

namespace pellucard {

class FontHandle {
 public:
  FontHandle() = default;
  explicit FontHandle(HFONT font) : font_(font) {}
  ~FontHandle() { reset(); }
  FontHandle(FontHandle&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
  FontHandle& operator=(FontHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.font_, nullptr));
    return *this;
  }
  FontHandle(const FontHandle&) = delete;
  FontHandle& operator=(const FontHandle&) = delete;

  HFONT get() const { return font_; }
  void reset(HFONT font = nullptr) {
    if (font_ != nullptr && font_ != font) DeleteObject(font_);
    font_ = font;
  }

  // A copy of `base` (the system font when null) with its weight or height changed; 0 keeps it.
  static FontHandle derived(HFONT base, LONG weight, LONG height) {
    LOGFONTW description{};
    if (GetObjectW(base != nullptr ? base : GetStockObject(SYSTEM_FONT), sizeof description, &description) == 0) {
      return FontHandle();
    }
    if (weight != 0) description.lfWeight = weight;
    if (height != 0) description.lfHeight = height;
    return FontHandle(CreateFontIndirectW(&description));
  }

 private:
  HFONT font_ = nullptr;
};

}  // namespace pellucard
