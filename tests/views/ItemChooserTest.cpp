// The item chooser: single and multi choice over texts or a form row's list box, Done and Back,
// and the column that leaves room for a scroll bar only when the rows need one.
#include "views/ItemChooser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/WindowText.h"
#include "platform/controls/WinListBox.h"
#include "tests/views/FormScreenFixture.h"
#include "views/ColumnFit.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::testing::TestDevice;

const std::vector<std::u16string> kPeople = {u"Ann Baker", u"Bob Clark", u"Dan Evans", u"Dora Fox", u"Eve Green"};

std::vector<std::u16string> numbered(int count) {
  std::vector<std::u16string> texts;
  for (int i = 0; i < count; ++i) texts.push_back(u"Item " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)));
  return texts;
}

// The chooser open over the owner: its list.
HWND chooserList() { return GetDlgItem(GetActiveWindow(), ItemChooser::kListId); }

// Taps a row of the chooser's list in its check-box column.
void postTapOnCheckBox(int row) {
  const HWND list = chooserList();
  RECT r{};
  ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
  POINT at{r.left + (r.bottom - r.top) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(list, &at);
  TestDevice::postTap(at.x, at.y);
}

class ItemChooserTest : public ::testing::TestWithParam<Edition> {
 protected:
  RECT listRect(const ItemChooser& chooser) const { return rectInParent(chooser.list().hwnd()); }
  int columnWidth(const ItemChooser& chooser) const { return ListView_GetColumnWidth(chooser.list().hwnd(), 0); }
  DWORD listStyle(const ItemChooser& chooser) const {
    return static_cast<DWORD>(GetWindowLongW(chooser.list().hwnd(), GWL_STYLE));
  }

  FormScreenDevice device{GetParam(), 240, 320};
};

TEST_P(ItemChooserTest, MultiChoiceKeepsChecksMadeBeforeAndDuringASearchInListOrder) {
  // Ann and Eve checked in the full list; "3" narrows to the D, E, F words, where Dan Evans,
  // the first match, is checked too.
  device.addStep([] {
    postTapOnCheckBox(0);
    postTapOnCheckBox(4);
  });
  device.addStep([this] { device.type(u"3"); });
  device.addStep([] {
    const HWND list = chooserList();
    EXPECT_LT(ListView_GetItemCount(list), 5) << "the search narrowed the rows";
    postTapOnCheckBox(0);
  });
  device.addStep([] { TestDevice::postKey(VK_F1); });
  const auto chosen = ItemChooser::chooseMany(device.owner(), u"Select Categories", kPeople);
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, (std::vector<int>{0, 2, 4}));
}

TEST_P(ItemChooserTest, MultiChoiceShowsCheckBoxesAndReportsTextsOnlyForDone) {
  ItemChooser chooser(u"Select Categories", kPeople, ItemChooser::Mode::Multi);
  chooser.setInitialChecks({1, 3, 9});
  ASSERT_NE(chooser.open(device.owner()), nullptr);
  device.runUntilIdle();
  EXPECT_EQ(windowText(chooser.hwnd()), u"Select Categories");
  EXPECT_EQ(chooser.menuBarId(), 1523u) << "Done alone";
  EXPECT_TRUE(chooser.list().hasCheckBoxes());
  EXPECT_EQ(windowText(chooser.list().hwnd()), u"Items");
  EXPECT_TRUE(chooser.list().isChecked(1));
  EXPECT_TRUE(chooser.list().isChecked(3));
  EXPECT_TRUE(chooser.chosenTexts().empty()) << "nothing before Done";
  device.key(VK_F1);
  EXPECT_EQ(chooser.result(), IDOK);
  EXPECT_EQ(chooser.chosenTexts(), (std::vector<std::u16string>{u"Bob Clark", u"Dora Fox"}));
  EXPECT_EQ(chooser.chosenPosition(), -1) << "multi choice names texts, not one position";

  // Nothing checked is a choice too, unlike Cancel.
  device.addStep([] { TestDevice::postKey(VK_F1); });
  const auto none = ItemChooser::chooseMany(device.owner(), u"Select Categories", kPeople);
  ASSERT_TRUE(none.has_value());
  EXPECT_TRUE(none->empty());
}

