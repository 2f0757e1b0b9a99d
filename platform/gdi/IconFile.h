// The pictures of an icon resource, stored as an .ico file: a directory of pictures, each a
// bottom-up 24- or 32-bit colour bitmap followed by its 1-bit AND mask (1: transparent). A 32-bit
// picture whose alpha bytes are not all zero is blended by its alpha channel.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "platform/gdi/IconImage.h"

namespace platform::gdi {

class IconFile {
 public:
  // Every picture that reads; pictures of other kinds (PNG-compressed, palette) are skipped.
  // Empty when the data is not an icon file or holds no picture that reads.
  static std::vector<IconImage> read(std::span<const std::uint8_t> bytes);

  // The picture to draw at width x height: the exact size if there is one, else the nearest
  // (by the larger side; from two equally near, the larger one, which shrinks better).
  static const IconImage* nearest(const std::vector<IconImage>& pictures, int width, int height);
};

}  // namespace platform::gdi
