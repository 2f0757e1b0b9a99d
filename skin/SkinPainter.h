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

  // The part `source` of an image laid over an area of size `area`, unscaled on every axis on
  // which the image is at least as large as the area and stretched to the area's extent on the
  // others, so that a screen larger than its images is still covered. Source coordinates are
  // the area's; the destination is as large as the source. Masked images are never scaled.
  static void drawCoveringPart(HDC hdc, ImageEntry* entry, const RECT& destination, const RECT& source, SIZE area);

  // The screen background (role 1) under `source`, given in screen coordinates, drawn into
  // `destination`; the image covers the whole screen.
  static void drawScreenBackground(HDC hdc, const RECT& destination, const RECT& source);

  // The whole image at (x, y) when `width` is no wider than the image; a wider band from x to
  // x + width gets the image's two ends with its middle repeated between them (masked images
  // cannot be stretched).
  static void drawAcross(HDC hdc, ImageEntry* entry, int x, int y, int width);

  // The image over an area: unchanged where the image covers it; along an axis where the area is
  // larger, the image's first half stays at the start, the rest after its middle line goes to the
  // end and the middle line is stretched between, so places that the layout fixes near the
  // top-left stay where they are.
  // `origin` is where the area's top-left corner falls in `hdc` (negative for a part of it).
  static void drawExtended(HDC hdc, ImageEntry* entry, SIZE area, POINT origin = POINT{0, 0});

  // A solid fill by an opaque, empty text output; the background colour is restored.
  static void fillRectangle(HDC hdc, const RECT& rect, COLORREF colour);
};

}  // namespace pellucard
