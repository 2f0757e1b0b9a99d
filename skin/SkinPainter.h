// Drawing skin images and plain fills into a device context.
#pragma once

#include "platform/gdi/WinGdi.h"
#include "skin/ImageEntry.h"

namespace pellucard {

class SkinPainter {
 public:
  static constexpr COLORREF kColourKey = RGB(255, 0, 255);

  // Draws the source rectangle of the entry's image into the destination rectangle. Without a
  // mask: stretched, magenta transparent. With a mask: blended pixel by pixel with the mask's
  // alpha, never scaled, and only when the source lies inside the image. An entry that is
  // not loaded is loaded first; an entry without a colour image draws nothing.
  static void drawSkinImage(HDC hdc, ImageEntry* entry, const RECT& destination, const RECT& source);

  // The whole image, unscaled, with its top-left corner at (x, y).
  static void drawSkinImageAt(HDC hdc, ImageEntry* entry, int x, int y);

  // A solid fill by an opaque, empty text output; the background colour is restored.
  static void fillRectangle(HDC hdc, const RECT& rect, COLORREF colour);
};

}  // namespace pellucard
