// What the platform draws itself on the screen: a window's non-client area (border, caption,
// scroll bars) and the busy indicator that stands for the wait cursor.
#pragma once

#include "platform/win/WindowTree.h"

namespace platform {

void drawWindowFrame(const WindowTree& tree, const Window& w, bool active);
// Draws the busy indicator in the middle of the screen and returns where it lies.
RECT drawBusyIndicator();

}  // namespace platform
