// The pixels of a screen area and the texts windows recorded over it, kept to be put back
// later: what a window whose class saves bits keeps of the screen under it.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "platform/gdi/GdiBridge.h"

namespace platform::gdi {

class SavedScreenArea {
 public:
  // Takes the screen inside `area`, clipped to the screen.
  explicit SavedScreenArea(const RECT& area);

  const RECT& area() const { return area_; }
  // False once the screen was resized: what was kept fits nowhere.
  bool fitsScreen() const;
  // Puts back the pixels inside `part` (screen coordinates) and, for each window `textsOf`
  // accepts, the records it had there.
  void restore(const RECT& part, const std::function<bool(HWND)>& textsOf) const;

 private:
  RECT area_;
  int screenWidth_;
  int screenHeight_;
  std::vector<std::uint16_t> pixels_;  // rows of the area, top first
  std::vector<std::pair<HWND, std::vector<CapturedText>>> texts_;
};

}  // namespace platform::gdi
