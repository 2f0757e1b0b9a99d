// The small downward arrow of the expand button and of the choice field: four black lines of
// 7, 5, 3 and 1 pixels, the first from (right - 11, top + 8), each next one a pixel lower and
// a pixel further right. (The platform's controls draw a filled triangle of their own.)
#pragma once

#include "platform/gdi/WinGdi.h"

namespace pellucard {

// Draws the arrow at the right of `box`, every measure times `scale`.
void drawFieldArrow(HDC hdc, const RECT& box, int scale = 1);

}  // namespace pellucard
