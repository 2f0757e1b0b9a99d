#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/WinError.h"
#include "platform/gdi/WinGdi.h"
#include "skin/ImageCache.h"
#include "skin/ImageResource.h"
#include "skin/JpegEncoder.h"
#include "skin/PictureBitmap.h"
#include "skin/PictureBitmaps.h"
#include "skin/SkinPainter.h"

namespace pellucard {
namespace {

// A memory DC drawing into a 5-5-5 section, so blended pixels can be compared exactly.
class Canvas {
 public:
  Canvas(int width, int height, DibBitmap::Format format = DibBitmap::Format::Rgb555)
      : bitmap_(DibBitmap::create(width, height, format)), dc_(CreateCompatibleDC(nullptr)) {
    previous_ = SelectObject(dc_, bitmap_.handle());
  }
  ~Canvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  std::uint16_t at(int x, int y) const { return bitmap_.pixel(x, y); }
  void fill(std::uint16_t value) {
    for (int y = 0; y < bitmap_.height(); ++y) {
      for (int x = 0; x < bitmap_.width(); ++x) bitmap_.pixels()[y * bitmap_.stride() + x] = value;
    }
  }
  bool all(std::uint16_t value) const {
    for (int y = 0; y < bitmap_.height(); ++y) {
      for (int x = 0; x < bitmap_.width(); ++x) {
        if (at(x, y) != value) return false;
      }
    }
    return true;
  }

