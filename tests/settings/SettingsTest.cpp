#include "settings/Settings.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "device/AppPaths.h"
#include "device/DeviceProfile.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/FaultInjection.h"
#include "platform/base/Utf.h"
#include "platform/gdi/GdiBridge.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

namespace pellucard {
namespace {

using platform::testing::readBytes;
using platform::testing::TempFolder;
using platform::testing::writeBytes;

const std::vector<std::string> kElementOrder = {"FirstStartDone",
                                                "FNameFirst",
                                                "SkinName",
                                                "BackupPeriodOption",
                                                "AnniverariesAutoExport",
                                                "AnniversariesReminder",
                                                "AnniversariesReminderTime",
                                                "LoansAutoExport",
                                                "LoansReminder",
                                                "LoansReminderTime",
                                                "BackupPath"};

struct FileView {
  std::vector<std::string> names;
  std::vector<std::string> texts;
  std::string text(const std::string& name) const {
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] == name) return texts[i];
    return "<missing>";
  }
};

FileView readFile(const std::string& path) {
  pugi::xml_document doc;
  FileView view;
  if (!doc.load_file(path.c_str())) return view;
  for (pugi::xml_node child : doc.child("configuration").children()) {
    view.names.push_back(child.name());
    view.texts.push_back(child.text().get());
  }
  return view;
}

class SettingsFile : public ::testing::Test {
 protected:
  TempFolder folder;
  std::string path = folder.file("settings.xml");
  Settings settings{platform::toUtf16(path)};

  void expectDefaults(const Settings& s) {
    EXPECT_FALSE(s.firstStartDone());
    EXPECT_TRUE(s.fNameFirst());
    EXPECT_EQ(s.skinName(), u"");
    EXPECT_EQ(s.backupPeriodOption(), 0);
    EXPECT_TRUE(s.anniversariesAutoExport());
    EXPECT_EQ(s.anniversariesReminder(), 1);
    EXPECT_EQ(s.anniversariesReminderTime(), 3072);
    EXPECT_TRUE(s.loansAutoExport());
    EXPECT_EQ(s.loansReminder(), 1);
    EXPECT_EQ(s.loansReminderTime(), 3072);
    EXPECT_EQ(s.backupPath(), u"\\");
  }

  void expectDefaultFile() {
    const FileView view = readFile(path);
    EXPECT_EQ(view.names, kElementOrder);
    EXPECT_EQ(view.texts, (std::vector<std::string>{"0", "1", "", "0", "1", "1", "3072", "1", "1", "3072", "\\"}));
  }
};

TEST_F(SettingsFile, FirstLoadCreatesTheFileWithEveryDefaultInOrder) {
  settings.load();
  expectDefaults(settings);
  expectDefaultFile();
  EXPECT_EQ(std::filesystem::directory_iterator(folder.path())->path().filename(), "settings.xml")
      << "no temporary file is left behind";
}

TEST_F(SettingsFile, MissingElementsAreAddedAfterThePresentOnes) {
  writeBytes(path, "<configuration><FNameFirst>0</FNameFirst></configuration>");
  settings.load();
  EXPECT_FALSE(settings.fNameFirst());
  EXPECT_EQ(settings.loansReminderTime(), 3072);
  const FileView view = readFile(path);
  ASSERT_EQ(view.names.size(), kElementOrder.size());
  EXPECT_EQ(view.names.front(), "FNameFirst");
  EXPECT_EQ(view.text("FNameFirst"), "0");
  EXPECT_EQ(view.names[1], "FirstStartDone");
  EXPECT_EQ(view.names.back(), "BackupPath");
}

