// Backup and restore end to end: the program backs up from its menu, a later start restores
// from the same menu, and the start after that still has the restored friends. Killed in the
// middle of a backup or restore of the fill tool's large volume, the program leaves the database
// and the backup whole, each either as it was or as it was to become.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "app/BackupRestore.h"
#include "device/AppPaths.h"
#include "platform/base/DeviceConfig.h"
#include "store/FriendCollection.h"
#include "store/RecordStore.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

namespace pellucard {
namespace {

namespace fs = std::filesystem;
using platform::testing::readBytes;
using platform::testing::TempFolder;
using platform::testing::writeBytes;

const std::string kMarker = "PellucardBackup";

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The texts the friends list drew in a dump.
std::set<std::string> friendRows(const std::string& dump) {
  std::set<std::string> rows;
  const std::size_t list = dump.find("\"FriendList\"");
  if (list == std::string::npos) return rows;
  std::istringstream lines(dump.substr(dump.find('\n', list) + 1));
  for (std::string line; std::getline(lines, line) && line.find("text \"") != std::string::npos;) {
    const std::size_t start = line.find('"') + 1;
    rows.insert(line.substr(start, line.find("\" rect=") - start));
  }
  return rows;
}

// The program as a child on one edition, over a device root of its own.
class Device {
 public:
  explicit Device(std::string edition) : edition_(std::move(edition)) {
    for (const char* sub : {"app", "config", "run", "root"}) fs::create_directories(folder_.path() / sub);
  }

  std::string file(const std::string& name) const { return folder_.file(name); }

  void fill(int friends, int seed) {
    const std::string command = std::string(PELLUCARD_FILLDB_EXE) + " --app-dir " + file("app") + " --friends " +
                                std::to_string(friends) + " --seed " + std::to_string(seed) + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }

  int run(const std::string& script) {
    std::ofstream(file("script.txt")) << script;
    const std::string command = "cd " + folder_.path().string() + " && LC_ALL=C XDG_RUNTIME_DIR=" + file("run") +
                                " XDG_CONFIG_HOME=" + file("config") + " " + PELLUCARD_DEVICE_EXE +
                                " --headless --edition " + edition_ + " --app-dir " + file("app") + " --device-root " +
                                file("root") + " --pim-dir " + file("pim") + " --script " + file("script.txt") + " 2>" +
                                file("stderr.txt");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The friends list's menu: Backup, then Create or Restore.
  static std::string backupMenu(bool restore) {
    return std::string("soft right\nkey UP\nkey UP\nkey RIGHT\n") + (restore ? "key DOWN\n" : "") + "key ENTER\n";
  }

 private:
  std::string edition_;
  TempFolder folder_;
};

class BackupProgram : public ::testing::TestWithParam<const char*> {};

TEST_P(BackupProgram, CreateThenRestoreAcrossRestarts) {
  Device device(GetParam());
  device.fill(3, 1);
  fs::create_directories(device.file("root/Cards/Backups"));
  // The first start's question, then a backup at the root: Done with nothing chosen.
  ASSERT_EQ(device.run("key N\ndump before.txt\n" + Device::backupMenu(false) + "dump chooser.txt\nsoft left\n" +
                       "dump created.txt\nkey ENTER\n"),
            0)
      << readBytes(device.file("stderr.txt"));
  const std::string chooser = readBytes(device.file("chooser.txt"));
  EXPECT_TRUE(has(chooser, "\"Select Backup Folder\"")) << chooser;
  EXPECT_TRUE(has(chooser, "\"SysTreeView32\"")) << chooser;
  EXPECT_TRUE(has(chooser, "text \"Cards\"")) << chooser;
  EXPECT_TRUE(has(readBytes(device.file("created.txt")), "Backup created successfully."));
  const std::string backup = readBytes(device.file("root/Pellucard.bkf"));
  EXPECT_EQ(backup, readBytes(device.file("app/Pellucard.cdb")) + kMarker);
  EXPECT_TRUE(has(readBytes(device.file("app/settings.xml")), "<BackupPath>\\Pellucard.bkf</BackupPath>"));
  const std::set<std::string> before = friendRows(readBytes(device.file("before.txt")));
  ASSERT_EQ(before.size(), 3u) << readBytes(device.file("before.txt"));

  // Other friends meanwhile; the next start restores: the chooser opens on the backup.
  device.fill(4, 2);
  ASSERT_EQ(device.run("dump changed.txt\n" + Device::backupMenu(true) + "dump restore.txt\nsoft left\n" +
                       "dump restored.txt\nkey ENTER\ndump after.txt\n"),
            0)
      << readBytes(device.file("stderr.txt"));
  EXPECT_NE(friendRows(readBytes(device.file("changed.txt"))), before);
  const std::string restore = readBytes(device.file("restore.txt"));
  EXPECT_TRUE(has(restore, "\"Select Backup File\"")) << restore;
  EXPECT_TRUE(has(restore, "text \"Pellucard.bkf\"")) << restore;
  EXPECT_TRUE(has(readBytes(device.file("restored.txt")), "Backup restored successfully."));
  EXPECT_EQ(friendRows(readBytes(device.file("after.txt"))), before) << readBytes(device.file("after.txt"));
  EXPECT_EQ(readBytes(device.file("app/Pellucard.cdb")) + kMarker, backup);

  // And the start after that reads the restored database.
  ASSERT_EQ(device.run("dump again.txt\n"), 0);
  EXPECT_EQ(friendRows(readBytes(device.file("again.txt"))), before);
}

INSTANTIATE_TEST_SUITE_P(Editions, BackupProgram, ::testing::Values("pocketpc", "smartphone"));

// The fill tool's large volume (about 40 MB) backed up and restored by a child that is killed
// at points spread over the copy.
class KilledCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = platform::DeviceConfig::current();
    for (const char* sub : {"app", "root"}) fs::create_directories(folder_.path() / sub);
    const std::string command =
        std::string(PELLUCARD_FILLDB_EXE) + " --app-dir " + folder_.file("app") + " --friends 20000 >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    platform::DeviceConfig& config = platform::DeviceConfig::current();
    config.appDir = folder_.file("app");
    config.deviceRoot = folder_.file("root");
    deleteAppPaths();
  }
  void TearDown() override {
    RecordStore::closeAll();
    deleteAppPaths();
    platform::DeviceConfig::current() = saved_;
  }

