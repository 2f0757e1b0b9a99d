// Backup > Create and Backup > Restore from the friends list in this process: where the backup
// goes, what the user is told, the path kept for the next time, and a database that a bad file
// leaves as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/BackupRestore.h"
#include "platform/base/Utf.h"
#include "platform/shell/Shell.h"
#include "tests/app/AppHarness.h"
#include "tests/support/FileBytes.h"

namespace pellucard::testing {
namespace {

namespace fs = std::filesystem;
using platform::Edition;
using platform::testing::readBytes;
using platform::testing::TestDevice;
using platform::testing::writeBytes;

const std::string kMarker = "PellucardBackup";

// A message box as the user saw it: everything it drew, in one text.
struct Box {
  std::u16string text;
  bool says(const std::u16string& part) const { return text.find(part) != std::u16string::npos; }
};

class BackupCommands : public ::testing::TestWithParam<Edition> {
 protected:
  BackupCommands() : app(GetParam()) { platform::shell::startShell(); }
  ~BackupCommands() override { platform::shell::stopShell(); }

  std::string device(const std::string& path) const { return app.folder().file(path); }
  std::string volume() const { return app.folder().file("app/Pellucard.cdb"); }

  // The chooser's Done (soft key 1) or Cancel (soft key 2).
  void chooser(UINT softKey) {
    app.device().addStep([softKey] { TestDevice::postKey(softKey); });
  }
  // Notes the message box that shows and closes it.
  void box() {
    app.device().addStep([this] {
      std::u16string all;
      for (const std::u16string& text : TestDevice::texts(GetActiveWindow())) all += text + u"\n";
      boxes.push_back({all});
      TestDevice::postKey(VK_RETURN);
    });
  }
  std::vector<std::u16string> friendNames() {
    std::vector<std::u16string> names;
    for (RecordId id : app.rows(ListKind::Friends)) {
      const Friend* person = getFriendCollection().find(id);
      names.push_back(person != nullptr ? person->displayName() : u"?");
    }
    return names;
  }
  // The path the settings file holds, as the next start reads it.
  std::u16string storedBackupPath() const {
    Settings saved(platform::toUtf16(app.folder().file("app/settings.xml")));
    saved.load();
    return saved.backupPath();
  }

  AppHarness app;
  std::vector<Box> boxes;
};

TEST_P(BackupCommands, CreateInAFolderReplacesItsBackupAndKeepsThePath) {
  app.addFriend(u"Ann", u"Lee");
  app.start();
  fs::create_directories(device("Backups"));
  writeBytes(device("Backups/Pellucard.bkf"), "an older backup");
  getSettings().setBackupPath(u"\\Backups");

  chooser(VK_F2);
  app.command(ID_BACKUP_CREATE);
  EXPECT_EQ(readBytes(device("Backups/Pellucard.bkf")), "an older backup") << "Cancel writes nothing";
  EXPECT_TRUE(boxes.empty());

  chooser(VK_F1);
  box();
  app.command(ID_BACKUP_CREATE);
  EXPECT_EQ(readBytes(device("Backups/Pellucard.bkf")), readBytes(volume()) + kMarker);
  struct stat st {};
  ASSERT_EQ(stat(device("Backups/Pellucard.bkf").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u) << "readable by the user only, like the database";
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].says(u"Backup created successfully.")) << platform::toUtf8(boxes[0].text);
  EXPECT_TRUE(boxes[0].says(u"i\n")) << "the information icon";
  EXPECT_EQ(storedBackupPath(), u"\\Backups\\Pellucard.bkf");
  EXPECT_EQ(friendNames(), std::vector<std::u16string>{u"Ann Lee"}) << "the lists come back";
}

TEST_P(BackupCommands, CreateAtTheRootOrOverAChosenFile) {
  app.start();
  // Nothing selected is the root: the default name at the top of the device.
  chooser(VK_F1);
  box();
  app.command(ID_BACKUP_CREATE);
  EXPECT_EQ(readBytes(device("Pellucard.bkf")), readBytes(volume()) + kMarker);
  EXPECT_EQ(getSettings().backupPath(), u"\\Pellucard.bkf");

  fs::create_directories(device("Keep"));
  writeBytes(device("Keep/mine.bkf"), "an earlier file");
  getSettings().setBackupPath(u"\\Keep\\mine.bkf");
  chooser(VK_F1);
  box();
  app.command(ID_BACKUP_CREATE);
  EXPECT_EQ(readBytes(device("Keep/mine.bkf")), readBytes(volume()) + kMarker) << "the file itself is replaced";
  EXPECT_FALSE(fs::exists(device("Keep/mine.bkf/Pellucard.bkf")));
  EXPECT_EQ(storedBackupPath(), u"\\Keep\\mine.bkf");
}

TEST_P(BackupCommands, AFailedCreateSaysWhatToDoAndKeepsThePath) {
  app.addFriend(u"Ann", u"Lee");
  app.start();
  // A folder where the backup's name is taken by a folder.
  fs::create_directories(device("Jammed/Pellucard.bkf"));
  getSettings().setBackupPath(u"\\Jammed");
  chooser(VK_F1);
  box();
  app.command(ID_BACKUP_CREATE);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].says(u"Failed to create Pellucard database backup.")) << platform::toUtf8(boxes[0].text);
  EXPECT_TRUE(boxes[0].says(u"X\n")) << "the error icon";
  EXPECT_TRUE(fs::is_directory(device("Jammed/Pellucard.bkf")));
  EXPECT_EQ(storedBackupPath(), u"\\Jammed");
  EXPECT_EQ(friendNames(), std::vector<std::u16string>{u"Ann Lee"});
}

