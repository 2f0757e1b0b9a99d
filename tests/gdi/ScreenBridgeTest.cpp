#include <gtest/gtest.h>

#include <png.h>

#include <string>

#include "tests/gdi/GdiTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using platform::gdi::CapturedText;
using platform::gdi::capturedTexts;

HWND fakeWindow(std::uintptr_t id) { return reinterpret_cast<HWND>(id); }

class ScreenBridge : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::gdi::initScreen(240, 320);
    platform::gdi::takeDirtyRect();
  }
  void TearDown() override {
    platform::gdi::forgetWindow(window);
    platform::gdi::forgetWindow(other);
  }
  static COLORREF screenAt(int x, int y) {
    const std::uint16_t p = platform::gdi::screenPixels()[y * platform::gdi::screenWidth() + x];
    const unsigned r = p >> 11, g = (p >> 5) & 0x3F, b = p & 0x1F;
    return RGB(static_cast<BYTE>((r << 3) | (r >> 2)), static_cast<BYTE>((g << 2) | (g >> 4)),
               static_cast<BYTE>((b << 3) | (b >> 2)));
  }
  HWND window = fakeWindow(0x1000);
  HWND other = fakeWindow(0x2000);
};

TEST_F(ScreenBridge, WindowDCsDrawAtTheirOriginInsideTheVisibleRects) {
  EXPECT_EQ(platform::gdi::screenWidth(), 240);
  EXPECT_EQ(platform::gdi::screenHeight(), 320);
  HDC dc = platform::gdi::createWindowDC(window, POINT{10, 20}, {RECT{10, 20, 60, 70}});
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
  RECT all{0, 0, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(screenAt(10, 20), RGB(255, 255, 255));
  EXPECT_EQ(screenAt(59, 69), RGB(255, 255, 255));
  EXPECT_EQ(screenAt(60, 69), RGB(0, 0, 0)) << "outside the visible rectangle";
  EXPECT_EQ(screenAt(9, 20), RGB(0, 0, 0));
  const RECT dirty = platform::gdi::takeDirtyRect();
  EXPECT_EQ(dirty.left, 10);
  EXPECT_EQ(dirty.top, 20);
  EXPECT_EQ(dirty.right, 60);
  EXPECT_EQ(dirty.bottom, 70);
  const RECT none = platform::gdi::takeDirtyRect();
  EXPECT_EQ(none.right - none.left, 0);
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 50);
  EXPECT_EQ(SelectObject(dc, CreateBitmap(1, 1, 1, 16, nullptr)), nullptr) << "no bitmaps in a window DC";
  platform::gdi::releaseWindowDC(dc);
  EXPECT_EQ(GetObjectType(dc), 0u);
}

TEST_F(ScreenBridge, TextTravelsFromAMemoryBitmapToTheWindowClippedAsThePixels) {
  MemoryCanvas buffer(100, 40);
  buffer.fill(RGB(255, 255, 255), RECT{0, 0, 100, 40});
  SetBkMode(buffer.dc, TRANSPARENT);
  SetTextColor(buffer.dc, RGB(224, 0, 0));
  RECT row{0, 0, 100, 20};
  DrawTextW(buffer.dc, u"Alice", -1, &row, DT_LEFT | DT_SINGLELINE);
  RECT second{0, 20, 100, 40};
  DrawTextW(buffer.dc, u"Bob", -1, &second, DT_LEFT | DT_SINGLELINE);

  HDC dc = platform::gdi::createWindowDC(window, POINT{5, 100}, {RECT{0, 0, 240, 120}});
  EXPECT_TRUE(BitBlt(dc, 0, 0, 100, 40, buffer.dc, 0, 0, SRCCOPY));
  platform::gdi::releaseWindowDC(dc);
  std::vector<CapturedText> texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 1u) << "the second row falls outside the visible area";
  EXPECT_EQ(texts[0].text, u"Alice");
  EXPECT_EQ(texts[0].color, RGB(224, 0, 0));
  EXPECT_EQ(texts[0].screenRect.left, 5);
  EXPECT_EQ(texts[0].screenRect.top, 100);
  EXPECT_LE(texts[0].screenRect.bottom, 112);
  EXPECT_TRUE(capturedTexts(other).empty());

  // A new paint of the area drops the old records; repainting over it brings them back once.
  platform::gdi::beginTextCapture(window, RECT{0, 0, 240, 320});
  EXPECT_TRUE(capturedTexts(window).empty());
  dc = platform::gdi::createWindowDC(window, POINT{5, 100}, {RECT{0, 0, 240, 320}});
  BitBlt(dc, 0, 0, 100, 40, buffer.dc, 0, 0, SRCCOPY);
  BitBlt(dc, 0, 0, 100, 40, buffer.dc, 0, 0, SRCCOPY);
  platform::gdi::releaseWindowDC(dc);
  texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[1].text, u"Bob");
  EXPECT_EQ(texts[1].screenRect.top, 120);
  platform::gdi::forgetWindow(window);
  EXPECT_TRUE(capturedTexts(window).empty());
}