 private:
  DibBitmap bitmap_;
  HDC dc_;
  HGDIOBJ previous_;
};

// An entry made by hand: a 4x2 image, optionally with a mask.
ImageEntry handMadeEntry(std::vector<std::uint16_t> colour, std::vector<std::uint16_t> mask) {
  ImageEntry entry;
  entry.loaded = true;
  entry.colour = DibBitmap::create(4, 2, DibBitmap::Format::Rgb565);
  for (int i = 0; i < 8; ++i) entry.colour.pixels()[(i / 4) * entry.colour.stride() + i % 4] = colour[i];
  if (!mask.empty()) {
    entry.maskId = 1;
    entry.mask = DibBitmap::create(4, 2, DibBitmap::Format::Rgb565);
    for (int i = 0; i < 8; ++i) entry.mask.pixels()[(i / 4) * entry.mask.stride() + i % 4] = mask[i];
  }
  return entry;
}

class SkinDrawing : public ::testing::Test {
 protected:
  void SetUp() override { ImageCache::instance().setUpRoles(ScreenLayout(LayoutKind::PocketPc240Portrait)); }
  void TearDown() override { ImageCache::destroy(); }
};

TEST_F(SkinDrawing, RolesLoadTheImagesOfTheLayoutSet) {
  ImageCache& cache = ImageCache::instance();
  ImageEntry* stripe = cache.loadedEntry(ImageCache::kRowStripe);
  ASSERT_NE(stripe, nullptr);
  EXPECT_EQ(stripe->colourId, 416u);
  EXPECT_EQ(stripe->maskId, 417u);
  EXPECT_EQ(stripe->colour.width(), 240);
  EXPECT_EQ(stripe->colour.height(), 36);
  EXPECT_EQ(stripe->mask.height(), 36);
  EXPECT_EQ(cache.entry(ImageCache::kSmallAvatars)->colourId, 402u);
  EXPECT_EQ(cache.entry(ImageCache::kBackground)->maskId, 0u);
  EXPECT_EQ(cache.entry(ImageCache::kLargeAvatars)->colourId, 226u);

  cache.setUpRoles(ScreenLayout::forScreen(true, 320, 240));
  EXPECT_EQ(cache.entry(ImageCache::kRowStripe)->colourId, 516u);
  EXPECT_EQ(cache.entry(ImageCache::kSmallAvatars)->colourId, 402u);
  cache.setUpRoles(ScreenLayout::forScreen(true, 480, 640));
  EXPECT_EQ(cache.entry(ImageCache::kRowStripe)->colourId, 216u);
  cache.setUpRoles(ScreenLayout::forScreen(false, 240, 320));
  EXPECT_EQ(cache.entry(ImageCache::kRowStripe)->colourId, 216u);
  EXPECT_EQ(cache.entry(ImageCache::kSmallAvatars)->colourId, 202u);

  for (int missing : {0, 11, 12, 16}) EXPECT_EQ(cache.entry(missing), nullptr);
}

TEST_F(SkinDrawing, ImagesLoadLazilyAndRotationDropsThem) {
  ImageCache& cache = ImageCache::instance();
  ImageEntry* background = cache.entry(ImageCache::kBackground);
  ASSERT_NE(background, nullptr);
  EXPECT_FALSE(background->loaded);
  EXPECT_FALSE(background->colour);
  cache.load(*background);
  EXPECT_TRUE(background->loaded);
  EXPECT_EQ(background->colour.width(), 240);
  EXPECT_EQ(background->colour.height(), 320);

  // Rotating sets the roles up again; the next use of role 1 loads the landscape background.
  cache.setUpRoles(ScreenLayout::forScreen(true, 320, 240));
  background = cache.entry(ImageCache::kBackground);
  EXPECT_FALSE(background->loaded);
  EXPECT_EQ(background->colourId, 500u);
  Canvas canvas(8, 8);
  SkinPainter::drawSkinImageAt(canvas.dc(), background, 0, 0);
  EXPECT_TRUE(background->loaded);
  EXPECT_EQ(background->colour.width(), 320);
  EXPECT_EQ(background->colour.height(), 240);
}

TEST_F(SkinDrawing, RolesWithoutImagesDrawNothing) {
  for (int role : {ImageCache::kAnniversaryIcons, ImageCache::kUnused2}) {
    ImageEntry* entry = ImageCache::instance().loadedEntry(role);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->loaded);
    EXPECT_FALSE(entry->colour);
    EXPECT_FALSE(entry->mask);
    Canvas canvas(30, 30);
    canvas.fill(0x1234);
    SkinPainter::drawSkinImage(canvas.dc(), entry, RECT{0, 0, 30, 30}, RECT{0, 0, 26, 26});
    SkinPainter::drawSkinImageAt(canvas.dc(), entry, 0, 0);
    EXPECT_TRUE(canvas.all(0x1234));
  }
  SkinPainter::drawSkinImage(nullptr, nullptr, RECT{0, 0, 1, 1}, RECT{0, 0, 1, 1});
}

TEST_F(SkinDrawing, MaskedImagesBlendPixelExactly) {
  // Colour: white, red, white, green / black, white, white, white (5-6-5).
  // Mask: 31, 16, 0, 10 / 31, non-zero with alpha 0, 31, 0.
  ImageEntry entry = handMadeEntry({0xFFFF, 0xF800, 0xFFFF, 0x07E0, 0x0000, 0xFFFF, 0xFFFF, 0xFFFF},
                                   {0x001F, 0x0010, 0x0000, 0x000A, 0x001F, 0x0020, 0xFFFF, 0x0000});
  Canvas canvas(6, 3);
  canvas.fill(0x0010);  // blue 16 in 5-5-5
  SkinPainter::drawSkinImage(canvas.dc(), &entry, RECT{1, 1, 5, 3}, RECT{0, 0, 4, 2});
  EXPECT_EQ(canvas.at(1, 1), 0x7FFF);  // opaque white
  // Red at 16: r = (31*16)>>5 + 1 = 16, g = 1, b = (16*15)>>5 + 1 = 8.
  EXPECT_EQ(canvas.at(2, 1), (16 << 10) | (1 << 5) | 8);
  EXPECT_EQ(canvas.at(3, 1), 0x0010);  // mask 0
  // Green at 10: g = (31*10)>>5 + 1 = 10, r = 1, b = (16*21)>>5 + 1 = 11.
  EXPECT_EQ(canvas.at(4, 1), (1 << 10) | (10 << 5) | 11);
  EXPECT_EQ(canvas.at(1, 2), 0x0000);                     // opaque black
  EXPECT_EQ(canvas.at(2, 2), (1 << 10) | (1 << 5) | 16);  // alpha 0 still blends
  EXPECT_EQ(canvas.at(3, 2), 0x7FFF);
  EXPECT_EQ(canvas.at(4, 2), 0x0010);
  // Outside the destination nothing changed.
  EXPECT_EQ(canvas.at(0, 0), 0x0010);
  EXPECT_EQ(canvas.at(5, 2), 0x0010);
}

TEST_F(SkinDrawing, MaskedImagesAreNeverScaledAndMustStayInsideTheImage) {
  ImageEntry entry = handMadeEntry(std::vector<std::uint16_t>(8, 0xFFFF), std::vector<std::uint16_t>(8, 0x001F));
  Canvas canvas(8, 4);
  canvas.fill(0x0000);
  // A source reaching past the right edge draws nothing.
  SkinPainter::drawSkinImage(canvas.dc(), &entry, RECT{0, 0, 4, 2}, RECT{1, 0, 5, 2});
  EXPECT_TRUE(canvas.all(0x0000));
  // A larger destination is not stretched: only the source's size is covered.
  SkinPainter::drawSkinImage(canvas.dc(), &entry, RECT{0, 0, 8, 4}, RECT{0, 0, 2, 1});
  EXPECT_EQ(canvas.at(0, 0), 0x7FFF);
  EXPECT_EQ(canvas.at(1, 0), 0x7FFF);
  EXPECT_EQ(canvas.at(2, 0), 0x0000);
  EXPECT_EQ(canvas.at(0, 1), 0x0000);
  // A destination smaller than the source takes only what fits.
  canvas.fill(0x0000);
  SkinPainter::drawSkinImage(canvas.dc(), &entry, RECT{6, 3, 7, 4}, RECT{0, 0, 4, 2});
  EXPECT_EQ(canvas.at(6, 3), 0x7FFF);
  EXPECT_EQ(canvas.at(7, 3), 0x0000);
  EXPECT_EQ(canvas.at(5, 3), 0x0000);
}

TEST_F(SkinDrawing, ImagesWithoutMaskAreStretchedWithTheColourKey) {
  // Magenta is transparent; white is drawn.
  ImageEntry entry = handMadeEntry({0xF81F, 0xFFFF, 0xF81F, 0xFFFF, 0xFFFF, 0xF81F, 0xFFFF, 0xF81F}, {});
  Canvas canvas(8, 4, DibBitmap::Format::Rgb565);
  canvas.fill(0x0000);
  SkinPainter::drawSkinImage(canvas.dc(), &entry, RECT{0, 0, 8, 4}, RECT{0, 0, 4, 2});
  EXPECT_EQ(canvas.at(0, 0), 0x0000);
  EXPECT_EQ(canvas.at(1, 0), 0x0000);
  EXPECT_EQ(canvas.at(2, 0), 0xFFFF);
  EXPECT_EQ(canvas.at(3, 1), 0xFFFF);
  EXPECT_EQ(canvas.at(0, 2), 0xFFFF);
  EXPECT_EQ(canvas.at(2, 3), 0x0000);
  // A source reaching past the right edge is still copied (the masked path would refuse it).
  canvas.fill(0x0000);
  SkinPainter::drawSkinImage(canvas.dc(), &entry, RECT{0, 0, 2, 2}, RECT{3, 0, 5, 2});
  EXPECT_EQ(canvas.at(0, 0), 0xFFFF);
  EXPECT_EQ(canvas.at(0, 1), 0x0000);
}

TEST_F(SkinDrawing, CoveringAnAreaLargerThanTheImageStretchesItAndKeepsItsPixelsOtherwise) {
  const std::vector<std::uint16_t> colours{0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008};
  ImageEntry entry = handMadeEntry(colours, {});
  auto image = [&](int x, int y) { return colours[y * 4 + x]; };

  // An area no larger than the image: exactly what the plain drawing gives, nothing scaled.
  Canvas plain(8, 4, DibBitmap::Format::Rgb565);
  Canvas covering(8, 4, DibBitmap::Format::Rgb565);
  plain.fill(0x1234);
  covering.fill(0x1234);
  SkinPainter::drawSkinImage(plain.dc(), &entry, RECT{2, 1, 5, 3}, RECT{1, 0, 4, 2});
  SkinPainter::drawCoveringPart(covering.dc(), &entry, RECT{2, 1, 5, 3}, RECT{1, 0, 4, 2}, SIZE{4, 2});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(covering.at(x, y), plain.at(x, y)) << x << "," << y;
  }

