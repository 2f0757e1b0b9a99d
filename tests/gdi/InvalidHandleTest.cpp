#include <gtest/gtest.h>

#include "platform/win/WinError.h"
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

}  // namespace
