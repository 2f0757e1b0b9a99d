#include "skin/ImageDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "skin/ExifOrientation.h"
#include "skin/JpegError.h"
#include "skin/PixelRows.h"

// clang-format off
#include <png.h>
#include <jpeglib.h>
// clang-format on

namespace pellucard {

namespace {

bool tooLarge(std::uint64_t width, std::uint64_t height) {
  return width == 0 || height == 0 || width * height > ImageDecoder::kMaxPixels;
}

// ---- PNG -------------------------------------------------------------------------------------
// libpng reports errors by longjmp. Everything that must survive the jump lives in PngJob,
// owned by the caller, so the function holding setjmp keeps no C++ objects of its own.

struct PngJob {
  std::span<const std::uint8_t> data;
  std::size_t offset = 0;
  bool headerOnly = false;
  SIZE size{0, 0};
  std::vector<std::uint8_t> rows;  // RGBA rows: one row, or the whole picture when interlaced
  RgbImage* out = nullptr;
};

void pngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void pngWarning(png_structp, png_const_charp) {}

void pngRead(png_structp png, png_bytep target, png_size_t length) {
  auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
  if (length > job->data.size() - job->offset) png_error(png, "truncated");
  std::memcpy(target, job->data.data() + job->offset, length);
  job->offset += length;
}

bool runPng(PngJob* job) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, pngError, pngWarning);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, job, pngRead);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (tooLarge(width, height)) png_error(png, "too large");
  job->size = SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
  if (job->headerOnly) {
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
  }

  // Deflate packs at most 1032 bytes into one; a file too short for its pixels is cut off,
  // and is refused before memory is set aside for it.
  const std::uint64_t packedRows = static_cast<std::uint64_t>(height) * (png_get_rowbytes(png, info) + 1);
  if ((job->data.size() - job->offset) * 1032ull < packedRows) png_error(png, "truncated");

  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
  if (png_get_rowbytes(png, info) != rowBytes) png_error(png, "unexpected row layout");

  RgbImage& out = *job->out;
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  const std::size_t outRow = static_cast<std::size_t>(width) * 3;
  if (passes == 1) {
    // The picture grows row by row, so a file that ends early never costs its full size.
    out.rgb.clear();
    out.rgb.reserve(outRow * height);
    job->rows.assign(rowBytes, 0);
    for (png_uint_32 y = 0; y < height; ++y) {
      png_read_row(png, job->rows.data(), nullptr);
      out.rgb.resize(out.rgb.size() + outRow);
      pixelrows::flattenRgba(job->rows.data(), out.rgb.data() + out.rgb.size() - outRow, out.width);
    }
  } else {
    out.rgb.assign(outRow * height, 0);
    job->rows.assign(rowBytes * height, 0);
    for (int pass = 0; pass < passes; ++pass) {
      for (png_uint_32 y = 0; y < height; ++y) png_read_row(png, job->rows.data() + rowBytes * y, nullptr);
    }
    for (png_uint_32 y = 0; y < height; ++y) {
      pixelrows::flattenRgba(job->rows.data() + rowBytes * y, out.rgb.data() + static_cast<std::size_t>(y) * width * 3,
                             out.width);
    }
  }
  // The trailing chunks are not needed; a file cut after the pixels still gives the whole picture.
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// ---- JPEG ------------------------------------------------------------------------------------

struct JpegJob {
  std::span<const std::uint8_t> data;
  bool headerOnly = false;
  SIZE atLeast{0, 0};
  SIZE size{0, 0};  // as meant to be seen
  int orientation = ExifOrientation::kUpright;
  std::vector<std::uint8_t> row;
  RgbImage* out = nullptr;
  jpeg_decompress_struct info{};
  JpegError error{};
};

int scaleDenominator(const jpeg_decompress_struct& info, SIZE atLeast) {
  if (atLeast.cx <= 0 || atLeast.cy <= 0) return 1;
  for (int denominator : {8, 4, 2}) {
    const auto w = (info.image_width + denominator - 1) / denominator;
    const auto h = (info.image_height + denominator - 1) / denominator;
    if (w >= static_cast<unsigned>(atLeast.cx) && h >= static_cast<unsigned>(atLeast.cy)) return denominator;
  }
  return 1;
}

