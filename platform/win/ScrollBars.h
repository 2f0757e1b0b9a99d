// Window scroll bars (WS_VSCROLL, WS_HSCROLL): their parts and drawing, for the frame painter
// and for the stylus that holds them.
#pragma once

#include "platform/win/Window.h"

namespace platform {

// Sets the window's scroll bar style bits after a change of range, page or visibility; true
// when the client area changed.
bool updateScrollStyle(Window& w, int bar, bool disableNoScroll);

// Parts of a window scroll bar in window coordinates; all empty without the bar.
struct ScrollGeometry {
  RECT bar{};
  RECT lineUp{};
  RECT lineDown{};
  RECT track{};
  RECT thumb{};
};
ScrollGeometry scrollGeometry(const Window& w, int bar);
// Scroll position for a thumb whose leading edge is at `offset` pixels into the track.
int scrollPosFromThumb(const Window& w, int bar, int offset);
void drawScrollBar(const Window& w, HDC windowDc, int bar);

}  // namespace platform
