// The per-pixel alpha blend of skin images over a 16-bit 5-5-5 buffer, in integers only:
// 5-bit alpha from the mask, shifts instead of division.
#pragma once

#include <cstdint>

#include "platform/base/WinTypes.h"

namespace pellucard {

struct PixelPlane {
  std::uint16_t* pixels;
  int width;
  int height;
  int stride;  // in pixels
};

struct ConstPixelPlane {
  const std::uint16_t* pixels;
  int width;
  int height;
  int stride;  // in pixels
};

class MaskBlend {
 public:
  // 5-6-5 to 5-5-5: the lowest green bit is dropped.
  static std::uint16_t to555(std::uint16_t colour565) {
    return static_cast<std::uint16_t>(((colour565 & 0xFFC0) >> 1) | (colour565 & 0x1F));
  }

  // A mask of 0 keeps the buffer pixel; alpha 31 (the mask's lowest five bits) writes the colour;
  // any other alpha, 0 included, mixes each channel as (c*a + d*(31-a)) >> 5 and adds one.
  static std::uint16_t blendPixel(std::uint16_t colour565, std::uint16_t mask, std::uint16_t buffer555);

  // The rule an alpha-blended draw must pass: the source lies inside the image.
  static bool sourceInsideImage(const RECT& source, int imageWidth, int imageHeight);

  // Blends the source rectangle of colour/mask (both 5-6-5) into the buffer, its top-left
  // pixel landing on the buffer's (0, 0). Pixels beyond the buffer or the planes are skipped.
  static void blend(const ConstPixelPlane& colour, const ConstPixelPlane& mask, const RECT& source,
                    const PixelPlane& buffer);
};

}  // namespace pellucard
