// The tree view's items, expansion, selection, deletion and keys, checked against the
// notifications its parent receives.
#include <gtest/gtest.h>

#include "tests/controls/TreeFixture.h"

using Seq = std::vector<std::string>;

namespace {

class TreeViewTest : public TreeFixture {};

TEST_F(TreeViewTest, SortedInsertsKeepSiblingsInOrderIgnoringCase) {
  createTree();
  for (const char16_t* name : {u"delta", u"Alpha", u"charlie", u"Bravo", u"alpha", u"Échelle", u"Zulu"}) {
    add(TVI_ROOT, name, TVI_SORT);
  }
  EXPECT_EQ(childrenOf(TVI_ROOT),
            (std::vector<std::u16string>{u"Alpha", u"alpha", u"Bravo", u"charlie", u"delta", u"Zulu", u"Échelle"}))
      << "equal names keep their order of insertion";

  HTREEITEM folder = add(TVI_ROOT, u"Folder", TVI_FIRST);
  add(folder, u"b", TVI_LAST);
  HTREEITEM a = add(folder, u"a", TVI_FIRST);
  add(folder, u"a2", a);
  add(folder, u"z", reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(0x1234)));  // not a sibling: last
  EXPECT_EQ(childrenOf(folder), (std::vector<std::u16string>{u"a", u"a2", u"b", u"z"}));
  EXPECT_EQ(TreeView_GetCount(tree), 12u);

  // Siblings out of order: a sorted insert goes before the first one that sorts after it.
  HTREEITEM mixed = add(TVI_ROOT, u"Mixed");
  add(mixed, u"m");
  add(mixed, u"c");
  add(mixed, u"x");
  add(mixed, u"d", TVI_SORT);
  EXPECT_EQ(childrenOf(mixed), (std::vector<std::u16string>{u"d", u"m", u"c", u"x"}));
}

TEST_F(TreeViewTest, ItemsReadBackAndBadHandlesFailCleanly) {
  createTree();
  HTREEITEM folder = add(TVI_ROOT, u"Folder", TVI_LAST, 3);
  HTREEITEM file = add(folder, u"File.bkf", TVI_LAST, 2);

  TVITEMW tvi{};
  WCHAR small[4] = {};
  tvi.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_CHILDREN | TVIF_STATE;
  tvi.hItem = file;
  tvi.pszText = small;
  tvi.cchTextMax = 4;
  tvi.stateMask = 0xFFFF;
  ASSERT_TRUE(TreeView_GetItem(tree, &tvi));
  EXPECT_EQ(std::u16string(small), u"Fil") << "cut to the buffer and terminated";
  EXPECT_EQ(tvi.iImage, 2);
  EXPECT_EQ(tvi.lParam, 1);
  EXPECT_EQ(tvi.cChildren, 0);
  tvi.hItem = folder;
  ASSERT_TRUE(TreeView_GetItem(tree, &tvi));
  EXPECT_EQ(tvi.cChildren, 1) << "an item with child items has children";

  EXPECT_EQ(TreeView_GetParent(tree, file), folder);
  EXPECT_EQ(TreeView_GetParent(tree, folder), nullptr);
  EXPECT_EQ(TreeView_GetRoot(tree), folder);
  EXPECT_EQ(TreeView_GetChild(tree, nullptr), folder);

  ASSERT_TRUE(TreeView_DeleteItem(tree, file));
  EXPECT_FALSE(TreeView_DeleteItem(tree, file)) << "a deleted handle is dead";
  tvi.hItem = file;
  EXPECT_FALSE(TreeView_GetItem(tree, &tvi));
  EXPECT_FALSE(TreeView_Expand(tree, file, TVE_EXPAND));
  EXPECT_EQ(TreeView_GetNextSibling(tree, file), nullptr);
  // A new item in the freed place gets a handle of its own.
  HTREEITEM again = add(folder, u"Again");
  EXPECT_NE(again, file);
  EXPECT_EQ(add(file, u"orphan"), nullptr) << "no parent, no item";
  EXPECT_FALSE(TreeView_SelectItem(tree, file));
  EXPECT_EQ(SendMessageW(tree, TVM_INSERTITEMW, 0, 0), 0);
  EXPECT_FALSE(SendMessageW(tree, TVM_GETITEMW, 0, 0));
}

