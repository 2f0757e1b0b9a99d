// The backup chooser over a scratch device root: what the tree lists and in which order, where a
// folder shows its button, what expanding and collapsing read, the path it opens on, and what
// Done gives in the Create (folders allowed) and the Restore (files only) chooser.
#include "views/BackupChooser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "forms/WindowText.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/controls/WinImageList.h"
#include "resources/Icons.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"
#include "tests/views/FormScreenFixture.h"

namespace pellucard::testing {
namespace {

namespace fs = std::filesystem;
using platform::Edition;
using platform::testing::TempFolder;
using platform::testing::writeBytes;

struct Item {
  std::u16string text;
  int image = -1;
  int selectedImage = -1;
};

class BackupChooserTest : public ::testing::TestWithParam<Edition> {
 protected:
  BackupChooserTest() {
    saved_ = platform::DeviceConfig::current();
    platform::DeviceConfig::current().deviceRoot = root_.path().string();
  }
  ~BackupChooserTest() override {
    if (chooser_ && chooser_->hwnd() != nullptr) DestroyWindow(chooser_->hwnd());
    device.runUntilIdle();
    platform::DeviceConfig::current() = saved_;
  }

  void folder(const std::string& path) { fs::create_directories(root_.file(path)); }
  void file(const std::string& path) { writeBytes(root_.file(path), "bytes"); }

  // Opens a chooser for backup files, folders allowed or not, on an initial path.
  BackupChooser& open(bool folderMode, const std::u16string& initial = u"") {
    if (chooser_ && chooser_->hwnd() != nullptr) DestroyWindow(chooser_->hwnd());
    chooser_ = std::make_unique<BackupChooser>(std::vector<std::u16string>{u"bkf"}, folderMode, initial);
    EXPECT_NE(chooser_->open(device.owner(), u"Select Backup File"), nullptr);
    device.runUntilIdle();
    return *chooser_;
  }
  HWND tree() const { return chooser_->tree().hwnd(); }
  HTREEITEM root() const { return chooser_->tree().root(); }

  Item item(HTREEITEM handle) const {
    WCHAR text[MAX_PATH] = {};
    TVITEMW get{};
    get.mask = TVIF_HANDLE | TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    get.hItem = handle;
    get.pszText = text;
    get.cchTextMax = MAX_PATH;
    TreeView_GetItem(tree(), &get);
    return Item{text, get.iImage, get.iSelectedImage};
  }
  std::vector<std::u16string> children(HTREEITEM parent) const {
    std::vector<std::u16string> texts;
    for (HTREEITEM c = TreeView_GetChild(tree(), parent); c != nullptr; c = TreeView_GetNextSibling(tree(), c))
      texts.push_back(item(c).text);
    return texts;
  }
  HTREEITEM child(HTREEITEM parent, const std::u16string& text) const {
    for (HTREEITEM c = TreeView_GetChild(tree(), parent); c != nullptr; c = TreeView_GetNextSibling(tree(), c))
      if (item(c).text == text) return c;
    return nullptr;
  }
  // Whether the item shows an expand button.
  bool button(HTREEITEM handle) const {
    TVITEMW get{};
    get.mask = TVIF_HANDLE | TVIF_CHILDREN;
    get.hItem = handle;
    TreeView_GetItem(tree(), &get);
    return get.cChildren > 0;
  }
  bool expanded(HTREEITEM handle) const { return (TreeView_GetItemState(tree(), handle, TVIS_EXPANDED) != 0); }
  int icon(UINT id) const { return chooser_->tree().imageOf(id); }

  FormScreenDevice device{GetParam(), 240, 320};
  TempFolder root_;
  platform::DeviceConfig saved_;
  std::unique_ptr<BackupChooser> chooser_;
};

TEST_P(BackupChooserTest, FillsTheScreenWithTheRootExpanded) {
  folder("Documents");
  BackupChooser& chooser = open(true);
  EXPECT_EQ(chooser.menuBarId(), 5102u);
  EXPECT_EQ(windowText(chooser.hwnd()), u"Select Backup File");
  const LONG style = GetWindowLongW(tree(), GWL_STYLE);
  EXPECT_EQ(style & (TVS_HASBUTTONS | TVS_HASLINES | WS_VISIBLE), TVS_HASBUTTONS | TVS_HASLINES | WS_VISIBLE);
  RECT client{};
  GetClientRect(chooser.hwnd(), &client);
  const RECT rect = rectInParent(tree());
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.right, client.right);
  EXPECT_EQ(rect.bottom, client.bottom);
  EXPECT_EQ(GetFocus(), tree());