TEST_F(SettingsFile, ValuesParseAsLeadingDecimalIntegers) {
  writeBytes(path,
             "<configuration><FNameFirst>yes</FNameFirst><AnniversariesReminder>  7a</AnniversariesReminder>"
             "<LoansReminder>-1</LoansReminder><LoansReminderTime>1830</LoansReminderTime>"
             "<BackupPeriodOption>99999999999999999999</BackupPeriodOption>"
             "<AnniversariesReminderTime>-99999999999</AnniversariesReminderTime></configuration>");
  settings.load();
  EXPECT_FALSE(settings.fNameFirst());
  EXPECT_EQ(settings.anniversariesReminder(), 7);
  EXPECT_EQ(settings.loansReminder(), Settings::kNoReminder);
  EXPECT_EQ(settings.loansReminderTime(), 1830);
  EXPECT_EQ(settings.loansReminderTime() / 256, 7);
  EXPECT_EQ(settings.loansReminderTime() % 256, 38);
  EXPECT_EQ(settings.backupPeriodOption(), INT_MAX);
  EXPECT_EQ(settings.anniversariesReminderTime(), INT_MIN);
}

TEST(SettingsParse, LeadingDecimalInteger) {
  EXPECT_EQ(Settings::parseInt(u""), 0);
  EXPECT_EQ(Settings::parseInt(u"abc"), 0);
  EXPECT_EQ(Settings::parseInt(u"\t+12x3"), 12);
  EXPECT_EQ(Settings::parseInt(u"- 5"), 0);
  EXPECT_EQ(Settings::parseInt(u"--5"), 0);
  EXPECT_EQ(Settings::parseInt(u"2147483647"), INT_MAX);
  EXPECT_EQ(Settings::parseInt(u"-2147483648"), INT_MIN);
  EXPECT_EQ(Settings::parseInt(u"2147483648"), INT_MAX);
  EXPECT_EQ(Settings::parseInt(u"\u0663"), 0) << "only ASCII digits count";
}

// Hand edits may put anything in the file; where a reminder is used it counts as the nearest value
// the Options screen could have given, and the file keeps what the user wrote.
TEST(SettingsReminderRange, OutOfRangeValuesCountAsTheNearestValidOne) {
  EXPECT_EQ(Settings::reminderDaysInRange(INT_MIN), Settings::kNoReminder);
  EXPECT_EQ(Settings::reminderDaysInRange(-2), Settings::kNoReminder);
  EXPECT_EQ(Settings::reminderDaysInRange(0), 0);
  EXPECT_EQ(Settings::reminderDaysInRange(14), 14);
  EXPECT_EQ(Settings::reminderDaysInRange(INT_MAX), Settings::kLongestReminder);

  EXPECT_EQ(Settings::reminderTimeInRange(INT_MIN), 0);
  EXPECT_EQ(Settings::reminderTimeInRange(-1), 0);
  EXPECT_EQ(Settings::reminderTimeInRange(1830), 1830) << "07:38";
  EXPECT_EQ(Settings::reminderTimeInRange(7 * 256 + 100), 7 * 256 + 59) << "minute 100 is nearer 07:59";
  EXPECT_EQ(Settings::reminderTimeInRange(7 * 256 + 200), 8 * 256) << "minute 200 is nearer 08:00";
  EXPECT_EQ(Settings::reminderTimeInRange(23 * 256 + 59), 23 * 256 + 59);
  EXPECT_EQ(Settings::reminderTimeInRange(23 * 256 + 60), 23 * 256 + 59);
  EXPECT_EQ(Settings::reminderTimeInRange(INT_MAX), 23 * 256 + 59);
}

TEST_F(SettingsFile, OutOfRangeRemindersAreKeptInTheFileAsWritten) {
  writeBytes(path,
             "<configuration><AnniversariesReminder>99999999999</AnniversariesReminder>"
             "<AnniversariesReminderTime>-7</AnniversariesReminderTime>"
             "<LoansReminder>-40</LoansReminder></configuration>");
  settings.load();
  EXPECT_EQ(settings.anniversariesReminder(), INT_MAX);
  EXPECT_EQ(settings.anniversariesReminderTime(), -7);
  EXPECT_EQ(settings.loansReminder(), -40);
  settings.setFNameFirst(false);
  const FileView view = readFile(path);
  EXPECT_EQ(view.text("AnniversariesReminder"), std::to_string(INT_MAX));
  EXPECT_EQ(view.text("AnniversariesReminderTime"), "-7");
  EXPECT_EQ(view.text("LoansReminder"), "-40");
}

