#include "device/ScreenLayout.h"

#include <gtest/gtest.h>

namespace pellucard {
namespace {

TEST(ScreenLayoutChoice, PocketPcWithShortSide240HasItsOwnSets) {
  EXPECT_EQ(ScreenLayout::kindFor(true, 240, 320), LayoutKind::PocketPc240Portrait);
  EXPECT_EQ(ScreenLayout::kindFor(true, 320, 240), LayoutKind::PocketPc240Landscape);
  EXPECT_EQ(ScreenLayout::kindFor(true, 240, 240), LayoutKind::PocketPc240Square);
  EXPECT_EQ(ScreenLayout::kindFor(true, 240, 400), LayoutKind::PocketPc240Portrait);
  EXPECT_EQ(ScreenLayout::kindFor(true, 400, 240), LayoutKind::PocketPc240Landscape);
}

TEST(ScreenLayoutChoice, OtherDevicesOnlyTellPortraitFromLandscape) {
  EXPECT_EQ(ScreenLayout::kindFor(true, 480, 640), LayoutKind::Portrait);
  EXPECT_EQ(ScreenLayout::kindFor(true, 640, 480), LayoutKind::Landscape);
  EXPECT_EQ(ScreenLayout::kindFor(true, 480, 480), LayoutKind::Portrait);
  EXPECT_EQ(ScreenLayout::kindFor(false, 240, 320), LayoutKind::Portrait);
  EXPECT_EQ(ScreenLayout::kindFor(false, 320, 240), LayoutKind::Landscape);
  EXPECT_EQ(ScreenLayout::kindFor(false, 240, 240), LayoutKind::Portrait);
  EXPECT_EQ(ScreenLayout::kindFor(false, 176, 220), LayoutKind::Portrait);
}

TEST(ScreenLayoutImageIds, EachSetReplacesItsOwnIds) {
  const ScreenLayout portrait(LayoutKind::Portrait);
  const ScreenLayout landscape(LayoutKind::Landscape);
  const ScreenLayout ppcPortrait(LayoutKind::PocketPc240Portrait);
  const ScreenLayout ppcLandscape(LayoutKind::PocketPc240Landscape);
  const ScreenLayout square(LayoutKind::PocketPc240Square);

  for (UINT id = 190; id < 240; ++id) EXPECT_EQ(portrait.mapImageId(id), id);

  EXPECT_EQ(landscape.mapImageId(200), 300u);
  EXPECT_EQ(landscape.mapImageId(216), 316u);
  EXPECT_EQ(landscape.mapImageId(219), 319u);
  EXPECT_EQ(landscape.mapImageId(224), 324u);
  EXPECT_EQ(landscape.mapImageId(202), 202u);
  EXPECT_EQ(landscape.mapImageId(226), 226u);

  EXPECT_EQ(ppcPortrait.mapImageId(216), 416u);
  EXPECT_EQ(ppcPortrait.mapImageId(202), 402u);
  EXPECT_EQ(ppcPortrait.mapImageId(211), 411u);
  EXPECT_EQ(ppcPortrait.mapImageId(224), 424u);

  EXPECT_EQ(ppcLandscape.mapImageId(216), 516u);
  EXPECT_EQ(ppcLandscape.mapImageId(202), 402u);
  EXPECT_EQ(ppcLandscape.mapImageId(200), 500u);

  EXPECT_EQ(square.mapImageId(200), 800u);
  EXPECT_EQ(square.mapImageId(218), 818u);
  EXPECT_EQ(square.mapImageId(208), 408u);

  // Ids that no set replaces: the missing 212-215, the large and medium avatars, mask "none".
  for (const ScreenLayout& layout : {portrait, landscape, ppcPortrait, ppcLandscape, square}) {
    for (UINT id : {0u, 201u, 212u, 213u, 214u, 215u, 220u, 226u, 227u, 228u, 229u}) {
      EXPECT_EQ(layout.mapImageId(id), id);
    }
  }
}

TEST(ScreenLayoutMetrics, PictureSizesAndTabHeaderFollowTheLayout) {
  const ScreenLayout portrait = ScreenLayout::forScreen(false, 240, 320);
  EXPECT_EQ(portrait.avatarSize().cx, 80);
  EXPECT_EQ(portrait.smallPictureSize().cy, 32);
  EXPECT_EQ(portrait.rowHeight(), 40);
  EXPECT_EQ(portrait.metricB(), 26);

  const ScreenLayout ppc = ScreenLayout::forScreen(true, 240, 320);
  EXPECT_EQ(ppc.avatarSize().cx, 50);
  EXPECT_EQ(ppc.avatarSize().cy, 50);
  EXPECT_EQ(ppc.smallPictureSize().cx, 26);
  EXPECT_EQ(ppc.rowHeight(), 36);
  EXPECT_EQ(ppc.metricB(), 16);
  EXPECT_EQ(ppc.margin(), 4);

  const ScreenLayout ppcLandscape = ScreenLayout::forScreen(true, 320, 240);
  EXPECT_EQ(ppcLandscape.rowHeight(), 35);
  EXPECT_EQ(ppcLandscape.metricB(), 13);
  EXPECT_EQ(ppcLandscape.headerRect().right, 304);
  EXPECT_EQ(ppcLandscape.rectR2().bottom, 54);
  EXPECT_EQ(ppcLandscape.pointP().x, 106);
}

TEST(ScreenLayoutMetrics, RectanglesFitTheirScreens) {
  struct Screen {
    bool pocketPc;
    int width;
    int height;
  };
  for (const Screen s : {Screen{false, 240, 320}, Screen{false, 320, 240}, Screen{true, 240, 320},
                         Screen{true, 320, 240}, Screen{true, 240, 240}}) {
    const ScreenLayout layout = ScreenLayout::forScreen(s.pocketPc, s.width, s.height);
    for (const RECT r : {layout.headerRect(), layout.rectR1(), layout.rectR2(), layout.rectR3(), layout.rectR4()}) {
      EXPECT_LT(r.left, r.right);
      EXPECT_LT(r.top, r.bottom);
      EXPECT_LE(r.right, s.width);
      EXPECT_LE(r.bottom, s.height);
    }
    // The notes area lies below the header on every layout.
    EXPECT_GE(layout.rectR1().top, layout.headerRect().bottom);
  }
  const ScreenLayout square(LayoutKind::PocketPc240Square);
  EXPECT_EQ(square.rectR4().top, 64);
  EXPECT_EQ(square.pointP().y, 62);
}

}  // namespace
}  // namespace pellucard
