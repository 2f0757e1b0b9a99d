#include <gtest/gtest.h>

#include "platform/base/WinError.h"
#include "platform/gdi/ObjectTable.h"
#include "tests/gdi/GdiTestSupport.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(Colors, RepresentableColoursReadBackExactly) {
  MemoryCanvas c(4, 4);
  EXPECT_EQ(SetPixel(c.dc, 0, 0, kWhite), kWhite);
  EXPECT_EQ(SetPixel(c.dc, 1, 0, RGB(255, 0, 255)), RGB(255, 0, 255));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), kWhite);
  EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(255, 0, 255));
  // 5-6-5 drops the low bits and widens by repeating the high ones.
  EXPECT_EQ(SetPixel(c.dc, 2, 0, RGB(224, 0, 0)), RGB(231, 0, 0));
  EXPECT_EQ(SetPixel(c.dc, 3, 0, RGB(10, 130, 200)), RGB(8, 130, 206));
}

TEST(Colors, SystemSchemeHasTheDocumentedIndexes) {
  EXPECT_EQ(COLOR_WINDOW, 5);
  EXPECT_EQ(COLOR_HIGHLIGHT, 13);
  EXPECT_EQ(COLOR_HIGHLIGHTTEXT, 14);
  EXPECT_EQ(COLOR_STATIC, 25);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), kWhite);
  EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), kBlack);
  EXPECT_NE(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(GetSysColor(999), 0u);
  EXPECT_EQ(GetSysColorBrush(999), nullptr);
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectW(GetSysColorBrush(COLOR_HIGHLIGHT), sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
  EXPECT_EQ(lb.lbColor, GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_TRUE(DeleteObject(GetSysColorBrush(COLOR_HIGHLIGHT))) << "system brushes survive DeleteObject";
  EXPECT_EQ(GetObjectW(GetSysColorBrush(COLOR_HIGHLIGHT), sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
}

TEST(Colors, SetSysColorsRecoloursTheSystemBrushes) {
  const int index = COLOR_BTNFACE;
  const COLORREF before = GetSysColor(index);
  const COLORREF pink = RGB(255, 192, 203);
  EXPECT_TRUE(SetSysColors(1, &index, &pink));
  EXPECT_EQ(GetSysColor(index), pink);
  LOGBRUSH lb{};
  GetObjectW(GetSysColorBrush(index), sizeof(lb), &lb);
  EXPECT_EQ(lb.lbColor, pink);
  EXPECT_TRUE(SetSysColors(1, &index, &before));
  EXPECT_FALSE(SetSysColors(1, nullptr, &before));
}

TEST(Fills, FillRectExcludesRightAndBottomEdgesAndTakesColourIndexBrushes) {
  MemoryCanvas c(10, 10);
  c.fill(kWhite, RECT{0, 0, 10, 10});
  c.fill(RGB(255, 0, 0), RECT{2, 3, 5, 7});
  EXPECT_EQ(GetPixel(c.dc, 2, 3), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(c.dc, 4, 6), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(c.dc, 5, 6), kWhite);
  EXPECT_EQ(GetPixel(c.dc, 4, 7), kWhite);
  EXPECT_EQ(inkCount(c.dc, RECT{0, 0, 10, 10}, kWhite), 12);

  RECT all{0, 0, 10, 10};
  EXPECT_NE(FillRect(c.dc, &all, reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1)), 0);
  EXPECT_EQ(GetPixel(c.dc, 9, 9), GetPixel(c.dc, 0, 0));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), SetPixel(c.dc, 0, 0, GetSysColor(COLOR_HIGHLIGHT)));
}

TEST(Fills, PatBltRasterOperations) {
  MemoryCanvas c(4, 1);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(c.dc, red);
  EXPECT_TRUE(PatBlt(c.dc, 0, 0, 4, 1, WHITENESS));
  EXPECT_EQ(GetPixel(c.dc, 3, 0), kWhite);
  EXPECT_TRUE(PatBlt(c.dc, 0, 0, 1, 1, BLACKNESS));
  EXPECT_EQ(GetPixel(c.dc, 0, 0), kBlack);
  EXPECT_TRUE(PatBlt(c.dc, 1, 0, 1, 1, PATCOPY));
  EXPECT_EQ(GetPixel(c.dc, 1, 0), RGB(255, 0, 0));
  EXPECT_TRUE(PatBlt(c.dc, 2, 0, 1, 1, PATINVERT));  // white xor red = cyan
  EXPECT_EQ(GetPixel(c.dc, 2, 0), RGB(0, 255, 255));
  EXPECT_TRUE(PatBlt(c.dc, 3, 1, 1, -1, DSTINVERT));  // negative height reaches upwards
  EXPECT_EQ(GetPixel(c.dc, 3, 0), kBlack);
  EXPECT_FALSE(PatBlt(c.dc, 0, 0, 1, 1, SRCCOPY)) << "PatBlt takes no source";
  SelectObject(c.dc, old);
  DeleteObject(red);
}

TEST(Lines, LineToSkipsTheLastPointAndMovesThePosition) {
  MemoryCanvas c(10, 10);
  c.fill(kWhite, RECT{0, 0, 10, 10});
  POINT previous{};
  MoveToEx(c.dc, 1, 1, nullptr);
  EXPECT_TRUE(LineTo(c.dc, 6, 1));
  EXPECT_EQ(inkCount(c.dc, RECT{0, 0, 10, 10}, kWhite), 5);
  EXPECT_EQ(GetPixel(c.dc, 1, 1), kBlack);
  EXPECT_EQ(GetPixel(c.dc, 6, 1), kWhite);
  MoveToEx(c.dc, 0, 0, &previous);
  EXPECT_EQ(previous.x, 6);
  EXPECT_EQ(previous.y, 1);

  const POINT diagonal[] = {{0, 3}, {4, 7}, {8, 7}};
  EXPECT_TRUE(Polyline(c.dc, diagonal, 3));
  EXPECT_EQ(GetPixel(c.dc, 2, 5), kBlack);
  EXPECT_EQ(GetPixel(c.dc, 7, 7), kBlack);
  EXPECT_EQ(GetPixel(c.dc, 8, 7), kWhite);
  EXPECT_FALSE(Polyline(c.dc, diagonal, 1));
}

TEST(Lines, WidePenIsCentredOnTheLineAndNullPenDrawsNothing) {
  MemoryCanvas c(20, 20);
  c.fill(kWhite, RECT{0, 0, 20, 20});
  HPEN wide = CreatePen(PS_SOLID, 5, RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(c.dc, wide);
  MoveToEx(c.dc, 5, 10, nullptr);
  LineTo(c.dc, 15, 10);
  EXPECT_EQ(GetPixel(c.dc, 10, 8), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(c.dc, 10, 12), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(c.dc, 10, 7), kWhite);
  EXPECT_EQ(GetPixel(c.dc, 10, 13), kWhite);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  c.fill(kWhite, RECT{0, 0, 20, 20});
  LineTo(c.dc, 0, 0);
  EXPECT_EQ(inkCount(c.dc, RECT{0, 0, 20, 20}, kWhite), 0);
  SelectObject(c.dc, old);
  DeleteObject(wide);
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
  MemoryCanvas c(10, 10);
  c.fill(kWhite, RECT{0, 0, 10, 10});
  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  HGDIOBJ oldBrush = SelectObject(c.dc, green);
  EXPECT_TRUE(Rectangle(c.dc, 1, 1, 6, 5));
  EXPECT_EQ(GetPixel(c.dc, 1, 1), kBlack);
  EXPECT_EQ(GetPixel(c.dc, 5, 4), kBlack);
  EXPECT_EQ(GetPixel(c.dc, 6, 4), kWhite);
  EXPECT_EQ(GetPixel(c.dc, 2, 2), RGB(0, 255, 0));
  EXPECT_EQ(GetPixel(c.dc, 4, 3), RGB(0, 255, 0));

  // A null brush leaves the inside alone; a null pen makes the figure a pixel smaller.
  c.fill(kWhite, RECT{0, 0, 10, 10});
  SelectObject(c.dc, GetStockObject(NULL_BRUSH));
  Rectangle(c.dc, 0, 0, 5, 5);
  EXPECT_EQ(GetPixel(c.dc, 2, 2), kWhite);
  EXPECT_EQ(inkCount(c.dc, RECT{0, 0, 10, 10}, kWhite), 16);
  SelectObject(c.dc, green);
  SelectObject(c.dc, GetStockObject(NULL_PEN));
  c.fill(kWhite, RECT{0, 0, 10, 10});
  Rectangle(c.dc, 0, 0, 5, 5);
  EXPECT_EQ(inkBounds(c.dc, RECT{0, 0, 10, 10}, kWhite).right, 4);
  EXPECT_EQ(inkCount(c.dc, RECT{0, 0, 10, 10}, kWhite), 16);
  SelectObject(c.dc, oldBrush);
  DeleteObject(green);
}

TEST(Shapes, EllipseStaysInsideItsBox) {
  MemoryCanvas c(30, 30);
  c.fill(kWhite, RECT{0, 0, 30, 30});
  EXPECT_TRUE(Ellipse(c.dc, 5, 5, 25, 15));
  const RECT ink = inkBounds(c.dc, RECT{0, 0, 30, 30}, kWhite);
  EXPECT_EQ(ink.left, 5);
  EXPECT_EQ(ink.top, 5);
  EXPECT_EQ(ink.right, 25);
  EXPECT_EQ(ink.bottom, 15);
  EXPECT_EQ(GetPixel(c.dc, 15, 10), kWhite) << "stock white brush inside";
  EXPECT_EQ(GetPixel(c.dc, 5, 5), kWhite) << "corners stay outside";
}

TEST(Clipping, IntersectExcludeAndSelectClipRgn) {
  MemoryCanvas c(10, 10);
  c.fill(kWhite, RECT{0, 0, 10, 10});
  EXPECT_EQ(IntersectClipRect(c.dc, 2, 2, 8, 8), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(c.dc, 4, 4, 6, 6), COMPLEXREGION);
  RECT box{};
  EXPECT_EQ(GetClipBox(c.dc, &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 2);
  EXPECT_EQ(box.bottom, 8);
  c.fill(kBlack, RECT{0, 0, 10, 10});
  EXPECT_EQ(GetPixel(c.dc, 5, 5), CLR_INVALID) << "outside the clip";
  EXPECT_EQ(SelectClipRgn(c.dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(GetPixel(c.dc, 5, 5), kWhite);
  EXPECT_EQ(inkCount(c.dc, RECT{0, 0, 10, 10}, kWhite), 36 - 4);

  HRGN region = CreateRectRgn(0, 0, 3, 3);
  EXPECT_EQ(SelectClipRgn(c.dc, region), SIMPLEREGION);
  DeleteObject(region);  // the DC keeps its own copy
  c.fill(RGB(255, 0, 0), RECT{0, 0, 10, 10});
  EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(GetClipBox(c.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box.right, 3);
  SelectClipRgn(c.dc, nullptr);
  EXPECT_EQ(GetPixel(c.dc, 4, 1), kWhite);
}

TEST(SavedStates, RestoreDCBringsBackObjectsColoursAndClip) {
  MemoryCanvas c(4, 4);
  SetTextColor(c.dc, RGB(1, 2, 3));
  const int saved = SaveDC(c.dc);
  EXPECT_EQ(saved, 1);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HGDIOBJ oldPen = SelectObject(c.dc, pen);
  SetTextColor(c.dc, RGB(9, 9, 9));
  IntersectClipRect(c.dc, 0, 0, 1, 1);
  EXPECT_EQ(SaveDC(c.dc), 2);
  EXPECT_TRUE(RestoreDC(c.dc, -2));
  EXPECT_EQ(GetTextColor(c.dc), RGB(1, 2, 3));
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), oldPen);
  RECT box{};
  GetClipBox(c.dc, &box);
  EXPECT_EQ(box.right, 4);
  EXPECT_FALSE(RestoreDC(c.dc, 1)) << "nothing left to restore";
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(SavedStates, ASavedStateHoldsItsObjectsUntilRestoredOrTheDCGoes) {
  const std::size_t objects = platform::gdi::ObjectTable::instance().objectCount();
  MemoryCanvas c(4, 4);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ oldBrush = SelectObject(c.dc, blue);
  ASSERT_EQ(SaveDC(c.dc), 1);
  HBITMAP other = CreateBitmap(4, 4, 1, 16, nullptr);
  HGDIOBJ saved = SelectObject(c.dc, other);
  EXPECT_EQ(saved, c.bitmap);
  SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
  EXPECT_TRUE(DeleteObject(blue)) << "only the saved state holds it";
  EXPECT_EQ(GetObjectType(blue), 0u);

  EXPECT_TRUE(RestoreDC(c.dc, 1));
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BRUSH), blue) << "the saved state still draws with it";
  EXPECT_TRUE(PatBlt(c.dc, 0, 0, 4, 4, PATCOPY));
  EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(0, 0, 255));
  EXPECT_EQ(GetCurrentObject(c.dc, OBJ_BITMAP), c.bitmap);
  EXPECT_FALSE(DeleteObject(c.bitmap)) << "selected again";
  EXPECT_TRUE(DeleteObject(other)) << "no longer selected";
  SelectObject(c.dc, oldBrush);

  // A DC deleted with states still saved lets go of their objects too.
  HDC dc = CreateCompatibleDC(nullptr);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  SaveDC(dc);
  SaveDC(dc);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(platform::gdi::ObjectTable::instance().objectCount(), objects + 1) << "only the canvas bitmap is left";
}

TEST(Objects, DeletingASelectedObjectWaitsForTheDC) {
  MemoryCanvas c(4, 4);
  HBRUSH brush = CreateSolidBrush(RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(c.dc, brush);
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(PatBlt(c.dc, 0, 0, 4, 4, PATCOPY));
  EXPECT_EQ(GetPixel(c.dc, 1, 1), RGB(0, 0, 255)) << "still drawn with the deleted brush";
  EXPECT_EQ(GetObjectType(brush), 0u) << "but the handle is gone for the program";
  SelectObject(c.dc, old);

  HBITMAP other = CreateBitmap(2, 2, 1, 16, nullptr);
  HDC second = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(second, c.bitmap), nullptr) << "a bitmap lives in one DC at a time";
  EXPECT_FALSE(DeleteObject(c.bitmap)) << "a selected bitmap cannot be deleted";
  EXPECT_NE(SelectObject(second, other), nullptr);
  DeleteDC(second);
  EXPECT_TRUE(DeleteObject(other));
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
  EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), static_cast<DWORD>(OBJ_PEN));
}