TEST_F(TreeViewTest, RefusedExpansionLeavesTheItemClosedAndTvmExpandTellsOnlyUntilExpandedOnce) {
  createTree();
  HTREEITEM folder = add(TVI_ROOT, u"Photos");
  add(folder, u"Fake");
  log().clear();

  answer = [](NMHDR& h) -> LRESULT { return h.code == TVN_ITEMEXPANDINGW ? TRUE : 0; };
  EXPECT_FALSE(TreeView_Expand(tree, folder, TVE_EXPAND));
  EXPECT_EQ(notifications(), (Seq{"TVN_ITEMEXPANDING Photos"}));
  EXPECT_EQ(state(folder) & (TVIS_EXPANDED | TVIS_EXPANDEDONCE), 0u);

  answer = nullptr;
  log().clear();
  EXPECT_TRUE(TreeView_Expand(tree, folder, TVE_EXPAND));
  EXPECT_EQ(notifications(), (Seq{"TVN_ITEMEXPANDING Photos", "TVN_ITEMEXPANDED Photos"}));
  EXPECT_EQ(state(folder) & (TVIS_EXPANDED | TVIS_EXPANDEDONCE), static_cast<UINT>(TVIS_EXPANDED | TVIS_EXPANDEDONCE));
  EXPECT_TRUE(TreeView_Expand(tree, folder, TVE_EXPAND)) << "expanding what is expanded succeeds";

  log().clear();
  EXPECT_TRUE(TreeView_Expand(tree, folder, TVE_COLLAPSE));
  EXPECT_FALSE(TreeView_Expand(tree, folder, TVE_COLLAPSE)) << "collapsing what is collapsed does not";
  EXPECT_TRUE(TreeView_Expand(tree, folder, TVE_TOGGLE));
  EXPECT_TRUE(notifications().empty()) << "once expanded, TVM_EXPAND is silent";

  // The user's expand and collapse are always told, and may be refused.
  TreeView_Expand(tree, folder, TVE_COLLAPSE);
  TreeView_SelectItem(tree, folder);
  log().clear();
  device.key(VK_RIGHT);
  EXPECT_EQ(notifications(), (Seq{"TVN_KEYDOWN RIGHT", "TVN_ITEMEXPANDING Photos", "TVN_ITEMEXPANDED Photos"}));
  answer = [](NMHDR& h) -> LRESULT { return h.code == TVN_ITEMEXPANDINGW ? TRUE : 0; };
  log().clear();
  device.key(VK_LEFT);
  EXPECT_EQ(notifications(), (Seq{"TVN_KEYDOWN LEFT", "TVN_ITEMEXPANDING Photos"}));
  EXPECT_TRUE(state(folder) & TVIS_EXPANDED);

  EXPECT_FALSE(TreeView_Expand(tree, add(TVI_ROOT, u"Empty"), TVE_EXPAND)) << "nothing to expand";
  EXPECT_FALSE(TreeView_Expand(tree, folder, TVE_COLLAPSERESET)) << "reset needs TVE_COLLAPSE";
}

// The backup chooser's use: placeholders removed when a folder expands, children deleted and the
// placeholder put back when it collapses.
TEST_F(TreeViewTest, CollapseWithResetDeletesTheChildrenAndTheNextExpandFillsAfresh) {
  createTree();
  HTREEITEM root = add(TVI_ROOT, u"\\");
  add(root, u"Fake");
  int fills = 0;
  answer = [&](NMHDR& h) -> LRESULT {
    auto& nm = reinterpret_cast<NMTREEVIEWW&>(h);
    if (h.code == TVN_ITEMEXPANDINGW && nm.action == TVE_EXPAND) {
      ++fills;
      TreeView_DeleteItem(tree, TreeView_GetChild(tree, nm.itemNew.hItem));
      for (const char16_t* name : {u"Windows", u"My Documents", u"Backups"}) add(nm.itemNew.hItem, name, TVI_SORT);
    }
    if (h.code == TVN_ITEMEXPANDEDW && (nm.action & TVE_COLLAPSE)) {
      TreeView_Expand(tree, nm.itemNew.hItem, TVE_COLLAPSE | TVE_COLLAPSERESET);
      add(nm.itemNew.hItem, u"Fake");
    }
    return 0;
  };
  ASSERT_TRUE(TreeView_Expand(tree, root, TVE_EXPAND));
  EXPECT_EQ(childrenOf(root), (std::vector<std::u16string>{u"Backups", u"My Documents", u"Windows"}));
  HTREEITEM documents = TreeView_GetNextSibling(tree, TreeView_GetChild(tree, root));
  TreeView_SelectItem(tree, documents);

  log().clear();
  device.key(VK_LEFT);  // to the parent
  device.key(VK_LEFT);  // collapses it
  EXPECT_EQ(notifications(), (Seq{"TVN_KEYDOWN LEFT", "TVN_SELCHANGING \\", "TVN_SELCHANGED \\", "TVN_KEYDOWN LEFT",
                                  "TVN_ITEMEXPANDING \\", "TVN_ITEMEXPANDED \\", "TVN_DELETEITEM Backups",
                                  "TVN_DELETEITEM My Documents", "TVN_DELETEITEM Windows"}));
  EXPECT_EQ(childrenOf(root), (std::vector<std::u16string>{u"Fake"}));
  EXPECT_EQ(state(root) & (TVIS_EXPANDED | TVIS_EXPANDEDONCE), 0u) << "the reset clears TVIS_EXPANDEDONCE";
  EXPECT_EQ(selected(), u"\\");

  // TVM_EXPAND tells again after the reset, so the chooser fills the folder again.
  ASSERT_TRUE(TreeView_Expand(tree, root, TVE_EXPAND));
  EXPECT_EQ(fills, 2);
  EXPECT_EQ(childrenOf(root).size(), 3u);
}

