// A child process runs a fixed sequence of changes (records added, updated and removed, settings
// saved, the PIN written, anniversaries and loans exported, a backup created and restored) and is
// killed at a chosen file operation, or in the middle of a write. The next start must find every
// change the child had seen succeed, at most the one it was making besides, and every file whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/BackupRestore.h"
#include "device/AppPaths.h"
#include "outlook/CalendarExport.h"
#include "outlook/OutlookConnection.h"
#include "outlook/TaskExport.h"
#include "pin/PinLock.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/FaultInjection.h"
#include "platform/base/Utf.h"
#include "resources/StringTable.h"
#include "settings/Settings.h"
#include "settings/StoreWiring.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/LoanCollection.h"
#include "store/RecordStore.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/TempFolder.h"

namespace pellucard {
namespace {

namespace fs = std::filesystem;
using platform::FaultInjection;
using platform::toUtf16;
using platform::toUtf8;
using platform::testing::readBytes;

// The prefix followed by the number (built in steps: GCC 12 warns wrongly on "x" + std::string).
std::string tagged(const char* prefix, long long number) {
  std::string text(prefix);
  text += std::to_string(number);
  return text;
}

enum class Step { AddFriend, UpdateFriend, RemoveFriend, Settings, Pin, Calendar, Tasks, Backup, Restore };

// Every kind of change twice over, each kind meeting the others before and after it.
constexpr Step kSchedule[] = {
    Step::AddFriend, Step::Settings,     Step::AddFriend, Step::Calendar,     Step::UpdateFriend, Step::Pin,
    Step::Backup,    Step::RemoveFriend, Step::Tasks,     Step::AddFriend,    Step::Restore,      Step::Settings,
    Step::AddFriend, Step::Pin,          Step::Calendar,  Step::UpdateFriend, Step::Tasks,        Step::Backup,
    Step::AddFriend, Step::RemoveFriend, Step::Restore,   Step::UpdateFriend, Step::Settings,     Step::Calendar,
};
constexpr int kSteps = static_cast<int>(std::size(kSchedule));

// What the files must hold after a number of steps.
struct Model {
  std::vector<std::pair<std::string, std::string>> friends{{"Base", ""}};  // first name, notes
  std::vector<std::pair<std::string, std::string>> backedUp;
  std::string backupPath = "\\";
  std::string pin;
  bool hasBackup = false;

  void apply(int i) {
    switch (kSchedule[i]) {
      case Step::AddFriend:
        friends.emplace_back(tagged("F", i), "");
        break;
      case Step::UpdateFriend:
        friends.back().second = tagged("u", i);
        break;
      case Step::RemoveFriend:
        friends.erase(friends.begin() + 1);
        break;
      case Step::Settings:
        backupPath = tagged("\\B", i);
        break;
      case Step::Pin:
        pin = std::to_string(1000 + i);
        break;
      case Step::Backup:
        backedUp = friends;
        hasBackup = true;
        break;
      case Step::Restore:
        friends = backedUp;
        break;
      case Step::Calendar:
      case Step::Tasks:
        break;
    }
  }
  std::set<std::string> friendSet() const {
    std::set<std::string> s;
    for (const auto& [name, notes] : friends) s.insert(name + ":" + notes);
    return s;
  }
};

Model modelAfter(int steps) {
  Model m;
  for (int i = 0; i < steps; ++i) m.apply(i);
  return m;
}

class Crashes : public ::testing::Test {
 protected:
  void SetUp() override {
    // A killed process loses nothing from the page cache, so no one here waits on the disk.
    FaultInjection::setSyncsElided(true);
    fs::create_directories(app_);
    fs::create_directories(pim_);
    fs::create_directories(backups_);
    platform::DeviceConfig& config = platform::DeviceConfig::current();
    saved_ = config;
    config.appDir = app_;
    config.pimDir = pim_;
    config.deviceRoot = folder_.path().string();
    deleteAppPaths();
    registerStringTable();
    connectStoreToSettings();
    // The start every run begins from: a friend with an anniversary and a loan, settings, no PIN.
    ASSERT_EQ(getOutlookConnection().start(), S_OK);
    ASSERT_TRUE(RecordStore::openAndLoadAll(getAppPaths().databasePath()));
    ASSERT_TRUE(getFriendCollection().add(std::make_unique<Friend>(u"Base", u"", u"", 0)));
    SYSTEMTIME day{};
    day.wYear = 1990;
    day.wMonth = 5;
    day.wDay = 10;
    ASSERT_TRUE(getAnniversaryCollection().add(std::make_unique<Anniversary>(u"Birthday", 0, day, u"", 0)));
    SYSTEMTIME due = day;
    due.wYear = 2026;
    ASSERT_TRUE(getLoanCollection().add(std::make_unique<Loan>(u"Ladder", 0, 0, day, due, u"", 0)));
    getSettings().load();
    shutDown();
    initial_ = snapshot();
  }

