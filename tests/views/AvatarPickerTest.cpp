// The avatar picker: its grid of the layout's cells, the framed selection, the arrows with their
// wraps (kept within the avatars whatever the grid's shape), taps, Enter and Done, "Select
// Picture" through the file chooser, and rotation while it is open.
#include "views/AvatarPicker.h"

#include <gtest/gtest.h>

#include <string>

#include "forms/WindowText.h"
#include "resources/CommandIds.h"
#include "tests/views/FormScreenFixture.h"
#include "tests/views/PictureFolder.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::testing::TestDevice;

// The picker opened without a loop of its own, so that the test feeds it keys and taps.
class OpenPicker {
 public:
  OpenPicker(FormScreenDevice& device, LONG preselected) : device_(device) {
    picker.preselect(preselected);
    picker.open(device.owner(), u"Select an Avatar");
    device.runUntilIdle();
  }
  ~OpenPicker() {
    if (IsWindow(picker.hwnd())) DestroyWindow(picker.hwnd());
    device_.runUntilIdle();
  }
  int after(UINT key) {
    device_.key(key);
    return picker.selected();
  }
  // A tap on the middle of an avatar's cell.
  void tapCell(int index) {
    const RECT cell = picker.cellRect(index);
    POINT p{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
    ClientToScreen(picker.hwnd(), &p);
    device_.tap(p.x, p.y);
  }
  COLORREF pixelAt(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(picker.hwnd(), &p);
    return device_.pixel(p.x, p.y);
  }

  AvatarPicker picker;

 private:
  FormScreenDevice& device_;
};

// Equal as a screen of 16 bits a pixel shows them.
bool sameOnScreen(COLORREF a, COLORREF b) {
  const auto close = [](int x, int y) { return x - y <= 7 && y - x <= 7; };
  return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) && close(GetBValue(a), GetBValue(b));
}

class AvatarPickerTest : public ::testing::TestWithParam<Edition> {
 protected:
  FormScreenDevice device{GetParam(), 240, 320};
};

TEST_P(AvatarPickerTest, ShowsNineAvatarsInCellsOfTheLayoutWithTheSelectionFramed) {
  OpenPicker open(device, 4);
  const AvatarPicker& picker = open.picker;
  EXPECT_EQ(windowText(picker.hwnd()), u"Select an Avatar");
  EXPECT_EQ(picker.menuBarId(), 1524u);
  EXPECT_EQ(AvatarPicker::avatarCount(), 9);
  const SIZE cell = picker.cellSize();
  EXPECT_EQ(cell.cx, 80);
  EXPECT_EQ(cell.cy, device.pocketPc() ? 89 : 88) << "the layout's point P";
  EXPECT_EQ(picker.columns(), 3);
  RECT client{};
  GetClientRect(picker.hwnd(), &client);
  EXPECT_LE(picker.cellRect(8).bottom, client.bottom) << "all nine in view";

  const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  const RECT selected = picker.cellRect(4);
  EXPECT_TRUE(sameOnScreen(open.pixelAt(selected.left + 1, (selected.top + selected.bottom) / 2), highlight));
  const RECT other = picker.cellRect(0);
  EXPECT_FALSE(sameOnScreen(open.pixelAt(other.left + 2, (other.top + other.bottom) / 2), highlight));
  EXPECT_EQ(open.pixelAt(cell.cx, client.bottom - 1), RGB(0, 0, 0)) << "the line between the columns";
  EXPECT_EQ(open.pixelAt(client.right - 1, cell.cy), RGB(0, 0, 0)) << "the line between the rows";
  EXPECT_EQ(GetFocus(), picker.hwnd()) << "the grid takes the keys";
}

TEST_P(AvatarPickerTest, ArrowsWrapWithinTheRowAndTheColumn) {
  OpenPicker open(device, 0);
  EXPECT_EQ(open.after(VK_LEFT), 2);
  EXPECT_EQ(open.after(VK_RIGHT), 0) << "from the last column to the first of the row";
  EXPECT_EQ(open.after(VK_RIGHT), 1);
  EXPECT_EQ(open.after(VK_UP), 7) << "from the first row two rows down";
  EXPECT_EQ(open.after(VK_DOWN), 1) << "from the last row back to the first";
  EXPECT_EQ(open.after(VK_DOWN), 4);
  EXPECT_EQ(open.after(VK_UP), 1);
  device.key(VK_RETURN);
  EXPECT_EQ(open.picker.result(), IDOK);
  EXPECT_EQ(open.picker.chosen(), 1);
  EXPECT_TRUE(open.picker.picturePath().empty());
}

TEST_P(AvatarPickerTest, ATapSelectsAnAvatarAndATapBesideTheAvatarsNothing) {
  OpenPicker open(device, 0);
  open.tapCell(5);
  EXPECT_EQ(open.picker.selected(), 5);
  RECT client{};
  GetClientRect(open.picker.hwnd(), &client);
  POINT below{10, open.picker.cellRect(8).bottom + 1};
  if (below.y < client.bottom) {
    ClientToScreen(open.picker.hwnd(), &below);
    device.tap(below.x, below.y);
    EXPECT_EQ(open.picker.selected(), 5) << "no avatar there";
  }
  device.key(VK_F1);  // Done
  EXPECT_EQ(open.picker.result(), IDOK);
  EXPECT_EQ(open.picker.chosen(), 5);
}

