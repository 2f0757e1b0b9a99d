// Conversions of decoded pixel rows into 8-bit RGB, shared by the whole-picture decoder and the
// thumbnail decoder.
#pragma once

#include <cstdint>

namespace pellucard::pixelrows {

// RGBA laid over white.
inline void flattenRgba(const std::uint8_t* rgba, std::uint8_t* rgb, int width) {
  for (int x = 0; x < width; ++x, rgba += 4, rgb += 3) {
    const unsigned a = rgba[3];
    for (int c = 0; c < 3; ++c) rgb[c] = static_cast<std::uint8_t>((rgba[c] * a + 255 * (255 - a) + 127) / 255);
  }
}

inline void cmykToRgb(const std::uint8_t* cmyk, std::uint8_t* rgb, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    // Files written by the common editors store the inks inverted (Adobe marker).
    const unsigned k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      const unsigned v = inverted ? cmyk[c] : 255 - cmyk[c];
      rgb[c] = static_cast<std::uint8_t>((v * k + 127) / 255);
    }
  }
}

}  // namespace pellucard::pixelrows