TEST_F(TreeViewTest, CollapsingMovesAHiddenSelectionToTheItemWithoutNotifications) {
  createTree();
  HTREEITEM folder = add(TVI_ROOT, u"Folder");
  HTREEITEM inner = add(folder, u"Inner");
  HTREEITEM leaf = add(inner, u"Leaf");
  TreeView_SelectItem(tree, leaf);
  EXPECT_TRUE(state(folder) & TVIS_EXPANDED) << "selecting shows the item, expanding its ancestors";
  EXPECT_TRUE(state(inner) & TVIS_EXPANDED);
  log().clear();
  TreeView_Expand(tree, folder, TVE_COLLAPSE);
  EXPECT_EQ(selected(), u"Folder");
  EXPECT_TRUE(notifications().empty());
}

TEST_F(TreeViewTest, DeletingReportsEveryItemChildrenFirstAndMovesTheSelection) {
  createTree();
  HTREEITEM a = add(TVI_ROOT, u"A");
  HTREEITEM a1 = add(a, u"A1");
  add(a1, u"A1a");
  add(a, u"A2");
  HTREEITEM b = add(TVI_ROOT, u"B");
  HTREEITEM c = add(TVI_ROOT, u"C");
  add(c, u"C1");
  TreeView_SelectItem(tree, a1);
  log().clear();

  ASSERT_TRUE(TreeView_DeleteItem(tree, a));
  EXPECT_EQ(notifications(), (Seq{"TVN_DELETEITEM A1a", "TVN_DELETEITEM A1", "TVN_DELETEITEM A2", "TVN_DELETEITEM A",
                                  "TVN_SELCHANGING B", "TVN_SELCHANGED B"}))
      << "a top-level item without a previous sibling passes the selection to the next one";
  EXPECT_EQ(TreeView_GetCount(tree), 3u);

  log().clear();
  TreeView_SelectItem(tree, c);
  log().clear();
  ASSERT_TRUE(TreeView_DeleteItem(tree, c));
  EXPECT_EQ(notifications(), (Seq{"TVN_DELETEITEM C1", "TVN_DELETEITEM C", "TVN_SELCHANGING B", "TVN_SELCHANGED B"}));

  add(b, u"B1");
  log().clear();
  ASSERT_TRUE(TreeView_DeleteAllItems(tree));
  EXPECT_EQ(notifications(), (Seq{"TVN_DELETEITEM B1", "TVN_DELETEITEM B"}));
  EXPECT_EQ(TreeView_GetCount(tree), 0u);
  EXPECT_EQ(TreeView_GetSelection(tree), nullptr);

  add(TVI_ROOT, u"Last");
  log().clear();
  DestroyWindow(tree);
  EXPECT_EQ(notifications(), (Seq{"TVN_DELETEITEM Last"})) << "the window's end deletes what is left";
}

