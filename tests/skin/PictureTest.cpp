#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/base/DeviceConfig.h"
#include "skin/EmbeddedImages.h"
#include "skin/ImageDecoder.h"
#include "skin/JpegEncoder.h"
#include "skin/PictureCodec.h"
#include "skin/PictureScaler.h"
#include "tests/support/TempFolder.h"

namespace pellucard {
namespace {

using Bytes = std::vector<std::uint8_t>;

RgbImage gradient(int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.rgb.push_back(static_cast<std::uint8_t>(x * 255 / (width - 1)));
      image.rgb.push_back(static_cast<std::uint8_t>(y * 255 / (height - 1)));
      image.rgb.push_back(128);
    }
  }
  return image;
}

Bytes embedded(UINT id) {
  const auto bytes = findEmbeddedImage(id);
  return Bytes(bytes.begin(), bytes.end());
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void put32(Bytes& out, std::uint32_t v) {
  for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// A PNG that has a valid header for width x height and then an IDAT with nothing in it.
Bytes pngHeaderOnly(std::uint32_t width, std::uint32_t height) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr = {'I', 'H', 'D', 'R'};
  put32(ihdr, width);
  put32(ihdr, height);
  for (std::uint8_t b : {8, 2, 0, 0, 0}) ihdr.push_back(b);
  put32(png, 13);
  png.insert(png.end(), ihdr.begin(), ihdr.end());
  put32(png, crc32(ihdr.data(), ihdr.size()));
  put32(png, 0);
  for (char c : {'I', 'D', 'A', 'T'}) png.push_back(static_cast<std::uint8_t>(c));
  put32(png, crc32(png.data() + png.size() - 4, 4));
  return png;
}

TEST(PictureFit, PrefersFullHeightAndKeepsTheAspect) {
  EXPECT_EQ(PictureScaler::fitIntoBox({80, 80}, {640, 480}).cx, 80);
  EXPECT_EQ(PictureScaler::fitIntoBox({80, 80}, {640, 480}).cy, 60);
  EXPECT_EQ(PictureScaler::fitIntoBox({80, 80}, {480, 640}).cx, 60);
  EXPECT_EQ(PictureScaler::fitIntoBox({80, 80}, {480, 640}).cy, 80);
  EXPECT_EQ(PictureScaler::fitIntoBox({80, 80}, {100, 100}).cx, 80);
  EXPECT_EQ(PictureScaler::fitIntoBox({80, 80}, {100, 100}).cy, 80);
  // Truncating: 50 * 480 / 640 = 37.5.
  EXPECT_EQ(PictureScaler::fitIntoBox({50, 50}, {640, 480}).cy, 37);
  // Small pictures are fitted up to the box as well.
  EXPECT_EQ(PictureScaler::fitIntoBox({26, 26}, {13, 10}).cx, 26);
  EXPECT_EQ(PictureScaler::fitIntoBox({26, 26}, {13, 10}).cy, 20);
}

TEST(PictureFit, ExtremeShapesStayInsideTheBoxWithoutOverflow) {
  const SIZE tall = PictureScaler::fitIntoBox({80, 80}, {1, 1000});
  EXPECT_EQ(tall.cx, 1);
  EXPECT_EQ(tall.cy, 80);
  const SIZE wide = PictureScaler::fitIntoBox({80, 80}, {1000, 1});
  EXPECT_EQ(wide.cx, 80);
  EXPECT_EQ(wide.cy, 1);
  // 80 * 2147483647 does not fit 32 bits.
  const SIZE huge = PictureScaler::fitIntoBox({80, 80}, {2147483647, 1073741823});
  EXPECT_EQ(huge.cx, 80);
  EXPECT_EQ(huge.cy, 39);
  EXPECT_EQ(PictureScaler::fitIntoBox({80, 80}, {0, 10}).cx, 0);
  EXPECT_EQ(PictureScaler::fitIntoBox({80, 80}, {10, 0}).cy, 0);
}

TEST(PictureResample, AveragesTheCoveredArea) {
  RgbImage stripes;
  stripes.width = 4;
  stripes.height = 2;
  // Columns alternate black and white: halving must give an even grey, not one of the two.
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) {
      const std::uint8_t v = x % 2 ? 255 : 0;
      stripes.rgb.insert(stripes.rgb.end(), {v, v, v});
    }
  }
  const auto half = PictureScaler::resample(stripes, 2, 1);
  ASSERT_TRUE(half);
  ASSERT_EQ(half->rgb.size(), 6u);
  for (std::uint8_t v : half->rgb) EXPECT_EQ(v, 128);

  // Three source columns into two: the middle column is split between both targets.
  RgbImage three;
  three.width = 3;
  three.height = 1;
  three.rgb = {0, 0, 0, 90, 90, 90, 240, 240, 240};
  const auto two = PictureScaler::resample(three, 2, 1);
  ASSERT_TRUE(two);
  EXPECT_EQ(two->rgb[0], 30);   // (0 * 1 + 90 * 0.5) / 1.5
  EXPECT_EQ(two->rgb[3], 190);  // (90 * 0.5 + 240 * 1) / 1.5

  EXPECT_FALSE(PictureScaler::resample(three, 0, 1));
  EXPECT_FALSE(PictureScaler::resample(RgbImage{}, 2, 2));
}

