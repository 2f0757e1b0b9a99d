#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "platform/base/WinError.h"
#include "tests/gdi/GdiTestSupport.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

class Text : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::gdi::initScreen(240, 320);
    canvas.fill(kWhite, RECT{0, 0, 200, 100});
    SetBkMode(canvas.dc, TRANSPARENT);
  }
  int width(const std::u16string& s) {
    SIZE size{};
    GetTextExtentPoint32W(canvas.dc, s.c_str(), static_cast<int>(s.size()), &size);
    return size.cx;
  }
  MemoryCanvas canvas{200, 100};
};

TEST_F(Text, SystemFontIsTwelvePixelsHighOnAQuarterVgaScreen) {
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(canvas.dc, &tm));
  EXPECT_EQ(tm.tmHeight, 12);
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, 12);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);
  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  EXPECT_EQ(lf.lfHeight, 12);
  SIZE size{};
  ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc, u"Hello", 5, &size));
  EXPECT_EQ(size.cy, 12);
  EXPECT_GT(size.cx, 20);
  EXPECT_LT(size.cx, 40);
}

TEST_F(Text, FontHeightsFollowTheLogfontRules) {
  LOGFONTW lf{};
  lf.lfHeight = -20;  // character height: the em
  HFONT em = CreateFontIndirectW(&lf);
  lf.lfHeight = 20;  // cell height
  lf.lfWeight = FW_BOLD;
  HFONT cell = CreateFontIndirectW(&lf);
  TEXTMETRICW tm{};
  HGDIOBJ old = SelectObject(canvas.dc, em);
  GetTextMetricsW(canvas.dc, &tm);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 20);
  const int regular = width(u"Wide words");
  SelectObject(canvas.dc, cell);
  GetTextMetricsW(canvas.dc, &tm);
  EXPECT_EQ(tm.tmHeight, 20);
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_NE(width(u"Wide words"), regular);
  SelectObject(canvas.dc, old);
  DeleteObject(em);
  DeleteObject(cell);
}

TEST_F(Text, AbsurdFontSizesAreBounded) {
  LOGFONTW lf{};
  lf.lfHeight = std::numeric_limits<LONG>::min();
  HFONT huge = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(canvas.dc, huge);
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(canvas.dc, &tm));
  EXPECT_LE(tm.tmHeight, 1024);
  RECT r{0, 0, 200, 100};
  EXPECT_GT(DrawTextW(canvas.dc, u"W", 1, &r, 0), 0);
  SelectObject(canvas.dc, old);
  DeleteObject(huge);
}

TEST_F(Text, DrawingIsAntialiasedAndRepeatable) {
  RECT r{0, 0, 200, 20};
  SetTextColor(canvas.dc, RGB(0, 0, 0));
  DrawTextW(canvas.dc, u"Pellucard", -1, &r, DT_LEFT | DT_SINGLELINE);
  int partial = 0, solid = 0;
  std::vector<COLORREF> first;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 80; ++x) {
      const COLORREF c = GetPixel(canvas.dc, x, y);
      first.push_back(c);
      if (GetRValue(c) < 96) ++solid;
      if (c != RGB(0, 0, 0) && c != kWhite) ++partial;
    }
  }
  EXPECT_GT(solid, 10);
  EXPECT_GT(partial, 10);
  canvas.fill(kWhite, RECT{0, 0, 200, 100});
  DrawTextW(canvas.dc, u"Pellucard", -1, &r, DT_LEFT | DT_SINGLELINE);
  std::size_t i = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 80; ++x) ASSERT_EQ(GetPixel(canvas.dc, x, y), first[i++]);
  }
}

