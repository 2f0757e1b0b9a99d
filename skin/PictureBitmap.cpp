#include "skin/PictureBitmap.h"

#include "skin/PictureCodec.h"

namespace pellucard {

DibBitmap PictureBitmap::make(std::span<const std::uint8_t> storedBytes, SIZE box) {
  // The screen is 16 bits deep, so max(16, its depth) is 16: a 5-6-5 section like the screen.
  const std::optional<RgbImage> picture = PictureCodec::decodeForBox(storedBytes, box);
  if (!picture) return {};
  return DibBitmap::fromImage(*picture);
}

}  // namespace pellucard
