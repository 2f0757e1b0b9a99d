#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>

#include "platform/controls/CommCtrl.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

constexpr UINT kSelFocus = LVIS_SELECTED | LVIS_FOCUSED;
constexpr UINT kListId = 1015;

class ListViewTest : public ::testing::Test {
 protected:
  // The parent answers as the owner of owner-drawn rows does: rows rowHeight high, each drawn.
  ListViewTest() {
    log().answer(WM_MEASUREITEM, [this](HWND, WPARAM, LPARAM lParam) -> LRESULT {
      reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = static_cast<UINT>(rowHeight);
      return TRUE;
    });
    log().answer(WM_DRAWITEM, [](HWND, WPARAM, LPARAM) -> LRESULT { return TRUE; });
  }

  TestDevice device;
  HWND parent = createLogWindow("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 300);
  HWND list = nullptr;
  int rowHeight = 20;

  static MessageLog& log() { return MessageLog::instance(); }

  // What the parent answers to the list's notifications (0 to all without one).
  static void onNotify(std::function<LRESULT(const NMHDR&)> answer) {
    if (!answer) {
      log().answer(WM_NOTIFY, nullptr);
      return;
    }
    log().answer(WM_NOTIFY,
                 [answer](HWND, WPARAM, LPARAM lParam) { return answer(*reinterpret_cast<const NMHDR*>(lParam)); });
  }

  // The rows the parent was asked to draw since the log was cleared, in order.
  static std::vector<int> drawnRows() {
    std::vector<int> rows;
    for (const auto& e : log().messages(WM_DRAWITEM)) rows.push_back(e.item);
    return rows;
  }

  HWND createList(DWORD style, int height = 200) {
    list = CreateWindowExW(0, WC_LISTVIEWW, u"List", WS_CHILD | WS_VISIBLE | style, 0, 0, 240, height, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId)), nullptr, nullptr);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.cx = 240;
    column.pszText = const_cast<LPWSTR>(u"Name");
    ListView_InsertColumn(list, 0, &column);
    return list;
  }

  int insert(int index, const std::u16string& text, LPARAM param) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<LPWSTR>(text.c_str());
    item.lParam = param;
    return ListView_InsertItem(list, &item);
  }

  void fill(int count) {
    for (int i = 0; i < count; ++i)
      insert(i, u"Row " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)), 100 + i);
  }

  void keyDown(UINT vk) {
    SendMessageW(list, WM_KEYDOWN, vk, 1);
    SendMessageW(list, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
  }

  std::u16string text(int i) {
    WCHAR buffer[64] = {};
    ListView_GetItemText(list, i, 0, buffer, 64);
    return buffer;
  }
};

TEST_F(ListViewTest, InsertsAtPositionsAndReadsItemsBack) {
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
  EXPECT_EQ(insert(0, u"b", 2), 0);
  EXPECT_EQ(insert(0, u"a", 1), 0);
  EXPECT_EQ(insert(99, u"d", 4), 2);
  EXPECT_EQ(insert(2, u"c", 3), 2);
  ASSERT_EQ(ListView_GetItemCount(list), 4);
  EXPECT_EQ(text(0), u"a");
  EXPECT_EQ(text(1), u"b");
  EXPECT_EQ(text(2), u"c");
  EXPECT_EQ(text(3), u"d");

  LVITEMW item{};
  item.mask = LVIF_PARAM | LVIF_IMAGE | LVIF_TEXT;
  item.iItem = 2;
  WCHAR small[2] = {u'x', u'x'};
  item.pszText = small;
  item.cchTextMax = 2;
  ASSERT_TRUE(ListView_GetItem(list, &item));
  EXPECT_EQ(item.lParam, 3);
  EXPECT_EQ(small[0], u'c');
  EXPECT_EQ(small[1], 0) << "text is cut to the buffer and terminated";

  item.iItem = 4;
  EXPECT_FALSE(ListView_GetItem(list, &item));
  item.iSubItem = 1;
  EXPECT_EQ(ListView_InsertItem(list, &item), -1) << "a new row cannot start at a sub-item";
  EXPECT_EQ(ListView_GetItemState(list, 7, kSelFocus), 0u);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), -1);
  EXPECT_EQ(log().notifications(LVN_INSERTITEM).size(), 4u);
}

