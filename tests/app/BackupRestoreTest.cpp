#include "app/BackupRestore.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "device/AppPaths.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/cedb/WinDb.h"
#include "store/FriendCollection.h"
#include "store/RecordStore.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

namespace pellucard {
namespace {

using platform::testing::readBytes;
using platform::testing::TempFolder;
using platform::testing::writeBytes;

const std::string kMarker = "PellucardBackup";

// A device whose root and application folder are scratch folders; the store is a plain file here,
// its opening and closing counted.
class BackupTest : public ::testing::Test {
 protected:
  TempFolder folder;
  platform::DeviceConfig saved = platform::DeviceConfig::current();
  std::string root = folder.file("root");
  std::string app = folder.file("app");
  std::string volume = app + "/Pellucard.cdb";
  std::vector<std::string> events;
  bool acceptAnyVolume = true;
  BackupRestore backup{platform::toUtf16(app) + u"\\Pellucard.cdb",
                       {[this] { events.push_back("close"); }, [this] { events.push_back("open"); },
                        [this](const std::u16string& path) {
                          events.push_back("check");
                          return acceptAnyVolume || BackupRestore::mountsAsVolume(path);
                        }}};

  void SetUp() override {
    std::filesystem::create_directories(root);
    std::filesystem::create_directories(app);
    platform::DeviceConfig::current().deviceRoot = root;
    writeBytes(volume, "the database volume");
  }
  void TearDown() override { platform::DeviceConfig::current() = saved; }

  std::vector<std::string> files(const std::string& where) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(where)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(BackupTest, AValidBackupEndsWithTheExactMarker) {
  EXPECT_FALSE(BackupRestore::isValidBackup(u"\\missing.bkf"));
  writeBytes(root + "/short.bkf", kMarker.substr(1));
  EXPECT_FALSE(BackupRestore::isValidBackup(u"\\short.bkf"));
  writeBytes(root + "/marker.bkf", kMarker);
  EXPECT_TRUE(BackupRestore::isValidBackup(u"\\marker.bkf"));
  writeBytes(root + "/full.bkf", "content" + kMarker);
  EXPECT_TRUE(BackupRestore::isValidBackup(u"\\full.bkf"));
  writeBytes(root + "/trailing.bkf", "content" + kMarker + "\n");
  EXPECT_FALSE(BackupRestore::isValidBackup(u"\\trailing.bkf"));
  for (std::size_t i = 0; i < kMarker.size(); ++i) {
    std::string marker = kMarker;
    marker[i] ^= 0x20;  // the comparison is case-sensitive
    writeBytes(root + "/flipped.bkf", "content" + marker);
    EXPECT_FALSE(BackupRestore::isValidBackup(u"\\flipped.bkf")) << "byte " << i;
  }
}

TEST_F(BackupTest, CreateWritesVolumeAndMarkerAroundAClosedStore) {
  writeBytes(root + "/Backups/Pellucard.bkf", "an older backup");
  ASSERT_TRUE(backup.createBackup(u"\\Backups\\Pellucard.bkf"));
  EXPECT_EQ(readBytes(root + "/Backups/Pellucard.bkf"), "the database volume" + kMarker);
  EXPECT_EQ(events, (std::vector<std::string>{"close", "open"}));
  EXPECT_EQ(files(root + "/Backups"), std::vector<std::string>{"Pellucard.bkf"}) << "no temporary file is left";
}

TEST_F(BackupTest, CreateMakesMissingFoldersAndWritesAtTheRoot) {
  ASSERT_TRUE(backup.createBackup(u"\\a\\b\\c\\x.bkf"));
  EXPECT_TRUE(BackupRestore::isValidBackup(u"\\a\\b\\c\\x.bkf"));
  ASSERT_TRUE(backup.createBackup(u"\\Pellucard.bkf"));
  EXPECT_EQ(readBytes(root + "/Pellucard.bkf"), "the database volume" + kMarker);
}

TEST_F(BackupTest, AFailedCreateKeepsTheOlderBackupAndReopensTheStore) {
  writeBytes(root + "/Pellucard.bkf", "an older backup");
  std::filesystem::remove(volume);
  EXPECT_FALSE(backup.createBackup(u"\\Pellucard.bkf"));
  EXPECT_EQ(readBytes(root + "/Pellucard.bkf"), "an older backup");
  EXPECT_EQ(events, (std::vector<std::string>{"close", "open"}));
  EXPECT_EQ(files(root), std::vector<std::string>{"Pellucard.bkf"});

  // A target below a regular file can never be written.
  writeBytes(volume, "the database volume");
  EXPECT_FALSE(backup.createBackup(u"\\Pellucard.bkf\\inside.bkf"));
  EXPECT_EQ(readBytes(root + "/Pellucard.bkf"), "an older backup");
}

TEST_F(BackupTest, RestorePutsTheContentBackWithoutTheMarker) {
  writeBytes(root + "/old.bkf", "an earlier volume" + kMarker);
  ASSERT_TRUE(backup.restoreBackup(u"\\old.bkf"));
  EXPECT_EQ(readBytes(volume), "an earlier volume");
  EXPECT_EQ(events, (std::vector<std::string>{"close", "check", "open"}));
  EXPECT_EQ(files(app), std::vector<std::string>{"Pellucard.cdb"});
  EXPECT_EQ(readBytes(root + "/old.bkf"), "an earlier volume" + kMarker) << "the backup itself stays";
}

TEST_F(BackupTest, RestoreThenBackupGivesTheSameFile) {
  writeBytes(root + "/first.bkf", std::string("\0\1binary\xff", 10) + kMarker);
  ASSERT_TRUE(backup.restoreBackup(u"\\first.bkf"));
  ASSERT_TRUE(backup.createBackup(u"\\second.bkf"));
  EXPECT_EQ(readBytes(root + "/second.bkf"), readBytes(root + "/first.bkf"));
}

TEST_F(BackupTest, AnInvalidBackupNeverTouchesTheStore) {
  writeBytes(root + "/bad.bkf", "content" + std::string("PellucardBackuP"));
  EXPECT_FALSE(backup.restoreBackup(u"\\bad.bkf"));
  EXPECT_FALSE(backup.restoreBackup(u"\\missing.bkf"));
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(readBytes(volume), "the database volume");
}

TEST_F(BackupTest, ABackupWhoseContentIsNoVolumeLeavesTheDatabase) {
  acceptAnyVolume = false;
  writeBytes(root + "/garbage.bkf", "this is not a database volume at all" + kMarker);
  EXPECT_FALSE(backup.restoreBackup(u"\\garbage.bkf"));
  writeBytes(root + "/empty.bkf", kMarker);
  EXPECT_FALSE(backup.restoreBackup(u"\\empty.bkf"));
  EXPECT_EQ(readBytes(volume), "the database volume");
  EXPECT_EQ(events, (std::vector<std::string>{"close", "check", "open", "close", "check", "open"}));
  EXPECT_EQ(files(app), std::vector<std::string>{"Pellucard.cdb"});
}

TEST_F(BackupTest, ARealVolumeRestoresAndComesBackIdentical) {
  acceptAnyVolume = false;
  const std::u16string made = platform::toUtf16(folder.file("made.cdb"));
  CEGUID guid{};
  ASSERT_TRUE(CeMountDBVol(&guid, made.c_str(), CREATE_NEW));
  ASSERT_TRUE(CeUnmountDBVol(&guid));
  writeBytes(root + "/real.bkf", readBytes(folder.file("made.cdb")) + kMarker);

  ASSERT_TRUE(backup.restoreBackup(u"\\real.bkf"));
  EXPECT_EQ(readBytes(volume), readBytes(folder.file("made.cdb")));
  ASSERT_TRUE(backup.createBackup(u"\\again.bkf"));
  EXPECT_EQ(readBytes(root + "/again.bkf"), readBytes(root + "/real.bkf"));
}

// A process killed at any moment of a copy leaves each file either as it was or complete.
TEST_F(BackupTest, AKilledBackupOrRestoreLeavesOldOrNewButNothingBetween) {
  const std::string big(8 * 1024 * 1024, 'v');
  writeBytes(volume, big);
  writeBytes(root + "/Pellucard.bkf", "an older backup");
  writeBytes(root + "/restore.bkf", std::string(8 * 1024 * 1024, 'r') + kMarker);
  for (int round = 0; round < 6; ++round) {
    const bool restoring = round % 2 == 1;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const bool ok = restoring ? backup.restoreBackup(u"\\restore.bkf") : backup.createBackup(u"\\Pellucard.bkf");
      _exit(ok ? 0 : 1);
    }
    usleep(1000 * (1 + round * 3));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string backupNow = readBytes(root + "/Pellucard.bkf");
    EXPECT_TRUE(backupNow == "an older backup" || backupNow == big + kMarker) << "round " << round;
    const std::string volumeNow = readBytes(volume);
    EXPECT_TRUE(volumeNow == big || volumeNow == std::string(8 * 1024 * 1024, 'r')) << "round " << round;
    writeBytes(volume, big);
  }
}

}  // namespace
}  // namespace pellucard

