// The handheld's system font and the screen density it follows.
#pragma once

#include "platform/gdi/WinGdi.h"

namespace platform::gdi {

// 96 on quarter-VGA screens, 192 on VGA ones, as the handhelds report.
int logPixels();
// About 12 pixels high on a 240-pixel-wide screen, twice that on VGA.
LOGFONTW systemFontDescription();

}  // namespace platform::gdi