  // An area twice the image's size: every pixel comes from the stretched image, even where
  // the source lies past the image's own edges.
  Canvas canvas(8, 4, DibBitmap::Format::Rgb565);
  canvas.fill(0x0000);
  SkinPainter::drawCoveringPart(canvas.dc(), &entry, RECT{0, 0, 8, 4}, RECT{0, 0, 8, 4}, SIZE{8, 4});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(canvas.at(x, y), image(x / 2, y / 2)) << x << "," << y;
  }

  // A window over the right half of that area gets the image's right half, and nothing is
  // drawn outside its destination.
  canvas.fill(0x0000);
  SkinPainter::drawCoveringPart(canvas.dc(), &entry, RECT{1, 1, 5, 3}, RECT{4, 2, 8, 4}, SIZE{8, 4});
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool inside = x >= 1 && x < 5 && y >= 1 && y < 3;
      EXPECT_EQ(canvas.at(x, y), inside ? image((x - 1 + 4) / 2, (y - 1 + 2) / 2) : 0x0000) << x << "," << y;
    }
  }

  // Only the axis on which the area is larger is stretched.
  canvas.fill(0x0000);
  SkinPainter::drawCoveringPart(canvas.dc(), &entry, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 4}, SIZE{2, 4});
  EXPECT_EQ(canvas.at(3, 0), image(3, 0));
  EXPECT_EQ(canvas.at(3, 1), image(3, 0));
  EXPECT_EQ(canvas.at(3, 3), image(3, 1));
}

