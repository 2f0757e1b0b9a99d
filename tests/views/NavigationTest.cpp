// Moving the selection: wrap-around on a fresh press, auto-repeat that stops at the ends, page
// jumps after a 2.5 second hold on the virtual clock, and the notifications to the owner.
#include <gtest/gtest.h>

#include "platform/sys/WinBase.h"
#include "tests/views/ListFixture.h"

namespace pellucard::testing {
namespace {

class Navigation : public ListFixture {
 protected:
  void makeFriends(int n) {
    for (int i = 0; i < n; ++i) {
      const std::u16string number = platform::toUtf16(std::to_string(100 + i));
      addFriend(u"Friend", number);
    }
    makeList(ListKind::Friends);
    fillFromStore();
  }
  bool selectionVisible() const {
    const int top = static_cast<int>(SendMessageW(list->hwnd(), LVM_GETTOPINDEX, 0, 0));
    const int page = static_cast<int>(SendMessageW(list->hwnd(), LVM_GETCOUNTPERPAGE, 0, 0));
    const int s = list->selectedIndex();
    return s >= top && s < top + page;
  }
};

TEST_F(Navigation, FreshPressesWrapAroundBothEnds) {
  makeFriends(20);
  ASSERT_EQ(list->selectedIndex(), 0);
  device->key(VK_UP);
  EXPECT_EQ(list->selectedIndex(), 19);
  EXPECT_TRUE(selectionVisible());
  EXPECT_TRUE(find("Friend 119"));
  device->key(VK_DOWN);
  EXPECT_EQ(list->selectedIndex(), 0);
  EXPECT_TRUE(selectionVisible());
  EXPECT_TRUE(find("Friend 100"));
  device->key(VK_DOWN);
  EXPECT_EQ(list->selectedIndex(), 1);
}

TEST_F(Navigation, AutoRepeatStopsAtTheEndAndANewPressWraps) {
  makeFriends(12);
  device->keyDown(VK_DOWN);
  for (int i = 0; i < 14; ++i) {
    device->advance(100);
    device->keyDown(VK_DOWN, true);
  }
  EXPECT_EQ(list->selectedIndex(), 11);
  device->keyUp(VK_DOWN);
  device->key(VK_DOWN);
  EXPECT_EQ(list->selectedIndex(), 0);
  // Held up at the top: the first press wraps, the repeats walk up from the bottom.
  device->keyDown(VK_UP);
  EXPECT_EQ(list->selectedIndex(), 11);
  device->advance(100);
  device->keyDown(VK_UP, true);
  EXPECT_EQ(list->selectedIndex(), 10);
  device->keyUp(VK_UP);
}

TEST_F(Navigation, HoldingAnArrowJumpsByPagesAfterTwoAndAHalfSeconds) {
  makeFriends(60);
  const int page = static_cast<int>(SendMessageW(list->hwnd(), LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_EQ(page, 8);
  device->keyDown(VK_DOWN);
  for (int i = 0; i < 25; ++i) {
    device->advance(100);
    device->keyDown(VK_DOWN, true);
  }
  // 2500 ms after the first notification: still one row per repeat.
  EXPECT_EQ(list->selectedIndex(), 26);
  const DWORD before = GetTickCount();
  device->advance(100);
  device->keyDown(VK_DOWN, true);
  EXPECT_EQ(list->selectedIndex(), 26 + page);
  EXPECT_EQ(GetTickCount() - before, 100u + 150u);  // each page step pauses 150 ms
  EXPECT_TRUE(selectionVisible());
  device->keyDown(VK_DOWN, true);
  EXPECT_EQ(list->selectedIndex(), 26 + 2 * page);
  for (int i = 0; i < 5; ++i) device->keyDown(VK_DOWN, true);
  EXPECT_EQ(list->selectedIndex(), 59);  // clamped at the last row, no wrap while held
  EXPECT_TRUE(find("Friend 159"));
  device->keyUp(VK_DOWN);

  // Upward from the middle, after the hold: a page per repeat, down to row 0.
  list->select(20);
  device->runUntilIdle();
  device->keyDown(VK_UP);
  EXPECT_EQ(list->selectedIndex(), 19);
  device->advance(2600);
  device->keyDown(VK_UP, true);
  EXPECT_EQ(list->selectedIndex(), 19 - page);
  device->keyDown(VK_UP, true);
  EXPECT_EQ(list->selectedIndex(), 19 - 2 * page);
  device->keyDown(VK_UP, true);
  EXPECT_EQ(list->selectedIndex(), 0);
  EXPECT_TRUE(selectionVisible());
  device->keyUp(VK_UP);
}

TEST_F(Navigation, SelectionChangesAreReportedToTheOwner) {
  makeFriends(3);
  platform::testing::MessageLog& log = platform::testing::MessageLog::instance();
  log.clear();
  device->key(VK_DOWN);
  EXPECT_FALSE(log.messages(UM_SELCHANGED).empty());
  EXPECT_EQ(list->selectedRecordId(), list->recordIdAt(1));
  log.clear();
  device->tap(100, 36 * 2 + 10);
  EXPECT_EQ(list->selectedIndex(), 2);
  EXPECT_FALSE(log.messages(UM_SELCHANGED).empty());
}

TEST_F(Navigation, ScrolledRowsAreRepaintedFromTheirRecords) {
  makeFriends(30);
  for (int i = 0; i < 10; ++i) device->key(VK_DOWN);
  EXPECT_EQ(list->selectedIndex(), 10);
  const int top = static_cast<int>(SendMessageW(list->hwnd(), LVM_GETTOPINDEX, 0, 0));
  EXPECT_EQ(top, 3);
  // What is on screen is rows 3 to 10, each at its place.
  const std::optional<Drawn> first = find("Friend 103");
  ASSERT_TRUE(first);
  EXPECT_LT(first->rect.top, 36);
  EXPECT_FALSE(find("Friend 102"));
  EXPECT_TRUE(find("Friend 110"));
}

}  // namespace
}  // namespace pellucard::testing