  void TearDown() override {
    shutDown();
    FaultInjection::disarmAll();
    FaultInjection::setSyncsElided(false);
    deleteAppPaths();
    platform::DeviceConfig::current() = saved_;
  }

  static void shutDown() {
    RecordStore::closeAll();
    deleteOutlookConnection();
    deleteSettings();
  }

  // Every file of the program's folders and the registry's, by path.
  std::vector<std::pair<std::string, std::string>> snapshot() const {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& root : {folder_.path().string(), registry_.folder()})
      for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file()) files.emplace_back(entry.path().string(), readBytes(entry.path()));
    return files;
  }

  void restoreInitial() {
    for (const std::string& root : {app_, pim_, backups_, registry_.folder()}) {
      fs::remove_all(root);
      fs::create_directories(root);
    }
    for (const auto& [path, bytes] : initial_) ASSERT_TRUE(platform::testing::writeBytes(path, bytes));
    registry_.restart();
  }

  // The child's side: every step, telling the parent after each one that returned success.
  [[noreturn]] void runChild(int ackFd, const FaultInjection::Plan& plan) {
    const int id = FaultInjection::arm(plan);
    if (getOutlookConnection().start() != S_OK) _exit(20);
    if (!RecordStore::openAndLoadAll(getAppPaths().databasePath())) _exit(21);
    getSettings().load();
    BackupRestore backup = BackupRestore::forApplication();
    const std::u16string backupFile = toUtf16(backups_ + "/Pellucard.bkf");
    std::string pin;
    PinLock lock;
    lock.setPinPrompt([&pin](HWND) { return std::optional<std::u16string>(toUtf16(pin)); });
    for (int i = 0; i < kSteps; ++i) {
      bool ok = false;
      switch (kSchedule[i]) {
        case Step::AddFriend:
          ok = getFriendCollection().add(std::make_unique<Friend>(toUtf16(tagged("F", i)), u"", u"", 0));
          break;
        case Step::UpdateFriend: {
          Friend* last = nullptr;
          for (Friend* f : getFriendCollection().snapshot())
            if (!last || f->recordId() > last->recordId()) last = f;
          last->assign(std::u16string(last->firstName()), u"", toUtf16(tagged("u", i)), 0);
          ok = getFriendCollection().update(*last);
          break;
        }
        case Step::RemoveFriend: {
          RecordId second = 0;
          for (Friend* f : getFriendCollection().snapshot())
            if (f->firstName() != u"Base" && (second == 0 || f->recordId() < second)) second = f->recordId();
          ok = RecordStore::removeFriend(second, false);
          break;
        }
        case Step::Settings:
          ok = getSettings().setBackupPath(toUtf16(tagged("\\B", i)));
          break;
        case Step::Pin:
          ok = lock.setPin(toUtf16(std::to_string(1000 + i)));
          if (ok) pin = std::to_string(1000 + i);
          break;
        case Step::Calendar:
          ok = CalendarExport(getOutlookConnection()).exportAnniversary(*getAnniversaryCollection().snapshot().front());
          break;
        case Step::Tasks:
          ok = TaskExport(getOutlookConnection()).exportLoan(*getLoanCollection().snapshot().front());
          break;
        case Step::Backup:
          ok = backup.createBackup(backupFile);
          break;
        case Step::Restore:
          ok = backup.restoreBackup(backupFile);
          break;
      }
      if (!ok) _exit(30 + i);
      if (write(ackFd, &i, sizeof i) != sizeof i) _exit(22);
    }
    const std::uint64_t operations = FaultInjection::matched(id);
    if (write(ackFd, &operations, sizeof operations) != sizeof operations) _exit(23);
    _exit(0);
  }