TEST_F(Text, CalcRectMeasuresSingleAndWrappedText) {
  RECT r{10, 10, 200, 10};
  EXPECT_EQ(DrawTextW(canvas.dc, u"Hello", -1, &r, DT_CALCRECT | DT_SINGLELINE), 12);
  EXPECT_EQ(r.right, 10 + width(u"Hello"));
  EXPECT_EQ(r.bottom, 22);
  EXPECT_EQ(inkCount(canvas.dc, RECT{0, 0, 200, 100}, kWhite), 0) << "measuring draws nothing";

  const int limit = width(u"alpha beta") + 2;
  r = RECT{0, 0, limit, 0};
  EXPECT_EQ(DrawTextW(canvas.dc, u"alpha beta alpha beta", -1, &r, DT_CALCRECT | DT_WORDBREAK), 24);
  EXPECT_EQ(r.right, width(u"alpha beta"));
  EXPECT_EQ(r.bottom, 24);

  // A word longer than the line stays whole.
  r = RECT{0, 0, 10, 0};
  EXPECT_EQ(DrawTextW(canvas.dc, u"Unbreakable", -1, &r, DT_CALCRECT | DT_WORDBREAK), 12);
  EXPECT_EQ(r.right, width(u"Unbreakable"));
}

TEST_F(Text, LineBreaksEndLinesUnlessSingleLine) {
  RECT r{0, 0, 200, 0};
  EXPECT_EQ(DrawTextW(canvas.dc, u"one\r\ntwo\nthree\rfour", -1, &r, DT_CALCRECT), 48);
  EXPECT_EQ(r.right, width(u"three"));
  r = RECT{0, 0, 200, 0};
  EXPECT_EQ(DrawTextW(canvas.dc, u"one\r\n", -1, &r, DT_CALCRECT), 12) << "a final break adds no line";
  r = RECT{0, 0, 200, 0};
  EXPECT_EQ(DrawTextW(canvas.dc, u"one\r\ntwo", -1, &r, DT_CALCRECT | DT_SINGLELINE), 12);
  EXPECT_EQ(r.right, width(u"onetwo"));
}

TEST_F(Text, EllipsisShortensTextToTheRectangle) {
  const int limit = width(u"Birthday...");
  RECT r{0, 0, limit, 0};
  DrawTextW(canvas.dc, u"Birthday party", -1, &r, DT_CALCRECT | DT_END_ELLIPSIS);
  EXPECT_LE(r.right, limit);
  EXPECT_GE(r.right, width(u"Birthda..."));
  r = RECT{0, 0, limit, 0};
  DrawTextW(canvas.dc, u"Birthday party", -1, &r, DT_CALCRECT | DT_WORD_ELLIPSIS);
  EXPECT_LE(r.right, limit);
  r = RECT{0, 0, limit, 0};
  DrawTextW(canvas.dc, u"Birthday party", -1, &r, DT_CALCRECT);
  EXPECT_EQ(r.right, width(u"Birthday party")) << "without an ellipsis flag the text is not cut";
}

TEST_F(Text, AlignmentAndVerticalCentring) {
  SetTextColor(canvas.dc, RGB(0, 0, 0));
  RECT r{0, 0, 200, 60};
  EXPECT_EQ(DrawTextW(canvas.dc, u"Empty List", -1, &r, DT_CENTER | DT_VCENTER), 36);
  const RECT ink = inkBounds(canvas.dc, RECT{0, 0, 200, 60}, kWhite);
  const int w = width(u"Empty List");
  EXPECT_NEAR(ink.left, (200 - w) / 2, 2);
  EXPECT_GE(ink.top, 24);
  EXPECT_LE(ink.bottom, 36);

  canvas.fill(kWhite, RECT{0, 0, 200, 100});
  EXPECT_EQ(DrawTextW(canvas.dc, u"Right", -1, &r, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE), 60);
  const RECT right = inkBounds(canvas.dc, RECT{0, 0, 200, 60}, kWhite);
  EXPECT_GE(right.left, 200 - width(u"Right"));
  EXPECT_GE(right.top, 48);
}

