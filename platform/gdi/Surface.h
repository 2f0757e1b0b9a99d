// Pixel storage of a bitmap or of the screen, in one of the formats the handheld draws into.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/TextRecordList.h"
#include "platform/gdi/WinGdi.h"

namespace platform::gdi {

enum class PixelFormat { Mono, Rgb555, Rgb565, Rgb888, Xrgb8888 };

int bitsPerPixel(PixelFormat format);

// Packs and unpacks COLORREFs to raw pixel values; 5/6-bit channels widen by bit replication,
// so white stays white and a colour set is read back as itself when it is representable.
std::uint32_t colorToRaw(PixelFormat format, COLORREF color);
COLORREF rawToColor(PixelFormat format, std::uint32_t raw);

inline std::uint16_t colorTo565(COLORREF c) {
  return static_cast<std::uint16_t>(((c & 0xF8) << 8) | ((c & 0xFC00) >> 5) | ((c & 0xF80000) >> 19));
}
inline COLORREF color565ToColor(std::uint16_t p) {
  unsigned r = (p >> 11) & 0x1F, g = (p >> 5) & 0x3F, b = p & 0x1F;
  return RGB(static_cast<BYTE>((r << 3) | (r >> 2)), static_cast<BYTE>((g << 2) | (g >> 4)),
             static_cast<BYTE>((b << 3) | (b >> 2)));
}

class Surface {
 public:
  // Rows are strideBytes apart (0 = the DIB rule: rounded up to 4 bytes); memory is zeroed.
  Surface(PixelFormat format, int width, int height, bool topDown, int strideBytes = 0);

  PixelFormat format() const { return format_; }
  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return stride_; }
  bool topDown() const { return topDown_; }
  RECT bounds() const { return RECT{0, 0, width_, height_}; }
  std::uint32_t rawMask() const;

  std::uint8_t* bits() { return storage_.data(); }
  const std::uint8_t* bits() const { return storage_.data(); }
  std::size_t byteSize() const { return storage_.size(); }
  // Row y counted from the top, whatever the memory order.
  std::uint8_t* row(int y) { return storage_.data() + rowOffset(y); }
  const std::uint8_t* row(int y) const { return storage_.data() + rowOffset(y); }
  std::uint16_t* row16(int y) { return reinterpret_cast<std::uint16_t*>(row(y)); }
  const std::uint16_t* row16(int y) const { return reinterpret_cast<const std::uint16_t*>(row(y)); }

  std::uint32_t raw(int x, int y) const;
  void setRaw(int x, int y, std::uint32_t value);
  COLORREF pixel(int x, int y) const { return rawToColor(format_, raw(x, y)); }
  void setPixel(int x, int y, COLORREF color) { setRaw(x, y, colorToRaw(format_, color)); }

  // Texts drawn into this surface, in its pixel coordinates; they travel with blits.
  TextRecordList& texts() { return texts_; }
  const TextRecordList& texts() const { return texts_; }

 private:
  std::size_t rowOffset(int y) const {
    return static_cast<std::size_t>(topDown_ ? y : height_ - 1 - y) * static_cast<std::size_t>(stride_);
  }

  PixelFormat format_;
  int width_;
  int height_;
  int stride_;
  bool topDown_;
  std::vector<std::uint8_t> storage_;
  TextRecordList texts_;
};

}  // namespace platform::gdi