  // Runs the child under the plan; the number of steps it saw succeed, or -1 when it was not
  // killed (then operations receives the count of its matched operations).
  int runUntilKilled(const FaultInjection::Plan& plan, std::uint64_t* operations = nullptr) {
    int fds[2];
    EXPECT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    EXPECT_GE(child, 0);
    if (child == 0) {
      close(fds[0]);
      runChild(fds[1], plan);
    }
    close(fds[1]);
    int acked = 0;
    int step = 0;
    while (acked < kSteps && read(fds[0], &step, sizeof step) == sizeof step) acked = step + 1;
    std::uint64_t count = 0;
    const bool finished = acked == kSteps && read(fds[0], &count, sizeof count) == sizeof count;
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (finished && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
      if (operations) *operations = count;
      return -1;
    }
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the child stopped on its own with " << (WIFEXITED(status) ? WEXITSTATUS(status) : -1) << " after " << acked
        << " steps";
    return acked;
  }

  // What the next start finds, against what the child saw succeed (and the step it was in).
  void checkAfterKill(int acked) {
    const Model done = modelAfter(acked);
    const Model maybe = modelAfter(std::min(acked + 1, kSteps));
    const Step inFlight = kSchedule[std::min(acked, kSteps - 1)];

    RecordStore::openAndLoadAll(getAppPaths().databasePath());
    EXPECT_TRUE(RecordStore::lastLoad().complete()) << "the database reads whole";
    std::set<std::string> friends;
    for (const Friend* f : getFriendCollection().snapshot())
      friends.insert(toUtf8(f->firstName()) + ":" + toUtf8(f->notes()));
    EXPECT_TRUE(friends == done.friendSet() || friends == maybe.friendSet());
    ++changesChecked_;
    if (friends != done.friendSet() && friends != maybe.friendSet()) ++changesLost_;

    // Each export that succeeded is in its file, unless a restore since brought back an older record.
    checkExport(acked, inFlight, Step::Calendar, "calendar.ics",
                getAnniversaryCollection().snapshot().front()->outlookItemId());
    checkExport(acked, inFlight, Step::Tasks, "tasks.ics", getLoanCollection().snapshot().front()->outlookItemId());
    RecordStore::closeAll();

    {
      Settings later(toUtf16(app_ + "/settings.xml"));
      later.load();
      const std::string path = toUtf8(later.backupPath());
      EXPECT_TRUE(path == done.backupPath || path == maybe.backupPath) << path;
    }

    registry_.restart();
    PinLock lock;
    const auto pinIs = [&lock](const std::string& pin) {
      return pin.empty() ? !lock.isEnabled() : lock.verify(toUtf16(pin));
    };
    EXPECT_TRUE(pinIs(done.pin) || pinIs(maybe.pin)) << "PIN " << done.pin;

    const std::string backupFile = backups_ + "/Pellucard.bkf";
    if (done.hasBackup || fs::exists(backupFile)) {
      ASSERT_TRUE(BackupRestore::isValidBackup(toUtf16(backupFile))) << "a backup is whole or not there";
    }
    if (acked > 0 && kSchedule[acked - 1] == Step::Backup) {
      // A backup just made holds the friends of that moment.
      const std::string volume = app_ + "/Pellucard.cdb";
      const std::string saved = readBytes(volume);
      std::string bytes = readBytes(backupFile);
      bytes.resize(bytes.size() - BackupRestore::kBackupMarker.size());
      ASSERT_TRUE(platform::testing::writeBytes(volume, bytes));
      RecordStore::openAndLoadAll(getAppPaths().databasePath());
      std::set<std::string> backedUp;
      for (const Friend* f : getFriendCollection().snapshot())
        backedUp.insert(toUtf8(f->firstName()) + ":" + toUtf8(f->notes()));
      Model m;
      m.friends = done.backedUp;
      EXPECT_EQ(backedUp, m.friendSet());
      RecordStore::closeAll();
      ASSERT_TRUE(platform::testing::writeBytes(volume, saved));
    }

    for (const char* name : {"calendar.ics", "tasks.ics"}) {
      if (!fs::exists(pim_ + "/" + name)) continue;
      const std::string text = readBytes(pim_ + "/" + name);
      EXPECT_EQ(text.find("BEGIN:VCALENDAR"), 0u) << name;
      EXPECT_TRUE(text.ends_with("END:VCALENDAR\r\n")) << name << " is whole";
    }
  }