TEST_F(SkinDrawing, ExtendedImagesKeepTheirStartAndEndAndStretchTheMiddleLine) {
  // Columns 1, 2, 3, 4 in the top row and 5, 6, 7, 8 in the bottom row.
  ImageEntry entry = handMadeEntry({0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, 0x0008}, {});
  Canvas canvas(8, 5, DibBitmap::Format::Rgb565);
  auto row = [&](int y, int width) {
    std::vector<int> seen;
    for (int x = 0; x < width; ++x) seen.push_back(canvas.at(x, y));
    return seen;
  };
  // Not larger than the image: the image as it is.
  canvas.fill(0);
  SkinPainter::drawExtended(canvas.dc(), &entry, SIZE{4, 2});
  EXPECT_EQ(row(0, 5), (std::vector<int>{1, 2, 3, 4, 0}));
  // Wider: the first half, the middle line stretched, the rest at the far end.
  canvas.fill(0);
  SkinPainter::drawExtended(canvas.dc(), &entry, SIZE{7, 5});
  EXPECT_EQ(row(0, 8), (std::vector<int>{1, 2, 3, 3, 3, 3, 4, 0}));
  EXPECT_EQ(row(1, 8), (std::vector<int>{5, 6, 7, 7, 7, 7, 8, 0}));
  EXPECT_EQ(row(4, 8), std::vector<int>(8, 0)) << "two lines have no middle line to stretch";
  // Placed with its corner outside the context: only the part inside is drawn.
  canvas.fill(0);
  SkinPainter::drawExtended(canvas.dc(), &entry, SIZE{7, 2}, POINT{-5, 0});
  EXPECT_EQ(row(0, 3), (std::vector<int>{3, 4, 0}));
}

