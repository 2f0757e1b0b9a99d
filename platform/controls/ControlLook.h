// What the controls and the shell share about the handheld's look: the zoom of the screen set
// (1 on 240-pixel-wide screens and smaller, 2 on 480), the system font and its line height.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/gdi/WinGdi.h"

namespace platform::controls {

// Pixel zoom of the current screen: 2 from 480 pixels on the short side, else 1.
int uiScale();
// Pixels scaled by uiScale().
int scaled(int pixels);
HFONT systemFont();
// Height of a text line in that font (tmHeight), measured on a screen DC.
int fontHeight(HFONT font);
// The window's font as WM_GETFONT reports it, the system font when it has none.
HFONT windowFont(HWND hwnd);

// Fills a rectangle with a system colour.
void fillSysColor(HDC hdc, const RECT& rect, int colorIndex);
// A one-pixel line from (x0, y0) to (x1, y1), end point excluded, in a colour.
void drawLine(HDC hdc, int x0, int y0, int x1, int y1, COLORREF color);
// A one-pixel rectangle outline.
void frameRect(HDC hdc, const RECT& rect, COLORREF color);

}  // namespace platform::controls