TEST_F(Text, PrefixesUnderlineAndDoubleAmpersandsStay) {
  RECT r{0, 0, 200, 0};
  DrawTextW(canvas.dc, u"&Save", -1, &r, DT_CALCRECT);
  EXPECT_EQ(r.right, width(u"Save"));
  r = RECT{0, 0, 200, 0};
  DrawTextW(canvas.dc, u"A && B", -1, &r, DT_CALCRECT);
  EXPECT_EQ(r.right, width(u"A & B"));
  r = RECT{0, 0, 200, 0};
  DrawTextW(canvas.dc, u"&Save", -1, &r, DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(r.right, width(u"&Save"));

  SetTextColor(canvas.dc, RGB(0, 0, 0));
  r = RECT{0, 0, 200, 20};
  DrawTextW(canvas.dc, u"&_", -1, &r, DT_SINGLELINE | DT_HIDEPREFIX);
  const int hidden = inkCount(canvas.dc, RECT{0, 0, 200, 20}, kWhite);
  canvas.fill(kWhite, RECT{0, 0, 200, 100});
  DrawTextW(canvas.dc, u"&W", -1, &r, DT_SINGLELINE);
  const int withLine = inkCount(canvas.dc, RECT{0, 0, 200, 20}, kWhite);
  canvas.fill(kWhite, RECT{0, 0, 200, 100});
  DrawTextW(canvas.dc, u"W", -1, &r, DT_SINGLELINE);
  EXPECT_GT(withLine, inkCount(canvas.dc, RECT{0, 0, 200, 20}, kWhite)) << "the mnemonic is underlined";
  EXPECT_GT(hidden, 0);
}

TEST_F(Text, ClippingAndOpaqueBackgrounds) {
  SetTextColor(canvas.dc, RGB(0, 0, 0));
  RECT r{0, 0, 15, 12};
  DrawTextW(canvas.dc, u"Clipped text", -1, &r, DT_SINGLELINE);
  EXPECT_LE(inkBounds(canvas.dc, RECT{0, 0, 200, 100}, kWhite).right, 15);
  canvas.fill(kWhite, RECT{0, 0, 200, 100});
  DrawTextW(canvas.dc, u"Clipped text", -1, &r, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(inkBounds(canvas.dc, RECT{0, 0, 200, 100}, kWhite).right, 15);

  canvas.fill(kWhite, RECT{0, 0, 200, 100});
  SetBkMode(canvas.dc, OPAQUE);
  SetBkColor(canvas.dc, RGB(255, 255, 0));
  EXPECT_TRUE(ExtTextOutW(canvas.dc, 5, 5, 0, nullptr, u"i", 1, nullptr));
  EXPECT_EQ(GetPixel(canvas.dc, 5, 5), RGB(255, 255, 0)) << "the cell is filled first";
  // An empty opaque ExtTextOut is a plain fill.
  RECT fill{50, 50, 60, 60};
  EXPECT_TRUE(ExtTextOutW(canvas.dc, 0, 0, ETO_OPAQUE, &fill, u"", 0, nullptr));
  EXPECT_EQ(inkCount(canvas.dc, RECT{40, 40, 70, 70}, kWhite), 100);
  // ETO_CLIPPED keeps the text inside the rectangle.
  canvas.fill(kWhite, RECT{0, 0, 200, 100});
  SetBkMode(canvas.dc, TRANSPARENT);
  RECT clip{0, 0, 8, 30};
  EXPECT_TRUE(ExtTextOutW(canvas.dc, 0, 0, ETO_CLIPPED, &clip, u"Wide", 4, nullptr));
  EXPECT_LE(inkBounds(canvas.dc, RECT{0, 0, 200, 100}, kWhite).right, 8);
}

TEST_F(Text, MissingGlyphsDrawBoxesAndSurrogatePairsCountOnce) {
  // U+10FFFD (a private-use plane character) is not in the face: it is drawn as a box.
  const std::u16string missing = u"\U0010FFFD";
  ASSERT_EQ(missing.size(), 2u);
  EXPECT_GT(width(missing), 0);
  SetTextColor(canvas.dc, RGB(0, 0, 0));
  RECT r{0, 0, 100, 20};
  DrawTextW(canvas.dc, missing.c_str(), -1, &r, DT_SINGLELINE);
  EXPECT_GT(inkCount(canvas.dc, RECT{0, 0, 100, 20}, kWhite), 8);
  // A lone surrogate is measured like the replacement mark, never read past the end.
  const char16_t lone[] = {0xD800};
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32W(canvas.dc, lone, 1, &size));
  EXPECT_GT(size.cx, 0);
  // The same character as a pair and through GetTextExtentExPoint: both units share the extent.
  int fit = 0;
  int dx[2] = {};
  EXPECT_TRUE(GetTextExtentExPointW(canvas.dc, missing.c_str(), 2, 1000, &fit, dx, &size));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(dx[0], dx[1]);
  EXPECT_EQ(dx[1], size.cx);
}

TEST_F(Text, NonAntialiasedQualityDrawsOnlyWholePixels) {
  LOGFONTW lf{};
  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(lf), &lf);
  lf.lfQuality = NONANTIALIASED_QUALITY;
  HFONT sharp = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(canvas.dc, sharp);
  SetTextColor(canvas.dc, RGB(0, 0, 0));
  EXPECT_TRUE(TextOutW(canvas.dc, 0, 0, u"Sharp text", 10));
  int grey = 0, ink = 0;
  for (int y = 0; y < 14; ++y) {
    for (int x = 0; x < 80; ++x) {
      const COLORREF c = GetPixel(canvas.dc, x, y);
      grey += (c != kWhite && c != RGB(0, 0, 0)) ? 1 : 0;
      ink += c == RGB(0, 0, 0) ? 1 : 0;
    }
  }
  EXPECT_EQ(grey, 0);
  EXPECT_GT(ink, 20);
  SelectObject(canvas.dc, old);
  DeleteObject(sharp);
}

