// Thumbnails decoded a slice at a time: the Exif preview when it serves, the pixels when it
// does not, and progressive JPEGs and interlaced PNGs spread over many slices like the rest.
#include "skin/ThumbnailJob.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "skin/JpegEncoder.h"
#include "skin/PictureCodec.h"
#include "tests/support/ExifPreview.h"

// clang-format off
#include <cstdio>
#include <png.h>
#include <jpeglib.h>
// clang-format on

namespace pellucard {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kRed[3] = {220, 30, 30};
constexpr std::uint8_t kBlue[3] = {30, 60, 220};

RgbImage filled(int width, int height, const std::uint8_t (&rgb)[3]) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
  for (std::size_t i = 0; i < image.rgb.size(); i += 3) {
    image.rgb[i] = rgb[0];
    image.rgb[i + 1] = rgb[1];
    image.rgb[i + 2] = rgb[2];
  }
  return image;
}

Bytes jpeg(int width, int height, const std::uint8_t (&rgb)[3]) {
  return JpegEncoder::encode(filled(width, height, rgb)).value_or(Bytes{});
}

// Left half orange, right half teal, the same as the small test files.
constexpr std::uint8_t kOrange[3] = {240, 120, 40};
constexpr std::uint8_t kTeal[3] = {40, 160, 160};
const std::uint8_t* halfColour(int x, int width) { return x < width / 2 ? kOrange : kTeal; }

Bytes progressiveJpeg(int width, int height) {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 90, TRUE);
  jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(width) * 3);
  for (int x = 0; x < width; ++x) std::copy_n(halfColour(x, width), 3, row.begin() + x * 3);
  while (info.next_scanline < info.image_height) {
    JSAMPROW line = row.data();
    jpeg_write_scanlines(&info, &line, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes bytes(buffer, buffer + size);
  std::free(buffer);
  return bytes;
}

void appendPng(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void flushPng(png_structp) {}

Bytes interlacedPng(int width, int height) {
  Bytes bytes;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return {};
  }
  png_set_write_fn(png, &bytes, appendPng, flushPng);
  png_set_compression_level(png, 1);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_ADAM7, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
  for (int x = 0; x < width; ++x) std::copy_n(halfColour(x, width), 3, row.begin() + x * 3);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < height; ++y) png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return bytes;
}

struct Decoded {
  std::optional<platform::shell::PicturePixels> pixels;
  int steps = 0;
};

Decoded thumbnail(Bytes bytes, SIZE box) {
  ThumbnailJob job(platform::shell::PictureSource{{}, std::move(bytes)}, box);
  Decoded run;
  for (run.steps = 1; !job.step(); ++run.steps) {
    if (run.steps > 1'000'000) return run;
  }
  run.pixels = job.result();
  return run;
}

void expectColour(const platform::shell::PicturePixels& p, int x, int y, const std::uint8_t* rgb, int tolerance,
                  const char* what) {
  const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(p.width) + x) * 3;
  ASSERT_LT(at + 2, p.rgb.size()) << what;
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(p.rgb[at + c], rgb[c], tolerance) << what << " at " << x << "," << y;
}