TEST_F(ScreenBridge, OverpaintingABitmapForgetsItsTexts) {
  MemoryCanvas buffer(100, 20);
  RECT row{0, 0, 100, 20};
  DrawTextW(buffer.dc, u"Old", -1, &row, DT_SINGLELINE);
  buffer.fill(RGB(255, 255, 255), row);
  DrawTextW(buffer.dc, u"New", -1, &row, DT_SINGLELINE);
  HDC dc = platform::gdi::createWindowDC(window, POINT{0, 0}, {RECT{0, 0, 240, 320}});
  StretchBlt(dc, 0, 0, 200, 40, buffer.dc, 0, 0, 100, 20, SRCCOPY);
  platform::gdi::releaseWindowDC(dc);
  const std::vector<CapturedText> texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, u"New");
  EXPECT_GE(texts[0].screenRect.bottom, 20) << "stretched with the pixels";
}

TEST_F(ScreenBridge, CopiesWithinOneBitmapCarryTheirTexts) {
  MemoryCanvas buffer(100, 60);
  RECT row{0, 0, 100, 20};
  DrawTextW(buffer.dc, u"Moved", -1, &row, DT_SINGLELINE);
  RECT bottom{0, 40, 100, 60};
  DrawTextW(buffer.dc, u"Hidden", -1, &bottom, DT_SINGLELINE);
  BitBlt(buffer.dc, 0, 40, 100, 20, buffer.dc, 0, 0, SRCCOPY);
  HDC dc = platform::gdi::createWindowDC(window, POINT{0, 0}, {RECT{0, 0, 240, 320}});
  BitBlt(dc, 0, 0, 100, 60, buffer.dc, 0, 0, SRCCOPY);
  platform::gdi::releaseWindowDC(dc);
  const std::vector<CapturedText> texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, u"Moved");
  EXPECT_EQ(texts[1].text, u"Moved");
  EXPECT_EQ(texts[1].screenRect.top, 40);
}

TEST_F(ScreenBridge, TextDrawnStraightOnTheWindowAndWrappedLinesJoin) {
  HDC dc = platform::gdi::createWindowDC(window, POINT{0, 0}, {RECT{0, 0, 240, 320}});
  SIZE size{};
  GetTextExtentPoint32W(dc, u"Permanently delete", 18, &size);
  RECT r{0, 0, size.cx + 2, 100};
  DrawTextW(dc, u"Permanently delete this item?", -1, &r, DT_WORDBREAK);
  ExtTextOutW(dc, 0, 200, 0, nullptr, u"Done", 4, nullptr);
  RECT narrow{0, 250, 20, 300};
  DrawTextW(dc, u"Overlong", -1, &narrow, DT_WORDBREAK | DT_EDITCONTROL);
  platform::gdi::releaseWindowDC(dc);
  const std::vector<CapturedText> texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[2].text, u"Overlong") << "a word broken across lines reads whole";
  EXPECT_GT(texts[2].screenRect.bottom, 262);
  EXPECT_EQ(texts[0].text, u"Permanently delete this item?");
  EXPECT_EQ(texts[0].screenRect.bottom, 24);
  EXPECT_EQ(texts[1].text, u"Done");
  EXPECT_EQ(texts[1].screenRect.top, 200);
}

// What a window repaints in parts (an area uncovered piece by piece) reads as one text in the
// dump, not as clipped copies of it.
TEST_F(ScreenBridge, ATextRepaintedInPartsIsOneRecord) {
  const RECT all{0, 0, 240, 320};
  auto draw = [&](const RECT& visible, COLORREF color) {
    HDC dc = platform::gdi::createWindowDC(window, POINT{0, 0}, {visible});
    SetTextColor(dc, color);
    ExtTextOutW(dc, 50, 100, 0, nullptr, u"Sort By", 7, nullptr);
    platform::gdi::releaseWindowDC(dc);
  };
  draw(all, RGB(0, 0, 0));
  ASSERT_EQ(capturedTexts(window).size(), 1u);
  const RECT whole = capturedTexts(window)[0].screenRect;
  const LONG middle = (whole.left + whole.right) / 2;

  platform::gdi::beginTextCapture(window, all);
  draw(RECT{middle, 0, 240, 320}, RGB(0, 0, 0));
  std::vector<CapturedText> texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].screenRect.left, middle) << "only the part that could be seen";
  draw(RECT{0, 0, middle, 320}, RGB(0, 0, 0));
  texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].screenRect.left, whole.left);
  EXPECT_EQ(texts[0].screenRect.right, whole.right);

  // Another colour over part of it leaves the rest in the old colour; over all of it, only the
  // new colour is left.
  draw(RECT{0, 0, middle, 320}, RGB(255, 0, 0));
  EXPECT_EQ(capturedTexts(window).size(), 2u);
  draw(all, RGB(255, 0, 0));
  texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].color, RGB(255, 0, 0));
  EXPECT_EQ(texts[0].screenRect.left, whole.left);
}

