#include "skin/MaskBlend.h"

#include <algorithm>

namespace pellucard {

std::uint16_t MaskBlend::blendPixel(std::uint16_t colour565, std::uint16_t mask, std::uint16_t buffer555) {
  if (mask == 0) return buffer555;
  const unsigned a = mask & 0x1F;
  const unsigned c = to555(colour565);
  if (a == 31) return static_cast<std::uint16_t>(c);
  const unsigned d = buffer555;
  const unsigned inverse = 31 - a;
  const unsigned r = ((((c >> 10) & 0x1F) * a + ((d >> 10) & 0x1F) * inverse) >> 5) + 1;
  const unsigned g = ((((c >> 5) & 0x1F) * a + ((d >> 5) & 0x1F) * inverse) >> 5) + 1;
  const unsigned b = (((c & 0x1F) * a + (d & 0x1F) * inverse) >> 5) + 1;
  return static_cast<std::uint16_t>((r << 10) | (g << 5) | b);
}

bool MaskBlend::sourceInsideImage(const RECT& source, int imageWidth, int imageHeight) {
  return source.left >= 0 && source.right <= imageWidth && source.top >= 0 && source.bottom <= imageHeight &&
         source.right - source.left <= imageWidth && source.bottom - source.top <= imageHeight;
}

void MaskBlend::blend(const ConstPixelPlane& colour, const ConstPixelPlane& mask, const RECT& source,
                      const PixelPlane& buffer) {
  // Stay inside every plane, whatever the caller checked.
  const int left = std::max<int>(source.left, 0);
  const int top = std::max<int>(source.top, 0);
  const int right = std::min(
      {static_cast<int>(source.right), colour.width, mask.width, static_cast<int>(source.left) + buffer.width});
  const int bottom = std::min(
      {static_cast<int>(source.bottom), colour.height, mask.height, static_cast<int>(source.top) + buffer.height});
  for (int y = top; y < bottom; ++y) {
    const std::uint16_t* c = colour.pixels + static_cast<std::ptrdiff_t>(y) * colour.stride;
    const std::uint16_t* m = mask.pixels + static_cast<std::ptrdiff_t>(y) * mask.stride;
    std::uint16_t* d = buffer.pixels + static_cast<std::ptrdiff_t>(y - source.top) * buffer.stride;
    for (int x = left; x < right; ++x) {
      std::uint16_t& target = d[x - source.left];
      target = blendPixel(c[x], m[x], target);
    }
  }
}

}  // namespace pellucard
