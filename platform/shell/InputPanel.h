// The input panel of the Pocket PC edition: a small on-screen keyboard above the menubar, shown
// while the system parameters say the panel is up. Its keys type into the focused window.
#pragma once

#include <string>

#include "platform/win/WinUser.h"

namespace platform::shell {

class InputPanel {
 public:
  static void start();
  static void stop();
  static HWND window();
  // Shows or hides the keyboard to match the SIPF_ON state.
  static void sync();
  // The key under a point of the panel's client area: its character, or VK_BACK / VK_RETURN /
  // VK_SHIFT as negative values; 0 for none.
  static int keyAt(POINT pt);

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace platform::shell