  void checkExport(int acked, Step inFlight, Step kind, const char* file, LONG oid) {
    int lastExport = -1;
    int lastRestore = -1;
    for (int i = 0; i < acked; ++i) {
      if (kSchedule[i] == kind) lastExport = i;
      if (kSchedule[i] == Step::Restore) lastRestore = i;
    }
    if (lastExport < 0 || lastExport < lastRestore || inFlight == kind || inFlight == Step::Restore) return;
    EXPECT_NE(oid, 0) << file;
    EXPECT_NE(readBytes(pim_ + "/" + file).find(tagged("X-PELLUCARD-OID:", static_cast<std::uint32_t>(oid))),
              std::string::npos)
        << file;
  }

  // Kills the child at each of the points, checking the next start after each.
  void killAt(const std::vector<FaultInjection::Plan>& plans) {
    for (const FaultInjection::Plan& plan : plans) {
      SCOPED_TRACE(tagged("kill at operation ", static_cast<long long>(plan.nth)) +
                   (plan.strike == FaultInjection::Strike::KillMidWrite ? " mid-write" : ""));
      restoreInitial();
      const int acked = runUntilKilled(plan);
      if (acked < 0) continue;  // the point lay beyond the child's last operation
      ++killPoints_;
      checkAfterKill(acked);
      if (HasFailure()) return;
    }
  }

  std::uint64_t countOperations(unsigned operations) {
    restoreInitial();
    FaultInjection::Plan counting;
    counting.operations = operations;
    counting.nth = 0;
    std::uint64_t count = 0;
    EXPECT_EQ(runUntilKilled(counting, &count), -1);
    return count;
  }

  static FaultInjection::Plan killPlan(unsigned operations, std::uint64_t nth, FaultInjection::Strike strike) {
    FaultInjection::Plan plan;
    plan.operations = operations;
    plan.nth = nth;
    plan.strike = strike;
    return plan;
  }

  void report(const char* what) {
    std::printf("[ %s: %d kill points, %d starts checked, %d changes lost ]\n", what, killPoints_, changesChecked_,
                changesLost_);
    EXPECT_EQ(changesLost_, 0);
  }

  platform::testing::TempFolder folder_{platform::testing::TempFolder::Place::Memory};
  platform::testing::ScratchRegistry registry_;
  std::string app_ = folder_.file("app");
  std::string pim_ = folder_.file("pim");
  std::string backups_ = folder_.file("backups");
  platform::DeviceConfig saved_;
  std::vector<std::pair<std::string, std::string>> initial_;
  int killPoints_ = 0;
  int changesChecked_ = 0;
  int changesLost_ = 0;
};

TEST_F(Crashes, KilledBeforeEachChangeOfAFile) {
  const std::uint64_t total = countOperations(FaultInjection::kChanges);
  ASSERT_GT(total, 100u);
  std::vector<FaultInjection::Plan> plans;
  for (std::uint64_t nth = 1; nth <= total; ++nth)
    plans.push_back(killPlan(FaultInjection::kChanges, nth, FaultInjection::Strike::Kill));
  killAt(plans);
  report("before each change");
}

TEST_F(Crashes, KilledInTheMiddleOfEachWrite) {
  const std::uint64_t total = countOperations(FaultInjection::kWrite);
  ASSERT_GT(total, 50u);
  std::vector<FaultInjection::Plan> plans;
  for (std::uint64_t nth = 1; nth <= total; ++nth)
    plans.push_back(killPlan(FaultInjection::kWrite, nth, FaultInjection::Strike::KillMidWrite));
  killAt(plans);
  report("mid-write");
}

TEST_F(Crashes, KilledAtRandomPoints) {
  const std::uint64_t total = countOperations(FaultInjection::kChanges);
  // A fixed seed keeps a failure reproducible; PELLUCARD_CRASH_SEED explores other points.
  const char* seed = std::getenv("PELLUCARD_CRASH_SEED");
  std::mt19937 random(seed != nullptr ? static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)) : 20261207u);
  std::vector<FaultInjection::Plan> plans;
  for (int i = 0; i < 1250; ++i) {
    const auto strike = random() % 2 ? FaultInjection::Strike::Kill : FaultInjection::Strike::KillMidWrite;
    plans.push_back(killPlan(FaultInjection::kChanges, 1 + random() % total, strike));
  }
  killAt(plans);
  report("random");
}

}  // namespace
}  // namespace pellucard