// The announced row count only makes room: rows already there stay, and a count no list could
// hold (a caller's mistake) neither fails nor takes the memory it names.
TEST_F(ListViewTest, AnnouncedRowCountsMakeRoomWithoutChangingTheRows) {
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
  fill(3);
  EXPECT_TRUE(SendMessageW(list, LVM_SETITEMCOUNT, 500, 0));
  EXPECT_TRUE(SendMessageW(list, LVM_SETITEMCOUNT, 0x7FFFFFFF, 0));
  EXPECT_TRUE(SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(-1), 0));
  fill(3);
  ASSERT_EQ(ListView_GetItemCount(list), 6);
  EXPECT_EQ(text(0), u"Row A");
  EXPECT_EQ(text(3), u"Row A");
  EXPECT_EQ(text(5), u"Row C");
}

TEST_F(ListViewTest, KeyboardMoveNotifiesInOrder) {
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
  fill(5);
  ListView_SetItemState(list, 0, kSelFocus, kSelFocus);
  log().clear();

  log().keepOnly({WM_NOTIFY});
  log().skipNotifications({LVN_ODCACHEHINT});
  log().clear();

  keyDown(VK_DOWN);

  struct Step {
    const char* notification;
    int item;
    UINT newState;
    UINT oldState;
  };
  const Step expected[] = {
      {"parent:LVN_KEYDOWN", -1, 0, 0},
      {"parent:LVN_ITEMCHANGING", 0, LVIS_FOCUSED, kSelFocus},
      {"parent:LVN_ITEMCHANGED", 0, LVIS_FOCUSED, kSelFocus},
      {"parent:LVN_ITEMCHANGING", 1, kSelFocus, 0},
      {"parent:LVN_ITEMCHANGING", 0, 0, LVIS_FOCUSED},
      {"parent:LVN_ITEMCHANGED", 0, 0, LVIS_FOCUSED},
      {"parent:LVN_ITEMCHANGED", 1, kSelFocus, 0},
  };
  const Seq got = log().sequence();
  ASSERT_EQ(got.size(), std::size(expected));
  for (std::size_t i = 0; i < got.size(); ++i) {
    const auto& entry = log().entries()[i];
    EXPECT_EQ(got[i], expected[i].notification) << "step " << i;
    if (entry.code == LVN_KEYDOWN) {
      EXPECT_EQ(entry.key, VK_DOWN);
      continue;
    }
    EXPECT_EQ(entry.item, expected[i].item) << "step " << i;
    EXPECT_EQ(entry.newState, expected[i].newState) << "step " << i;
    EXPECT_EQ(entry.oldState, expected[i].oldState) << "step " << i;
    EXPECT_EQ(entry.changed, static_cast<UINT>(LVIF_STATE)) << "step " << i;
  }
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 1);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 1);
  EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
}

TEST_F(ListViewTest, KeysWalkThePagesAndStopAtTheEnds) {
  rowHeight = 20;
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED, 100);
  fill(30);
  ASSERT_EQ(ListView_GetCountPerPage(list), 5);
  ListView_SetItemState(list, 0, kSelFocus, kSelFocus);

  keyDown(VK_UP);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 0) << "no wrap at the top";
  keyDown(VK_NEXT);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 4) << "first Page Down goes to the page's last row";
  keyDown(VK_NEXT);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 8);
  EXPECT_EQ(ListView_GetTopIndex(list), 4);
  keyDown(VK_PRIOR);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 4);
  keyDown(VK_END);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 29);
  EXPECT_EQ(ListView_GetTopIndex(list), 25);
  // Held down: every repeated key down moves one row, and the end holds.
  for (int i = 0; i < 3; ++i) SendMessageW(list, WM_KEYDOWN, VK_DOWN, static_cast<LPARAM>(0x40000001));
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 29);
  for (int i = 0; i < 3; ++i) SendMessageW(list, WM_KEYDOWN, VK_UP, static_cast<LPARAM>(0x40000001));
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 26);
  keyDown(VK_HOME);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 0);
  EXPECT_EQ(ListView_GetTopIndex(list), 0);
  EXPECT_EQ(log().notifications(LVN_KEYDOWN).size(), 12u) << "every key down is reported first";
}

