#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "skin/ExifOrientation.h"
#include "skin/ImageDecoder.h"
#include "skin/PictureCodec.h"

namespace pellucard {
namespace {

std::vector<std::uint8_t> dataFile(const std::string& name) {
  const auto bytes = PictureCodec::readFile(std::string(SKIN_TEST_DATA) + "/" + name);
  EXPECT_TRUE(bytes) << name;
  return bytes.value_or(std::vector<std::uint8_t>{});
}

void expectNear(const RgbImage& image, int x, int y, int r, int g, int b, int tolerance, const std::string& name) {
  const std::uint8_t* p = image.pixel(x, y);
  EXPECT_NEAR(p[0], r, tolerance) << name << " red at " << x << "," << y;
  EXPECT_NEAR(p[1], g, tolerance) << name << " green at " << x << "," << y;
  EXPECT_NEAR(p[2], b, tolerance) << name << " blue at " << x << "," << y;
}

// Each file holds a 24x16 picture, orange on the left half and teal on the right.
TEST(DecoderFormats, EveryPngAndJpegVariantDecodes) {
  struct Case {
    const char* file;
    int left[3];
    int right[3];
    int tolerance;
  };
  const int orangeGrey = (240 * 299 + 120 * 587 + 40 * 114) / 1000;
  const int tealGrey = (40 * 299 + 160 * 587 + 160 * 114) / 1000;
  const Case cases[] = {
      {"rgb.png", {240, 120, 40}, {40, 160, 160}, 0},
      {"palette.png", {240, 120, 40}, {40, 160, 160}, 0},
      {"interlaced.png", {240, 120, 40}, {40, 160, 160}, 0},
      {"gray.png", {orangeGrey, orangeGrey, orangeGrey}, {tealGrey, tealGrey, tealGrey}, 1},
      {"alpha.png", {255, 255, 255}, {40, 160, 160}, 0},  // transparent parts lie over white
      {"gray16.png", {156, 156, 156}, {156, 156, 156}, 1},
      {"baseline.jpg", {240, 120, 40}, {40, 160, 160}, 8},
      {"progressive.jpg", {240, 120, 40}, {40, 160, 160}, 8},
      {"gray.jpg", {orangeGrey, orangeGrey, orangeGrey}, {tealGrey, tealGrey, tealGrey}, 4},
      {"cmyk.jpg", {240, 120, 40}, {40, 160, 160}, 10},
  };
  for (const Case& c : cases) {
    const auto image = ImageDecoder::decode(dataFile(c.file));
    ASSERT_TRUE(image) << c.file;
    EXPECT_EQ(image->width, 24) << c.file;
    EXPECT_EQ(image->height, 16) << c.file;
    expectNear(*image, 2, 8, c.left[0], c.left[1], c.left[2], c.tolerance, c.file);
    expectNear(*image, 21, 8, c.right[0], c.right[1], c.right[2], c.tolerance, c.file);
  }
}

// Broken files from fuzzing the decoders (tests/skin/fuzz): each is refused or decoded whole.
TEST(DecoderFormats, KnownHostileInputsFailCleanly) {
  const std::filesystem::path folder = std::filesystem::path(SKIN_TEST_DATA) / "hostile";
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  int files = 0;
  for (const auto& file : std::filesystem::directory_iterator(folder)) {
    ++files;
    const auto bytes = PictureCodec::readFile(file.path().string());
    ASSERT_TRUE(bytes);
    const auto image = ImageDecoder::decode(*bytes, {50, 50});
    if (image) {
      EXPECT_EQ(image->rgb.size(), static_cast<std::size_t>(image->width) * image->height * 3);
    }
    PictureCodec::encodeForBox(*bytes, {80, 80});
  }
  EXPECT_GT(files, 0) << "the kept inputs are gone from " << folder;
}

}  // namespace
}  // namespace pellucard

namespace pellucard {
namespace {

// The 24x16 picture saved with an Exif orientation: decoded upright.
TEST(DecoderFormats, CameraOrientationIsApplied) {
  const auto turned = dataFile("exif6.jpg");  // taken turned a quarter clockwise
  const auto size = ImageDecoder::readSize(turned);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->cx, 16);
  EXPECT_EQ(size->cy, 24);
  const auto six = ImageDecoder::decode(turned);
  ASSERT_TRUE(six);
  EXPECT_EQ(six->width, 16);
  EXPECT_EQ(six->height, 24);
  expectNear(*six, 8, 2, 240, 120, 40, 8, "exif6 top");
  expectNear(*six, 8, 21, 40, 160, 160, 8, "exif6 bottom");

  const auto eight = ImageDecoder::decode(dataFile("exif8.jpg"));
  ASSERT_TRUE(eight);
  expectNear(*eight, 8, 2, 40, 160, 160, 8, "exif8 top");
  expectNear(*eight, 8, 21, 240, 120, 40, 8, "exif8 bottom");

  const auto three = ImageDecoder::decode(dataFile("exif3.jpg"));
  ASSERT_TRUE(three);
  EXPECT_EQ(three->width, 24);
  expectNear(*three, 2, 8, 40, 160, 160, 8, "exif3 left");

  // Fitting uses the upright size: a portrait avatar.
  const auto avatar = PictureCodec::encodeForBox(turned, {80, 80});
  ASSERT_TRUE(avatar);
  EXPECT_EQ(ImageDecoder::readSize(*avatar)->cx, 53);
  EXPECT_EQ(ImageDecoder::readSize(*avatar)->cy, 80);
}

TEST(DecoderFormats, ExifDataIsReadDefensively) {
  // Big-endian TIFF with one IFD entry: orientation 8.
  const std::vector<std::uint8_t> motorola = {'E', 'x', 'i',  'f',  0, 0, 'M', 'M', 0, 42, 0, 0, 0, 8,
                                              0,   1,   0x01, 0x12, 0, 3, 0,   0,   0, 1,  0, 8, 0, 0};
  EXPECT_EQ(ExifOrientation::fromApp1(motorola), 8);
  // An IFD that claims more entries than there are bytes, an offset past the end, a wrong type.
  std::vector<std::uint8_t> tooMany = motorola;
  tooMany[15] = 200;
  tooMany[16] = 0x00;  // the first entry is no longer the orientation
  EXPECT_EQ(ExifOrientation::fromApp1(tooMany), 1);
  std::vector<std::uint8_t> farOffset = motorola;
  farOffset[13] = 0xF0;
  EXPECT_EQ(ExifOrientation::fromApp1(farOffset), 1);
  std::vector<std::uint8_t> wrongType = motorola;
  wrongType[19] = 4;
  EXPECT_EQ(ExifOrientation::fromApp1(wrongType), 1);
  std::vector<std::uint8_t> badValue = motorola;
  badValue[25] = 9;
  EXPECT_EQ(ExifOrientation::fromApp1(badValue), 1);
  EXPECT_EQ(ExifOrientation::fromApp1(std::vector<std::uint8_t>(motorola.begin(), motorola.begin() + 10)), 1);
  EXPECT_EQ(ExifOrientation::fromApp1({}), 1);
}

}  // namespace
}  // namespace pellucard
