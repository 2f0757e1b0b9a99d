#include "device/ScreenLayout.h"

#include <array>

namespace pellucard {

namespace {

struct LayoutValues {
  UINT backgroundOffset;  // added to 200, 216-219 and 224
  UINT iconOffset;        // added to 202-211
  int margin;
  int metricA;
  int metricB;
  int rowHeight;
  SIZE avatar;
  SIZE smallPicture;
  RECT header;
  RECT r1;
  RECT r2;
  RECT r3;
  RECT r4;
  POINT p;
};

// Indexed by LayoutKind.
constexpr std::array<LayoutValues, 5> kLayouts = {{
    // Portrait
    {0,
     0,
     5,
     26,
     26,
     40,
     {80, 80},
     {32, 32},
     {10, 0, 230, 88},
     {10, 94, 230, 266},
     {5, 24, 180, 64},
     {180, 16, 224, 60},
     {5, 90, 235, 261},
     {80, 88}},
    // Landscape
    {100,
     0,
     5,
     26,
     26,
     40,
     {80, 80},
     {32, 32},
     {10, 0, 310, 88},
     {10, 94, 310, 186},
     {5, 24, 180, 64},
     {250, 16, 304, 60},
     {5, 60, 315, 181},
     {106, 62}},
    // Pocket PC 240 portrait
    {200,
     200,
     4,
     21,
     16,
     36,
     {50, 50},
     {26, 26},
     {10, 0, 224, 58},
     {10, 64, 224, 268},
     {5, 24, 180, 64},
     {180, 16, 224, 60},
     {5, 90, 235, 261},
     {80, 89}},
    // Pocket PC 240 landscape
    {300,
     200,
     4,
     21,
     13,
     35,
     {50, 50},
     {26, 26},
     {10, 0, 304, 58},
     {10, 64, 304, 188},
     {5, 24, 180, 54},
     {250, 16, 304, 60},
     {5, 60, 315, 181},
     {106, 62}},
    // Pocket PC 240 square
    {600,
     200,
     4,
     21,
     13,
     35,
     {50, 50},
     {26, 26},
     {10, 0, 224, 58},
     {10, 64, 224, 188},
     {5, 24, 180, 54},
     {180, 16, 224, 60},
     {5, 64, 235, 188},
     {80, 62}},
}};

const LayoutValues& values(LayoutKind kind) { return kLayouts[static_cast<std::size_t>(kind)]; }

}  // namespace

LayoutKind ScreenLayout::kindFor(bool pocketPc, int screenWidth, int screenHeight) {
  const int shortSide = screenWidth < screenHeight ? screenWidth : screenHeight;
  const bool landscape = screenHeight < screenWidth;
  if (pocketPc && shortSide == 240) {
    if (screenWidth == 240 && screenHeight == 240) return LayoutKind::PocketPc240Square;
    return landscape ? LayoutKind::PocketPc240Landscape : LayoutKind::PocketPc240Portrait;
  }
  return landscape ? LayoutKind::Landscape : LayoutKind::Portrait;
}

ScreenLayout ScreenLayout::forScreen(bool pocketPc, int screenWidth, int screenHeight) {
  return ScreenLayout(kindFor(pocketPc, screenWidth, screenHeight));
}

UINT ScreenLayout::mapImageId(UINT id) const {
  const LayoutValues& v = values(kind_);
  if (id == 200 || (id >= 216 && id <= 219) || id == 224) return id + v.backgroundOffset;
  if (id >= 202 && id <= 211) return id + v.iconOffset;
  return id;
}

int ScreenLayout::margin() const { return values(kind_).margin; }
int ScreenLayout::metricA() const { return values(kind_).metricA; }
int ScreenLayout::metricB() const { return values(kind_).metricB; }
int ScreenLayout::rowHeight() const { return values(kind_).rowHeight; }
SIZE ScreenLayout::avatarSize() const { return values(kind_).avatar; }
SIZE ScreenLayout::smallPictureSize() const { return values(kind_).smallPicture; }
RECT ScreenLayout::headerRect() const { return values(kind_).header; }
RECT ScreenLayout::rectR1() const { return values(kind_).r1; }
RECT ScreenLayout::rectR2() const { return values(kind_).r2; }
RECT ScreenLayout::rectR3() const { return values(kind_).r3; }
RECT ScreenLayout::rectR4() const { return values(kind_).r4; }
POINT ScreenLayout::pointP() const { return values(kind_).p; }

}  // namespace pellucard
