#include "tests/desktop/XwdImage.h"

#include <bit>

namespace pellucard::testing {

namespace {

// The header is 25 big-endian 32-bit fields.
enum Field {
  kHeaderSize,
  kVersion,
  kFormat,
  kDepth,
  kWidth,
  kHeight,
  kXOffset,
  kByteOrder,
  kBitmapUnit,
  kBitOrder,
  kBitmapPad,
  kBitsPerPixel,
  kBytesPerLine,
  kVisualClass,
  kRedMask,
  kGreenMask,
  kBlueMask,
  kBitsPerRgb,
  kColormapEntries,
  kColours,
  kFieldCount = 25
};

std::uint32_t bigEndian(const std::string& bytes, size_t at) {
  std::uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

// The 8-bit value of a colour channel under its mask.
std::uint32_t channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const int bits = std::popcount(mask);
  const std::uint32_t v = (value & mask) >> shift;
  return bits >= 8 ? v >> (bits - 8) : v << (8 - bits);
}

}  // namespace

bool XwdImage::read(const std::string& bytes, std::string& error) {
  if (bytes.size() < kFieldCount * 4) {
    error = "too short for an xwd header";
    return false;
  }
  std::uint32_t h[kFieldCount];
  for (int i = 0; i < kFieldCount; ++i) h[i] = bigEndian(bytes, static_cast<size_t>(i) * 4);
  if (h[kVersion] != 7 || h[kFormat] != 2) {
    error = "not an xwd ZPixmap (version 7)";
    return false;
  }
  if (h[kBitsPerPixel] != 32 && h[kBitsPerPixel] != 24) {
    error = "not 24 or 32 bits a pixel";
    return false;
  }
  const size_t start = size_t{h[kHeaderSize]} + size_t{h[kColours]} * 12;
  width_ = static_cast<int>(h[kWidth]);
  height_ = static_cast<int>(h[kHeight]);
  if (width_ <= 0 || height_ <= 0 || start + size_t{h[kBytesPerLine]} * height_ > bytes.size()) {
    error = "the pixels do not fit in the file";
    return false;
  }
  const size_t step = h[kBitsPerPixel] / 8;
  const bool lsbFirst = h[kByteOrder] == 0;
  pixels_.assign(static_cast<size_t>(width_) * height_, 0);
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const size_t at = start + static_cast<size_t>(y) * h[kBytesPerLine] + x * step;
      std::uint32_t value = 0;
      for (size_t i = 0; i < step; ++i) {
        const std::uint32_t byte = static_cast<unsigned char>(bytes[at + i]);
        value |= lsbFirst ? byte << (8 * i) : byte << (8 * (step - 1 - i));
      }
      pixels_[static_cast<size_t>(y) * width_ + x] =
          channel(value, h[kRedMask]) << 16 | channel(value, h[kGreenMask]) << 8 | channel(value, h[kBlueMask]);
    }
  }
  return true;
}

}  // namespace pellucard::testing
