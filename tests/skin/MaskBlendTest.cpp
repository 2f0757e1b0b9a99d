#include "skin/MaskBlend.h"

#include <gtest/gtest.h>

#include <vector>

namespace pellucard {
namespace {

TEST(MaskBlendPixel, MaskZeroKeepsTheBackground) {
  EXPECT_EQ(MaskBlend::blendPixel(0xFFFF, 0x0000, 0x1234), 0x1234);
  EXPECT_EQ(MaskBlend::blendPixel(0x0000, 0x0000, 0x7FFF), 0x7FFF);
}

TEST(MaskBlendPixel, AlphaThirtyOneCopiesTheColourAsFiveFiveFive) {
  EXPECT_EQ(MaskBlend::blendPixel(0xF81F, 0x001F, 0x0000), 0x7C1F);  // magenta
  EXPECT_EQ(MaskBlend::blendPixel(0x07E0, 0x001F, 0x7FFF), 0x03E0);  // full green loses its lowest bit
  EXPECT_EQ(MaskBlend::blendPixel(0x0020, 0x001F, 0x7FFF), 0x0000);  // only the lowest green bit: gone
  EXPECT_EQ(MaskBlend::blendPixel(0xFFFF, 0xFFFF, 0x0000), 0x7FFF);  // a grey mask pixel 0xFFFF is opaque
  EXPECT_EQ(MaskBlend::blendPixel(0x8A51, 0x07FF, 0x1111), MaskBlend::to555(0x8A51));
}

TEST(MaskBlendPixel, PartialAlphaMixesAndAddsOnePerChannel) {
  // White over black at a = 16: (31 * 16) >> 5 = 15, plus one.
  EXPECT_EQ(MaskBlend::blendPixel(0xFFFF, 0x0010, 0x0000), 0x4210);
  // Red over a blue-ish pixel at a = 10: r = 310 >> 5 = 9 + 1; g = 0 + 1; b = (16 * 21) >> 5 = 10 + 1.
  EXPECT_EQ(MaskBlend::blendPixel(0xF800, 0x000A, 0x0010), 0x282B);
  // A mask pixel that is not 0 but has alpha 0 still blends.
  EXPECT_EQ(MaskBlend::blendPixel(0xFFFF, 0x0020, 0x0000), 0x0421);
  EXPECT_EQ(MaskBlend::blendPixel(0x0000, 0x0020, 0x7FFF), 0x7FFF);
  // The sum never overflows a channel: the largest result is 30 + 1.
  EXPECT_EQ(MaskBlend::blendPixel(0xFFFF, 0x001E, 0x7FFF), 0x7FFF);
}

TEST(MaskBlendRule, SourceMustLieInsideTheImage) {
  EXPECT_TRUE(MaskBlend::sourceInsideImage(RECT{0, 0, 16, 26}, 16, 52));
  EXPECT_TRUE(MaskBlend::sourceInsideImage(RECT{0, 26, 16, 52}, 16, 52));
  EXPECT_FALSE(MaskBlend::sourceInsideImage(RECT{1, 0, 17, 26}, 16, 52));  // past the right edge
  EXPECT_FALSE(MaskBlend::sourceInsideImage(RECT{0, 30, 16, 56}, 16, 52));
  EXPECT_FALSE(MaskBlend::sourceInsideImage(RECT{-1, 0, 15, 26}, 16, 52));
  EXPECT_FALSE(MaskBlend::sourceInsideImage(RECT{0, -2, 16, 20}, 16, 52));
}

TEST(MaskBlendArea, SourceTopLeftLandsOnTheBufferOrigin) {
  // 4x3 colour/mask planes with a stride of 5; the blend takes columns 1..3 and rows 1..2.
  std::vector<std::uint16_t> colour(5 * 3, 0xFFFF);
  std::vector<std::uint16_t> mask(5 * 3, 0x0000);
  mask[1 * 5 + 1] = 0x001F;
  mask[1 * 5 + 2] = 0x0010;
  mask[2 * 5 + 3] = 0x001F;
  std::vector<std::uint16_t> buffer(3 * 2, 0x0000);
  MaskBlend::blend({colour.data(), 4, 3, 5}, {mask.data(), 4, 3, 5}, RECT{1, 1, 4, 3}, {buffer.data(), 3, 2, 3});
  EXPECT_EQ(buffer, (std::vector<std::uint16_t>{0x7FFF, 0x4210, 0x0000, 0x0000, 0x0000, 0x7FFF}));
}

TEST(MaskBlendArea, NeverWritesPastTheBuffer) {
  // A source larger than the buffer only fills the buffer.
  std::vector<std::uint16_t> colour(8 * 8, 0xFFFF);
  std::vector<std::uint16_t> mask(8 * 8, 0x001F);
  std::vector<std::uint16_t> buffer(3 * 3 + 1, 0x0000);
  MaskBlend::blend({colour.data(), 8, 8, 8}, {mask.data(), 8, 8, 8}, RECT{0, 0, 8, 8}, {buffer.data(), 3, 3, 3});
  for (int i = 0; i < 9; ++i) EXPECT_EQ(buffer[i], 0x7FFF);
  EXPECT_EQ(buffer[9], 0x0000);
  // A mask smaller than the colour image limits the blend too.
  std::vector<std::uint16_t> small(2 * 2, 0x001F);
  std::vector<std::uint16_t> target(4 * 4, 0x0000);
  MaskBlend::blend({colour.data(), 8, 8, 8}, {small.data(), 2, 2, 2}, RECT{0, 0, 4, 4}, {target.data(), 4, 4, 4});
  EXPECT_EQ(target[0], 0x7FFF);
  EXPECT_EQ(target[2], 0x0000);
  EXPECT_EQ(target[2 * 4], 0x0000);
}

}  // namespace
}  // namespace pellucard