namespace pellucard {
namespace {

std::vector<std::u16string> friendNames() {
  std::vector<std::u16string> names;
  for (Friend* f : getFriendCollection().snapshot()) names.emplace_back(f->firstName());
  std::sort(names.begin(), names.end());
  return names;
}

// The program's own store: backups travel through a closed store and the lists come back loaded.
TEST(ApplicationBackup, RestoreBringsBackTheFriendsOfTheBackup) {
  TempFolder folder;
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  const platform::DeviceConfig saved = config;
  std::filesystem::create_directories(folder.file("app"));
  std::filesystem::create_directories(folder.file("root"));
  config.appDir = folder.file("app");
  config.deviceRoot = folder.file("root");
  deleteAppPaths();

  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  ASSERT_TRUE(getFriendCollection().add(std::make_unique<Friend>(u"Ann", u"A", u"", 0)));
  BackupRestore backup = BackupRestore::forApplication();
  ASSERT_TRUE(backup.createBackup(u"\\Backups\\Pellucard.bkf"));
  EXPECT_EQ(friendNames(), std::vector<std::u16string>{u"Ann"}) << "the store is reloaded after the copy";

  ASSERT_TRUE(getFriendCollection().add(std::make_unique<Friend>(u"Bob", u"B", u"", 1)));
  writeBytes(folder.file("root/garbage.bkf"), std::string(4096, 'g') + "PellucardBackup");
  EXPECT_FALSE(backup.restoreBackup(u"\\garbage.bkf"));
  EXPECT_EQ(friendNames(), (std::vector<std::u16string>{u"Ann", u"Bob"}));

  ASSERT_TRUE(backup.restoreBackup(u"\\Backups\\Pellucard.bkf"));
  EXPECT_EQ(friendNames(), std::vector<std::u16string>{u"Ann"});
  ASSERT_TRUE(backup.createBackup(u"\\again.bkf"));
  EXPECT_EQ(readBytes(folder.file("root/again.bkf")), readBytes(folder.file("root/Backups/Pellucard.bkf")));

  RecordStore::closeAll();
  deleteAppPaths();
  config = saved;
}

}  // namespace
}  // namespace pellucard
