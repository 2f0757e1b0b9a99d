// An owned 16-bit DIB section (rows from the top) together with its pixels.
#pragma once

#include <cstdint>

#include "platform/gdi/WinGdi.h"
#include "skin/MaskBlend.h"
#include "skin/RgbImage.h"

namespace pellucard {

class DibBitmap {
 public:
  enum class Format { Rgb565, Rgb555 };

  DibBitmap() = default;
  DibBitmap(const DibBitmap&) = delete;
  DibBitmap& operator=(const DibBitmap&) = delete;
  DibBitmap(DibBitmap&& other) noexcept;
  DibBitmap& operator=(DibBitmap&& other) noexcept;
  ~DibBitmap();

  // An empty (invalid) bitmap when the section cannot be made.
  static DibBitmap create(int width, int height, Format format);
  // The picture in 5-6-5; each channel keeps its high bits.
  static DibBitmap fromImage(const RgbImage& image);

  explicit operator bool() const { return handle_ != nullptr; }
  HBITMAP handle() const { return handle_; }
  // Hands the bitmap over to the caller, who deletes it with DeleteObject.
  HBITMAP release();

  int width() const { return width_; }
  int height() const { return height_; }
  Format format() const { return format_; }
  // Rows are as wide as the image rounded up to an even number of pixels.
  int stride() const { return stride_; }
  std::uint16_t* pixels() const { return pixels_; }
  std::uint16_t pixel(int x, int y) const { return pixels_[static_cast<std::ptrdiff_t>(y) * stride_ + x]; }
  PixelPlane plane() const { return {pixels_, width_, height_, stride_}; }
  ConstPixelPlane constPlane() const { return {pixels_, width_, height_, stride_}; }

 private:
  void reset();

  HBITMAP handle_ = nullptr;
  std::uint16_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  Format format_ = Format::Rgb565;
};

}  // namespace pellucard