TEST(PictureJpeg, RoundTripKeepsSizeAndColours) {
  const RgbImage source = gradient(64, 48);
  const auto jpeg = JpegEncoder::encode(source);
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(ImageDecoder::detectFormat(*jpeg), ImageFormat::Jpeg);
  const auto size = ImageDecoder::readSize(*jpeg);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->cx, 64);
  EXPECT_EQ(size->cy, 48);
  const auto decoded = ImageDecoder::decode(*jpeg);
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->width, 64);
  ASSERT_EQ(decoded->height, 48);
  int worst = 0;
  for (std::size_t i = 0; i < source.rgb.size(); ++i)
    worst = std::max(worst, std::abs(source.rgb[i] - decoded->rgb[i]));
  EXPECT_LE(worst, 12);
}

TEST(PictureJpeg, ReducedDecodeStillCoversTheWantedSize) {
  const auto jpeg = JpegEncoder::encode(gradient(640, 480));
  ASSERT_TRUE(jpeg);
  const auto reduced = ImageDecoder::decode(*jpeg, {80, 60});
  ASSERT_TRUE(reduced);
  EXPECT_EQ(reduced->width, 80);
  EXPECT_EQ(reduced->height, 60);
  const auto half = ImageDecoder::decode(*jpeg, {200, 150});
  ASSERT_TRUE(half);
  EXPECT_EQ(half->width, 320);
}

TEST(PictureCodecTest, PngFileBecomesAFittedJpeg) {
  const auto jpeg = PictureCodec::encodeForBox(embedded(200), {80, 80});  // a 240x320 image
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(ImageDecoder::detectFormat(*jpeg), ImageFormat::Jpeg);
  const auto size = ImageDecoder::readSize(*jpeg);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->cx, 60);
  EXPECT_EQ(size->cy, 80);

  // The stored picture decodes again at the small size.
  const auto small = PictureCodec::decodeForBox(*jpeg, {26, 26});
  ASSERT_TRUE(small);
  EXPECT_EQ(small->width, 19);
  EXPECT_EQ(small->height, 26);
}

