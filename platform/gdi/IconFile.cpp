#include "platform/gdi/IconFile.h"

#include <algorithm>
#include <cstdlib>

namespace platform::gdi {

namespace {

constexpr std::size_t kDirectorySize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr int kLargestSide = 256;

std::uint32_t le16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8;
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

std::int32_t le32signed(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int32_t>(le32(b, at));
}

// One picture: a BITMAPINFOHEADER of twice the picture's height, the colours, then the mask.
std::optional<IconImage> readPicture(std::span<const std::uint8_t> data) {
  if (data.size() < kInfoHeaderSize) return std::nullopt;
  const std::uint32_t headerSize = le32(data, 0);
  const std::int32_t width = le32signed(data, 4);
  const std::int32_t doubleHeight = le32signed(data, 8);
  const std::uint32_t planes = le16(data, 12);
  const std::uint32_t bits = le16(data, 14);
  const std::uint32_t compression = le32(data, 16);
  const std::uint32_t paletteSize = le32(data, 32);
  if (headerSize < kInfoHeaderSize || headerSize > data.size() || planes != 1 || compression != 0) return std::nullopt;
  if (bits != 24 && bits != 32) return std::nullopt;
  if (width <= 0 || width > kLargestSide || doubleHeight <= 0 || doubleHeight % 2 != 0 ||
      doubleHeight / 2 > kLargestSide || paletteSize > 256) {
    return std::nullopt;
  }
  const int height = doubleHeight / 2;
  const std::size_t colorStride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
  const std::size_t maskStride = ((static_cast<std::size_t>(width) + 31) / 32) * 4;
  const std::size_t colorsAt = headerSize + static_cast<std::size_t>(paletteSize) * 4;
  const std::size_t maskAt = colorsAt + colorStride * static_cast<std::size_t>(height);
  if (maskAt + maskStride * static_cast<std::size_t>(height) > data.size()) return std::nullopt;

  IconImage image(width, height);
  bool alpha = false;
  const std::size_t pixelBytes = bits / 8;
  for (int y = 0; y < height; ++y) {
    // Rows are stored bottom-up.
    const std::size_t row = colorsAt + colorStride * static_cast<std::size_t>(height - 1 - y);
    const std::size_t maskRow = maskAt + maskStride * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::size_t p = row + static_cast<std::size_t>(x) * pixelBytes;
      const std::uint32_t a = bits == 32 ? data[p + 3] : 0;
      alpha = alpha || a != 0;
      image.setArgb(x, y,
                    a << 24 | static_cast<std::uint32_t>(data[p + 2]) << 16 |
                        static_cast<std::uint32_t>(data[p + 1]) << 8 | data[p]);
      const std::uint8_t maskByte = data[maskRow + static_cast<std::size_t>(x) / 8];
      image.setTransparent(x, y, (maskByte >> (7 - x % 8)) & 1);
    }
  }
  image.setHasAlpha(alpha);
  return image;
}

}  // namespace

std::vector<IconImage> IconFile::read(std::span<const std::uint8_t> bytes) {
  std::vector<IconImage> pictures;
  if (bytes.size() < kDirectorySize || le16(bytes, 0) != 0 || le16(bytes, 2) != 1) return pictures;
  const std::size_t count = le16(bytes, 4);
  if (kDirectorySize + count * kEntrySize > bytes.size()) return pictures;
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t entry = kDirectorySize + i * kEntrySize;
    const std::size_t size = le32(bytes, entry + 8);
    const std::size_t offset = le32(bytes, entry + 12);
    if (offset > bytes.size() || size > bytes.size() - offset) continue;
    if (std::optional<IconImage> picture = readPicture(bytes.subspan(offset, size))) {
      pictures.push_back(std::move(*picture));
    }
  }
  return pictures;
}

const IconImage* IconFile::nearest(const std::vector<IconImage>& pictures, int width, int height) {
  const IconImage* best = nullptr;
  const int wanted = std::max(width, height);
  for (const IconImage& picture : pictures) {
    if (picture.width() == width && picture.height() == height) return &picture;
    if (best == nullptr) {
      best = &picture;
      continue;
    }
    const int side = std::max(picture.width(), picture.height());
    const int bestSide = std::max(best->width(), best->height());
    const int distance = std::abs(side - wanted);
    const int bestDistance = std::abs(bestSide - wanted);
    if (distance < bestDistance || (distance == bestDistance && side > bestSide)) best = &picture;
  }
  return best;
}

}  // namespace platform::gdi
