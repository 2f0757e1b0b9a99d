// Image lists: pictures kept at the list's size and depth, drawn through their masks, and
// blended with the highlight colour for the selected and focused looks.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/controls/CommCtrl.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/gdi/MemoryDc.h"

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A bitmap painted pixel by pixel; no DC holds it afterwards.
HBITMAP paintedBitmap(int width, int height, int bits, const std::function<COLORREF(int, int)>& color) {
  HBITMAP bitmap = CreateBitmap(width, height, 1, static_cast<UINT>(bits), nullptr);
  platform::gdi::MemoryDc dc(nullptr, bitmap);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) SetPixel(dc.dc(), x, y, color(x, y));
  }
  return bitmap;
}

// The test icon: 16 x 16, red on the left and blue on the right, with a transparent frame of
// three pixels around a 10 x 10 square.
bool inSquare(int x, int y) { return x >= 3 && y >= 3 && x < 13 && y < 13; }
COLORREF iconColor(int x, int) { return x < 8 ? kRed : kBlue; }

class ImageListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::gdi::initScreen(240, 320);
    HBITMAP color = paintedBitmap(16, 16, 16, iconColor);
    HBITMAP mask = paintedBitmap(16, 16, 1, [](int x, int y) { return inSquare(x, y) ? kBlack : kWhite; });
    ICONINFO info{TRUE, 0, 0, mask, color};
    icon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    HBITMAP screenLike = CreateBitmap(48, 48, 1, 16, nullptr);
    canvas = std::make_unique<platform::gdi::MemoryDc>(nullptr, screenLike);
    ownedCanvasBitmap = screenLike;
  }
  void TearDown() override {
    DestroyIcon(icon);
    canvas.reset();
    DeleteObject(ownedCanvasBitmap);
  }

  void clear(COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    RECT all{0, 0, 48, 48};
    FillRect(canvas->dc(), &all, brush);
    DeleteObject(brush);
  }

  // Every pixel of the 16 x 16 picture drawn at (8, 8), against what is expected of it.
  void expectPicture(const std::function<COLORREF(int x, int y)>& expected, int tolerance = 0) {
    for (int y = 0; y < 16; ++y) {
      for (int x = 0; x < 16; ++x) {
        const COLORREF got = GetPixel(canvas->dc(), 8 + x, 8 + y);
        const COLORREF want = expected(x, y);
        ASSERT_NEAR(GetRValue(got), GetRValue(want), tolerance) << x << "," << y;
        ASSERT_NEAR(GetGValue(got), GetGValue(want), tolerance) << x << "," << y;
        ASSERT_NEAR(GetBValue(got), GetBValue(want), tolerance) << x << "," << y;
      }
    }
  }

  static COLORREF mixed(COLORREF a, COLORREF b, int percentOfB) {
    auto channel = [percentOfB](int x, int y) {
      return static_cast<BYTE>((x * (100 - percentOfB) + y * percentOfB) / 100);
    };
    return RGB(channel(GetRValue(a), GetRValue(b)), channel(GetGValue(a), GetGValue(b)),
               channel(GetBValue(a), GetBValue(b)));
  }

  HICON icon = nullptr;
  std::unique_ptr<platform::gdi::MemoryDc> canvas;
  HBITMAP ownedCanvasBitmap = nullptr;
};