TEST_F(TreeViewTest, AParentThatDeletesOrDestroysDuringNotificationsDoesNotBreakTheTree) {
  createTree();
  HTREEITEM a = add(TVI_ROOT, u"A");
  add(a, u"A1");
  add(a, u"A2");
  add(TVI_ROOT, u"B");
  // Deleting everything while the first child is reported.
  answer = [&](NMHDR& h) -> LRESULT {
    if (h.code == TVN_DELETEITEMW) {
      answer = nullptr;
      TreeView_DeleteAllItems(tree);
    }
    return 0;
  };
  EXPECT_TRUE(TreeView_DeleteItem(tree, a));
  EXPECT_EQ(TreeView_GetCount(tree), 0u);

  HTREEITEM c = add(TVI_ROOT, u"C");
  add(c, u"C1");
  answer = [&](NMHDR& h) -> LRESULT {
    if (h.code == TVN_ITEMEXPANDINGW) DestroyWindow(tree);
    return 0;
  };
  EXPECT_FALSE(TreeView_Expand(tree, c, TVE_EXPAND));
  EXPECT_FALSE(IsWindow(tree));
}

TEST_F(TreeViewTest, KeysWalkTheTreeAsOnTheDevice) {
  createTree();
  HTREEITEM music = add(TVI_ROOT, u"Music");
  add(music, u"Jazz");
  add(music, u"Rock");
  add(TVI_ROOT, u"Photos");
  TreeView_SelectItem(tree, music);
  log().clear();

  auto walk = [&](UINT vk) {
    device.key(vk);
    return selected();
  };
  EXPECT_EQ(walk(VK_RIGHT), u"Music");
  EXPECT_TRUE(state(music) & TVIS_EXPANDED) << "Right expands first";
  EXPECT_EQ(walk(VK_RIGHT), u"Jazz") << "then goes to the first child";
  EXPECT_EQ(walk(VK_DOWN), u"Rock");
  EXPECT_EQ(walk(VK_DOWN), u"Photos");
  EXPECT_EQ(walk(VK_DOWN), u"Photos") << "the last row stays";
  EXPECT_EQ(walk(VK_UP), u"Rock");
  EXPECT_EQ(walk(VK_LEFT), u"Music") << "Left goes to the parent";
  EXPECT_EQ(walk(VK_LEFT), u"Music");
  EXPECT_FALSE(state(music) & TVIS_EXPANDED) << "then collapses";
  EXPECT_EQ(walk(VK_END), u"Photos");
  EXPECT_EQ(walk(VK_HOME), u"Music");
  EXPECT_EQ(walk(VK_RETURN), u"Music");
  EXPECT_TRUE(state(music) & TVIS_EXPANDED) << "Enter toggles";
  EXPECT_EQ(notifications(), (Seq{"TVN_KEYDOWN RIGHT",       "TVN_ITEMEXPANDING Music", "TVN_ITEMEXPANDED Music",
                                  "TVN_KEYDOWN RIGHT",       "TVN_SELCHANGING Jazz",    "TVN_SELCHANGED Jazz",
                                  "TVN_KEYDOWN DOWN",        "TVN_SELCHANGING Rock",    "TVN_SELCHANGED Rock",
                                  "TVN_KEYDOWN DOWN",        "TVN_SELCHANGING Photos",  "TVN_SELCHANGED Photos",
                                  "TVN_KEYDOWN DOWN",        "TVN_KEYDOWN UP",          "TVN_SELCHANGING Rock",
                                  "TVN_SELCHANGED Rock",     "TVN_KEYDOWN LEFT",        "TVN_SELCHANGING Music",
                                  "TVN_SELCHANGED Music",    "TVN_KEYDOWN LEFT",        "TVN_ITEMEXPANDING Music",
                                  "TVN_ITEMEXPANDED Music",  "TVN_KEYDOWN END",         "TVN_SELCHANGING Photos",
                                  "TVN_SELCHANGED Photos",   "TVN_KEYDOWN HOME",        "TVN_SELCHANGING Music",
                                  "TVN_SELCHANGED Music",    "TVN_KEYDOWN ENTER",       "NM_RETURN",
                                  "TVN_ITEMEXPANDING Music", "TVN_ITEMEXPANDED Music"}));

  // A parent that handles NM_RETURN keeps the item as it is; a refused change keeps the selection.
  answer = [](NMHDR& h) -> LRESULT { return h.code == NM_RETURN || h.code == TVN_SELCHANGINGW ? TRUE : 0; };
  EXPECT_EQ(walk(VK_RETURN), u"Music");
  EXPECT_TRUE(state(music) & TVIS_EXPANDED);
  EXPECT_EQ(walk(VK_DOWN), u"Music");
}

