#include "skin/ExifOrientation.h"

#include <cstring>

#include "skin/TiffReader.h"

namespace pellucard {

int ExifOrientation::fromApp1(std::span<const std::uint8_t> payload) {
  static constexpr std::uint8_t kExif[6] = {'E', 'x', 'i', 'f', 0, 0};
  if (payload.size() < 14 || std::memcmp(payload.data(), kExif, 6) != 0) return kUpright;
  const std::span<const std::uint8_t> tiff = payload.subspan(6);
  bool bigEndian;
  if (tiff[0] == 'M' && tiff[1] == 'M') {
    bigEndian = true;
  } else if (tiff[0] == 'I' && tiff[1] == 'I') {
    bigEndian = false;
  } else {
    return kUpright;
  }
  const TiffReader reader(tiff, bigEndian);
  if (reader.u16(2) != 42) return kUpright;
  const std::uint32_t ifd = reader.u32(4);
  if (!reader.has(ifd, 2)) return kUpright;
  const std::uint16_t count = reader.u16(ifd);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = ifd + 2 + static_cast<std::size_t>(i) * 12;
    if (!reader.has(entry, 12)) return kUpright;
    if (reader.u16(entry) != 0x0112) continue;
    // SHORT, one value, stored at the start of the value field.
    if (reader.u16(entry + 2) != 3 || reader.u32(entry + 4) != 1) return kUpright;
    const int orientation = reader.u16(entry + 8);
    return orientation >= 1 && orientation <= 8 ? orientation : kUpright;
  }
  return kUpright;
}

RgbImage ExifOrientation::upright(const RgbImage& image, int orientation) {
  if (orientation <= 1 || orientation > 8) return image;
  const int w = image.width, h = image.height;
  RgbImage out;
  out.width = swapsSides(orientation) ? h : w;
  out.height = swapsSides(orientation) ? w : h;
  out.rgb.resize(image.rgb.size());
  std::uint8_t* target = out.rgb.data();
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x, target += 3) {
      int sx = x, sy = y;
      switch (orientation) {
        case 2:
          sx = w - 1 - x;
          break;
        case 3:
          sx = w - 1 - x;
          sy = h - 1 - y;
          break;
        case 4:
          sy = h - 1 - y;
          break;
        case 5:
          sx = y;
          sy = x;
          break;
        case 6:
          sx = y;
          sy = h - 1 - x;
          break;
        case 7:
          sx = w - 1 - y;
          sy = h - 1 - x;
          break;
        case 8:
          sx = w - 1 - y;
          sy = x;
          break;
        default:
          break;
      }
      std::memcpy(target, image.pixel(sx, sy), 3);
    }
  }
  return out;
}

}  // namespace pellucard
