#include <gtest/gtest.h>

#include <string>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/GapBuffer.h"
#include "platform/controls/ListViewItems.h"

using platform::controls::GapBuffer;
using platform::controls::ListViewItem;
using platform::controls::ListViewItems;

namespace {

ListViewItem row(LPARAM param, UINT state = 0) {
  ListViewItem item;
  item.lParam = param;
  item.state = state;
  return item;
}

std::vector<LPARAM> params(const ListViewItems& items) {
  std::vector<LPARAM> out;
  for (int i = 0; i < items.count(); ++i) out.push_back(items.at(i).lParam);
  return out;
}

TEST(GapBufferTest, KeepsOrderWhateverWhereEditsHappen) {
  GapBuffer<std::string> buffer;
  for (int i = 0; i < 40; ++i) buffer.insert(buffer.size(), std::to_string(i));
  buffer.insert(0, "front");
  buffer.insert(20, "middle");
  buffer.erase(41);  // "39"
  buffer.erase(1);   // "0"
  ASSERT_EQ(buffer.size(), 40u);
  EXPECT_EQ(buffer[0], "front");
  EXPECT_EQ(buffer[1], "1");
  EXPECT_EQ(buffer[19], "middle");
  EXPECT_EQ(buffer[20], "19");
  EXPECT_EQ(buffer[39], "38");
  while (!buffer.empty()) buffer.erase(0);
  buffer.insert(0, "again");
  EXPECT_EQ(buffer[0], "again");
}

// A list view told how many rows are coming makes room for them at once (LVM_SETITEMCOUNT); the
// rows already there and the edits after keep their order.
TEST(GapBufferTest, RoomMadeAheadKeepsTheRowsAndTheirOrder) {
  GapBuffer<std::string> buffer;
  for (int i = 0; i < 5; ++i) buffer.insert(buffer.size(), std::to_string(i));
  buffer.insert(2, "two");
  buffer.reserve(100);
  buffer.reserve(3);
  for (int i = 5; i < 50; ++i) buffer.insert(buffer.size(), std::to_string(i));
  buffer.insert(0, "front");
  ASSERT_EQ(buffer.size(), 52u);
  EXPECT_EQ(buffer[0], "front");
  EXPECT_EQ(buffer[3], "two");
  EXPECT_EQ(buffer[4], "2");
  EXPECT_EQ(buffer[51], "49");
}

TEST(ListViewItemsTest, FocusAndSelectionFollowTheirRowsThroughEdits) {
  ListViewItems items;
  for (int i = 0; i < 10; ++i) items.insert(i, row(i));
  items.setState(5, LVIS_SELECTED | LVIS_FOCUSED);
  items.insert(0, row(100));
  EXPECT_EQ(items.focused(), 6);
  EXPECT_EQ(items.next(-1, LVIS_SELECTED), 6);
  items.erase(2);
  EXPECT_EQ(items.focused(), 5);
  EXPECT_EQ(items.next(-1, LVIS_SELECTED), 5);
  EXPECT_EQ(items.next(5, LVIS_SELECTED), -1);
  items.erase(5);
  EXPECT_EQ(items.focused(), -1);
  EXPECT_EQ(items.selectedCount(), 0);
  EXPECT_EQ(items.next(-1, LVIS_SELECTED), -1);
  EXPECT_EQ(params(items), (std::vector<LPARAM>{100, 0, 2, 3, 4, 6, 7, 8, 9}));
}

TEST(ListViewItemsTest, FindsEveryRowOfAMultipleSelection) {
  ListViewItems items;
  for (int i = 0; i < 6; ++i) items.insert(i, row(i, i % 2 ? LVIS_SELECTED : 0));
  EXPECT_EQ(items.selectedCount(), 3);
  EXPECT_EQ(items.next(-1, LVIS_SELECTED), 1);
  EXPECT_EQ(items.next(1, LVIS_SELECTED), 3);
  items.setState(1, 0);
  items.setState(3, 0);
  EXPECT_EQ(items.next(-1, LVIS_SELECTED), 5) << "the one left is found again";
  EXPECT_EQ(items.next(-1, 0), 0);
  EXPECT_EQ(items.next(5, 0), -1);
}

TEST(ListViewItemsTest, SubItemTextsAreKeptPerColumn) {
  ListViewItem item;
  item.setText(0, u"main");
  item.setText(2, u"third");
  EXPECT_EQ(item.textOf(0), u"main");
  EXPECT_EQ(item.textOf(1), u"");
  EXPECT_EQ(item.textOf(2), u"third");
  EXPECT_EQ(item.textOf(7), u"");
}

}  // namespace
