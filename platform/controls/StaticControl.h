// The static control ("STATIC"): a text aligned left, centred or right (word-wrapped unless
// SS_LEFTNOWORDWRAP), or an image: SS_ICON shows an icon (the control takes the icon's size
// unless SS_CENTERIMAGE centres it), SS_BITMAP a bitmap. A bitmap given to an icon control is
// drawn with its magenta pixels transparent, as the skin images are.
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
  void paintImage(HDC hdc, const RECT& rc, DWORD style);
  HANDLE setImage(HANDLE image);

  HWND hwnd_;
  HFONT font_ = nullptr;
  HANDLE image_ = nullptr;
};

}  // namespace platform::controls
