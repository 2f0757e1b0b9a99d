// Encodes pictures as baseline JPEG in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "skin/RgbImage.h"

namespace pellucard {

class JpegEncoder {
 public:
  static constexpr int kDefaultQuality = 90;

  // None when the image is empty or inconsistent, or the encoder fails.
  static std::optional<std::vector<std::uint8_t>> encode(const RgbImage& image, int quality = kDefaultQuality);
};

}  // namespace pellucard