TEST_F(ListViewTest, ParentCanRefuseAChange) {
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
  fill(3);
  onNotify([](const NMHDR& h) -> LRESULT { return h.code == LVN_ITEMCHANGING; });
  EXPECT_FALSE(ListView_SetItemState(list, 1, kSelFocus, kSelFocus));
  EXPECT_EQ(ListView_GetItemState(list, 1, kSelFocus), 0u);
  EXPECT_TRUE(log().notifications(LVN_ITEMCHANGED).empty());
}

TEST_F(ListViewTest, DeletingRowsNotifiesAndKeepsSelectionOnItsRow) {
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
  fill(5);
  ListView_SetItemState(list, 3, kSelFocus, kSelFocus);
  log().clear();

  ASSERT_TRUE(ListView_DeleteItem(list, 1));
  auto deleted = log().notifications(LVN_DELETEITEM);
  ASSERT_EQ(deleted.size(), 1u);
  EXPECT_EQ(deleted[0].item, 1);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 2) << "the selected row moved up with the rest";
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 2);
  EXPECT_FALSE(ListView_DeleteItem(list, 4));

  ASSERT_TRUE(ListView_DeleteItem(list, 2));
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), -1) << "a deleted selection is gone, not moved";
  EXPECT_EQ(ListView_GetSelectedCount(list), 0u);
}

TEST_F(ListViewTest, DeleteAllAnnouncesThenDeletesUnlessTheParentDeclines) {
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
  fill(3);
  ListView_SetItemState(list, 1, kSelFocus, kSelFocus);
  log().keepOnly({WM_NOTIFY});
  log().clear();
  ASSERT_TRUE(ListView_DeleteAllItems(list));
  EXPECT_EQ(log().sequence(), (Seq{"parent:LVN_DELETEALLITEMS", "parent:LVN_DELETEITEM", "parent:LVN_DELETEITEM",
                                   "parent:LVN_DELETEITEM"}))
      << "no selection notices while the rows go";
  EXPECT_EQ(log().entries()[0].item, -1);
  EXPECT_EQ(log().entries()[1].item, 2) << "rows go from the last";
  EXPECT_EQ(ListView_GetItemCount(list), 0);

  fill(3);
  log().clear();
  onNotify([](const NMHDR& h) -> LRESULT { return h.code == LVN_DELETEALLITEMS; });
  ASSERT_TRUE(ListView_DeleteAllItems(list));
  EXPECT_EQ(log().sequence(), Seq{"parent:LVN_DELETEALLITEMS"});
  EXPECT_EQ(ListView_GetItemCount(list), 0);
}

TEST_F(ListViewTest, ActivationByActionKeyAndByTapOnTheSelectedRow) {
  rowHeight = 20;
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED);
  fill(5);
  device.runUntilIdle();
  ListView_SetItemState(list, 0, kSelFocus, kSelFocus);
  log().clear();

  keyDown(VK_RETURN);
  auto activated = log().notifications(LVN_ITEMACTIVATE);
  ASSERT_EQ(activated.size(), 1u);
  EXPECT_EQ(activated[0].item, 0);
  EXPECT_EQ(log().notifications(NM_RETURN).size(), 1u);

  // Inside a dialog the action key is the list's, not the dialog's default button.
  MSG enter{list, WM_KEYDOWN, VK_RETURN, 1, 0, {0, 0}};
  EXPECT_TRUE(SendMessageW(list, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) & DLGC_WANTMESSAGE);
  MSG escape{list, WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
  EXPECT_FALSE(SendMessageW(list, WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&escape)) & DLGC_WANTMESSAGE);

  // The first tap on row 2 selects it; the second activates it.
  log().clear();
  device.tap(100, 2 * 20 + 5);
  EXPECT_TRUE(log().notifications(LVN_ITEMACTIVATE).empty());
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 2);
  EXPECT_EQ(GetFocus(), list);
  device.tap(100, 2 * 20 + 5);
  activated = log().notifications(LVN_ITEMACTIVATE);
  ASSERT_EQ(activated.size(), 1u);
  EXPECT_EQ(activated[0].item, 2);
  // Below the last row nothing happens.
  log().clear();
  device.tap(100, 150);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 2);
  EXPECT_TRUE(log().notifications(LVN_ITEMACTIVATE).empty());
}