TEST_P(BackupCommands, RestoreBringsBackTheBackupInEveryList) {
  const RecordId ann = app.addFriend(u"Ann", u"Lee");
  app.addGift(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  app.start();
  chooser(VK_F1);
  box();
  app.command(ID_BACKUP_CREATE);
  const std::string backup = readBytes(device("Pellucard.bkf"));
  app.addFriend(u"Bob", u"Stone");
  getGiftCollection().remove(getGiftCollection().snapshot().front()->recordId());
  SendMessageW(app.frame().hwnd(), UM_RELOADLIST, 0, 0);
  ASSERT_EQ(friendNames(), (std::vector<std::u16string>{u"Ann Lee", u"Bob Stone"}));

  boxes.clear();
  chooser(VK_F1);
  box();
  app.command(ID_BACKUP_RESTORE);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].says(u"Backup restored successfully.")) << platform::toUtf8(boxes[0].text);
  EXPECT_TRUE(boxes[0].says(u"i\n"));
  EXPECT_EQ(friendNames(), std::vector<std::u16string>{u"Ann Lee"});
  EXPECT_EQ(app.rows(ListKind::Gifts).size(), 1u);
  EXPECT_EQ(storedBackupPath(), u"\\Pellucard.bkf");

  // Backed up again, the restored database gives the same file.
  fs::remove(device("Pellucard.bkf"));
  chooser(VK_F1);
  box();
  app.command(ID_BACKUP_CREATE);
  EXPECT_EQ(readBytes(device("Pellucard.bkf")), backup);
}

TEST_P(BackupCommands, AnInvalidFileWarnsThenFailsAndChangesNothing) {
  app.addFriend(u"Ann", u"Lee");
  app.start();
  const std::string before = readBytes(volume());
  writeBytes(device("bad.bkf"), std::string(4096, 'v') + "PellucardBackuP");
  getSettings().setBackupPath(u"\\bad.bkf");
  chooser(VK_F1);
  box();
  box();
  app.command(ID_BACKUP_RESTORE);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_TRUE(boxes[0].says(u"Restore backup failed. The file you have selected is not valid Pellucard database."))
      << platform::toUtf8(boxes[0].text);
  EXPECT_TRUE(boxes[0].says(u"!\n")) << "the exclamation icon";
  EXPECT_TRUE(boxes[1].says(u"Failed to restore previous Pellucard database.")) << platform::toUtf8(boxes[1].text);
  EXPECT_TRUE(boxes[1].says(u"X\n")) << "the error icon";
  EXPECT_EQ(readBytes(volume()), before);
  EXPECT_EQ(friendNames(), std::vector<std::u16string>{u"Ann Lee"});
  EXPECT_EQ(storedBackupPath(), u"\\bad.bkf") << "as it was";

  // A file with the marker whose content is no database fails once, without the warning.
  writeBytes(device("notadb.bkf"), std::string(4096, 'v') + kMarker);
  getSettings().setBackupPath(u"\\notadb.bkf");
  boxes.clear();
  chooser(VK_F1);
  box();
  app.command(ID_BACKUP_RESTORE);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].says(u"Failed to restore previous Pellucard database."));
  EXPECT_EQ(readBytes(volume()), before);
  EXPECT_EQ(friendNames(), std::vector<std::u16string>{u"Ann Lee"});
}

TEST_P(BackupCommands, TheChooserStaysInFrontWhenTheScreenTurns) {
  app.start();
  std::u16string active;
  std::string screen;
  ASSERT_TRUE(app.device().script("rotate\n"));
  app.device().addStep([&] {
    WCHAR title[64] = {};
    GetWindowTextW(GetActiveWindow(), title, 64);
    active = title;
    screen = app.device().dump();
    TestDevice::postKey(VK_F1);
  });
  box();
  app.command(ID_BACKUP_CREATE);
  EXPECT_EQ(active, u"Select Backup Folder");
  // The chooser's soft keys, over the frame's, and its title.
  EXPECT_NE(screen.find("text \"Cancel\""), std::string::npos) << screen;
  EXPECT_EQ(screen.find("text \"Details\""), std::string::npos) << screen;
  EXPECT_NE(screen.find("text \"Select Backup Folder\""), std::string::npos) << screen;
  EXPECT_TRUE(fs::exists(device("Pellucard.bkf")));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].says(u"Backup created successfully."));
}

INSTANTIATE_TEST_SUITE_P(Editions, BackupCommands, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         [](const ::testing::TestParamInfo<Edition>& edition) {
                           return std::string(edition.param == Edition::PocketPc ? "PocketPc" : "Smartphone");
                         });

}  // namespace
}  // namespace pellucard::testing