  EXPECT_EQ(children(nullptr), std::vector<std::u16string>{u"\\"});
  EXPECT_TRUE(expanded(root()));
  EXPECT_EQ(item(root()).image, icon(IDI_FOLDER_OPEN));
  for (UINT id : {IDI_FOLDER, IDI_FOLDER_OPEN, IDI_FILE, IDI_BACKUP_FILE}) EXPECT_GE(icon(id), 0) << id;
  EXPECT_EQ(ImageList_GetImageCount(TreeView_GetImageList(tree(), TVSIL_NORMAL)), 4);

  // The tree follows the screen when it turns.
  device.rotate();
  device.runUntilIdle();
  GetClientRect(chooser.hwnd(), &client);
  EXPECT_EQ(rectInParent(tree()).right, client.right);
  EXPECT_EQ(rectInParent(tree()).bottom, client.bottom);
}

TEST_P(BackupChooserTest, ListsFoldersSortedThenTheAcceptedFiles) {
  folder("beta");
  folder("Alpha");
  folder("gamma.bkf.d");
  folder(".hidden");
  file("z.bkf");
  file("Old.BKF");
  file("a.b.bkf");
  file("notes.txt");
  file("bkf");
  file(".secret.bkf");
  open(false);
  EXPECT_EQ(children(root()), (std::vector<std::u16string>{u"Alpha", u"beta", u"gamma.bkf.d", u"Old.BKF", u"z.bkf"}));
  const Item folderItem = item(child(root(), u"Alpha"));
  EXPECT_EQ(folderItem.image, icon(IDI_FOLDER));
  EXPECT_EQ(folderItem.selectedImage, icon(IDI_FOLDER));
  const Item fileItem = item(child(root(), u"z.bkf"));
  EXPECT_EQ(fileItem.image, icon(IDI_FILE));
  EXPECT_EQ(fileItem.selectedImage, icon(IDI_FILE));
}

TEST_P(BackupChooserTest, OnlyAFolderWithSubfoldersOrBackupsShowsAButton) {
  folder("Empty");
  folder("TextOnly");
  file("TextOnly/a.txt");
  file("TextOnly/a.b.bkf");
  folder("WithBackup");
  file("WithBackup/x.bkf");
  folder("WithFolder/inner");
  open(false);
  EXPECT_FALSE(button(child(root(), u"Empty")));
  EXPECT_FALSE(button(child(root(), u"TextOnly")));
  EXPECT_TRUE(button(child(root(), u"WithBackup")));
  EXPECT_TRUE(button(child(root(), u"WithFolder")));
  // Nothing below the root is read before it is expanded.
  for (const char16_t* name : {u"Empty", u"TextOnly", u"WithBackup", u"WithFolder"})
    EXPECT_TRUE(children(child(root(), name)).empty()) << platform::toUtf8(name);
  EXPECT_TRUE(FolderTree::acceptsExtension(u"x.BkF", {u"bkf"}));
  EXPECT_FALSE(FolderTree::acceptsExtension(u"x.bkf.old", {u"bkf"}));
  EXPECT_FALSE(FolderTree::acceptsExtension(u"x.", {u"bkf"}));

  // Tapping its button does nothing to a folder without one, and reads one with it.
  TreeView_Expand(tree(), child(root(), u"TextOnly"), TVE_EXPAND);
  EXPECT_FALSE(expanded(child(root(), u"TextOnly")));
  // A folder emptied after its button showed does not open, and loses the button.
  fs::remove(root_.file("WithBackup/x.bkf"));
  TreeView_Expand(tree(), child(root(), u"WithBackup"), TVE_EXPAND);
  EXPECT_FALSE(expanded(child(root(), u"WithBackup")));
  EXPECT_FALSE(button(child(root(), u"WithBackup")));
  EXPECT_EQ(item(child(root(), u"WithBackup")).image, icon(IDI_FOLDER));
}

TEST_P(BackupChooserTest, ExpandingReadsTheFolderAndCollapsingForgetsIt) {
  folder("Backups/2024");
  file("Backups/first.bkf");
  open(false);
  const HTREEITEM backups = child(root(), u"Backups");
  ASSERT_NE(backups, nullptr);
  TreeView_SelectItem(tree(), backups);
  device.key(VK_RIGHT);
  EXPECT_TRUE(expanded(backups));
  EXPECT_EQ(item(backups).image, icon(IDI_FOLDER_OPEN));
  EXPECT_EQ(item(backups).selectedImage, icon(IDI_FOLDER_OPEN));
  EXPECT_EQ(children(backups), (std::vector<std::u16string>{u"2024", u"first.bkf"}));
  EXPECT_FALSE(button(child(backups, u"2024")));

  // What changed on the disk meanwhile shows after the folder was closed and opened again.
  file("Backups/second.bkf");
  device.key(VK_LEFT);
  EXPECT_FALSE(expanded(backups));
  EXPECT_EQ(item(backups).image, icon(IDI_FOLDER));
  EXPECT_TRUE(children(backups).empty());
  EXPECT_TRUE(button(backups));
  device.key(VK_RIGHT);
  EXPECT_EQ(children(backups), (std::vector<std::u16string>{u"2024", u"first.bkf", u"second.bkf"}));

  // A folder emptied meanwhile loses its button when it closes.
  fs::remove_all(root_.file("Backups"));
  fs::create_directories(root_.file("Backups"));
  device.key(VK_LEFT);
  EXPECT_TRUE(children(backups).empty());
  EXPECT_FALSE(button(backups));
}

TEST_P(BackupChooserTest, OpensOnThePathChosenLastTimeWhateverItsCase) {
  folder("Backups/Phone");
  file("Backups/Phone/Pellucard.bkf");
  file("Backups/other.bkf");
  BackupChooser& chooser = open(false, u"\\backups\\PHONE\\pellucard.BKF");
  const HTREEITEM backups = child(root(), u"Backups");
  const HTREEITEM phone = child(backups, u"Phone");
  ASSERT_NE(phone, nullptr);
  EXPECT_TRUE(expanded(backups));
  EXPECT_TRUE(expanded(phone));
  EXPECT_EQ(TreeView_GetSelection(tree()), child(phone, u"Pellucard.bkf"));
  EXPECT_EQ(chooser.tree().selectedPath(), u"\\Backups\\Phone\\Pellucard.bkf");
}

TEST_P(BackupChooserTest, APathThatIsGoneStopsAtItsLastFolderThatIsThere) {
  folder("Backups/Phone");
  BackupChooser& chooser = open(true, u"\\Backups\\Tablet\\Pellucard.bkf");
  EXPECT_EQ(chooser.tree().selectedPath(), u"\\Backups");
  BackupChooser& other = open(true, u"\\Elsewhere");
  EXPECT_EQ(TreeView_GetSelection(tree()), nullptr);
  EXPECT_EQ(other.tree().selectedPath(), u"");
}

TEST_P(BackupChooserTest, DoneInTheCreateChooserGivesAFolderOrTheRoot) {
  folder("Backups");
  BackupChooser& chooser = open(true, u"\\Backups");
  SendMessageW(chooser.hwnd(), WM_COMMAND, IDOK, 0);
  EXPECT_EQ(chooser.result(), IDOK);
  EXPECT_EQ(chooser.resultPath(), u"\\Backups");

  BackupChooser& atRoot = open(true);
  TreeView_SelectItem(tree(), root());
  SendMessageW(atRoot.hwnd(), WM_COMMAND, IDOK, 0);
  EXPECT_EQ(atRoot.result(), IDOK);
  EXPECT_EQ(atRoot.resultPath(), u"");
}

TEST_P(BackupChooserTest, DoneInTheRestoreChooserTakesOnlyABackupFile) {
  folder("Backups");
  file("Backups/Pellucard.bkf");
  BackupChooser& onFolder = open(false, u"\\Backups");
  SendMessageW(onFolder.hwnd(), WM_COMMAND, IDOK, 0);
  EXPECT_EQ(onFolder.result(), IDCANCEL) << "Done on a folder is Cancel";

  BackupChooser& onFile = open(false, u"\\Backups\\Pellucard.bkf");
  // Done is the left soft key.
  device.key(VK_F1);
  EXPECT_EQ(onFile.result(), IDOK);
  EXPECT_EQ(onFile.resultPath(), u"\\Backups\\Pellucard.bkf");

  BackupChooser& cancelled = open(false, u"\\Backups\\Pellucard.bkf");
  device.key(VK_F2);
  EXPECT_EQ(cancelled.result(), IDCANCEL);
}

INSTANTIATE_TEST_SUITE_P(Editions, BackupChooserTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

}  // namespace
}  // namespace pellucard::testing
