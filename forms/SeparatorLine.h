// The grey line under a Pocket PC form field (a "STATIC" it paints itself).
#pragma once

#include "platform/win/WindowBase.h"

namespace pellucard {

class SeparatorLine : public platform::WindowImpl<SeparatorLine> {
 public:
  static constexpr COLORREF kColor = RGB(132, 132, 132);

  static const platform::MessageMap<SeparatorLine>& messageMap();

  HWND create(HWND parent, const RECT& rect);

 private:
  bool onEraseBackground(HDC) { return true; }
  void onPaint();
};

}  // namespace pellucard
