#include "skin/DibBitmap.h"

#include <utility>

namespace pellucard {

DibBitmap::DibBitmap(DibBitmap&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      pixels_(std::exchange(other.pixels_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      stride_(std::exchange(other.stride_, 0)),
      format_(other.format_) {}

DibBitmap& DibBitmap::operator=(DibBitmap&& other) noexcept {
  if (this != &other) {
    reset();
    handle_ = std::exchange(other.handle_, nullptr);
    pixels_ = std::exchange(other.pixels_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    stride_ = std::exchange(other.stride_, 0);
    format_ = other.format_;
  }
  return *this;
}

DibBitmap::~DibBitmap() { reset(); }

void DibBitmap::reset() {
  if (handle_ != nullptr) DeleteObject(handle_);
  handle_ = nullptr;
  pixels_ = nullptr;
  width_ = height_ = stride_ = 0;
}

HBITMAP DibBitmap::release() {
  HBITMAP handle = std::exchange(handle_, nullptr);
  pixels_ = nullptr;
  width_ = height_ = stride_ = 0;
  return handle;
}

DibBitmap DibBitmap::create(int width, int height, Format format) {
  DibBitmap bitmap;
  if (width <= 0 || height <= 0) return bitmap;
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
  } info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = -height;  // top-down
  info.header.biPlanes = 1;
  info.header.biBitCount = 16;
  info.header.biCompression = BI_BITFIELDS;
  if (format == Format::Rgb565) {
    info.masks[0] = 0xF800;
    info.masks[1] = 0x07E0;
    info.masks[2] = 0x001F;
  } else {
    info.masks[0] = 0x7C00;
    info.masks[1] = 0x03E0;
    info.masks[2] = 0x001F;
  }
  void* bits = nullptr;
  HBITMAP handle =
      CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  if (handle == nullptr || bits == nullptr) {
    if (handle != nullptr) DeleteObject(handle);
    return bitmap;
  }
  bitmap.handle_ = handle;
  bitmap.pixels_ = static_cast<std::uint16_t*>(bits);
  bitmap.width_ = width;
  bitmap.height_ = height;
  bitmap.stride_ = (width + 1) & ~1;
  bitmap.format_ = format;
  return bitmap;
}

DibBitmap DibBitmap::fromImage(const RgbImage& image) {
  if (image.rgb.size() != static_cast<std::size_t>(image.width) * image.height * 3) return {};
  DibBitmap bitmap = create(image.width, image.height, Format::Rgb565);
  if (!bitmap) return bitmap;
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* p = image.pixel(0, y);
    std::uint16_t* row = bitmap.pixels_ + static_cast<std::ptrdiff_t>(y) * bitmap.stride_;
    for (int x = 0; x < image.width; ++x, p += 3) {
      row[x] = static_cast<std::uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
    }
  }
  return bitmap;
}

}  // namespace pellucard
