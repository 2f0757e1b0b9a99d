// What the window manager and the backends need from the drawing layer: the one screen
// framebuffer (16-bit 5-6-5, as the handheld), window device contexts clipped to a window's
// visible part, and the texts each window drew in its last paint.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/WinGdi.h"

namespace platform::gdi {

// Creates (or recreates, cleared to black) the screen framebuffer. Window DCs made before a
// resize keep working but draw into the new framebuffer, clipped to it.
void initScreen(int width, int height);
void resizeScreen(int width, int height);

const std::uint16_t* screenPixels();
int screenWidth();
int screenHeight();

// Union of every screen area that changed since the last call; empty (all zero) when nothing did.
RECT takeDirtyRect();

// Writes 5-6-5 pixels as an RGB PNG (8 bits a channel). False when the file cannot be written.
bool writePng(const std::string& path, const std::uint16_t* pixels, int width, int height, int strideInPixels);

// A DC whose logical (0,0) is screenOrigin on the screen and which draws only inside
// visibleScreenRects (screen coordinates). Text drawn through it is recorded for hwnd.
HDC createWindowDC(HWND hwnd, POINT screenOrigin, const std::vector<RECT>& visibleScreenRects);
void releaseWindowDC(HDC hdc);

// Moves the screen pixels of `area` by (dx, dy), clipped to clipRect (both in screen
// coordinates); the captured texts of hwnd inside the area move with them. For ScrollWindowEx.
void shiftScreenPixels(HWND hwnd, const RECT& area, int dx, int dy, const RECT& clipRect);

struct CapturedText {
  std::u16string text;
  RECT screenRect;  // the part of the text drawn where it could be seen
  COLORREF color;
  RECT drawnRect;  // all of it, seen or not: what a partial redraw of it has in common
};

// Drops the window's records lying inside the area about to be repainted (BeginPaint).
void beginTextCapture(HWND hwnd, const RECT& updateScreenRect);
std::vector<CapturedText> capturedTexts(HWND hwnd);
// The window moved on the screen by (dx, dy): what it drew goes with it until it paints again.
void moveCapturedTexts(HWND hwnd, int dx, int dy);
void forgetWindow(HWND hwnd);

}  // namespace platform::gdi
