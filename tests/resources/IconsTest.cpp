// The program's built-in icons load at the sizes they are drawn for, with masks.
#include <gtest/gtest.h>

#include "platform/base/ResourceTable.h"
#include "platform/gdi/IconFile.h"
#include "platform/gdi/IconTable.h"
#include "platform/gdi/WinIcon.h"
#include "resources/Icons.h"

namespace {

using platform::gdi::IconImage;
using platform::gdi::IconTable;

const IconImage* load(UINT id, int size) {
  HANDLE icon = LoadImageW(nullptr, MAKEINTRESOURCE(id), IMAGE_ICON, size, size, 0);
  return icon != nullptr ? IconTable::instance().find(static_cast<HICON>(icon)) : nullptr;
}

TEST(IconsTest, EveryIconHasSixteenAndThirtyTwoPixelPicturesTransparentAroundTheShape) {
  platform::ResourceTable::instance().clear();
  pellucard::registerIcons();
  for (UINT id : {pellucard::IDI_PELLUCARD, pellucard::IDI_FOLDER, pellucard::IDI_FOLDER_OPEN, pellucard::IDI_FILE,
                  pellucard::IDI_BACKUP_FILE}) {
    for (int size : {16, 32}) {
      const IconImage* picture = load(id, size);
      ASSERT_NE(picture, nullptr) << id << " at " << size;
      EXPECT_EQ(picture->width(), size);
      EXPECT_TRUE(picture->hasAlpha());
      int opaque = 0;
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) opaque += picture->transparent(x, y) ? 0 : 1;
      }
      // A shape, not a square: something is masked out, and most of the picture is not.
      EXPECT_GT(opaque, size * size / 2) << id << " at " << size;
      EXPECT_LT(opaque, size * size) << id << " at " << size;
      EXPECT_TRUE(picture->transparent(0, 0)) << id << " at " << size << ": the corner shows the background";
    }
  }
  // The application icon also comes at 48 and 64 pixels (64 is the icon size of VGA screens).
  std::vector<int> widths;
  for (const IconImage& picture : platform::gdi::IconFile::read(
           platform::ResourceTable::instance().findImage(u"ICON", pellucard::IDI_PELLUCARD))) {
    widths.push_back(picture.width());
  }
  EXPECT_EQ(widths, (std::vector<int>{16, 32, 48, 64}));
}

}  // namespace
