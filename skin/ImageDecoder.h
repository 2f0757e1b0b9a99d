// Decodes PNG and JPEG pictures from memory, refusing anything that is not one of them, is cut
// short, or would take more than 40 megapixels.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/base/WinTypes.h"
#include "skin/RgbImage.h"

namespace pellucard {

enum class ImageFormat { Unknown, Png, Jpeg };

class ImageDecoder {
 public:
  static constexpr std::uint64_t kMaxPixels = 40'000'000;

  static ImageFormat detectFormat(std::span<const std::uint8_t> bytes);

  // Width and height from the header alone; none when the header does not read or is too large.
  static std::optional<SIZE> readSize(std::span<const std::uint8_t> bytes);

  // The whole picture. Transparent parts are laid over white. With atLeast set, a JPEG may be
  // decoded at 1/2, 1/4 or 1/8 of its size as long as the result still covers atLeast.
  static std::optional<RgbImage> decode(std::span<const std::uint8_t> bytes, SIZE atLeast = {0, 0});
};

}  // namespace pellucard
