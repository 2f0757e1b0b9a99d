// The small filled triangle the controls draw on their buttons: the combo box's drop button,
// the date picker's drop and spin buttons, the month calendar's previous and next arrows.
#pragma once

#include "platform/gdi/WinGdi.h"

namespace platform::controls {

enum class ArrowDirection { Up, Down, Left, Right };

// A triangle centred in `box`, as large as a third of its shorter side allows.
void drawArrowGlyph(HDC hdc, const RECT& box, ArrowDirection direction, COLORREF color);

}  // namespace platform::controls
