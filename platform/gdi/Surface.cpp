#include "platform/gdi/Surface.h"

#include <cstring>

namespace platform::gdi {

int bitsPerPixel(PixelFormat format) {
  switch (format) {
    case PixelFormat::Mono:
      return 1;
    case PixelFormat::Rgb555:
    case PixelFormat::Rgb565:
      return 16;
    case PixelFormat::Rgb888:
      return 24;
    case PixelFormat::Xrgb8888:
      return 32;
  }
  return 32;
}

std::uint32_t colorToRaw(PixelFormat format, COLORREF color) {
  const std::uint32_t r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  switch (format) {
    case PixelFormat::Mono:
      // Drawing a colour on a monochrome bitmap picks the nearer of black and white.
      return (r * 299 + g * 587 + b * 114) >= 128000 ? 1u : 0u;
    case PixelFormat::Rgb555:
      return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    case PixelFormat::Rgb565:
      return colorTo565(color);
    case PixelFormat::Rgb888:
    case PixelFormat::Xrgb8888:
      return (r << 16) | (g << 8) | b;
  }
  return 0;
}

COLORREF rawToColor(PixelFormat format, std::uint32_t raw) {
  switch (format) {
    case PixelFormat::Mono:
      return raw ? RGB(255, 255, 255) : RGB(0, 0, 0);
    case PixelFormat::Rgb555: {
      unsigned r = (raw >> 10) & 0x1F, g = (raw >> 5) & 0x1F, b = raw & 0x1F;
      return RGB(static_cast<BYTE>((r << 3) | (r >> 2)), static_cast<BYTE>((g << 3) | (g >> 2)),
                 static_cast<BYTE>((b << 3) | (b >> 2)));
    }
    case PixelFormat::Rgb565:
      return color565ToColor(static_cast<std::uint16_t>(raw));
    case PixelFormat::Rgb888:
    case PixelFormat::Xrgb8888:
      return RGB(static_cast<BYTE>((raw >> 16) & 0xFF), static_cast<BYTE>((raw >> 8) & 0xFF),
                 static_cast<BYTE>(raw & 0xFF));
  }
  return 0;
}

Surface::Surface(PixelFormat format, int width, int height, bool topDown, int strideBytes)
    : format_(format), width_(width), height_(height), topDown_(topDown) {
  const std::size_t rowBits = static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel(format));
  stride_ = strideBytes > 0 ? strideBytes : static_cast<int>(((rowBits + 31) / 32) * 4);
  storage_.assign(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height), 0);
}

std::uint32_t Surface::rawMask() const {
  switch (format_) {
    case PixelFormat::Mono:
      return 1;
    case PixelFormat::Rgb555:
      return 0x7FFF;
    case PixelFormat::Rgb565:
      return 0xFFFF;
    case PixelFormat::Rgb888:
    case PixelFormat::Xrgb8888:
      return 0xFFFFFF;
  }
  return 0;
}

std::uint32_t Surface::raw(int x, int y) const {
  const std::uint8_t* r = row(y);
  switch (format_) {
    case PixelFormat::Mono:
      return (r[x >> 3] >> (7 - (x & 7))) & 1u;
    case PixelFormat::Rgb555:
    case PixelFormat::Rgb565:
      return reinterpret_cast<const std::uint16_t*>(r)[x];
    case PixelFormat::Rgb888: {
      const std::uint8_t* p = r + x * 3;
      return p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
    }
    case PixelFormat::Xrgb8888:
      return reinterpret_cast<const std::uint32_t*>(r)[x] & 0xFFFFFF;
  }
  return 0;
}

void Surface::setRaw(int x, int y, std::uint32_t value) {
  std::uint8_t* r = row(y);
  switch (format_) {
    case PixelFormat::Mono: {
      const std::uint8_t bit = static_cast<std::uint8_t>(0x80 >> (x & 7));
      if (value & 1) {
        r[x >> 3] |= bit;
      } else {
        r[x >> 3] &= static_cast<std::uint8_t>(~bit);
      }
      break;
    }
    case PixelFormat::Rgb555:
      reinterpret_cast<std::uint16_t*>(r)[x] = static_cast<std::uint16_t>(value & 0x7FFF);
      break;
    case PixelFormat::Rgb565:
      reinterpret_cast<std::uint16_t*>(r)[x] = static_cast<std::uint16_t>(value);
      break;
    case PixelFormat::Rgb888: {
      std::uint8_t* p = r + x * 3;
      p[0] = static_cast<std::uint8_t>(value);
      p[1] = static_cast<std::uint8_t>(value >> 8);
      p[2] = static_cast<std::uint8_t>(value >> 16);
      break;
    }
    case PixelFormat::Xrgb8888:
      reinterpret_cast<std::uint32_t*>(r)[x] = value & 0xFFFFFF;
      break;
  }
}

}  // namespace platform::gdi