TEST_P(ItemChooserTest, SingleChoiceReturnsTheSelectedRowCutTo128Characters) {
  std::vector<std::u16string> texts = kPeople;
  texts.push_back(std::u16string(300, u'x'));
  ItemChooser chooser(u"Select Contact", texts, ItemChooser::Mode::Single);
  chooser.setInitialRow(4);
  chooser.open(device.owner());
  device.runUntilIdle();
  EXPECT_FALSE(chooser.list().hasCheckBoxes());
  EXPECT_EQ(chooser.list().selectedIndex(), 4);
  EXPECT_EQ(GetFocus(), chooser.list().hwnd());
  device.key(VK_DOWN);
  device.key(VK_F1);
  EXPECT_EQ(chooser.result(), IDOK);
  EXPECT_EQ(chooser.chosenPosition(), 5);
  ASSERT_EQ(chooser.chosenTexts().size(), 1u);
  EXPECT_EQ(chooser.chosenTexts()[0], std::u16string(128, u'x'));

  device.addStep([] {
    TestDevice::postKey(VK_DOWN);
    TestDevice::postKey(VK_F1);
  });
  EXPECT_EQ(ItemChooser::chooseOne(device.owner(), u"Select Contact", kPeople, 2), 3);
}

// Only the Smartphone has a Back key.
TEST(ItemChooserSmartphone, BackCancelsASingleChoiceOnlyOnceTheSearchIsGone) {
  FormScreenDevice device{Edition::Smartphone, 240, 320};
  ItemChooser chooser(u"Select Contact", kPeople, ItemChooser::Mode::Single);
  chooser.open(device.owner());
  device.runUntilIdle();
  device.key(VK_DOWN);
  device.type(u"3");
  ASSERT_TRUE(chooser.list().isSearching());
  // The first Back removes the typed key; the chooser stays.
  device.key(VK_ESCAPE);
  EXPECT_TRUE(IsWindow(chooser.hwnd()));
  EXPECT_FALSE(chooser.list().isSearching());
  EXPECT_EQ(chooser.list().count(), 5);
  device.key(VK_ESCAPE);
  EXPECT_FALSE(IsWindow(chooser.hwnd()));
  EXPECT_EQ(chooser.result(), IDCANCEL);
  EXPECT_EQ(chooser.chosenPosition(), -1);
  EXPECT_TRUE(chooser.chosenTexts().empty());

  device.addStep([] {
    TestDevice::postKey(VK_DOWN);
    TestDevice::postKey(VK_ESCAPE);
  });
  EXPECT_EQ(ItemChooser::chooseOne(device.owner(), u"Select Contact", kPeople), std::nullopt);
}

