// Camera photos say in their Exif data which way up they were taken; pictures are turned
// upright before they are fitted, so a portrait photo makes a portrait avatar.
#pragma once

#include <cstdint>
#include <span>

#include "skin/RgbImage.h"

namespace pellucard {

class ExifOrientation {
 public:
  static constexpr int kUpright = 1;

  // The orientation (1 to 8) from the payload of an APP1 marker ("Exif\0\0" and a TIFF
  // structure); 1 when there is none or the data does not read.
  static int fromApp1(std::span<const std::uint8_t> payload);

  // Orientations 5 to 8 turn the picture by a quarter: width and height trade places.
  static bool swapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

  // The picture as it is meant to be seen.
  static RgbImage upright(const RgbImage& image, int orientation);
};

}  // namespace pellucard
