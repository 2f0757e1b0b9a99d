// The drawing scope objects: what they select comes back out, and what they own goes.
#include <gtest/gtest.h>

#include "platform/gdi/MemoryDc.h"
#include "tests/gdi/GdiTestSupport.h"

namespace {

using platform::gdi::MemoryDc;
using platform::gdi::SavedDcState;
using platform::gdi::SelectedObject;

TEST(MemoryDc, DoubleBuffersIntoATargetAndReleasesItsBitmap) {
  MemoryCanvas screen(20, 10);
  screen.fill(RGB(255, 255, 255), RECT{0, 0, 20, 10});
  HBITMAP made = nullptr;
  {
    MemoryDc buffer(screen.dc, 8, 4);
    ASSERT_TRUE(buffer);
    EXPECT_EQ(buffer.width(), 8);
    EXPECT_EQ(buffer.height(), 4);
    made = buffer.bitmap();
    BITMAP info{};
    ASSERT_EQ(GetObjectW(made, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmBitsPixel, 16) << "compatible with the target, not the fresh memory DC";
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{0, 0, 8, 4};
    FillRect(buffer.dc(), &all, red);
    DeleteObject(red);
    EXPECT_TRUE(buffer.copyTo(screen.dc, 10, 3));
  }
  EXPECT_EQ(inkCount(screen.dc, RECT{0, 0, 20, 10}, RGB(255, 255, 255)), 32);
  EXPECT_EQ(inkBounds(screen.dc, RECT{0, 0, 20, 10}, RGB(255, 255, 255)).left, 10);
  EXPECT_FALSE(DeleteObject(made)) << "its own bitmap is gone with it";
}

TEST(MemoryDc, LendsABorrowedBitmapBackUnselected) {
  HBITMAP picture = CreateBitmap(5, 6, 1, 16, nullptr);
  {
    MemoryDc dc(nullptr, picture);
    ASSERT_TRUE(dc);
    EXPECT_EQ(dc.width(), 5);
    EXPECT_EQ(dc.height(), 6);
    EXPECT_FALSE(DeleteObject(picture)) << "a selected bitmap cannot be deleted";
  }
  EXPECT_TRUE(DeleteObject(picture));
  MemoryDc none(nullptr, nullptr);
  EXPECT_FALSE(none);
  EXPECT_FALSE(none.copyTo(nullptr, 0, 0));
}

TEST(MemoryDc, SelectedObjectsAndSavedStateComeBack) {
  MemoryCanvas canvas(4, 4);
  const HGDIOBJ font = GetCurrentObject(canvas.dc, OBJ_FONT);
  LOGFONTW description{};
  description.lfHeight = 14;
  description.lfWeight = FW_BOLD;
  HFONT bold = CreateFontIndirectW(&description);
  {
    SelectedObject selected(canvas.dc, bold);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), bold);
    SelectedObject nothing(canvas.dc, nullptr);
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), bold);
  }
  EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_FONT), font);
  DeleteObject(bold);

  SetTextColor(canvas.dc, RGB(1, 2, 3));
  {
    SavedDcState saved(canvas.dc);
    SetTextColor(canvas.dc, RGB(9, 9, 9));
    SetBkMode(canvas.dc, TRANSPARENT);
  }
  EXPECT_EQ(GetTextColor(canvas.dc), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(canvas.dc), OPAQUE);
}

}  // namespace