TEST_P(ItemChooserTest, AListBoxChooserOpensOnItsCurrentItemAndMovesItsSelection) {
  const HWND listBox =
      CreateWindowExW(0, u"LISTBOX", u"", WS_CHILD, 0, 0, 100, 20, device.owner(), nullptr, nullptr, nullptr);
  ASSERT_NE(listBox, nullptr);
  for (const std::u16string& text : numbered(40)) {
    SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  SendMessageW(listBox, LB_SETCURSEL, 30, 0);

  ItemChooser chooser(u"Select an Item", listBox);
  chooser.open(device.owner());
  device.runUntilIdle();
  const HWND list = chooser.list().hwnd();
  EXPECT_FALSE(chooser.list().hasCheckBoxes());
  ASSERT_EQ(chooser.list().count(), 40);
  EXPECT_EQ(chooser.list().textAt(30), u"Item E");
  EXPECT_EQ(chooser.list().selectedIndex(), 30);
  const int top = ListView_GetTopIndex(list);
  EXPECT_GT(top, 0);
  EXPECT_LE(top, 30);
  EXPECT_LT(30, top + ListView_GetCountPerPage(list)) << "the current item is in view";
  device.key(VK_UP);
  device.key(VK_F1);
  EXPECT_EQ(chooser.chosenPosition(), 29);
  EXPECT_EQ(SendMessageW(listBox, LB_GETCURSEL, 0, 0), 29);

  device.addStep([] {
    TestDevice::postKey(VK_DOWN);
    TestDevice::postKey(VK_F1);
  });
  EXPECT_TRUE(ItemChooser::chooseInListBox(device.owner(), listBox));
  EXPECT_EQ(SendMessageW(listBox, LB_GETCURSEL, 0, 0), 30);
  EXPECT_EQ(windowText(GetActiveWindow()), u"Owner");
  DestroyWindow(listBox);
}

TEST_P(ItemChooserTest, ALongListScrollsAndItsColumnMakesRoomForTheScrollBar) {
  ItemChooser shortList(u"Select an Item", kPeople, ItemChooser::Mode::Single);
  shortList.open(device.owner());
  device.runUntilIdle();
  const RECT fits = listRect(shortList);
  EXPECT_EQ(fits.left, 0);
  EXPECT_EQ(fits.top, 0);
  EXPECT_NE(listStyle(shortList) & LVS_NOSCROLL, 0u);
  EXPECT_EQ(listStyle(shortList) & WS_VSCROLL, 0u);
  EXPECT_EQ(columnWidth(shortList), fits.right);
  DestroyWindow(shortList.hwnd());

  ItemChooser longList(u"Select an Item", numbered(60), ItemChooser::Mode::Single);
  longList.open(device.owner());
  device.runUntilIdle();
  const RECT scrolls = listRect(longList);
  RECT client{};
  GetClientRect(longList.hwnd(), &client);
  EXPECT_EQ(scrolls.right, client.right);
  EXPECT_EQ(scrolls.bottom, client.bottom) << "the list fills the screen";
  EXPECT_EQ(listStyle(longList) & LVS_NOSCROLL, 0u);
  EXPECT_NE(listStyle(longList) & WS_VSCROLL, 0u) << "the scroll bar shows";
  EXPECT_EQ(columnWidth(longList), scrolls.right - GetSystemMetrics(SM_CXVSCROLL));

  // Turned sideways the list fills the new screen and fits its column again.
  device.rotate();
  device.runUntilIdle();
  GetClientRect(longList.hwnd(), &client);
  const RECT turned = listRect(longList);
  EXPECT_EQ(turned.right, client.right);
  EXPECT_EQ(turned.bottom, client.bottom);
  EXPECT_GT(turned.right, scrolls.right);
  EXPECT_EQ(columnWidth(longList), turned.right - GetSystemMetrics(SM_CXVSCROLL));
  DestroyWindow(longList.hwnd());
}

TEST_P(ItemChooserTest, TheFitFollowsTheRowsWhenAListGrowsOrShrinks) {
  RECT owner{};
  GetClientRect(device.owner(), &owner);
  const HWND list = CreateWindowExW(0, WC_LISTVIEWW, u"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER, 0, 0,
                                    owner.right, owner.bottom, device.owner(), nullptr, nullptr, nullptr);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  column.cx = 50;
  ListView_InsertColumn(list, 0, &column);
  auto addRows = [list](int count) {
    for (int i = 0; i < count; ++i) {
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = const_cast<LPWSTR>(u"Row");
      ListView_InsertItem(list, &item);
    }
  };
  addRows(3);
  ColumnFit::fit(list);
  device.runUntilIdle();
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), owner.right);
  EXPECT_NE(GetWindowLongW(list, GWL_STYLE) & LVS_NOSCROLL, 0);

  addRows(100);
  ColumnFit::fit(list);
  device.runUntilIdle();
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), owner.right - GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_NE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL, 0);

  ListView_DeleteAllItems(list);
  ColumnFit::fit(list);
  device.runUntilIdle();
  EXPECT_EQ(ListView_GetColumnWidth(list, 0), owner.right);
  EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL, 0) << "the scroll bar goes with the rows";
  ColumnFit::fit(nullptr);  // nothing to fit, nothing happens
  DestroyWindow(list);
}

INSTANTIATE_TEST_SUITE_P(Editions, ItemChooserTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

}  // namespace
}  // namespace pellucard::testing