  std::string volume() const { return folder_.file("app/Pellucard.cdb"); }
  std::string backupFile() const { return folder_.file("root/Pellucard.bkf"); }

  // Runs the operation in a child killed after `delay`; true when it finished first.
  static bool runKilledAfter(bool restoring, std::chrono::microseconds delay) {
    const pid_t child = fork();
    if (child == 0) {
      // The store the operation closes first is not loaded: the points fall on the copy.
      BackupRestore backup = BackupRestore::forApplication();
      const bool ok = restoring ? backup.restoreBackup(u"\\Pellucard.bkf") : backup.createBackup(u"\\Pellucard.bkf");
      _exit(ok ? 0 : 1);
    }
    const auto deadline = std::chrono::steady_clock::now() + delay;
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      if (waitpid(child, &status, WNOHANG) == child) return WIFEXITED(status);
      usleep(200);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    return WIFEXITED(status);
  }

  // How long one operation takes in a child, the store's reopening included.
  static std::chrono::microseconds timeOf(bool restoring) {
    const auto start = std::chrono::steady_clock::now();
    runKilledAfter(restoring, std::chrono::seconds(120));
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  }

  // The database opens whole with one of the friend counts.
  void expectOpensWith(std::size_t oneCount, std::size_t otherCount) {
    ASSERT_TRUE(RecordStore::openAndLoadAll(getAppPaths().databasePath()));
    EXPECT_TRUE(RecordStore::lastLoad().complete());
    const std::size_t count = getFriendCollection().snapshot().size();
    EXPECT_TRUE(count == oneCount || count == otherCount) << count;
    RecordStore::closeAll();
  }

  TempFolder folder_;
  platform::DeviceConfig saved_;
};

TEST_F(KilledCopy, ABackupOrRestoreOfTheLargeVolumeIsWholeOrNotThere) {
  const std::string original = readBytes(volume());
  ASSERT_GT(original.size(), 30u * 1024 * 1024);

  // Backups over an older file: the older file or the whole new backup.
  writeBytes(backupFile(), "an older backup");
  const auto createTime = timeOf(false);
  ASSERT_EQ(readBytes(backupFile()), original + kMarker);
  constexpr int kPoints = 6;
  for (int i = 0; i < kPoints; ++i) {
    writeBytes(backupFile(), "an older backup");
    runKilledAfter(false, createTime * (2 * i + 1) / (2 * kPoints));
    const std::string now = readBytes(backupFile());
    EXPECT_TRUE(now == "an older backup" || now == original + kMarker) << "point " << i << ": " << now.size();
    EXPECT_EQ(readBytes(volume()), original) << "point " << i;
  }

  // Restores over a database with one friend more than the backup.
  writeBytes(backupFile(), original + kMarker);
  ASSERT_TRUE(RecordStore::openAndLoadAll(getAppPaths().databasePath()));
  const std::size_t friends = getFriendCollection().snapshot().size();
  ASSERT_TRUE(getFriendCollection().add(std::make_unique<Friend>(u"Newcomer", u"", u"", 0)));
  RecordStore::closeAll();
  const std::string changed = readBytes(volume());
  const auto restoreTime = timeOf(true);
  ASSERT_EQ(readBytes(volume()), original);
  for (int i = 0; i < kPoints; ++i) {
    writeBytes(volume(), changed);
    runKilledAfter(true, restoreTime * (2 * i + 1) / (2 * kPoints));
    const std::string now = readBytes(volume());
    EXPECT_TRUE(now == changed || now == original) << "point " << i << ": " << now.size();
    expectOpensWith(friends, friends + 1);
  }
}

}  // namespace
}  // namespace pellucard
