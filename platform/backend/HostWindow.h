// How the device window sits on the host's desktop: its zoom and its title.
#pragma once

#include <string>

#include "platform/base/DeviceConfig.h"

namespace platform {

class HostWindow {
 public:
  // The largest whole zoom at which a screen of this size fits in about 85% of the usable
  // desktop (at least 1; the width counts too, so a landscape screen does not overflow).
  static int fittingZoom(int screenWidth, int screenHeight, int usableWidth, int usableHeight);
  // "Pellucard — Pocket PC 240x320", "Pellucard — Smartphone 176x220" (UTF-8).
  static std::string title(Edition edition, int screenWidth, int screenHeight);
};

}  // namespace platform