TEST_F(Text, ExtTextOutHonoursAlignmentAndExplicitAdvances) {
  SetTextColor(canvas.dc, RGB(0, 0, 0));
  const int w = width(u"Mid");
  EXPECT_EQ(SetTextAlign(canvas.dc, TA_CENTER | TA_TOP), static_cast<UINT>(TA_LEFT | TA_TOP));
  ExtTextOutW(canvas.dc, 100, 0, 0, nullptr, u"Mid", 3, nullptr);
  const RECT centred = inkBounds(canvas.dc, RECT{0, 0, 200, 20}, kWhite);
  EXPECT_GE(centred.left, 100 - w / 2 - 1);
  EXPECT_LE(centred.right, 100 + w / 2 + 2);
  SetTextAlign(canvas.dc, TA_LEFT | TA_TOP);

  canvas.fill(kWhite, RECT{0, 0, 200, 100});
  const INT spread[] = {30, 30, 30};
  ExtTextOutW(canvas.dc, 0, 0, 0, nullptr, u"lll", 3, spread);
  EXPECT_GT(inkBounds(canvas.dc, RECT{0, 0, 200, 20}, kWhite).right, 60);

  int fit = 0;
  SIZE size{};
  EXPECT_TRUE(GetTextExtentExPointW(canvas.dc, u"abcdef", 6, width(u"abc"), &fit, nullptr, &size));
  EXPECT_EQ(fit, 3);
  EXPECT_EQ(size.cx, width(u"abcdef"));
}

TEST_F(Text, WrappedLinesGetEllipsesOnlyWhereAWordIsTooLong) {
  const int limit = width(u"short words");
  RECT r{0, 0, limit, 0};
  EXPECT_EQ(DrawTextW(canvas.dc, u"short words Extraordinarily", -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_END_ELLIPSIS),
            24);
  EXPECT_LE(r.right, limit);
}

}  // namespace
