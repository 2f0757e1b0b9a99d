#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/gdi/GdiTestSupport.h"

namespace {

constexpr COLORREF kMagenta = RGB(255, 0, 255);

struct Info16 {
  BITMAPINFOHEADER header;
  DWORD masks[3];
};

HBITMAP dib16(int width, int height, bool rgb565, void** bits) {
  Info16 info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = 16;
  info.header.biCompression = BI_BITFIELDS;
  if (rgb565) {
    info.masks[0] = 0xF800, info.masks[1] = 0x07E0, info.masks[2] = 0x001F;
  } else {
    info.masks[0] = 0x7C00, info.masks[1] = 0x03E0, info.masks[2] = 0x001F;
  }
  return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, bits, nullptr, 0);
}

TEST(DibSections, RowsAreDwordAlignedAndBottomUpByDefault) {
  void* bits = nullptr;
  HBITMAP bottomUp = dib16(3, 2, true, &bits);
  ASSERT_NE(bottomUp, nullptr);
  ASSERT_NE(bits, nullptr);
  DIBSECTION ds{};
  ASSERT_EQ(GetObjectW(bottomUp, sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
  EXPECT_EQ(ds.dsBm.bmWidthBytes, 8) << "3 pixels of 2 bytes round up to 8";
  EXPECT_EQ(ds.dsBm.bmBits, bits);
  EXPECT_EQ(ds.dsBmih.biSizeImage, 16u);
  EXPECT_EQ(ds.dsBitfields[1], 0x07E0u);

  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bottomUp);
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  SetPixel(dc, 0, 1, RGB(0, 0, 255));
  const auto* words = static_cast<const std::uint16_t*>(bits);
  EXPECT_EQ(words[0], 0x001F) << "the first row in memory is the bottom one";
  EXPECT_EQ(words[4], 0xF800);
  // Writing the memory directly is seen by the DC.
  const_cast<std::uint16_t*>(words)[5] = 0x07E0;
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 255, 0));
  SelectObject(dc, old);
  DeleteObject(bottomUp);

  BITMAPINFO topDown{};
  topDown.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  topDown.bmiHeader.biWidth = 2;
  topDown.bmiHeader.biHeight = -2;
  topDown.bmiHeader.biPlanes = 1;
  topDown.bmiHeader.biBitCount = 32;
  topDown.bmiHeader.biCompression = BI_RGB;
  HBITMAP dib32 = CreateDIBSection(dc, &topDown, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(dib32, nullptr);
  old = SelectObject(dc, dib32);
  SetPixel(dc, 1, 0, RGB(1, 2, 3));
  EXPECT_EQ(static_cast<const std::uint32_t*>(bits)[1], 0x010203u);
  SelectObject(dc, old);
  DeleteObject(dib32);
  DeleteDC(dc);
}

TEST(DibSections, UnsupportedFormatsFailCleanly) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = 4;
  info.bmiHeader.biHeight = 4;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 12;
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
  info.bmiHeader.biBitCount = 16;
  info.bmiHeader.biWidth = 0;
  EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  info.bmiHeader.biWidth = 100000;
  info.bmiHeader.biHeight = 100000;
  EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
}

TEST(Blits, CopiesConvertBetween565And555) {
  MemoryCanvas src(4, 4);
  src.fill(RGB(255, 255, 255), RECT{0, 0, 4, 4});
  src.fill(RGB(0, 252, 0), RECT{1, 1, 3, 3});
  void* bits = nullptr;
  HBITMAP dib = dib16(4, 4, false, &bits);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  EXPECT_TRUE(BitBlt(dc, 0, 0, 4, 4, src.dc, 0, 0, SRCCOPY));
  const auto* words = static_cast<const std::uint16_t*>(bits);
  EXPECT_EQ(words[3 * 4 + 0], 0x7FFF) << "white in 5-5-5, top row stored last";
  EXPECT_EQ(words[2 * 4 + 1], 0x03E0) << "green keeps its top five bits";
  // And back: 5-5-5 green widens to the top of the 6-bit channel.
  MemoryCanvas back(4, 4);
  EXPECT_TRUE(BitBlt(back.dc, 0, 0, 4, 4, dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(back.dc, 1, 1), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(back.dc, 0, 0), RGB(255, 255, 255));
  SelectObject(dc, old);
  DeleteObject(dib);
  DeleteDC(dc);
}

TEST(Blits, OffsetsClipAtTheSourceEdgeAndRopsCombine) {
  MemoryCanvas src(4, 4), dst(6, 6);
  src.fill(RGB(255, 0, 0), RECT{0, 0, 4, 4});
  dst.fill(RGB(0, 0, 255), RECT{0, 0, 6, 6});
  EXPECT_TRUE(BitBlt(dst.dc, 2, 2, 4, 4, src.dc, 2, 2, SRCCOPY));
  EXPECT_EQ(GetPixel(dst.dc, 3, 3), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dst.dc, 4, 4), RGB(0, 0, 255)) << "past the source edge nothing is copied";
  EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, SRCPAINT));
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(255, 0, 255));
  EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, SRCAND));
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(255, 0, 0));
  EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 1, 1, src.dc, 0, 0, SRCINVERT));
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(0, 0, 0));
  // Overlapping copy within one bitmap.
  dst.fill(RGB(0, 0, 0), RECT{0, 0, 6, 6});
  SetPixel(dst.dc, 0, 0, RGB(255, 255, 255));
  SetPixel(dst.dc, 1, 0, RGB(255, 0, 0));
  EXPECT_TRUE(BitBlt(dst.dc, 1, 0, 2, 1, dst.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(dst.dc, 1, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dst.dc, 2, 0), RGB(255, 0, 0));
}