TEST_F(SettingsFile, UnreadableFilesGiveTheDefaultsAndAreRewritten) {
  const std::vector<std::string> broken = {
      "",
      "not xml at all",
      "<configuration><FNameFirst>0</FNameFirst>",  // truncated
      "<configuration><FNameFirst>0</FNameFirst><SkinName>\xff\xfe\x80</SkinName></configuration>",
      "<other><FNameFirst>0</FNameFirst></other>",
  };
  for (const std::string& bytes : broken) {
    writeBytes(path, bytes);
    Settings fresh(platform::toUtf16(path));
    fresh.load();
    SCOPED_TRACE(bytes);
    expectDefaults(fresh);
    expectDefaultFile();
  }
}

TEST_F(SettingsFile, ForeignElementsOfAWellFormedFileSurviveSaves) {
  writeBytes(path, "<configuration><Extra a=\"1\">kept</Extra><LoansReminder>14</LoansReminder></configuration>");
  settings.load();
  settings.setLoansReminder(3);
  const FileView view = readFile(path);
  EXPECT_EQ(view.names.front(), "Extra");
  EXPECT_EQ(view.text("Extra"), "kept");
  EXPECT_EQ(view.text("LoansReminder"), "3");
}

TEST_F(SettingsFile, TheConfigurationMayBeNestedAndTheFileMayBeUtf16) {
  writeBytes(path, "<settings><configuration><FNameFirst>0</FNameFirst></configuration></settings>");
  settings.load();
  EXPECT_FALSE(settings.fNameFirst());

  std::string utf16 = "\xff\xfe";
  for (char c : std::string("<configuration><LoansReminder>7</LoansReminder></configuration>")) {
    utf16 += c;
    utf16 += '\0';
  }
  writeBytes(path, utf16);
  Settings fresh(platform::toUtf16(path));
  fresh.load();
  EXPECT_EQ(fresh.loansReminder(), 7);
  EXPECT_EQ(readFile(path).text("LoansReminder"), "7");
}

TEST_F(SettingsFile, EverySetterWritesTheWholeFileAtOnce) {
  settings.load();
  settings.setFNameFirst(false);
  settings.setAnniversariesAutoExport(false);
  settings.setAnniversariesReminder(-1);
  settings.setAnniversariesReminderTime(1830);
  settings.setLoansAutoExport(false);
  settings.setLoansReminder(14);
  settings.setLoansReminderTime(9 * 256 + 5);
  settings.setBackupPath(u"\\Storage Card\\Säkerung <1> & 2");
  settings.setFirstStartDone();

  const FileView view = readFile(path);
  EXPECT_EQ(view.names, kElementOrder);
  EXPECT_EQ(view.text("AnniversariesReminder"), "-1");
  EXPECT_EQ(view.text("LoansReminderTime"), "2309");

  Settings again(platform::toUtf16(path));
  again.load();
  EXPECT_TRUE(again.firstStartDone());
  EXPECT_FALSE(again.fNameFirst());
  EXPECT_FALSE(again.anniversariesAutoExport());
  EXPECT_EQ(again.anniversariesReminder(), -1);
  EXPECT_EQ(again.anniversariesReminderTime(), 1830);
  EXPECT_FALSE(again.loansAutoExport());
  EXPECT_EQ(again.loansReminder(), 14);
  EXPECT_EQ(again.loansReminderTime(), 2309);
  EXPECT_EQ(again.backupPath(), u"\\Storage Card\\Säkerung <1> & 2");
}