TEST(PictureCodecTest, ReadsFilesAndRefusesMissingOrOversizedOnes) {
  const platform::testing::TempFolder folder;
  const std::string dir = folder.path().string();
  const std::string path = folder.file("photo.png");
  const Bytes png = embedded(226);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
  const auto jpeg = PictureCodec::encodeFileForBox(path, {50, 50});
  ASSERT_TRUE(jpeg);
  EXPECT_EQ(ImageDecoder::readSize(*jpeg)->cx, 50);
  EXPECT_EQ(ImageDecoder::readSize(*jpeg)->cy, 5);  // 720x80 is width-limited
  EXPECT_FALSE(PictureCodec::readFile(path, png.size() - 1));
  EXPECT_FALSE(PictureCodec::encodeFileForBox(folder.file("missing.jpg"), {50, 50}));
  EXPECT_FALSE(PictureCodec::encodeFileForBox(dir, {50, 50}));

  // Device paths are rooted at the device root.
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  const std::string savedRoot = config.deviceRoot;
  config.deviceRoot = dir;
  const auto fromDevice = PictureCodec::encodeDeviceFileForBox(u"\\photo.png", {80, 80});
  config.deviceRoot = savedRoot;
  ASSERT_TRUE(fromDevice);
  EXPECT_EQ(ImageDecoder::readSize(*fromDevice)->cy, 8);
  EXPECT_FALSE(PictureCodec::encodeDeviceFileForBox(u"", {80, 80}));
}

TEST(PictureHostileInput, NonImagesAndForeignFormatsAreRefused) {
  const std::string text = "BEGIN:VCARD\r\nVERSION:3.0\r\nEND:VCARD\r\n";
  const Bytes textBytes(text.begin(), text.end());
  EXPECT_FALSE(ImageDecoder::decode(textBytes));
  EXPECT_FALSE(PictureCodec::encodeForBox(textBytes, {80, 80}));
  const Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ';'};
  EXPECT_EQ(ImageDecoder::detectFormat(gif), ImageFormat::Unknown);
  EXPECT_FALSE(PictureCodec::encodeForBox(gif, {80, 80}));
  EXPECT_FALSE(ImageDecoder::decode(Bytes{}));
  EXPECT_FALSE(ImageDecoder::decode(Bytes{0xFF, 0xD8, 0xFF}));
  EXPECT_FALSE(ImageDecoder::decode(Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
}

TEST(PictureHostileInput, TruncatedFilesAreRefusedAtEveryLength) {
  const Bytes png = embedded(402);
  for (std::size_t cut = 0; cut < png.size() - 12; cut += 97) {
    EXPECT_FALSE(ImageDecoder::decode(std::span(png.data(), cut))) << "png cut at " << cut;
  }
  const auto jpeg = JpegEncoder::encode(gradient(96, 64));
  ASSERT_TRUE(jpeg);
  for (std::size_t cut = 0; cut + 2 < jpeg->size(); cut += 53) {
    EXPECT_FALSE(ImageDecoder::decode(std::span(jpeg->data(), cut))) << "jpeg cut at " << cut;
  }
  EXPECT_TRUE(ImageDecoder::decode(*jpeg));
}

TEST(PictureHostileInput, PicturesOverFortyMegapixelsAreRefusedBeforeDecoding) {
  EXPECT_TRUE(ImageDecoder::readSize(pngHeaderOnly(8000, 5000)));
  EXPECT_FALSE(ImageDecoder::readSize(pngHeaderOnly(8001, 5000)));
  EXPECT_FALSE(ImageDecoder::decode(pngHeaderOnly(100000, 100000)));
  EXPECT_FALSE(PictureCodec::encodeForBox(pngHeaderOnly(100000, 100000), {80, 80}));
  // An allowed size with no pixel data behind it fails cleanly too.
  EXPECT_FALSE(ImageDecoder::decode(pngHeaderOnly(8000, 5000)));

  // A JPEG whose frame header claims 60000 x 60000.
  auto jpeg = *JpegEncoder::encode(gradient(16, 16));
  for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = 0xEA;
      jpeg[i + 6] = 0x60;
      jpeg[i + 7] = 0xEA;
      jpeg[i + 8] = 0x60;
      break;
    }
  }
  EXPECT_FALSE(ImageDecoder::readSize(jpeg));
  EXPECT_FALSE(ImageDecoder::decode(jpeg));
}

}  // namespace
}  // namespace pellucard