TEST_F(ScreenBridge, ABufferCopiedToTheWindowInPartsGivesOneRecordPerText) {
  MemoryCanvas buffer(200, 20);
  buffer.fill(RGB(255, 255, 255), RECT{0, 0, 200, 20});
  RECT row{0, 0, 200, 20};
  DrawTextW(buffer.dc, u"Idea for: Jakub", -1, &row, DT_CENTER | DT_SINGLELINE);
  for (const RECT visible : {RECT{0, 0, 90, 320}, RECT{90, 0, 240, 320}}) {
    HDC dc = platform::gdi::createWindowDC(window, POINT{0, 50}, {visible});
    BitBlt(dc, 0, 0, 200, 20, buffer.dc, 0, 0, SRCCOPY);
    platform::gdi::releaseWindowDC(dc);
  }
  const std::vector<CapturedText> texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_LT(texts[0].screenRect.left, 90);
  EXPECT_GT(texts[0].screenRect.right, 90);
}

TEST_F(ScreenBridge, ShiftMovesPixelsAndTexts) {
  HDC dc = platform::gdi::createWindowDC(window, POINT{0, 0}, {RECT{0, 0, 240, 320}});
  SetPixel(dc, 10, 50, RGB(255, 0, 0));
  ExtTextOutW(dc, 100, 40, 0, nullptr, u"Row", 3, nullptr);
  ExtTextOutW(dc, 100, 22, 0, nullptr, u"Covered", 7, nullptr);
  ExtTextOutW(dc, 100, 2, 0, nullptr, u"Scrolled away", 13, nullptr);
  platform::gdi::releaseWindowDC(dc);
  platform::gdi::takeDirtyRect();
  platform::gdi::shiftScreenPixels(window, RECT{0, 20, 240, 320}, 0, -20, RECT{0, 0, 240, 320});
  EXPECT_EQ(screenAt(10, 30), RGB(255, 0, 0));
  const std::vector<CapturedText> texts = capturedTexts(window);
  ASSERT_EQ(texts.size(), 2u) << "the text the moved pixels covered is gone";
  EXPECT_EQ(texts[0].text, u"Row");
  EXPECT_EQ(texts[0].screenRect.top, 20);
  EXPECT_EQ(texts[1].text, u"Covered");
  EXPECT_EQ(texts[1].screenRect.top, 2);
  EXPECT_EQ(platform::gdi::takeDirtyRect().bottom, 300);
}

TEST_F(ScreenBridge, ResizeKeepsWindowDCsUsable) {
  HDC dc = platform::gdi::createWindowDC(window, POINT{0, 0}, {RECT{0, 0, 240, 320}});
  platform::gdi::resizeScreen(320, 240);
  EXPECT_EQ(platform::gdi::screenWidth(), 320);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 320);
  RECT all{0, 0, 400, 400};
  EXPECT_NE(FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0);
  EXPECT_EQ(screenAt(239, 239), RGB(255, 255, 255));
  EXPECT_EQ(screenAt(240, 0), RGB(0, 0, 0)) << "still limited to its visible rectangles";
  platform::gdi::releaseWindowDC(dc);
  platform::gdi::initScreen(480, 640);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 192);
  LOGFONTW lf{};
  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf);
  EXPECT_EQ(lf.lfHeight, 24);
}

TEST_F(ScreenBridge, WritesAPngOfTheScreen) {
  HDC dc = platform::gdi::createWindowDC(window, POINT{0, 0}, {RECT{0, 0, 240, 320}});
  SetPixel(dc, 3, 2, RGB(255, 0, 0));
  platform::gdi::releaseWindowDC(dc);
  const platform::testing::TempFolder folder;
  const std::string path = folder.file("shot.png");
  ASSERT_TRUE(platform::gdi::writePng(path, platform::gdi::screenPixels(), 240, 320, 240));
  EXPECT_FALSE(platform::gdi::writePng(folder.file("missing/shot.png"), platform::gdi::screenPixels(), 240, 320, 240));
  EXPECT_FALSE(platform::gdi::writePng(path, nullptr, 240, 320, 240));

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
  EXPECT_EQ(image.width, 240u);
  EXPECT_EQ(image.height, 320u);
  image.format = PNG_FORMAT_RGB;
  std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
  const std::size_t at = (2 * 240 + 3) * 3;
  EXPECT_EQ(pixels[at], 255);
  EXPECT_EQ(pixels[at + 1], 0);
  EXPECT_EQ(pixels[at + 2], 0);
}

}  // namespace