TEST_F(SkinDrawing, BandsWiderThanAMaskedImageKeepBothEndsAndRepeatTheMiddle) {
  // Four columns told apart by their two rows: A = white/white, B = white/black,
  // C = black/white, D = black/black; the mask is opaque everywhere.
  ImageEntry entry = handMadeEntry({0xFFFF, 0xFFFF, 0x0000, 0x0000, 0xFFFF, 0x0000, 0xFFFF, 0x0000},
                                   std::vector<std::uint16_t>(8, 0x001F));
  Canvas canvas(10, 2);
  auto columns = [&](int from, int to) {
    std::string seen;
    for (int x = from; x < to; ++x) {
      const bool top = canvas.at(x, 0) == 0x7FFF;
      const bool bottom = canvas.at(x, 1) == 0x7FFF;
      seen += top ? (bottom ? 'A' : 'B') : (bottom ? 'C' : (canvas.at(x, 0) == 0 ? 'D' : '.'));
    }
    return seen;
  };

  // No wider than the image: the whole image once, as before.
  canvas.fill(0x0010);
  SkinPainter::drawAcross(canvas.dc(), &entry, 1, 0, 3);
  EXPECT_EQ(columns(0, 10), ".ABCD.....");

  // Wider: the left half, the middle half repeated (cut to fit), then the right half.
  canvas.fill(0x0010);
  SkinPainter::drawAcross(canvas.dc(), &entry, 1, 0, 7);
  EXPECT_EQ(columns(0, 10), ".ABBCBCD..");
  canvas.fill(0x0010);
  SkinPainter::drawAcross(canvas.dc(), &entry, 0, 0, 10);
  EXPECT_EQ(columns(0, 10), "ABBCBCBCCD");
}

TEST_F(SkinDrawing, RealSkinImagesDrawThroughTheirMasks) {
  // The selection bar: its corners are transparent, its middle opaque.
  ImageEntry* bar = ImageCache::instance().loadedEntry(ImageCache::kSelectionBar);
  ASSERT_TRUE(bar && bar->colour && bar->mask);
  Canvas canvas(240, 36);
  canvas.fill(0x1234);
  SkinPainter::drawSkinImageAt(canvas.dc(), bar, 0, 0);
  EXPECT_EQ(canvas.at(0, 0), 0x1234);
  EXPECT_EQ(canvas.at(239, 35), 0x1234);
  EXPECT_NE(canvas.at(120, 18), 0x1234);
  // The left arrow's pressed half differs from its normal half.
  ImageEntry* arrow = ImageCache::instance().loadedEntry(ImageCache::kLeftArrow);
  ASSERT_TRUE(arrow && arrow->colour);
  const int half = arrow->colour.height() / 2;
  Canvas normal(16, half), pressed(16, half);
  SkinPainter::drawSkinImage(normal.dc(), arrow, RECT{0, 0, 16, half}, RECT{0, 0, 16, half});
  SkinPainter::drawSkinImage(pressed.dc(), arrow, RECT{0, 0, 16, half}, RECT{0, half, 16, 2 * half});
  int differing = 0;
  for (int y = 0; y < half; ++y) {
    for (int x = 0; x < 16; ++x) differing += normal.at(x, y) != pressed.at(x, y);
  }
  EXPECT_GT(differing, 16 * half / 3);
}

TEST_F(SkinDrawing, FillRectangleFillsAndRestoresTheBackgroundColour) {
  Canvas canvas(6, 6, DibBitmap::Format::Rgb565);
  canvas.fill(0x0000);
  SetBkColor(canvas.dc(), RGB(1, 2, 3));
  SkinPainter::fillRectangle(canvas.dc(), RECT{1, 1, 4, 3}, RGB(255, 255, 255));
  EXPECT_EQ(canvas.at(1, 1), 0xFFFF);
  EXPECT_EQ(canvas.at(3, 2), 0xFFFF);
  EXPECT_EQ(canvas.at(4, 2), 0x0000);
  EXPECT_EQ(canvas.at(1, 3), 0x0000);
  EXPECT_EQ(GetBkColor(canvas.dc()), RGB(1, 2, 3));
}

