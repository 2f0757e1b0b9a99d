// What the tree view shows on every screen the program runs on: the rows in view (and only
// those) in the window dump, scroll bars when the rows do not fit, icons and names in any script.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/base/Utf.h"
#include "platform/gdi/GdiBridge.h"
#include "tests/controls/TreeFixture.h"

namespace {

struct Layout {
  platform::Edition edition;
  int width;
  int height;
};

std::string layoutName(const ::testing::TestParamInfo<Layout>& info) {
  return std::string(info.param.edition == platform::Edition::PocketPc ? "PocketPc" : "Smartphone") +
         std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
}

// The folder names of the device, some in Polish, Greek and Japanese.
const char16_t* const kFolders[] = {u"Application Data", u"Backups", u"Moje zdjęcia", u"My Documents",
                                    u"Program Files",    u"Temp",    u"Windows",      u"Ζωγραφιές",
                                    u"Łódź 2024",        u"写真",    u"Ünïcödé",      u"Zeszyty"};

class TreeViewDrawingTest : public TreeFixture, public ::testing::WithParamInterface<Layout> {
 protected:
  TreeViewDrawingTest() : TreeFixture(GetParam().edition, GetParam().width, GetParam().height) {}

  // The chooser's tree: the root "\" expanded, its folders sorted, with the folder icons.
  HTREEITEM fillChooserTree(int extraFolders) {
    createTree();
    images = ImageList_Create(16, 16, ILC_COLOR16 | ILC_MASK, 4, 0);
    ImageList_AddIcon(images, folderIcon());
    TreeView_SetImageList(tree, images, TVSIL_NORMAL);
    HTREEITEM root = add(TVI_ROOT, u"\\");
    for (const char16_t* name : kFolders) add(root, name, TVI_SORT);
    for (int i = 0; i < extraFolders; ++i) add(root, u"Folder " + platform::toUtf16(std::to_string(100 + i)), TVI_SORT);
    TreeView_Expand(tree, root, TVE_EXPAND);
    TreeView_SelectItem(tree, root);
    device.runUntilIdle();
    return root;
  }

  // A plain blue square with a transparent corner, standing in for a folder icon.
  static HICON folderIcon() {
    HBITMAP color = CreateBitmap(16, 16, 1, 16, nullptr);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, color);
    RECT all{0, 0, 16, 16};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &all, blue);
    DeleteObject(blue);
    SelectObject(dc, mask);
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetPixel(dc, 0, 0, RGB(255, 255, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
  }

  void TearDown() override {
    TreeFixture::TearDown();
    if (images != nullptr) ImageList_Destroy(images);
  }

  // The texts the tree drew in its last paint.
  std::vector<platform::gdi::CapturedText> drawn() const { return platform::gdi::capturedTexts(tree); }

  bool drew(const std::u16string& text) const {
    for (const auto& t : drawn()) {
      if (t.text == text) return true;
    }
    return false;
  }

  HIMAGELIST images = nullptr;
};

TEST_P(TreeViewDrawingTest, EveryRowInViewIsInTheDumpAndNoOtherOne) {
  fillChooserTree(0);
  RECT client{};
  GetClientRect(tree, &client);
  const int rowHeight = TreeView_GetItemHeight(tree);
  const int fullRows = client.bottom / rowHeight;
  const int rows = 1 + static_cast<int>(std::size(kFolders));
  EXPECT_EQ(static_cast<int>(TreeView_GetVisibleCount(tree)), fullRows);

  // Every row that is at least partly in view is drawn, with its text inside the tree.
  RECT treeOnScreen{};
  GetWindowRect(tree, &treeOnScreen);
  int shown = 0;
  for (HTREEITEM item = TreeView_GetFirstVisible(tree); item != nullptr; item = TreeView_GetNextVisible(tree, item)) {
    RECT row{};
    ASSERT_TRUE(TreeView_GetItemRect(tree, item, &row, TRUE));
    if (row.top >= client.bottom) {
      EXPECT_FALSE(drew(textOf(item))) << platform::toUtf8(textOf(item)) << " lies below the window";
      continue;
    }
    ++shown;
    EXPECT_TRUE(drew(textOf(item))) << platform::toUtf8(textOf(item));
  }
  EXPECT_EQ(shown, std::min(rows, (static_cast<int>(client.bottom) + rowHeight - 1) / rowHeight));
  for (const auto& t : drawn()) {
    EXPECT_GE(t.screenRect.top, treeOnScreen.top);
    EXPECT_LE(t.screenRect.bottom, treeOnScreen.bottom);
  }
  const std::string dump = device.dump();
  EXPECT_NE(dump.find("window \"SysTreeView32\""), std::string::npos);
  EXPECT_NE(dump.find("text \"\\\\\""), std::string::npos) << "the root, whose name is a backslash";
  EXPECT_NE(dump.find("\"Backups\""), std::string::npos);

  // The rows below come into view with the keys, the last one with End.
  SetFocus(tree);
  device.key(VK_END);
  EXPECT_EQ(selected(), u"写真");
  EXPECT_TRUE(drew(u"写真"));
  EXPECT_EQ((GetWindowLongW(tree, GWL_STYLE) & WS_VSCROLL) != 0, rows > fullRows);
  EXPECT_NE(device.dump().find("\"写真\""), std::string::npos);
}

TEST_P(TreeViewDrawingTest, ScrollBarsComeWhenTheRowsAreTallerOrWiderThanTheWindow) {
  HTREEITEM root = fillChooserTree(60);
  EXPECT_TRUE(GetWindowLongW(tree, GWL_STYLE) & WS_VSCROLL);
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(tree, SB_VERT, &si));
  EXPECT_EQ(si.nMax, 1 + 12 + 60 - 1);
  EXPECT_EQ(static_cast<int>(si.nPage), static_cast<int>(TreeView_GetVisibleCount(tree)));

