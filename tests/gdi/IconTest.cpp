// Icons: reading .ico resources, choosing and scaling a picture, and drawing through the mask
// or the alpha channel.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"
#include "platform/gdi/IconTable.h"
#include "platform/gdi/WinIcon.h"
#include "tests/gdi/GdiTestSupport.h"

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// One picture of a test icon: its colour (0xAARRGGBB) and mask bit at each pixel.
struct Picture {
  int size;
  int bits = 32;
  std::function<std::uint32_t(int x, int y)> argb;
  std::function<bool(int x, int y)> transparent;
};

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

// An .ico file as the skin generator writes them: bottom-up colours, then the AND mask.
std::vector<std::uint8_t> icoFile(const std::vector<Picture>& pictures) {
  std::vector<std::vector<std::uint8_t>> blobs;
  for (const Picture& p : pictures) {
    std::vector<std::uint8_t> b;
    put32(b, 40);
    put32(b, static_cast<std::uint32_t>(p.size));
    put32(b, static_cast<std::uint32_t>(p.size * 2));
    put16(b, 1);
    put16(b, static_cast<std::uint32_t>(p.bits));
    for (int i = 0; i < 6; ++i) put32(b, 0);
    const int colorStride = ((p.size * p.bits + 31) / 32) * 4;
    for (int y = p.size - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(static_cast<std::size_t>(colorStride), 0);
      for (int x = 0; x < p.size; ++x) {
        const std::uint32_t c = p.argb(x, y);
        const std::size_t at = static_cast<std::size_t>(x * p.bits / 8);
        row[at] = static_cast<std::uint8_t>(c);
        row[at + 1] = static_cast<std::uint8_t>(c >> 8);
        row[at + 2] = static_cast<std::uint8_t>(c >> 16);
        if (p.bits == 32) row[at + 3] = static_cast<std::uint8_t>(c >> 24);
      }
      b.insert(b.end(), row.begin(), row.end());
    }
    const int maskStride = ((p.size + 31) / 32) * 4;
    for (int y = p.size - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(static_cast<std::size_t>(maskStride), 0);
      for (int x = 0; x < p.size; ++x) {
        if (p.transparent(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
      b.insert(b.end(), row.begin(), row.end());
    }
    blobs.push_back(std::move(b));
  }
  std::vector<std::uint8_t> out;
  put16(out, 0);
  put16(out, 1);
  put16(out, static_cast<std::uint32_t>(pictures.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * pictures.size());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    out.push_back(static_cast<std::uint8_t>(pictures[i].size));
    out.push_back(static_cast<std::uint8_t>(pictures[i].size));
    out.push_back(0);
    out.push_back(0);
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(pictures[i].bits));
    put32(out, static_cast<std::uint32_t>(blobs[i].size()));
    put32(out, offset);
    offset += static_cast<std::uint32_t>(blobs[i].size());
  }
  for (const auto& b : blobs) out.insert(out.end(), b.begin(), b.end());
  return out;
}

// A red square with a transparent frame of `frame` pixels; the colour under the mask is black.
Picture framedSquare(int size, int frame, std::uint32_t color = 0xFFFF0000u) {
  auto outside = [size, frame](int x, int y) {
    return x < frame || y < frame || x >= size - frame || y >= size - frame;
  };
  return Picture{size, 32, [=](int x, int y) { return outside(x, y) ? 0u : color; }, outside};
}

class IconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::gdi::initScreen(240, 320);
    platform::ResourceTable::instance().clear();
  }
  void TearDown() override { platform::ResourceTable::instance().clear(); }

  // Keeps the bytes alive as the resource table expects of the program's data.
  void addIcon(UINT id, std::vector<std::uint8_t> bytes) {
    files.push_back(std::move(bytes));
    platform::ResourceTable::instance().addImage(u"ICON", id, files.back());
  }

  const platform::gdi::IconImage* picture(HANDLE icon) {
    return platform::gdi::IconTable::instance().find(static_cast<HICON>(icon));
  }

  std::vector<std::vector<std::uint8_t>> files;
};

