// Each writer of the program with each of its file operations failing in turn (a full disk, a failing
// medium, a refused permission; once, or for good): the writer says it failed, and what a later start
// reads is the previous file, whole, or the new one when the writer said it succeeded.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "app/BackupRestore.h"
#include "app/HelpFile.h"
#include "outlook/CalendarExport.h"
#include "outlook/OutlookConnection.h"
#include "outlook/TaskExport.h"
#include "pin/PinLock.h"
#include "platform/base/FaultInjection.h"
#include "platform/base/Utf.h"
#include "resources/HelpFile.h"
#include "tests/app/AppHarness.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScratchRegistry.h"

namespace pellucard::testing {
namespace {

namespace fs = std::filesystem;
using platform::FaultInjection;
using platform::testing::readBytes;
using platform::testing::writeBytes;

constexpr int kErrors[] = {ENOSPC, EIO, EACCES};

struct Writer {
  const char* name;
  std::function<void()> prepare;  // puts the previous files in place, loaded where the writer needs it
  std::function<bool()> write;
  // Checks what a later start would read: the new content when the write said so, else the old.
  std::function<void(bool written)> check;
};

std::size_t occurrences(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class WriterFaults : public ::testing::Test {
 protected:
  void SetUp() override { FaultInjection::setSyncsElided(true); }
  void TearDown() override {
    FaultInjection::disarmAll();
    FaultInjection::setSyncsElided(false);
  }

  // Runs the writer once to count its file operations, then once more for each with that one
  // failing. Returns the number of failing runs.
  // folder: where its files are; empty: the program's folders.
  int exhaust(const Writer& writer, const std::string& folder = "") {
    SCOPED_TRACE(writer.name);
    const std::string pattern = (folder.empty() ? app.folder().path().string() : folder) + "/*";
    writer.prepare();
    std::uint64_t operations = 0;
    {
      FaultInjection::Armed counting({.operations = FaultInjection::kAll, .nth = 0, .pathPattern = pattern});
      EXPECT_TRUE(writer.write());
      operations = counting.matched();
    }
    writer.check(true);
    EXPECT_GT(operations, 0u);
    int cases = 0;
    for (std::uint64_t times : {1u, 0u}) {
      for (std::uint64_t nth = 1; nth <= operations; ++nth) {
        const int error = kErrors[(nth + times) % 3];
        SCOPED_TRACE("operation " + std::to_string(nth) + " of " + std::to_string(operations) + ", errno " +
                     std::to_string(error) + (times == 0 ? ", for good" : ", once"));
        writer.prepare();
        bool ok = false;
        {
          FaultInjection::Armed failing(
              {.operations = FaultInjection::kAll, .nth = nth, .times = times, .error = error, .pathPattern = pattern});
          ok = writer.write();
        }
        writer.check(ok);
        ++cases;
        if (::testing::Test::HasFailure()) return cases;
      }
    }
    return cases;
  }

  std::string appFile(const std::string& name) const { return app.folder().file("app/" + name); }
  std::string pimFile(const std::string& name) const { return app.folder().file("pim/" + name); }

  // As a new start would: the store reopened from its file.
  static void reopenStore() {
    RecordStore::closeAll();
    RecordStore::openAndLoadAll(getAppPaths().databasePath());
  }

  AppHarness app;
  platform::testing::ScratchRegistry registry;
};

TEST_F(WriterFaults, Settings) {
  const std::string path = appFile("settings.xml");
  const std::string before = "<configuration><FNameFirst>1</FNameFirst><Mine>kept</Mine></configuration>";
  Settings settings(platform::toUtf16(path));
  std::string previous;
  const int cases = exhaust({"settings",
                             [&] {
                               ASSERT_TRUE(writeBytes(path, before));
                               settings.load();
                               previous = readBytes(path);
                             },
                             [&] { return settings.setFNameFirst(false); },
                             [&](bool written) {
                               Settings later(platform::toUtf16(path));
                               later.load();
                               EXPECT_EQ(later.fNameFirst(), !written);
                               EXPECT_NE(readBytes(path).find("<Mine>kept</Mine>"), std::string::npos);
                               if (!written) {
                                 EXPECT_EQ(readBytes(path), previous);
                               }
                             }});
  std::printf("[ settings fault cases: %d ]\n", cases);
}

TEST_F(WriterFaults, RegistryPin) {
  PinLock lock;
  const int cases = exhaust({"registry",
                             [&] {
                               ASSERT_TRUE(lock.disable(true));
                               ASSERT_TRUE(lock.setPin(u"1234"));
                               registry.restart();
                             },
                             [&] {
                               lock.setPinPrompt([](HWND) { return std::optional<std::u16string>(u"1234"); });
                               return lock.setPin(u"98765");
                             },
                             [&](bool written) {
                               registry.restart();
                               PinLock later;
                               EXPECT_TRUE(later.isEnabled());
                               EXPECT_EQ(later.verify(u"98765"), written);
                               EXPECT_EQ(later.verify(u"1234"), !written);
                             }},
                            registry.folder());
  std::printf("[ registry fault cases: %d ]\n", cases);
}

TEST_F(WriterFaults, CalendarAndTaskFiles) {
  const RecordId ann = app.addFriend(u"Ann", u"Lee");
  const RecordId birthday = app.addAnniversary(u"Birthday", ann, date(1990, 5, 10));
  const RecordId wedding = app.addAnniversary(u"Wedding", ann, date(2015, 8, 20));
  const RecordId ladder = app.addLoan(u"Ladder", kLoanTo, ann, date(2026, 2, 1), date(2026, 4, 1));
  const RecordId saw = app.addLoan(u"Saw", kLoanTo, ann, date(2026, 2, 1), date(2026, 5, 1));
  std::string calendarBefore;
  std::string tasksBefore;
  // One appointment and one task already there, the second of each exported afresh.
  auto prepare = [&] {
    for (RecordId id : {birthday, wedding}) getAnniversaryCollection().find(id)->setOutlookItemId(0);
    for (RecordId id : {ladder, saw}) getLoanCollection().find(id)->setOutlookItemId(0);
    fs::remove(pimFile("calendar.ics"));
    fs::remove(pimFile("tasks.ics"));
    deleteOutlookConnection();
    ASSERT_EQ(getOutlookConnection().start(), S_OK);
    ASSERT_TRUE(CalendarExport(getOutlookConnection()).exportAnniversary(*getAnniversaryCollection().find(birthday)));
    ASSERT_TRUE(TaskExport(getOutlookConnection()).exportLoan(*getLoanCollection().find(ladder)));
    calendarBefore = readBytes(pimFile("calendar.ics"));
    tasksBefore = readBytes(pimFile("tasks.ics"));
  };
  int cases = exhaust(
      {"calendar", prepare,
       [&] {
         return CalendarExport(getOutlookConnection()).exportAnniversary(*getAnniversaryCollection().find(wedding));
       },
       [&](bool written) {
         const std::string now = readBytes(pimFile("calendar.ics"));
         if (written) {
           EXPECT_EQ(occurrences(now, "BEGIN:VEVENT"), 2u);
           EXPECT_EQ(occurrences(now, "END:VCALENDAR"), 1u);
         } else if (now != calendarBefore) {
           // The item is in the file whole, but its record could not keep it.
           EXPECT_EQ(occurrences(now, "BEGIN:VEVENT"), 2u);
           EXPECT_EQ(occurrences(now, "END:VCALENDAR"), 1u);
         }
       }});
  cases += exhaust({"tasks", prepare,
                    [&] { return TaskExport(getOutlookConnection()).exportLoan(*getLoanCollection().find(saw)); },
                    [&](bool written) {
                      const std::string now = readBytes(pimFile("tasks.ics"));
                      if (written) {
                        EXPECT_EQ(occurrences(now, "BEGIN:VTODO"), 2u);
                        EXPECT_EQ(occurrences(now, "END:VCALENDAR"), 1u);
                      } else if (now != tasksBefore) {
                        // The item is in the file whole, but its record could not keep it.
                        EXPECT_EQ(occurrences(now, "BEGIN:VTODO"), 2u);
                        EXPECT_EQ(occurrences(now, "END:VCALENDAR"), 1u);
                      }
                    }});
  std::printf("[ calendar and task fault cases: %d ]\n", cases);
}

TEST_F(WriterFaults, HelpFile) {
  const std::string path = appFile("PellucardHelp.htm");
  const int cases = exhaust({"help file", [&] { fs::remove(path); },
                             [&] { return HelpFile::install(platform::toUtf16(path), helpFileText()); },
                             [&](bool written) {
                               // Never a guide cut short: it would stay so, since a file that is there
                               // is never written again.
                               if (written) {
                                 EXPECT_EQ(readBytes(path), std::string(helpFileText()));
                               } else {
                                 EXPECT_FALSE(fs::exists(path));
                               }
                             }});
  std::printf("[ help file fault cases: %d ]\n", cases);
}

TEST_F(WriterFaults, BackupCreateAndRestore) {
  const std::string volume = appFile("Pellucard.cdb");
  const std::string target = app.folder().file("backups/Pellucard.bkf");
  fs::create_directories(app.folder().file("backups"));
  app.addFriend(u"Ann", u"Lee");
  reopenStore();
  const std::string database = readBytes(volume);
  const std::string olderBackup = "an older backup" + std::string(BackupRestore::kBackupMarker);
  BackupRestore backup = BackupRestore::forApplication();

  int cases = exhaust({"create backup", [&] { ASSERT_TRUE(writeBytes(target, olderBackup)); },
                       [&] { return backup.createBackup(platform::toUtf16(target)); },
                       [&](bool written) {
                         EXPECT_EQ(readBytes(target),
                                   written ? database + std::string(BackupRestore::kBackupMarker) : olderBackup);
                         reopenStore();
                         EXPECT_TRUE(RecordStore::lastLoad().complete());
                         EXPECT_EQ(getFriendCollection().size(), 1u);
                       }});

  // A backup of two friends restored over the database of one.
  app.addFriend(u"Bo", u"Berg");
  RecordStore::closeAll();
  const std::string twoFriends = readBytes(volume);
  ASSERT_TRUE(writeBytes(target, twoFriends + std::string(BackupRestore::kBackupMarker)));
  cases += exhaust({"restore backup",
                    [&] {
                      RecordStore::closeAll();
                      fs::remove(volume + "-journal");
                      ASSERT_TRUE(writeBytes(volume, database));
                      reopenStore();
                    },
                    [&] { return backup.restoreBackup(platform::toUtf16(target)); },
                    [&](bool written) {
                      reopenStore();
                      EXPECT_TRUE(RecordStore::lastLoad().complete());
                      EXPECT_EQ(getFriendCollection().size(), written ? 2u : 1u);
                      RecordStore::closeAll();
                      EXPECT_EQ(readBytes(volume), written ? twoFriends : database);
                      reopenStore();
                    }});
  std::printf("[ backup fault cases: %d ]\n", cases);
}

}  // namespace
}  // namespace pellucard::testing

namespace pellucard::testing {
namespace {

class BackupFiles : public ::testing::Test {
 protected:
  AppHarness app;
  std::string volume = app.folder().file("app/Pellucard.cdb");
  std::string target = app.folder().file("Pellucard.bkf");
};

unsigned modeOf(const std::string& path) {
  std::error_code ec;
  return static_cast<unsigned>(fs::status(path, ec).permissions());
}

TEST_F(BackupFiles, ABackupIsItsUsersAloneAndSoIsTheDatabaseItRestores) {
  app.addFriend(u"Ann", u"Lee");
  BackupRestore backup = BackupRestore::forApplication();
  ASSERT_TRUE(writeBytes(target, "older"));
  fs::permissions(target, fs::perms(0644));
  ASSERT_TRUE(backup.createBackup(platform::toUtf16(target)));
  EXPECT_EQ(modeOf(target), 0600u);
  ASSERT_TRUE(backup.restoreBackup(platform::toUtf16(target)));
  EXPECT_EQ(modeOf(volume), 0600u);
}

// A database that cannot be read, with what an interrupted change left beside it: the restore puts
// the backup in its place, and the leftover is not played into the restored file.
TEST_F(BackupFiles, RestoreWorksWhileTheDatabaseCannotBeRead) {
  app.addFriend(u"Ann", u"Lee");
  app.addFriend(u"Bo", u"Berg");
  BackupRestore backup = BackupRestore::forApplication();
  ASSERT_TRUE(backup.createBackup(platform::toUtf16(target)));
  RecordStore::closeAll();
  ASSERT_TRUE(writeBytes(volume, std::string(8192, '\x66')));
  ASSERT_TRUE(writeBytes(volume + "-journal", std::string(4096, '\x77')));
  RecordStore::openAndLoadAll(getAppPaths().databasePath());
  ASSERT_FALSE(RecordStore::acceptsWrites());

  ASSERT_TRUE(backup.restoreBackup(platform::toUtf16(target)));
  EXPECT_TRUE(RecordStore::lastLoad().complete());
  EXPECT_TRUE(RecordStore::acceptsWrites());
  EXPECT_EQ(getFriendCollection().size(), 2u);
  EXPECT_FALSE(fs::exists(volume + "-journal"));
}

}  // namespace
}  // namespace pellucard::testing
