// The static control ("STATIC"): a text aligned left, centred or right (word-wrapped unless
// SS_LEFTNOWORDWRAP), or an image (SS_ICON, SS_BITMAP). An icon on this platform is a bitmap
// handle whose magenta pixels are transparent.
#pragma once

#include "platform/controls/WinStatic.h"

namespace platform::controls {

class StaticControl {
 public:
  explicit StaticControl(HWND hwnd) : hwnd_(hwnd) {}

  static void registerClass();
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void paint();
  HANDLE setImage(HANDLE image);

  HWND hwnd_;
  HFONT font_ = nullptr;
  HANDLE image_ = nullptr;
};

}  // namespace platform::controls