TEST(Blits, StretchDropsOrAveragesPixels) {
  MemoryCanvas src(2, 1), dst(4, 2);
  SetPixel(src.dc, 0, 0, RGB(255, 255, 255));
  SetPixel(src.dc, 1, 0, RGB(0, 0, 0));
  EXPECT_EQ(GetStretchBltMode(dst.dc), COLORONCOLOR);
  EXPECT_TRUE(StretchBlt(dst.dc, 0, 0, 4, 2, src.dc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(GetPixel(dst.dc, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dst.dc, 2, 0), RGB(0, 0, 0));

  MemoryCanvas narrow(1, 1);
  EXPECT_TRUE(StretchBlt(narrow.dc, 0, 0, 1, 1, src.dc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(GetPixel(narrow.dc, 0, 0), RGB(0, 0, 0)) << "the centre sample falls on the second pixel";
  EXPECT_EQ(SetStretchBltMode(narrow.dc, HALFTONE), COLORONCOLOR);
  EXPECT_TRUE(StretchBlt(narrow.dc, 0, 0, 1, 1, src.dc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(GetPixel(narrow.dc, 0, 0), RGB(132, 130, 132)) << "mid grey in 5-6-5";
  // A negative width mirrors.
  EXPECT_TRUE(StretchBlt(dst.dc, 0, 0, 2, 1, src.dc, 2, 0, -2, 1, SRCCOPY));
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dst.dc, 1, 0), RGB(255, 255, 255));
}

TEST(Blits, TransparentBltSkipsTheColourKeyAndStretches) {
  MemoryCanvas image(2, 2), dst(4, 4);
  image.fill(kMagenta, RECT{0, 0, 2, 2});
  SetPixel(image.dc, 0, 0, RGB(255, 0, 0));
  dst.fill(RGB(0, 0, 255), RECT{0, 0, 4, 4});
  EXPECT_TRUE(TransparentBlt(dst.dc, 0, 0, 4, 4, image.dc, 0, 0, 2, 2, kMagenta));
  EXPECT_EQ(GetPixel(dst.dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dst.dc, 2, 2), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dst.dc, 3, 0), RGB(0, 0, 255));
  // A source reaching past the image draws what exists.
  dst.fill(RGB(0, 0, 255), RECT{0, 0, 4, 4});
  EXPECT_TRUE(TransparentBlt(dst.dc, 0, 0, 3, 1, image.dc, 0, 0, 3, 1, RGB(0, 0, 0)));
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dst.dc, 1, 0), kMagenta);
  EXPECT_EQ(GetPixel(dst.dc, 2, 0), RGB(0, 0, 255));
  EXPECT_FALSE(TransparentBlt(dst.dc, 0, 0, -1, 1, image.dc, 0, 0, 1, 1, kMagenta));
}

TEST(Blits, MonochromeSourcesTakeTheDestinationsColours) {
  const BYTE pattern[] = {0x80, 0x00};  // one row: the first pixel set
  HBITMAP mono = CreateBitmap(2, 1, 1, 1, pattern);
  HDC monoDc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(monoDc, mono);
  MemoryCanvas dst(2, 1);
  SetTextColor(dst.dc, RGB(255, 0, 0));
  SetBkColor(dst.dc, RGB(0, 255, 0));
  EXPECT_TRUE(BitBlt(dst.dc, 0, 0, 2, 1, monoDc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(dst.dc, 0, 0), RGB(0, 255, 0)) << "set bits take the background colour";
  EXPECT_EQ(GetPixel(dst.dc, 1, 0), RGB(255, 0, 0)) << "clear bits take the text colour";
  // Colour to mono: the source's background colour becomes white.
  SetBkColor(dst.dc, RGB(255, 0, 0));
  EXPECT_TRUE(BitBlt(monoDc, 0, 0, 2, 1, dst.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(GetPixel(monoDc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(monoDc, 1, 0), RGB(255, 255, 255));
  SelectObject(monoDc, old);
  DeleteObject(mono);
  DeleteDC(monoDc);
}

}  // namespace