bool runJpeg(JpegJob* job) {
  jpeg_decompress_struct* info = &job->info;
  job->error.attach(info);
  if (setjmp(job->error.jump)) {
    jpeg_destroy_decompress(info);
    return false;
  }
  jpeg_create_decompress(info);
  // Progressive files keep all coefficients in memory; bound what a hostile one may ask for.
  info->mem->max_memory_to_use = 512L * 1024 * 1024;
  jpeg_mem_src(info, job->data.data(), static_cast<unsigned long>(job->data.size()));
  jpeg_save_markers(info, JPEG_APP0 + 1, 0xFFFF);
  if (jpeg_read_header(info, TRUE) != JPEG_HEADER_OK || tooLarge(info->image_width, info->image_height)) {
    jpeg_destroy_decompress(info);
    return false;
  }
  for (jpeg_saved_marker_ptr marker = info->marker_list; marker != nullptr; marker = marker->next) {
    if (marker->marker != JPEG_APP0 + 1) continue;
    job->orientation = ExifOrientation::fromApp1(std::span<const std::uint8_t>(marker->data, marker->data_length));
    if (job->orientation != ExifOrientation::kUpright) break;
  }
  const bool turned = ExifOrientation::swapsSides(job->orientation);
  job->size = SIZE{static_cast<LONG>(turned ? info->image_height : info->image_width),
                   static_cast<LONG>(turned ? info->image_width : info->image_height)};
  if (turned) std::swap(job->atLeast.cx, job->atLeast.cy);
  if (job->headerOnly) {
    jpeg_destroy_decompress(info);
    return true;
  }
  const bool cmyk = info->jpeg_color_space == JCS_CMYK || info->jpeg_color_space == JCS_YCCK;
  info->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  info->scale_num = 1;
  info->scale_denom = static_cast<unsigned>(scaleDenominator(*info, job->atLeast));
  jpeg_start_decompress(info);
  if (job->error.truncated || info->output_width == 0 || info->output_height == 0) {
    jpeg_destroy_decompress(info);
    return false;
  }
  const int width = static_cast<int>(info->output_width);
  const int height = static_cast<int>(info->output_height);
  const int components = info->output_components;
  RgbImage& out = *job->out;
  out.width = width;
  out.height = height;
  const std::size_t outRow = static_cast<std::size_t>(width) * 3;
  out.rgb.clear();
  out.rgb.reserve(outRow * height);
  job->row.assign(static_cast<std::size_t>(width) * components, 0);
  while (info->output_scanline < info->output_height) {
    JSAMPROW row = job->row.data();
    if (jpeg_read_scanlines(info, &row, 1) != 1 || job->error.truncated) {
      jpeg_destroy_decompress(info);
      return false;
    }
    out.rgb.resize(out.rgb.size() + outRow);
    std::uint8_t* target = out.rgb.data() + out.rgb.size() - outRow;
    if (cmyk) {
      pixelrows::cmykToRgb(row, target, width, info->saw_Adobe_marker);
    } else {
      std::memcpy(target, row, static_cast<std::size_t>(width) * 3);
    }
  }
  jpeg_destroy_decompress(info);
  return true;
}

}  // namespace

ImageFormat ImageDecoder::detectFormat(std::span<const std::uint8_t> bytes) {
  static constexpr std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (bytes.size() >= 8 && std::memcmp(bytes.data(), kPng, 8) == 0) return ImageFormat::Png;
  if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF) return ImageFormat::Jpeg;
  return ImageFormat::Unknown;
}

std::optional<SIZE> ImageDecoder::readSize(std::span<const std::uint8_t> bytes) {
  switch (detectFormat(bytes)) {
    case ImageFormat::Png: {
      PngJob job;
      job.data = bytes;
      job.headerOnly = true;
      if (runPng(&job)) return job.size;
      return std::nullopt;
    }
    case ImageFormat::Jpeg: {
      auto job = std::make_unique<JpegJob>();
      job->data = bytes;
      job->headerOnly = true;
      if (runJpeg(job.get())) return job->size;
      return std::nullopt;
    }
    case ImageFormat::Unknown:
      break;
  }
  return std::nullopt;
}

std::optional<RgbImage> ImageDecoder::decode(std::span<const std::uint8_t> bytes, SIZE atLeast) {
  RgbImage image;
  switch (detectFormat(bytes)) {
    case ImageFormat::Png: {
      PngJob job;
      job.data = bytes;
      job.out = &image;
      if (runPng(&job)) return image;
      return std::nullopt;
    }
    case ImageFormat::Jpeg: {
      auto job = std::make_unique<JpegJob>();
      job->data = bytes;
      job->atLeast = atLeast;
      job->out = &image;
      if (!runJpeg(job.get())) return std::nullopt;
      if (job->orientation != ExifOrientation::kUpright) return ExifOrientation::upright(image, job->orientation);
      return image;
    }
    case ImageFormat::Unknown:
      break;
  }
  return std::nullopt;
}

}  // namespace pellucard