TEST_F(ListViewTest, OwnerDrawnRowsAreMeasuredOnceAndOnlyVisibleOnesDrawn) {
  rowHeight = 25;
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED, 100);
  fill(50);
  device.runUntilIdle();
  EXPECT_EQ(log().messages(WM_MEASUREITEM).size(), 1u);
  EXPECT_EQ(ListView_GetCountPerPage(list), 4);
  std::vector<int> drawn = drawnRows();
  ASSERT_FALSE(drawn.empty());
  EXPECT_LE(*std::max_element(drawn.begin(), drawn.end()), 4) << "rows below the window are not drawn";

  log().clear();
  ASSERT_TRUE(ListView_EnsureVisible(list, 20, FALSE));
  EXPECT_EQ(ListView_GetTopIndex(list), 17);
  auto hints = log().notifications(LVN_ODCACHEHINT);
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_EQ(hints[0].from, 17);
  EXPECT_EQ(hints[0].to, 21);
  device.runUntilIdle();
  drawn = drawnRows();
  ASSERT_FALSE(drawn.empty());
  for (int row : drawn) {
    EXPECT_GE(row, 17);
    EXPECT_LE(row, 21);
  }

  RECT rect{LVIR_BOUNDS, 0, 0, 0};
  ASSERT_TRUE(ListView_GetItemRect(list, 18, &rect, LVIR_BOUNDS));
  EXPECT_EQ(rect.top, 25);
  EXPECT_EQ(rect.bottom, 50);
  EXPECT_EQ(HIWORD(ListView_ApproximateViewRect(list, -1, -1, -1)), 50 * 25);
}

TEST_F(ListViewTest, NoScrollListsNeverScroll) {
  rowHeight = 20;
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED | LVS_NOSCROLL, 100);
  fill(20);
  ListView_SetItemState(list, 0, kSelFocus, kSelFocus);
  keyDown(VK_END);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 19);
  EXPECT_EQ(ListView_GetTopIndex(list), 0);
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ListViewTest, ScrollBarFollowsTheRowsAndScrollsTheList) {
  rowHeight = 20;
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED, 100);
  fill(3);
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) << "all rows fit";
  fill(20);
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(ListView_GetTopIndex(list), 5);
  SendMessageW(list, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(ListView_GetTopIndex(list), 18);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &si));
  EXPECT_EQ(si.nPos, 18);
  EXPECT_EQ(si.nMax, 22);
  EXPECT_EQ(si.nPage, 5u);
  ListView_DeleteAllItems(list);
  EXPECT_EQ(ListView_GetTopIndex(list), 0);
}

TEST_F(ListViewTest, RedrawOffStopsPaintingUntilItIsOnAgain) {
  rowHeight = 20;
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED, 100);
  device.runUntilIdle();
  SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  fill(10);
  log().clear();
  device.runUntilIdle();
  EXPECT_TRUE(drawnRows().empty());
  SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  device.runUntilIdle();
  EXPECT_FALSE(drawnRows().empty());
}

TEST_F(ListViewTest, CheckBoxesToggleByTapAndSpace) {
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
  fill(2);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  EXPECT_EQ(ListView_GetItemState(list, 0, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1)) << "rows start unchecked";
  insert(2, u"new", 3);
  EXPECT_EQ(ListView_GetItemState(list, 2, LVIS_STATEIMAGEMASK), INDEXTOSTATEIMAGEMASK(1));

  ListView_SetItemState(list, 0, kSelFocus, kSelFocus);
  keyDown(VK_SPACE);
  EXPECT_TRUE(ListView_GetCheckState(list, 0));
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  ListView_GetItemRect(list, 1, &row, LVIR_BOUNDS);
  device.runUntilIdle();
  device.tap(3, (row.top + row.bottom) / 2);
  EXPECT_TRUE(ListView_GetCheckState(list, 1));
  EXPECT_TRUE(ListView_GetCheckState(list, 0)) << "only the tapped row changes";
}