TEST(ThumbnailJob, ACameraPreviewServesWhenItIsLargeEnoughAndOfTheSameShape) {
  // The photo is blue and its preview red, so the thumbnail tells which one was read.
  const Bytes photo = jpeg(1600, 1200, kBlue);
  const Decoded small = thumbnail(platform::testing::withExifPreview(photo, jpeg(160, 120, kRed)), SIZE{64, 64});
  ASSERT_TRUE(small.pixels);
  EXPECT_EQ(small.pixels->width, 64);
  EXPECT_EQ(small.pixels->height, 48);
  expectColour(*small.pixels, 32, 24, kRed, 12, "the preview");

  const Decoded large = thumbnail(platform::testing::withExifPreview(photo, jpeg(160, 120, kRed)), SIZE{200, 200});
  ASSERT_TRUE(large.pixels);
  EXPECT_EQ(large.pixels->width, 200);
  expectColour(*large.pixels, 100, 75, kBlue, 12, "a preview smaller than the thumbnail is not enlarged");

  const Decoded padded = thumbnail(platform::testing::withExifPreview(photo, jpeg(160, 160, kRed)), SIZE{64, 64});
  ASSERT_TRUE(padded.pixels);
  expectColour(*padded.pixels, 32, 24, kBlue, 12, "a preview of another shape (bars) is not used");

  const Decoded broken =
      thumbnail(platform::testing::withExifPreview(photo, Bytes{0xFF, 0xD8, 0xFF, 0xDB}), SIZE{64, 64});
  ASSERT_TRUE(broken.pixels);
  expectColour(*broken.pixels, 32, 24, kBlue, 12, "a broken preview falls back on the pixels");
}

TEST(ThumbnailJob, EverySmallVariantGivesItsThumbnail) {
  for (const char* file : {"rgb.png", "palette.png", "interlaced.png", "baseline.jpg", "progressive.jpg", "cmyk.jpg"}) {
    auto bytes = PictureCodec::readFile(std::string(SKIN_TEST_DATA) + "/" + file);
    ASSERT_TRUE(bytes) << file;
    const Decoded run = thumbnail(std::move(*bytes), SIZE{12, 12});
    ASSERT_TRUE(run.pixels) << file;
    EXPECT_EQ(run.pixels->width, 12) << file;
    EXPECT_EQ(run.pixels->height, 8) << file;
    expectColour(*run.pixels, 1, 4, kOrange, 12, file);
    expectColour(*run.pixels, 10, 4, kTeal, 12, file);
  }
}

void expectHalves(const Decoded& run, const char* what) {
  ASSERT_TRUE(run.pixels) << what;
  EXPECT_EQ(run.pixels->width, 80) << what;
  EXPECT_EQ(run.pixels->height, 60) << what;
  expectColour(*run.pixels, 5, 30, kOrange, 12, what);
  expectColour(*run.pixels, 74, 30, kTeal, 12, what);
}

TEST(ThumbnailJob, ALargeProgressiveJpegIsReadInManySlices) {
  // Large enough that one slice cannot hold all of its scans, even on a fast machine.
  const Decoded run = thumbnail(progressiveJpeg(4000, 3000), SIZE{80, 80});
  EXPECT_GT(run.steps, 4) << "input is answered between the slices of its scans";
  expectHalves(run, "progressive JPEG");
}

TEST(ThumbnailJob, ALargeInterlacedPngGivesItsThumbnailFromItsFirstPass) {
  expectHalves(thumbnail(interlacedPng(4000, 3000), SIZE{80, 80}), "interlaced PNG");
}

TEST(ThumbnailJob, AnInterlacedPictureTooSmallForItsFirstPassIsReadWhole) {
  // 40 x 20: the first pass has 5 x 3 pixels, fewer than the 24 x 12 thumbnail needs.
  const Decoded run = thumbnail(interlacedPng(40, 20), SIZE{24, 24});
  ASSERT_TRUE(run.pixels);
  EXPECT_EQ(run.pixels->width, 24);
  EXPECT_EQ(run.pixels->height, 12);
  expectColour(*run.pixels, 2, 6, kOrange, 0, "left");
  expectColour(*run.pixels, 21, 6, kTeal, 0, "right");
}

TEST(ThumbnailJob, CutOffProgressiveAndInterlacedFilesFailCleanly) {
  Bytes progressive = progressiveJpeg(800, 600);
  progressive.resize(progressive.size() / 2);
  EXPECT_FALSE(thumbnail(std::move(progressive), SIZE{64, 64}).pixels);
  Bytes interlaced = interlacedPng(800, 600);
  interlaced.resize(200);
  EXPECT_FALSE(thumbnail(std::move(interlaced), SIZE{64, 64}).pixels);
}

}  // namespace
}  // namespace pellucard