TEST(Objects, GetObjectDescribesPensBrushesAndBitmaps) {
  HPEN pen = CreatePen(PS_DASH, 0, RGB(1, 2, 3));
  LOGPEN lp{};
  EXPECT_EQ(GetObjectW(pen, sizeof(lp), &lp), static_cast<int>(sizeof(lp)));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(lp.lopnWidth.x, 1);
  EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
  DeleteObject(pen);

  HBITMAP ddb = CreateCompatibleBitmap(nullptr, 7, 3);
  BITMAP bm{};
  EXPECT_EQ(GetObjectW(ddb, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
  EXPECT_EQ(bm.bmWidth, 7);
  EXPECT_EQ(bm.bmHeight, 3);
  EXPECT_EQ(bm.bmBitsPixel, 16);
  EXPECT_EQ(bm.bmWidthBytes, 14);
  EXPECT_EQ(bm.bmBits, nullptr);
  DeleteObject(ddb);

  EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 16);
  EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSY), 96);
}

TEST(Objects, CompatibleBitmapOfAFreshMemoryDCIsMonochrome) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(dc, 8, 8);
  BITMAP bm{};
  GetObjectW(mono, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  HGDIOBJ old = SelectObject(dc, mono);
  EXPECT_EQ(SetPixel(dc, 0, 0, RGB(200, 200, 200)), RGB(255, 255, 255));
  EXPECT_EQ(SetPixel(dc, 1, 0, RGB(50, 60, 70)), RGB(0, 0, 0));
  SelectObject(dc, old);
  DeleteObject(mono);
  DeleteDC(dc);
}

TEST(Lines, DashedPenLeavesGapsFilledOnlyWhenOpaque) {
  MemoryCanvas c(60, 2);
  c.fill(kWhite, RECT{0, 0, 60, 2});
  HPEN dash = CreatePen(PS_DASH, 1, kBlack);
  HGDIOBJ old = SelectObject(c.dc, dash);
  SetBkMode(c.dc, TRANSPARENT);
  MoveToEx(c.dc, 0, 0, nullptr);
  LineTo(c.dc, 60, 0);
  EXPECT_EQ(inkCount(c.dc, RECT{0, 0, 60, 1}, kWhite), 18 + 18 + 12);
  EXPECT_EQ(GetPixel(c.dc, 20, 0), kWhite);
  SetBkMode(c.dc, OPAQUE);
  SetBkColor(c.dc, RGB(255, 0, 0));
  MoveToEx(c.dc, 0, 1, nullptr);
  LineTo(c.dc, 60, 1);
  EXPECT_EQ(GetPixel(c.dc, 20, 1), RGB(255, 0, 0));
  SelectObject(c.dc, old);
  DeleteObject(dash);
}

}  // namespace