  SendMessageW(tree, WM_VSCROLL, SB_PAGEDOWN, 0);
  device.runUntilIdle();
  ASSERT_TRUE(GetScrollInfo(tree, SB_VERT, &si));
  EXPECT_EQ(si.nPos, static_cast<int>(si.nPage));
  EXPECT_FALSE(drew(u"\\")) << "the root scrolled out of view";

  HTREEITEM last = TreeView_GetLastVisible(tree);
  TreeView_EnsureVisible(tree, root);
  device.runUntilIdle();
  EXPECT_TRUE(drew(u"\\"));
  EXPECT_FALSE(drew(textOf(last)));
  EXPECT_FALSE(GetWindowLongW(tree, GWL_STYLE) & WS_HSCROLL);

  // A name wider than the window brings the horizontal bar.
  add(root, u"A folder with a name far too long to fit on any handheld screen at all", TVI_FIRST);
  device.runUntilIdle();
  EXPECT_TRUE(GetWindowLongW(tree, GWL_STYLE) & WS_HSCROLL);
  SendMessageW(tree, WM_HSCROLL, SB_PAGEDOWN, 0);
  device.runUntilIdle();
  ASSERT_TRUE(GetScrollInfo(tree, SB_HORZ, &si));
  EXPECT_GT(si.nPos, 0);
}

TEST_P(TreeViewDrawingTest, NamesInOtherScriptsAreDrawnWithTheirOwnLetters) {
  fillChooserTree(0);
  // A letter the font has differs from one it lacks, which is drawn as a box.
  auto inkOf = [&](const std::u16string& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(80, 20, 1, 16, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 80, 20};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &all, DT_SINGLELINE | DT_NOPREFIX);
    std::string ink;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 80; ++x) ink += GetPixel(dc, x, y) == RGB(255, 255, 255) ? '.' : '#';
    }
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return ink;
  };
  for (const char16_t* letter : {u"ę", u"Ł", u"ź", u"Ζ", u"ω", u"ü"}) {
    EXPECT_NE(inkOf(letter), inkOf(u"\uE000")) << platform::toUtf8(letter);
  }
  EXPECT_TRUE(drew(u"Moje zdjęcia"));
  EXPECT_TRUE(drew(u"Ζωγραφιές"));
  EXPECT_TRUE(drew(u"Łódź 2024"));
}

INSTANTIATE_TEST_SUITE_P(
    Screens, TreeViewDrawingTest,
    ::testing::Values(Layout{platform::Edition::PocketPc, 240, 320}, Layout{platform::Edition::PocketPc, 320, 240},
                      Layout{platform::Edition::PocketPc, 240, 240}, Layout{platform::Edition::PocketPc, 480, 640},
                      Layout{platform::Edition::Smartphone, 176, 220}, Layout{platform::Edition::Smartphone, 240, 320}),
    layoutName);

}  // namespace
