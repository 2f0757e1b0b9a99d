// Cameras store a small JPEG preview of the photo in its Exif block; a chooser that shows
// thumbnails reads that instead of decoding millions of pixels.
#pragma once

#include <cstdint>
#include <span>

namespace pellucard {

class ExifThumbnail {
 public:
  // The preview's JPEG bytes inside the payload of an APP1 marker ("Exif\0\0" and a TIFF
  // structure); empty when there is none or the structure does not read.
  static std::span<const std::uint8_t> fromApp1(std::span<const std::uint8_t> payload);
};

}  // namespace pellucard