TEST_P(AvatarPickerTest, AnIndexThatNamesNoAvatarOpensOnTheFirst) {
  for (LONG index : {-1L, 9L, 100L}) {
    AvatarPicker picker;
    picker.preselect(index);
    EXPECT_EQ(picker.selected(), 0) << index;
  }
  AvatarPicker last;
  last.preselect(8);
  EXPECT_EQ(last.selected(), 8);
}

TEST_P(AvatarPickerTest, CancelAndBackChooseNothing) {
  device.addStep([] { TestDevice::postKey(VK_RIGHT); });
  device.addStep([this] { TestDevice::postKey(device.pocketPc() ? VK_F2 : VK_ESCAPE); });
  if (device.pocketPc()) device.addStep([] { TestDevice::postKey(VK_UP); });  // "Cancel", the menu's last
  if (device.pocketPc()) device.addStep([] { TestDevice::postKey(VK_RETURN); });
  AvatarPicker picker;
  EXPECT_EQ(picker.run(device.owner()), IDCANCEL);
  EXPECT_EQ(picker.chosen(), AvatarPicker::kPictureFile) << "unchanged";
}

TEST_P(AvatarPickerTest, RotatingTakesTheCellsOfTheNewLayout) {
  OpenPicker open(device, 8);
  device.rotate();
  device.runUntilIdle();
  EXPECT_EQ(open.picker.cellSize().cx, 106);
  EXPECT_EQ(open.picker.cellSize().cy, 62);
  EXPECT_EQ(open.picker.columns(), 3);
  RECT client{};
  GetClientRect(open.picker.hwnd(), &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_LE(open.picker.cellRect(8).bottom, client.bottom);
  const RECT selected = open.picker.cellRect(8);
  EXPECT_TRUE(sameOnScreen(open.pixelAt(selected.left + 1, (selected.top + selected.bottom) / 2),
                           GetSysColor(COLOR_HIGHLIGHT)));
  EXPECT_EQ(open.after(VK_RIGHT), 6);
}

INSTANTIATE_TEST_SUITE_P(Editions, AvatarPickerTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

// A Smartphone of 176 pixels holds two columns of the portrait cells: five rows, the last with one
// avatar. Up and Down still go round within the avatars, and the grid scrolls to the selection.
TEST(AvatarPickerSmallScreenTest, UpAndDownStayWithinTheAvatarsOfANarrowGrid) {
  FormScreenDevice device(Edition::Smartphone, 176, 220);
  OpenPicker open(device, 0);
  ASSERT_EQ(open.picker.columns(), 2);
  RECT client{};
  GetClientRect(open.picker.hwnd(), &client);
  const auto inView = [&] {
    const RECT r = open.picker.cellRect(open.picker.selected());
    return r.top >= 0 && r.bottom <= client.bottom;
  };
  EXPECT_EQ(open.after(VK_UP), 8) << "the lowest avatar of the column";
  EXPECT_TRUE(inView());
  EXPECT_EQ(open.after(VK_DOWN), 0);
  EXPECT_TRUE(inView());
  EXPECT_EQ(open.after(VK_RIGHT), 1);
  EXPECT_EQ(open.after(VK_UP), 7) << "column 1 ends a row higher";
  EXPECT_EQ(open.after(VK_DOWN), 1);
  open.picker.preselect(8);
  EXPECT_EQ(open.after(VK_RIGHT), 8) << "the last row holds one avatar";
  EXPECT_EQ(open.after(VK_LEFT), 8);
  EXPECT_TRUE(inView());
  open.tapCell(8);
  EXPECT_EQ(open.picker.selected(), 8);
}

// "Select Picture" in the menu opens the file chooser in thumbnails; Cancel there keeps the
// picker open, a picked file ends it with the file and no avatar.
TEST(AvatarPickerFileTest, SelectPictureReturnsTheChosenFileAndCancelStaysInThePicker) {
  PictureFolder folder;
  ASSERT_TRUE(folder.addJpeg("face.jpg", 4, 4));
  FormScreenDevice device(Edition::PocketPc, 240, 320);
  std::u16string chooserTitle;
  device.addStep([] { PostMessageW(GetActiveWindow(), WM_COMMAND, ID_AVATAR_SELECT_PICTURE, 0); });
  device.addStep([&] {
    chooserTitle = windowText(GetActiveWindow());
    TestDevice::postKey(VK_F2);  // Cancel in the chooser
  });
  device.addStep([&] {
    EXPECT_EQ(windowText(GetActiveWindow()), u"Select an Avatar") << "still in the picker";
    PostMessageW(GetActiveWindow(), WM_COMMAND, ID_AVATAR_SELECT_PICTURE, 0);
  });
  device.addStep([] { PictureFolder::postPick(u"face.jpg"); });
  AvatarPicker picker;
  picker.preselect(3);
  EXPECT_EQ(picker.run(device.owner()), IDOK);
  EXPECT_EQ(chooserTitle, u"Select Picture");
  EXPECT_EQ(picker.chosen(), AvatarPicker::kPictureFile);
  EXPECT_EQ(picker.picturePath(), PictureFolder::devicePath("face.jpg"));
}

}  // namespace
}  // namespace pellucard::testing
