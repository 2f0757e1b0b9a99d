#include <gtest/gtest.h>

#include <limits>

#include "platform/base/WinError.h"
#include "tests/gdi/GdiTestSupport.h"

namespace {

HDC bogusDC() { return reinterpret_cast<HDC>(0xDEAD0); }

TEST(InvalidHandles, DCCallsFailWithTheDocumentedValues) {
  HDC dc = bogusDC();
  RECT r{0, 0, 10, 10};
  SIZE size{};
  TEXTMETRICW tm{};
  SetLastError(0);
  EXPECT_EQ(CreateCompatibleDC(dc), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(DeleteDC(dc));
  EXPECT_EQ(SaveDC(dc), 0);
  EXPECT_FALSE(RestoreDC(dc, -1));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
  EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
  EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
  EXPECT_EQ(SetBkMode(dc, TRANSPARENT), 0);
  EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
  EXPECT_EQ(SetPixel(dc, 0, 0, 0), CLR_INVALID);
  EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
  EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, BLACKNESS));
  EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0);
  EXPECT_FALSE(Rectangle(dc, 0, 0, 1, 1));
  EXPECT_FALSE(LineTo(dc, 1, 1));
  EXPECT_EQ(DrawTextW(dc, u"x", -1, &r, 0), 0);
  EXPECT_FALSE(ExtTextOutW(dc, 0, 0, 0, nullptr, u"x", 1, nullptr));
  EXPECT_FALSE(GetTextExtentPoint32W(dc, u"x", 1, &size));
  EXPECT_FALSE(GetTextMetricsW(dc, &tm));
  EXPECT_EQ(GetClipBox(dc, &r), ERROR);
  EXPECT_EQ(IntersectClipRect(dc, 0, 0, 1, 1), ERROR);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 0);
  EXPECT_EQ(CreateCompatibleBitmap(dc, 4, 4), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(InvalidHandles, ObjectCallsFailAndStaleHandlesStayInvalid) {
  SetLastError(0);
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(0x12345678)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush)) << "deleted once only";
  LOGBRUSH lb{};
  EXPECT_EQ(GetObjectW(brush, sizeof(lb), &lb), 0);
  HBRUSH next = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_NE(next, brush) << "handles are not reused";
  DeleteObject(next);

  MemoryCanvas canvas(4, 4);
  RECT r{0, 0, 4, 4};
  EXPECT_EQ(FillRect(canvas.dc, &r, brush), 0);
  EXPECT_EQ(SelectObject(canvas.dc, brush), nullptr);
  EXPECT_EQ(FillRect(canvas.dc, nullptr, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0);
  EXPECT_EQ(DrawTextW(canvas.dc, nullptr, 1, &r, 0), 0);
  EXPECT_EQ(DrawTextW(canvas.dc, u"x", 1, nullptr, 0), 0);
  EXPECT_FALSE(BitBlt(canvas.dc, 0, 0, 1, 1, bogusDC(), 0, 0, SRCCOPY));
  EXPECT_FALSE(TransparentBlt(canvas.dc, 0, 0, 1, 1, bogusDC(), 0, 0, 1, 1, 0));
  EXPECT_EQ(SelectClipRgn(canvas.dc, reinterpret_cast<HRGN>(0x999990)), ERROR);
  EXPECT_EQ(CreatePen(42, 1, 0), nullptr);
  EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
  EXPECT_EQ(GetStockObject(99), nullptr);
  EXPECT_EQ(CreateBitmap(-1, 4, 1, 16, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(4, 4, 1, 7, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(CombineRgn(nullptr, nullptr, nullptr, RGN_OR), ERROR);
}

TEST(RectHelpers, BehaveAsOnWin32) {
  RECT a{0, 0, 10, 10}, b{5, 5, 20, 20}, out{};
  EXPECT_TRUE(IntersectRect(&out, &a, &b));
  const RECT expected{5, 5, 10, 10};
  EXPECT_TRUE(EqualRect(&out, &expected));
  EXPECT_EQ(out.left, 5);
  EXPECT_EQ(out.right, 10);
  RECT far{30, 30, 40, 40};
  EXPECT_FALSE(IntersectRect(&out, &a, &far));
  EXPECT_TRUE(IsRectEmpty(&out));
  EXPECT_TRUE(UnionRect(&out, &a, &far));
  EXPECT_EQ(out.right, 40);
  RECT cut{0, 0, 10, 4};
  EXPECT_TRUE(SubtractRect(&out, &a, &cut));
  EXPECT_EQ(out.top, 4);
  EXPECT_TRUE(PtInRect(&a, POINT{0, 0}));
  EXPECT_FALSE(PtInRect(&a, POINT{10, 5}));
  EXPECT_TRUE(InflateRect(&a, 1, 2));
  EXPECT_EQ(a.left, -1);
  EXPECT_EQ(a.bottom, 12);
  EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
}

TEST(BadArguments, ExtremeCoordinatesAreClippedQuickly) {
  platform::gdi::initScreen(240, 320);
  HDC dc = platform::gdi::createWindowDC(reinterpret_cast<HWND>(0x7000), POINT{10, 30}, {RECT{10, 30, 230, 300}});
  constexpr int lo = std::numeric_limits<int>::min(), hi = std::numeric_limits<int>::max();
  RECT huge{lo, lo, hi, hi};
  EXPECT_NE(FillRect(dc, &huge, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))), 0);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, hi, hi), CLR_INVALID);
  EXPECT_TRUE(Ellipse(dc, lo, lo, hi, hi));
  EXPECT_TRUE(RoundRect(dc, lo, lo, hi, hi, hi, hi));
  EXPECT_TRUE(Rectangle(dc, lo, lo, hi, hi));
  EXPECT_TRUE(DrawFocusRect(dc, &huge));
  EXPECT_TRUE(InvertRect(dc, &huge));
  EXPECT_NE(FrameRect(dc, &huge, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
  EXPECT_TRUE(InvertRect(dc, &huge));
  MoveToEx(dc, lo, lo, nullptr);
  EXPECT_TRUE(LineTo(dc, hi, hi));
  EXPECT_EQ(GetPixel(dc, 100, 100), RGB(0, 0, 0)) << "the diagonal crosses the window";
  HPEN wide = CreatePen(PS_SOLID, 1000, RGB(0, 0, 255));
  HGDIOBJ old = SelectObject(dc, wide);
  EXPECT_TRUE(LineTo(dc, lo, 0));
  SelectObject(dc, old);
  DeleteObject(wide);
  EXPECT_TRUE(PatBlt(dc, hi, hi, hi, hi, WHITENESS));
  EXPECT_TRUE(PatBlt(dc, lo, lo, hi, hi, BLACKNESS));
  MemoryCanvas source(8, 8);
  EXPECT_TRUE(BitBlt(dc, lo, lo, hi, hi, source.dc, hi, lo, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dc, 0, 0, hi, hi, source.dc, 0, 0, 1, 1, SRCCOPY));
  EXPECT_TRUE(StretchBlt(dc, 0, 0, 10, 10, source.dc, lo, lo, hi, hi, SRCCOPY));
  SetStretchBltMode(dc, HALFTONE);
  EXPECT_TRUE(StretchBlt(dc, 0, 0, 2, 2, source.dc, 0, 0, 8, 8, SRCCOPY));
  EXPECT_TRUE(TransparentBlt(dc, lo, lo, hi, hi, source.dc, 0, 0, hi, hi, 0));
  EXPECT_NE(DrawTextW(dc, u"Far away", -1, &huge, DT_CENTER | DT_VCENTER | DT_WORDBREAK), 0);
  RECT inverted{100, 100, 0, 0};
  EXPECT_EQ(DrawTextW(dc, u"Nowhere", -1, &inverted, 0), 12);
  EXPECT_TRUE(ExtTextOutW(dc, hi, hi, ETO_OPAQUE | ETO_CLIPPED, &huge, u"x", 1, nullptr));
  EXPECT_EQ(IntersectClipRect(dc, hi, hi, lo, lo), NULLREGION);
  EXPECT_TRUE(Ellipse(dc, 0, 0, 50, 50));
  platform::gdi::releaseWindowDC(dc);
  platform::gdi::forgetWindow(reinterpret_cast<HWND>(0x7000));
}

}  // namespace
