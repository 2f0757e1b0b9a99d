// The title bar along the top of the screen: the Start icon and the foreground window's title,
// and on Pocket PC the Done (OK) button for windows that ask for it; a tap on it sends IDOK.
#pragma once

#include "platform/win/WinUser.h"

namespace platform::shell {

class TitleBar {
 public:
  static HWND create();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The window whose title the bar shows: the foreground window, unless that is the shell's.
  static HWND subject();
  static RECT doneButtonRect(HWND titleBar);
};

}  // namespace platform::shell