TEST_F(IconTest, LoadingPicksThePictureNearestTheSizeAskedFor) {
  // Three sizes in three colours, so the picture chosen shows.
  addIcon(128, icoFile({Picture{16, 32, [](int, int) { return 0xFFFF0000u; }, [](int, int) { return false; }},
                        Picture{32, 32, [](int, int) { return 0xFF00FF00u; }, [](int, int) { return false; }},
                        Picture{48, 32, [](int, int) { return 0xFF0000FFu; }, [](int, int) { return false; }}}));
  HICON icon = LoadIconW(nullptr, MAKEINTRESOURCE(128));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(picture(icon)->width(), 32) << "the system size on a quarter-VGA screen";
  EXPECT_EQ(picture(icon)->argb(5, 5) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCE(128)), icon) << "one shared handle";
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_NE(picture(icon), nullptr) << "a shared icon stays";

  HANDLE small = LoadImageW(nullptr, MAKEINTRESOURCE(128), IMAGE_ICON, 16, 16, 0);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(picture(small)->argb(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_NE(LoadImageW(nullptr, MAKEINTRESOURCE(128), IMAGE_ICON, 16, 16, 0), small) << "not shared unless asked";
  HANDLE between = LoadImageW(nullptr, MAKEINTRESOURCE(128), IMAGE_ICON, 40, 40, 0);
  ASSERT_NE(between, nullptr);
  EXPECT_EQ(picture(between)->width(), 40);
  EXPECT_EQ(picture(between)->argb(20, 20) & 0xFFFFFF, 0x0000FFu) << "from the 48-pixel picture, the nearer";
  HANDLE own = LoadImageW(nullptr, MAKEINTRESOURCE(128), IMAGE_ICON, 0, 0, 0);
  EXPECT_EQ(picture(own)->width(), 16) << "size 0: the resource's own, its first picture";
  EXPECT_TRUE(DestroyIcon(static_cast<HICON>(small)));
  EXPECT_EQ(picture(small), nullptr);
  EXPECT_FALSE(DestroyIcon(static_cast<HICON>(small)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CURSOR_HANDLE));
}

TEST_F(IconTest, VgaScreensGetTheSixtyFourPixelSizeGrownPixelForPixel) {
  platform::gdi::initScreen(480, 640);
  addIcon(5120, icoFile({Picture{32, 32, [](int x, int) { return x < 16 ? 0xFFFF0000u : 0xFF0000FFu; },
                                 [](int x, int y) { return x == 0 && y == 0; }}}));
  HICON icon = LoadIconW(nullptr, MAKEINTRESOURCE(5120));
  ASSERT_NE(icon, nullptr);
  const platform::gdi::IconImage* image = picture(icon);
  ASSERT_EQ(image->width(), 64);
  EXPECT_EQ(image->argb(31, 10) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(image->argb(32, 10) & 0xFFFFFF, 0x0000FFu) << "no blur where the colours meet";
  EXPECT_TRUE(image->transparent(1, 1));
  EXPECT_FALSE(image->transparent(2, 1));
}

TEST_F(IconTest, MissingOrDamagedIconsFailWithTheirReason) {
  EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCE(300)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(LoadIconW(nullptr, u"NAMED"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));

  std::vector<std::uint8_t> good = icoFile({framedSquare(16, 2)});
  std::vector<std::uint8_t> cut(good.begin(), good.end() - 10);
  std::vector<std::uint8_t> wrongOffset = good;
  wrongOffset[18] = 0xFF;  // the picture's offset points far beyond the data
  wrongOffset[19] = 0xFF;
  std::vector<std::uint8_t> png = good;
  std::memcpy(png.data() + 22, "\x89PNG", 4);
  std::vector<std::uint8_t> huge = good;
  huge[22 + 4] = 0x00;  // biWidth = 0x10000
  huge[22 + 6] = 0x01;
  int id = 400;
  for (const auto& bytes : {cut, wrongOffset, png, huge, std::vector<std::uint8_t>{0, 0, 1, 0}}) {
    addIcon(static_cast<UINT>(id), bytes);
    EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCE(id), IMAGE_ICON, 16, 16, 0), nullptr) << id;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA)) << id;
    ++id;
  }
  addIcon(500, good);
  EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCE(500), IMAGE_BITMAP, 0, 0, 0), nullptr);
  EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCE(500), IMAGE_ICON, -1, 16, 0), nullptr);
  EXPECT_EQ(LoadImageW(nullptr, MAKEINTRESOURCE(500), IMAGE_ICON, 16, 16, LR_LOADFROMFILE), nullptr);
  EXPECT_NE(LoadImageW(nullptr, MAKEINTRESOURCE(500), IMAGE_ICON, 16, 16, 0), nullptr);
}

