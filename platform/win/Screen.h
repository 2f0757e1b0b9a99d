// The device screen as the window manager sees it: its size, rotation and the system-wide
// notification of setting changes.
#pragma once

#include "platform/win/WinUser.h"

namespace platform {

// Creates the screen framebuffer at the given size, filled with the desktop colour.
void openScreen(int width, int height);

// Swaps the screen's width and height (the device configuration follows), repaints every
// window and sends WM_SETTINGCHANGE to the top-level windows as the edition does: wParam
// SETTINGCHANGE_RESET on Pocket PC, SPI_SETWORKAREA (47) on Smartphone.
void rotateScreen();

// Sends WM_SETTINGCHANGE to every top-level window, in z-order.
void broadcastSettingChange(WPARAM wParam, LPARAM lParam);

// The factor the handheld's metrics grow by on larger screens: 1 up to 479 pixels on the short
// side, 2 from 480.
int screenScale();

}  // namespace platform