TEST_F(SettingsFile, ASetterKeepsValuesLoadedFromTheFile) {
  writeBytes(path,
             "<configuration><SkinName>Blue</SkinName><BackupPeriodOption>5</BackupPeriodOption></configuration>");
  settings.load();
  EXPECT_EQ(settings.skinName(), u"Blue");
  settings.setFNameFirst(false);
  const FileView view = readFile(path);
  EXPECT_EQ(view.text("SkinName"), "Blue");
  EXPECT_EQ(view.text("BackupPeriodOption"), "5");
}

TEST_F(SettingsFile, AFailedSaveLeavesTheOldFile) {
  writeBytes(path, "<configuration><FNameFirst>0</FNameFirst></configuration>");
  const std::string before = readBytes(path);
  // The settings path sits below a regular file, so nothing can be written there.
  Settings blocked(platform::toUtf16(path + "/settings.xml"));
  blocked.load();
  expectDefaults(blocked);
  EXPECT_FALSE(blocked.save());
  EXPECT_EQ(readBytes(path), before);
}

// A file that is there but cannot be read for now is not replaced by the defaults, neither by a
// load nor by a save.
TEST_F(SettingsFile, AFileThatCannotBeReadIsLeftAsItIs) {
  const std::string mine = "<configuration><FNameFirst>0</FNameFirst><Mine>kept</Mine></configuration>";
  writeBytes(path, mine);
  for (int error : {EACCES, EIO}) {
    platform::FaultInjection::Armed refused(
        {.operations = platform::FaultInjection::kOpen, .times = 0, .error = error, .pathPattern = path});
    settings.load();
    expectDefaults(settings);
    EXPECT_FALSE(settings.save());
    EXPECT_FALSE(settings.setBackupPath(u"\\Backups"));
    EXPECT_EQ(readBytes(path), mine);
  }
  settings.load();
  EXPECT_FALSE(settings.fNameFirst()) << "read again once it can be";
}

TEST_F(SettingsFile, MissingFoldersAreCreated) {
  Settings nested(platform::toUtf16(folder.file("a/b/settings.xml")));
  nested.load();
  EXPECT_EQ(readFile(folder.file("a/b/settings.xml")).names, kElementOrder);
}

TEST_F(SettingsFile, EachLoadRecomputesTheDeviceProfile) {
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  const platform::DeviceConfig saved = config;
  config.edition = platform::Edition::PocketPc;
  platform::gdi::resizeScreen(240, 320);
  settings.load();
  EXPECT_TRUE(settings.deviceProfile().isPocketPc());
  EXPECT_EQ(settings.deviceProfile().layout().kind(), LayoutKind::PocketPc240Portrait);
  platform::gdi::resizeScreen(320, 240);
  settings.load();
  EXPECT_TRUE(settings.deviceProfile().landscape());
  EXPECT_EQ(settings.deviceProfile().layout().kind(), LayoutKind::PocketPc240Landscape);
  config = saved;
  platform::gdi::resizeScreen(saved.screenWidth, saved.screenHeight);
}

TEST(SettingsInstance, LivesInTheApplicationFolderUntilDeleted) {
  TempFolder folder;
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  const platform::DeviceConfig saved = config;
  config.appDir = folder.path().string() + "/";
  deleteAppPaths();
  deleteSettings();
  Settings& settings = getSettings();
  EXPECT_EQ(&settings, &getSettings());
  EXPECT_EQ(settings.filePath(), platform::toUtf16(folder.path().string() + "/\\settings.xml"));
  settings.load();
  settings.setFNameFirst(false);
  deleteSettings();
  Settings& fresh = getSettings();
  EXPECT_TRUE(fresh.fNameFirst()) << "a new instance holds defaults until it loads";
  fresh.load();
  EXPECT_FALSE(fresh.fNameFirst());
  deleteSettings();
  deleteAppPaths();
  config = saved;
}

}  // namespace
}  // namespace pellucard