TEST_F(IconTest, DrawingLetsTheBackgroundShowWhereTheMaskSaysSo) {
  addIcon(128, icoFile({framedSquare(16, 3)}));
  HANDLE icon = LoadImageW(nullptr, MAKEINTRESOURCE(128), IMAGE_ICON, 16, 16, 0);
  ASSERT_NE(icon, nullptr);
  MemoryCanvas canvas(40, 40);
  canvas.fill(kGreen, RECT{0, 0, 40, 40});
  ASSERT_TRUE(DrawIconEx(canvas.dc, 10, 10, static_cast<HICON>(icon), 0, 0, 0, nullptr, DI_NORMAL));
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= 3 && y >= 3 && x < 13 && y < 13;
      ASSERT_EQ(GetPixel(canvas.dc, 10 + x, 10 + y), inside ? kRed : kGreen) << x << "," << y;
    }
  }
  EXPECT_EQ(GetPixel(canvas.dc, 9, 9), kGreen);

  ASSERT_TRUE(DrawIconEx(canvas.dc, 0, 0, static_cast<HICON>(icon), 16, 16, 0, nullptr, DI_MASK));
  EXPECT_EQ(GetPixel(canvas.dc, 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(canvas.dc, 8, 8), RGB(0, 0, 0));

  HBRUSH blue = CreateSolidBrush(kBlue);
  ASSERT_TRUE(DrawIconEx(canvas.dc, 20, 20, static_cast<HICON>(icon), 16, 16, 0, blue, DI_NORMAL));
  DeleteObject(blue);
  EXPECT_EQ(GetPixel(canvas.dc, 21, 21), kBlue) << "the flicker-free brush fills first";
  EXPECT_EQ(GetPixel(canvas.dc, 28, 28), kRed);

  // Drawn larger, the picture grows with its mask.
  canvas.fill(kGreen, RECT{0, 0, 40, 40});
  ASSERT_TRUE(DrawIconEx(canvas.dc, 0, 0, static_cast<HICON>(icon), 32, 32, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(GetPixel(canvas.dc, 5, 5), kGreen);
  EXPECT_EQ(GetPixel(canvas.dc, 6, 6), kRed);
  EXPECT_EQ(GetPixel(canvas.dc, 25, 25), kRed);
  EXPECT_EQ(GetPixel(canvas.dc, 26, 26), kGreen);

  EXPECT_FALSE(DrawIconEx(nullptr, 0, 0, static_cast<HICON>(icon), 0, 0, 0, nullptr, DI_NORMAL));
  EXPECT_FALSE(DrawIcon(canvas.dc, 0, 0, reinterpret_cast<HICON>(static_cast<UINT_PTR>(0x42))));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CURSOR_HANDLE));
}

TEST_F(IconTest, AnAlphaChannelBlendsTheEdges) {
  addIcon(128, icoFile({Picture{16, 32,
                                [](int x, int) {
                                  return x < 8 ? 0xFFFFFFFFu : 0x80FFFFFFu;  // white, half covered on the right
                                },
                                [](int, int) { return false; }}}));
  HANDLE icon = LoadImageW(nullptr, MAKEINTRESOURCE(128), IMAGE_ICON, 16, 16, 0);
  MemoryCanvas canvas(16, 16);
  canvas.fill(RGB(0, 0, 0), RECT{0, 0, 16, 16});
  ASSERT_TRUE(DrawIconEx(canvas.dc, 0, 0, static_cast<HICON>(icon), 16, 16, 0, nullptr, DI_NORMAL));
  EXPECT_EQ(GetPixel(canvas.dc, 2, 2), RGB(255, 255, 255));
  const COLORREF half = GetPixel(canvas.dc, 12, 2);
  EXPECT_NEAR(GetRValue(half), 128, 8);
  EXPECT_NEAR(GetGValue(half), 128, 8);
}

TEST_F(IconTest, IconsAndBitmapsConvertBothWays) {
  MemoryCanvas color(8, 8);
  color.fill(kBlue, RECT{0, 0, 8, 8});
  HBITMAP mask = CreateBitmap(8, 8, 1, 1, nullptr);
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    RECT all{0, 0, 8, 8};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetPixel(dc, 0, 0, RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  SelectObject(color.dc, color.previous);  // a bitmap is read while no DC holds it
  ICONINFO info{TRUE, 0, 0, mask, color.bitmap};
  HICON icon = CreateIconIndirect(&info);
  SelectObject(color.dc, color.bitmap);
  ASSERT_NE(icon, nullptr);
  EXPECT_TRUE(picture(icon)->transparent(0, 0));
  EXPECT_FALSE(picture(icon)->transparent(1, 0));
  EXPECT_EQ(picture(icon)->argb(4, 4) & 0xFFFFFF, 0x0000FFu);

  ICONINFO back{};
  ASSERT_TRUE(GetIconInfo(icon, &back));
  BITMAP bm{};
  ASSERT_NE(GetObjectW(back.hbmColor, sizeof bm, &bm), 0);
  EXPECT_EQ(bm.bmWidth, 8);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(back.hbmColor);
  DeleteObject(back.hbmMask);
  HICON copy = CopyIcon(icon);
  EXPECT_TRUE(DestroyIcon(icon));
  EXPECT_NE(picture(copy), nullptr) << "a copy lives on its own";
  EXPECT_TRUE(DestroyIcon(copy));
  DeleteObject(mask);
  EXPECT_EQ(CreateIconIndirect(nullptr), nullptr);
}

}  // namespace