TEST_F(SkinDrawing, PictureBitmapsAreMadeAtTheBoxSize) {
  RgbImage photo;
  photo.width = 640;
  photo.height = 480;
  photo.rgb.assign(640 * 480 * 3, 200);
  const auto jpeg = JpegEncoder::encode(photo);
  ASSERT_TRUE(jpeg);
  DibBitmap large = PictureBitmap::make(*jpeg, ImageCache::instance().layout().avatarSize());
  ASSERT_TRUE(large);
  EXPECT_EQ(large.width(), 50);
  EXPECT_EQ(large.height(), 37);
  BITMAP info{};
  ASSERT_NE(GetObjectW(large.handle(), sizeof(info), &info), 0);
  EXPECT_EQ(info.bmWidth, 50);
  EXPECT_EQ(info.bmBitsPixel, 16);
  DibBitmap small = PictureBitmap::make(*jpeg, ImageCache::instance().layout().smallPictureSize());
  EXPECT_EQ(small.width(), 26);
  EXPECT_EQ(small.height(), 19);

  // A stored blob that does not decode gives no bitmap.
  std::vector<std::uint8_t> broken(jpeg->begin(), jpeg->begin() + jpeg->size() / 2);
  EXPECT_FALSE(PictureBitmap::make(broken, {50, 50}));
  EXPECT_FALSE(PictureBitmap::make({}, {50, 50}));
}

TEST_F(SkinDrawing, PictureBitmapsAreMadeOnDemandAndDroppedOnReset) {
  RgbImage photo;
  photo.width = 480;
  photo.height = 640;
  photo.rgb.assign(480 * 640 * 3, 90);
  const auto jpeg = *JpegEncoder::encode(photo);
  const ScreenLayout portrait(LayoutKind::Portrait);
  PictureBitmaps bitmaps;
  EXPECT_EQ(bitmaps.large({}, portrait), nullptr);
  HBITMAP large = bitmaps.large(jpeg, portrait);
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(bitmaps.largeBitmap().width(), 60);
  EXPECT_EQ(bitmaps.largeBitmap().height(), 80);
  EXPECT_EQ(bitmaps.large(jpeg, portrait), large);  // made once
  ASSERT_NE(bitmaps.small(jpeg, portrait), nullptr);
  EXPECT_EQ(bitmaps.smallBitmap().width(), 24);
  EXPECT_EQ(bitmaps.smallBitmap().height(), 32);

  // A blob that does not decode gives no bitmaps; new bytes after a reset do.
  bitmaps.reset();
  const std::vector<std::uint8_t> junk(300, 0x42);
  EXPECT_EQ(bitmaps.large(junk, portrait), nullptr);
  EXPECT_EQ(bitmaps.small(junk, portrait), nullptr);
  bitmaps.reset();
  EXPECT_NE(bitmaps.small(jpeg, ScreenLayout(LayoutKind::PocketPc240Portrait)), nullptr);
  EXPECT_EQ(bitmaps.largeBitmap().height(), 50);
  EXPECT_EQ(bitmaps.smallBitmap().height(), 26);
}

TEST_F(SkinDrawing, ShellLoaderGivesCallerOwnedSections) {
  HBITMAP bitmap = SHLoadImageResource(nullptr, 224);
  ASSERT_NE(bitmap, nullptr);
  BITMAP info{};
  ASSERT_NE(GetObjectW(bitmap, sizeof(info), &info), 0);
  EXPECT_EQ(info.bmWidth, 240);
  EXPECT_EQ(info.bmHeight, 266);
  EXPECT_TRUE(DeleteObject(bitmap));
  SetLastError(0);
  EXPECT_EQ(SHLoadImageResource(nullptr, 212), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

}  // namespace
}  // namespace pellucard
