// A screen twice the size of the layout's images: the main screen's list is covered everywhere,
// by the stretched background, the repeated stripes and a full-width selection bar.
#include <gtest/gtest.h>

#include <vector>

#include "tests/app/AppHarness.h"

namespace pellucard::testing {
namespace {

class HighResolutionTest : public ::testing::Test {
 protected:
  HighResolutionTest() : app(platform::Edition::PocketPc, 480, 640) {}
  AppHarness app;
};

// The image's pixels, row by row, read through a memory DC.
std::vector<COLORREF> pixelsOf(ImageEntry& entry) {
  std::vector<COLORREF> pixels;
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(memory, entry.colour.handle());
  for (int y = 0; y < entry.colour.height(); ++y) {
    for (int x = 0; x < entry.colour.width(); ++x) pixels.push_back(GetPixel(memory, x, y));
  }
  SelectObject(memory, previous);
  DeleteDC(memory);
  return pixels;
}

// The screen and the 16-bit image widen their channels with different rounding.
bool sameColour(COLORREF a, COLORREF b) {
  auto near = [](int p, int q) { return p - q <= 3 && q - p <= 3; };
  return near(GetRValue(a), GetRValue(b)) && near(GetGValue(a), GetGValue(b)) && near(GetBValue(a), GetBValue(b));
}

TEST_F(HighResolutionTest, TheFriendListIsCoveredAcrossTheWholeScreen) {
  app.addFriend(u"Anna", u"Berg");
  app.addFriend(u"Bo", u"Ek");
  app.addFriend(u"Cy", u"Fors");
  app.start();
  const std::vector<RecordId> rows = app.rows(ListKind::Friends);
  ASSERT_EQ(rows.size(), 3u);
  RECT rect{};
  GetWindowRect(app.listWindow(ListKind::Friends), &rect);
  ASSERT_GT(rect.right - rect.left, 400) << "the list spans the wide screen";
  ASSERT_GT(rect.bottom - rect.top, 400);

  // Below the rows: the background stretched to the screen's size, with no unpainted pixel.
  ImageEntry* background = ImageCache::instance().loadedEntry(ImageCache::kBackground);
  ASSERT_TRUE(background != nullptr && background->colour);
  ASSERT_EQ(background->colour.width(), 240);
  const std::vector<COLORREF> image = pixelsOf(*background);
  // Rows are as high as the stripe; with three rows there is no scroll bar.
  ImageEntry* stripe = ImageCache::instance().loadedEntry(ImageCache::kRowStripe);
  ASSERT_TRUE(stripe != nullptr && stripe->colour);
  const int h = stripe->colour.height();
  const int rowsEnd = rect.top + 3 * h;
  int unpainted = 0;
  int different = 0;
  for (int y = rowsEnd; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      const COLORREF shown = app.device().pixel(x, y);
      if (shown == RGB(0, 0, 0)) ++unpainted;
      if (!sameColour(shown, image[((y - rect.top) / 2) * 240 + (x - rect.left) / 2])) ++different;
    }
  }
  EXPECT_EQ(unpainted, 0);
  EXPECT_EQ(different, 0);

  // The rows reach the right edge: no black beyond the short names, and the selected row's
  // bar shows at its far end too.
  for (int row = 0; row < 3; ++row) {
    const int y = rect.top + row * h;
    for (int x = rect.left + (rect.right - rect.left) - 80; x < rect.left + (rect.right - rect.left); ++x) {
      for (int dy = 0; dy < h; ++dy) ASSERT_NE(app.device().pixel(x, y + dy), RGB(0, 0, 0)) << x << "," << y + dy;
    }
  }
  ASSERT_EQ(app.selectedRow(ListKind::Friends), rows[0]);
  const int farX = rect.left + (rect.right - rect.left) - 30;
  EXPECT_NE(app.device().pixel(farX, rect.top + h / 2), app.device().pixel(farX, rect.top + h + h / 2))
      << "the selection bar is drawn across the wide row";
}

}  // namespace
}  // namespace pellucard::testing
