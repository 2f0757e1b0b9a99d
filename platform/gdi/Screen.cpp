#include "platform/gdi/Screen.h"

#include <algorithm>

#include "platform/base/DeviceConfig.h"
#include "platform/gdi/RectMath.h"

namespace platform::gdi {

Screen& Screen::instance() {
  static Screen screen;
  return screen;
}

void Screen::init(int width, int height) {
  width = std::clamp(width, 1, 8192);
  height = std::clamp(height, 1, 8192);
  surface_ = std::make_unique<Surface>(PixelFormat::Rgb565, width, height, true, width * 2);
  dirty_ = surface_->bounds();
  texts_.clear();
}

Surface& Screen::surface() {
  if (!surface_) {
    const DeviceConfig& config = DeviceConfig::current();
    init(config.screenWidth, config.screenHeight);
  }
  return *surface_;
}

void Screen::markDirty(const RECT& area) { dirty_ = unionRects(dirty_, intersectRects(area, surface().bounds())); }

RECT Screen::takeDirty() {
  const RECT result = dirty_;
  dirty_ = RECT{0, 0, 0, 0};
  return result;
}

}  // namespace platform::gdi