TEST_F(ListViewTest, DrawsColumnTextsAndHeaderOfVisibleRows) {
  createList(LVS_REPORT | LVS_SINGLESEL, 120);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT;
  column.cx = 30;
  column.pszText = const_cast<LPWSTR>(u"No");
  ListView_InsertColumn(list, 1, &column);
  ListView_SetColumnWidth(list, 0, 0);
  ListView_SetColumnWidth(list, 1, 30);
  ListView_SetColumnWidth(list, 1, 30);
  column.pszText = const_cast<LPWSTR>(u"Text");
  ListView_InsertColumn(list, 2, &column);
  ListView_SetColumnWidth(list, 2, LVSCW_AUTOSIZE_USEHEADER);
  EXPECT_EQ(ListView_GetColumnWidth(list, 2), 210);
  for (int i = 0; i < 40; ++i) {
    insert(i, u"hidden", i);
    const std::u16string number = std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
    ListView_SetItemText(list, i, 1, number.c_str());
    const std::u16string page = u"Page " + number;
    ListView_SetItemText(list, i, 2, page.c_str());
  }
  SetFocus(list);
  ListView_SetItemState(list, 0, kSelFocus, kSelFocus);
  InvalidateRect(list, nullptr, TRUE);
  device.runUntilIdle();
  const auto drawn = TestDevice::texts(list);
  EXPECT_TRUE(TestDevice::drew(list, u"Text")) << "header";
  EXPECT_TRUE(TestDevice::drew(list, u"Page 0"));
  EXPECT_FALSE(TestDevice::drew(list, u"hidden")) << "a zero-wide column shows nothing";
  const std::size_t rows = static_cast<std::size_t>(ListView_GetCountPerPage(list));
  EXPECT_LE(std::count_if(drawn.begin(), drawn.end(), [](const std::u16string& s) { return s.rfind(u"Page", 0) == 0; }),
            static_cast<long>(rows + 1))
      << "only the visible rows are drawn";
}

}  // namespace

namespace {

TEST_F(ListViewTest, ParentDeletingRowsDuringDeleteAllIsSafe) {
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
  fill(4);
  HWND target = list;
  bool once = false;
  onNotify([&](const NMHDR& h) -> LRESULT {
    if (h.code == LVN_DELETEITEM && !once) {
      once = true;
      ListView_DeleteItem(target, 0);
      ListView_DeleteItem(target, 0);
    }
    return 0;
  });
  EXPECT_TRUE(ListView_DeleteAllItems(list));
  EXPECT_EQ(ListView_GetItemCount(list), 0);
  // And a list destroyed with its rows tells the parent once more, without crashing.
  onNotify(nullptr);
  fill(2);
  log().clear();
  DestroyWindow(list);
  EXPECT_EQ(log().notifications(LVN_DELETEALLITEMS).size(), 1u);
  EXPECT_EQ(log().notifications(LVN_DELETEITEM).size(), 2u);
}

}  // namespace

TEST_F(ListViewTest, SettingSelectionAndFocusOnAnotherRowMovesTheFocusThere) {
  createList(LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER);
  fill(5);
  ListView_SetItemState(list, 1, kSelFocus, kSelFocus);
  ListView_SetItemState(list, 3, kSelFocus, kSelFocus);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_FOCUSED), 3);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 3);
  EXPECT_EQ(ListView_GetItemState(list, 1, kSelFocus), 0u) << "the old row keeps neither flag";
  keyDown(VK_DOWN);
  EXPECT_EQ(ListView_GetNextItem(list, -1, LVNI_SELECTED), 4) << "keys move on from the new focus row";
}
