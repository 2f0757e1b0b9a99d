// The soft keys (F1, F2) and the Back key (Escape) belong to the shell: a hidden window holds
// them as hot keys and hands them to the menubar of the active window, which presses a button
// or passes Back to its owner as WM_HOTKEY when asked to (SHCMBM_OVERRIDEKEY). Keys nobody
// claims go on to the focused window as ordinary key messages.
#pragma once

#include "platform/win/WinUser.h"

namespace platform::shell {

class SoftKeys {
 public:
  static void start();
  static void stop();
  static HWND window();
  // Holds the Back key while some menubar asks for it, and lets it go otherwise.
  static void updateBackKey();
  // What the shell does with a soft key or Back it received as WM_HOTKEY.
  static void dispatch(WPARAM id, LPARAM lParam);
  // Hands a key on to the focused window (or the active one) as WM_KEYDOWN / WM_KEYUP.
  static void deliverAsKey(UINT vk, bool up);

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace platform::shell
