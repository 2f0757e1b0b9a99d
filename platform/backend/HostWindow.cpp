#include "platform/backend/HostWindow.h"

#include <algorithm>

namespace platform {

int HostWindow::fittingZoom(int screenWidth, int screenHeight, int usableWidth, int usableHeight) {
  if (screenWidth <= 0 || screenHeight <= 0) return 1;
  const int byHeight = usableHeight * 85 / 100 / screenHeight;
  const int byWidth = usableWidth * 85 / 100 / screenWidth;
  return std::clamp(std::min(byHeight, byWidth), 1, 8);
}

std::string HostWindow::title(Edition edition, int screenWidth, int screenHeight) {
  return std::string("Pellucard \u2014 ") + (edition == Edition::PocketPc ? "Pocket PC " : "Smartphone ") +
         std::to_string(screenWidth) + "x" + std::to_string(screenHeight);
}

}  // namespace platform
