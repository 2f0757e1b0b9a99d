// Screenshots: 5-6-5 pixels written as an 8-bit RGB PNG.
#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/gdi/GdiBridge.h"
#include "platform/gdi/Surface.h"

namespace platform::gdi {

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool writePng(const std::string& path, const std::uint16_t* pixels, int width, int height, int strideInPixels) {
  if (!pixels || width <= 0 || height <= 0 || strideInPixels < width) return false;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
  // libpng reports errors by longjmp; nothing with a destructor is created past this point.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const std::uint16_t* src = pixels + static_cast<std::ptrdiff_t>(y) * strideInPixels;
    for (int x = 0; x < width; ++x) {
      const COLORREF c = color565ToColor(src[x]);
      row[static_cast<std::size_t>(x) * 3] = GetRValue(c);
      row[static_cast<std::size_t>(x) * 3 + 1] = GetGValue(c);
      row[static_cast<std::size_t>(x) * 3 + 2] = GetBValue(c);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.get()) == 0;
}

}  // namespace platform::gdi
