// A decoded picture: 8-bit red, green, blue per pixel, rows from the top, no padding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pellucard {

struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;

  const std::uint8_t* pixel(int x, int y) const {
    return rgb.data() +
           (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  }
};

}  // namespace pellucard