TEST_F(TreeViewTest, LettersFindTheNextItemStartingWithWhatWasTyped) {
  createTree();
  for (const char16_t* name : {u"Apple", u"Banana", u"Blueberry", u"Cherry"}) add(TVI_ROOT, name);
  device.key('B');
  EXPECT_EQ(selected(), u"Banana");
  device.key('L');
  EXPECT_EQ(selected(), u"Blueberry") << "typed quickly, the letters add up";
  device.advance(1500);
  device.key('B');
  EXPECT_EQ(selected(), u"Banana") << "after a pause a letter starts again, from the next item round";
  device.key('B');
  EXPECT_EQ(selected(), u"Blueberry") << "the same letter again goes on to the next item with it";
  device.key('Q');
  EXPECT_EQ(selected(), u"Blueberry") << "nothing found, nothing changes";
}

TEST_F(TreeViewTest, TheStylusTogglesOnTheButtonSelectsOnTheLabelAndADoubleTapToggles) {
  createTree();
  HTREEITEM music = add(TVI_ROOT, u"Music");
  add(music, u"Jazz");
  HTREEITEM photos = add(TVI_ROOT, u"Photos");
  device.runUntilIdle();

  RECT label{};
  ASSERT_TRUE(TreeView_GetItemRect(tree, photos, &label, TRUE));
  TVHITTESTINFO hit{};
  hit.pt = {label.left + 2, label.top + 2};
  EXPECT_EQ(TreeView_HitTest(tree, &hit), photos);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TVHT_ONITEMLABEL));

  RECT row{};
  ASSERT_TRUE(TreeView_GetItemRect(tree, music, &row, FALSE));
  const int indent = static_cast<int>(TreeView_GetIndent(tree));
  const POINT button{indent / 2, (row.top + row.bottom) / 2};
  hit.pt = button;
  EXPECT_EQ(TreeView_HitTest(tree, &hit), music);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TVHT_ONITEMBUTTON));

  log().clear();
  device.tap(button.x, button.y);
  EXPECT_TRUE(state(music) & TVIS_EXPANDED);
  EXPECT_EQ(notifications(), (Seq{"TVN_ITEMEXPANDING Music", "TVN_ITEMEXPANDED Music"}));

  ASSERT_TRUE(TreeView_GetItemRect(tree, photos, &label, TRUE));
  log().clear();
  device.tap(label.left + 3, label.top + 3);
  EXPECT_EQ(selected(), u"Photos");
  EXPECT_EQ(notifications(), (Seq{"TVN_SELCHANGING Photos", "TVN_SELCHANGED Photos", "NM_CLICK"}));

  ASSERT_TRUE(TreeView_GetItemRect(tree, music, &label, TRUE));
  device.tap(label.left + 3, label.top + 3);
  log().clear();
  device.tap(label.left + 3, label.top + 3);
  EXPECT_EQ(notifications(), (Seq{"NM_DBLCLK", "TVN_ITEMEXPANDING Music", "TVN_ITEMEXPANDED Music"}));
  EXPECT_FALSE(state(music) & TVIS_EXPANDED);

  hit.pt = {label.right + 20, label.top + 2};
  EXPECT_EQ(TreeView_HitTest(tree, &hit), music);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TVHT_ONITEMRIGHT));
  hit.pt = {10, 300};
  EXPECT_EQ(TreeView_HitTest(tree, &hit), nullptr);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TVHT_NOWHERE));
  hit.pt = {-1, 10};
  TreeView_HitTest(tree, &hit);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TVHT_TOLEFT));
}

TEST_F(TreeViewTest, CallbacksAskTheParentForTextsAndChildren) {
  createTree();
  quiet.clear();
  answer = [](NMHDR& h) -> LRESULT {
    if (h.code != TVN_GETDISPINFOW) return 0;
    auto& info = reinterpret_cast<NMTVDISPINFOW&>(h).item;
    if (info.mask & TVIF_TEXT) lstrcpynW(info.pszText, info.lParam == 0 ? u"Asked" : u"Kept", info.cchTextMax);
    if (info.mask & TVIF_CHILDREN) info.cChildren = 1;
    if (info.lParam == 1) info.mask |= TVIF_DI_SETITEM;
    return 0;
  };
  names = {"asked", "kept"};
  TVINSERTSTRUCTW insert{};
  insert.hParent = TVI_ROOT;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_CHILDREN | TVIF_PARAM;
  insert.item.pszText = LPSTR_TEXTCALLBACKW;
  insert.item.cChildren = I_CHILDRENCALLBACK;
  insert.item.lParam = 0;
  HTREEITEM asked = TreeView_InsertItem(tree, &insert);
  insert.item.lParam = 1;
  HTREEITEM kept = TreeView_InsertItem(tree, &insert);

  EXPECT_EQ(textOf(asked), u"Asked");
  log().clear();
  EXPECT_EQ(textOf(kept), u"Kept");
  EXPECT_EQ(textOf(kept), u"Kept");
  EXPECT_EQ(notifications(), (Seq{"TVN_GETDISPINFO kept"})) << "TVIF_DI_SETITEM keeps the answer";

  device.runUntilIdle();
  const std::string dump = device.dump();
  EXPECT_NE(dump.find("\"Asked\""), std::string::npos);
  EXPECT_NE(dump.find("\"Kept\""), std::string::npos);

  TVHITTESTINFO hit{};
  RECT row{};
  TreeView_GetItemRect(tree, asked, &row, FALSE);
  hit.pt = {static_cast<LONG>(TreeView_GetIndent(tree) / 2), row.top + 3};
  TreeView_HitTest(tree, &hit);
  EXPECT_EQ(hit.flags, static_cast<UINT>(TVHT_ONITEMBUTTON)) << "the parent said it has children";
}

