#include <gtest/gtest.h>

#include <map>

#include "device/ScreenLayout.h"
#include "skin/EmbeddedImages.h"
#include "skin/ImageDecoder.h"

namespace pellucard {
namespace {

struct Expected {
  int width;
  int height;
  bool masked;
};

// Every image of the five sets with its pixel size.
const std::map<UINT, Expected>& expectedImages() {
  static const std::map<UINT, Expected> images = {
      {200, {240, 320, false}}, {300, {320, 240, false}}, {400, {240, 320, false}}, {500, {320, 240, false}},
      {800, {240, 240, false}}, {202, {288, 32, true}},   {402, {234, 26, true}},   {204, {16, 52, true}},
      {404, {16, 28, true}},    {206, {16, 52, true}},    {406, {16, 28, true}},    {208, {96, 32, true}},
      {408, {78, 26, true}},    {210, {64, 32, true}},    {410, {52, 26, true}},    {216, {240, 40, true}},
      {316, {320, 40, true}},   {416, {240, 36, true}},   {516, {320, 35, true}},   {816, {240, 35, true}},
      {218, {240, 40, true}},   {318, {320, 40, true}},   {418, {240, 36, true}},   {518, {320, 35, true}},
      {818, {240, 35, true}},   {224, {240, 266, false}}, {324, {320, 186, false}}, {424, {240, 268, false}},
      {524, {320, 188, false}}, {824, {240, 188, false}}, {226, {720, 80, true}},   {228, {450, 50, true}},
  };
  return images;
}

std::uint16_t to565(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(((p[0] >> 3) << 11) | ((p[1] >> 2) << 5) | (p[2] >> 3));
}

TEST(SkinImages, EveryImageOfTheSetsIsBuiltInWithItsSize) {
  std::size_t count = 0;
  for (const auto& [id, expected] : expectedImages()) {
    for (UINT image : {id, id + 1}) {
      if (image != id && !expected.masked) {
        EXPECT_TRUE(findEmbeddedImage(image).empty()) << image;
        continue;
      }
      const auto size = ImageDecoder::readSize(findEmbeddedImage(image));
      ASSERT_TRUE(size) << image;
      EXPECT_EQ(size->cx, expected.width) << image;
      EXPECT_EQ(size->cy, expected.height) << image;
      ++count;
    }
  }
  EXPECT_EQ(embeddedImages().size(), count);
  for (UINT missing : {212u, 213u, 214u, 215u}) EXPECT_TRUE(findEmbeddedImage(missing).empty());
}

TEST(SkinImages, MasksCarryFiveBitAlphaAndHiddenPixelsAreKeyed) {
  for (const auto& [id, expected] : expectedImages()) {
    if (!expected.masked) continue;
    const auto colour = ImageDecoder::decode(findEmbeddedImage(id));
    const auto mask = ImageDecoder::decode(findEmbeddedImage(id + 1));
    ASSERT_TRUE(colour && mask) << id;
    int opaque = 0;
    int clear = 0;
    for (int y = 0; y < colour->height; ++y) {
      for (int x = 0; x < colour->width; ++x) {
        const std::uint16_t m = to565(mask->pixel(x, y));
        const std::uint16_t c = to565(colour->pixel(x, y));
        // Grey masks: the whole pixel is 0 exactly when its alpha bits are.
        EXPECT_EQ(m == 0, (m & 0x1F) == 0) << id << " at " << x << "," << y;
        if (m == 0) {
          EXPECT_EQ(c, 0xF81F) << id;
          ++clear;
        } else {
          EXPECT_NE(c, 0xF81F) << id;
        }
        if ((m & 0x1F) == 31) ++opaque;
      }
    }
    EXPECT_GT(opaque, 0) << id;
    // Row stripes cover their whole row; everything else has transparent parts.
    const bool stripe = id % 100 == 16;
    if (!stripe) {
      EXPECT_GT(clear, 0) << id;
    }
  }
}

TEST(SkinImages, LayoutMetricsMatchTheirImages) {
  for (LayoutKind kind : {LayoutKind::Portrait, LayoutKind::Landscape, LayoutKind::PocketPc240Portrait,
                          LayoutKind::PocketPc240Landscape, LayoutKind::PocketPc240Square}) {
    const ScreenLayout layout(kind);
    for (UINT base : {216u, 218u}) {
      const auto size = ImageDecoder::readSize(findEmbeddedImage(layout.mapImageId(base)));
      ASSERT_TRUE(size);
      EXPECT_EQ(size->cy, layout.rowHeight());
    }
    // Icon and avatar strips hold square frames, one row high.
    for (UINT base : {202u, 208u, 210u, 226u, 228u}) {
      const auto size = ImageDecoder::readSize(findEmbeddedImage(layout.mapImageId(base)));
      ASSERT_TRUE(size);
      EXPECT_EQ(size->cx % size->cy, 0);
    }
    const auto small = ImageDecoder::readSize(findEmbeddedImage(layout.mapImageId(202)));
    EXPECT_EQ(small->cx / small->cy, 9);
    EXPECT_EQ(small->cy, layout.smallPictureSize().cy);
  }
}

}  // namespace
}  // namespace pellucard
