#include "tests/shell/PictureFiles.h"

#include <cstdio>
#include <fstream>
#include <vector>

#include "skin/JpegEncoder.h"

#include <png.h>

namespace platform::testing {

bool writeJpeg(const std::string& path, int width, int height, std::uint32_t rgb) {
  pellucard::RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  for (std::size_t i = 0; i < image.rgb.size(); i += 3) {
    image.rgb[i] = static_cast<std::uint8_t>(rgb >> 16);
    image.rgb[i + 1] = static_cast<std::uint8_t>(rgb >> 8);
    image.rgb[i + 2] = static_cast<std::uint8_t>(rgb);
  }
  const auto bytes = pellucard::JpegEncoder::encode(image);
  if (!bytes) return false;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes->data()), static_cast<std::streamsize>(bytes->size()));
  return static_cast<bool>(out);
}

bool writePng(const std::string& path, int width, int height, std::uint32_t rgb) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
  for (std::size_t i = 0; i < row.size(); i += 3) {
    row[i] = static_cast<png_byte>(rgb >> 16);
    row[i + 1] = static_cast<png_byte>(rgb >> 8);
    row[i + 2] = static_cast<png_byte>(rgb);
  }
  for (int y = 0; y < height; ++y) png_write_row(png, row.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

}  // namespace platform::testing