TEST_F(TreeViewTest, SetItemChangesWhatTheItemShows) {
  createTree();
  HTREEITEM item = add(TVI_ROOT, u"Before");
  TVITEMW tvi{};
  tvi.mask = TVIF_TEXT | TVIF_STATE | TVIF_PARAM;
  tvi.hItem = item;
  tvi.pszText = const_cast<LPWSTR>(u"After");
  tvi.state = TVIS_BOLD;
  tvi.stateMask = TVIS_BOLD;
  tvi.lParam = 42;
  ASSERT_TRUE(TreeView_SetItem(tree, &tvi));
  EXPECT_EQ(textOf(item), u"After");
  EXPECT_EQ(state(item) & TVIS_BOLD, static_cast<UINT>(TVIS_BOLD));
  device.runUntilIdle();
  EXPECT_NE(device.dump().find("\"After\""), std::string::npos);
  tvi.hItem = reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(99));
  EXPECT_FALSE(TreeView_SetItem(tree, &tvi));
}

TEST_F(TreeViewTest, RedrawOffHoldsBackPaintingAndTheFontAndImagesSetTheRowHeight) {
  createTree();
  device.runUntilIdle();
  SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
  add(TVI_ROOT, u"Quiet");
  device.runUntilIdle();
  EXPECT_EQ(device.dump().find("\"Quiet\""), std::string::npos);
  SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
  device.runUntilIdle();
  EXPECT_NE(device.dump().find("\"Quiet\""), std::string::npos);

  const int natural = TreeView_GetItemHeight(tree);
  LOGFONTW lf{};
  lf.lfHeight = 24;
  HFONT big = CreateFontIndirectW(&lf);
  SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
  EXPECT_EQ(SendMessageW(tree, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(big));
  const int larger = TreeView_GetItemHeight(tree);
  EXPECT_GT(larger, natural);
  EXPECT_EQ(larger % 2, 0) << "rows are even, so dotted lines join";
  EXPECT_EQ(TreeView_SetItemHeight(tree, 41), larger);
  EXPECT_EQ(TreeView_GetItemHeight(tree), 40);
  TreeView_SetItemHeight(tree, -1);
  EXPECT_EQ(TreeView_GetItemHeight(tree), larger);

  HIMAGELIST images = ImageList_Create(48, 48, ILC_COLOR16 | ILC_MASK, 1, 1);
  EXPECT_EQ(TreeView_SetImageList(tree, images, TVSIL_NORMAL), nullptr);
  EXPECT_GE(TreeView_GetItemHeight(tree), 48);
  EXPECT_EQ(TreeView_GetImageList(tree, TVSIL_NORMAL), images);
  device.runUntilIdle();
  DestroyWindow(tree);
  ImageList_Destroy(images);
  DeleteObject(big);
}

TEST_F(TreeViewTest, AChainOfItemsAnyDepthIsDeletedWhole) {
  createTree();
  names = {"link"};
  TVINSERTSTRUCTW insert{};
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<LPWSTR>(u"link");
  HTREEITEM parentItem = TVI_ROOT;
  for (int i = 0; i < 100000; ++i) {
    insert.hParent = parentItem;
    parentItem = TreeView_InsertItem(tree, &insert);
    ASSERT_NE(parentItem, nullptr);
  }
  log().clear();
  EXPECT_TRUE(TreeView_DeleteAllItems(tree));
  EXPECT_EQ(log().entries().size(), 100000u);
  EXPECT_EQ(TreeView_GetCount(tree), 0u);
}

}  // namespace