TEST_F(ImageListTest, ASixteenPixelIconWithItsMaskDrawsOnlyInsideTheMask) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR16 | ILC_MASK, 4, 4);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_AddIcon(list, icon), 0);
  EXPECT_EQ(ImageList_GetImageCount(list), 1);

  clear(kGreen);
  ASSERT_TRUE(ImageList_Draw(list, 0, canvas->dc(), 8, 8, ILD_NORMAL));
  expectPicture([](int x, int y) { return inSquare(x, y) ? iconColor(x, y) : kGreen; });
  EXPECT_EQ(GetPixel(canvas->dc(), 7, 7), kGreen) << "nothing outside the picture";
  EXPECT_EQ(GetPixel(canvas->dc(), 24, 24), kGreen);

  // With a background colour, ILD_NORMAL fills the transparent pixels; ILD_TRANSPARENT does not.
  EXPECT_EQ(ImageList_SetBkColor(list, kWhite), static_cast<COLORREF>(CLR_NONE));
  clear(kGreen);
  ImageList_Draw(list, 0, canvas->dc(), 8, 8, ILD_NORMAL);
  expectPicture([](int x, int y) { return inSquare(x, y) ? iconColor(x, y) : kWhite; });
  clear(kGreen);
  ImageList_Draw(list, 0, canvas->dc(), 8, 8, ILD_TRANSPARENT);
  expectPicture([](int x, int y) { return inSquare(x, y) ? iconColor(x, y) : kGreen; });

  clear(kGreen);
  ImageList_Draw(list, 0, canvas->dc(), 8, 8, ILD_MASK);
  expectPicture([](int x, int y) { return inSquare(x, y) ? kBlack : kWhite; });
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, SelectedAndFocusedLooksBlendWithTheHighlightColour) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR16 | ILC_MASK, 1, 1);
  ImageList_AddIcon(list, icon);
  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  // Within what a 5-6-5 pixel can tell apart.
  constexpr int kTolerance = 8;

  clear(kGreen);
  ImageList_Draw(list, 0, canvas->dc(), 8, 8, ILD_SELECTED | ILD_TRANSPARENT);
  expectPicture([&](int x, int y) { return inSquare(x, y) ? mixed(iconColor(x, y), highlight, 50) : kGreen; },
                kTolerance);
  clear(kGreen);
  ImageList_Draw(list, 0, canvas->dc(), 8, 8, ILD_FOCUS | ILD_TRANSPARENT);
  expectPicture([&](int x, int y) { return inSquare(x, y) ? mixed(iconColor(x, y), highlight, 25) : kGreen; },
                kTolerance);
  clear(kGreen);
  ImageList_DrawEx(list, 0, canvas->dc(), 8, 8, 0, 0, CLR_NONE, kWhite, ILD_SELECTED);
  expectPicture([&](int x, int y) { return inSquare(x, y) ? mixed(iconColor(x, y), kWhite, 50) : kGreen; }, kTolerance);
  clear(kGreen);
  ImageList_DrawEx(list, 0, canvas->dc(), 8, 8, 0, 0, CLR_NONE, CLR_NONE, ILD_SELECTED);
  expectPicture([](int x, int y) { return inSquare(x, y) ? iconColor(x, y) : kGreen; });

  // A list without masks draws whole squares (what the icon has under its mask too) and never
  // blends.
  HIMAGELIST plain = ImageList_Create(16, 16, ILC_COLOR16, 1, 1);
  ImageList_AddIcon(plain, icon);
  clear(kGreen);
  ImageList_Draw(plain, 0, canvas->dc(), 8, 8, ILD_SELECTED);
  expectPicture(iconColor);
  ImageList_Destroy(plain);
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, ThirtyTwoBitListsKeepAlphaAndOtherSizesAreScaled) {
  HIMAGELIST list = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, 1, 1);
  EXPECT_EQ(ImageList_AddIcon(list, icon), 0);
  int cx = 0;
  int cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 32);
  clear(kGreen);
  ImageList_Draw(list, 0, canvas->dc(), 0, 0, ILD_TRANSPARENT);
  EXPECT_EQ(GetPixel(canvas->dc(), 5, 5), kGreen);
  EXPECT_EQ(GetPixel(canvas->dc(), 6, 6), kRed) << "the 16-pixel icon doubled";
  EXPECT_EQ(GetPixel(canvas->dc(), 25, 25), kBlue);
  EXPECT_EQ(GetPixel(canvas->dc(), 26, 26), kGreen);
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, StripsWithMasksOrAKeyColourAddOnePicturePerWidth) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR16 | ILC_MASK, 3, 1);
  const COLORREF colours[3] = {kRed, kGreen, kBlue};
  HBITMAP strip = paintedBitmap(48, 16, 16, [&](int x, int) { return colours[x / 16]; });
  HBITMAP mask = paintedBitmap(48, 16, 1, [](int x, int y) { return x % 16 < 4 && y < 4 ? kWhite : kBlack; });
  EXPECT_EQ(ImageList_Add(list, strip, mask), 0);
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  clear(kWhite);
  ASSERT_TRUE(ImageList_Draw(list, 2, canvas->dc(), 8, 8, ILD_TRANSPARENT));
  EXPECT_EQ(GetPixel(canvas->dc(), 9, 9), kWhite);
  EXPECT_EQ(GetPixel(canvas->dc(), 20, 20), kBlue);

  HBITMAP keyed = paintedBitmap(16, 16, 16, [](int x, int) { return x < 8 ? RGB(255, 0, 255) : kRed; });
  EXPECT_EQ(ImageList_AddMasked(list, keyed, RGB(255, 0, 255)), 3);
  clear(kWhite);
  ImageList_Draw(list, 3, canvas->dc(), 8, 8, ILD_NORMAL);
  EXPECT_EQ(GetPixel(canvas->dc(), 9, 9), kWhite);
  EXPECT_EQ(GetPixel(canvas->dc(), 20, 9), kRed);

  EXPECT_TRUE(ImageList_Replace(list, 0, keyed, nullptr));
  EXPECT_EQ(ImageList_ReplaceIcon(list, 1, icon), 1);
  EXPECT_EQ(ImageList_ReplaceIcon(list, 9, icon), -1);
  EXPECT_TRUE(ImageList_Remove(list, 3));
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  EXPECT_FALSE(ImageList_Draw(list, 3, canvas->dc(), 0, 0, ILD_NORMAL));
  EXPECT_TRUE(ImageList_RemoveAll(list));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);

  HBITMAP narrow = paintedBitmap(8, 8, 16, [](int, int) { return kRed; });
  EXPECT_EQ(ImageList_Add(list, narrow, nullptr), -1) << "narrower than one picture";
  EXPECT_EQ(ImageList_Add(list, nullptr, nullptr), -1);
  for (HBITMAP b : {strip, mask, keyed, narrow}) DeleteObject(b);
  ImageList_Destroy(list);
}

TEST_F(ImageListTest, BadHandlesAndSizesFailCleanly) {
  EXPECT_EQ(ImageList_Create(0, 16, ILC_COLOR16, 1, 1), nullptr);
  EXPECT_EQ(ImageList_Create(16, -1, ILC_COLOR16, 1, 1), nullptr);
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR16 | ILC_MASK, 1, 1);
  EXPECT_TRUE(ImageList_Destroy(list));
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(ImageList_AddIcon(list, icon), -1);
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
  EXPECT_FALSE(ImageList_Draw(list, 0, canvas->dc(), 0, 0, ILD_NORMAL));
  int cx = 0;
  int cy = 0;
  EXPECT_FALSE(ImageList_GetIconSize(list, &cx, &cy));

  HIMAGELIST other = ImageList_Create(16, 16, ILC_COLOR16 | ILC_MASK, 1, 1);
  EXPECT_NE(other, list) << "handles are not reused";
  EXPECT_EQ(ImageList_AddIcon(other, reinterpret_cast<HICON>(static_cast<UINT_PTR>(0x99))), -1);
  EXPECT_FALSE(ImageList_Draw(other, 0, nullptr, 0, 0, ILD_NORMAL));
  ImageList_Destroy(other);
}

}  // namespace
