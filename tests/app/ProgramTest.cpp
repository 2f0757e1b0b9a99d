// The pellucard executable end to end: headless scripts over databases made by the fill tool,
// the first-launch question, the Back key, the PIN refusal, the second start and uninstall.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/SingleInstance.h"
#include "pin/PinLock.h"
#include "platform/sys/InstanceChannel.h"
#include "platform/sys/Registry.h"
#include "tests/app/AppHarness.h"
#include "tests/cedb/VolumeFile.h"
#include "tests/support/FileBytes.h"

namespace pellucard::testing {
namespace {

namespace fs = std::filesystem;
using platform::testing::readBytes;
using platform::testing::writeBytes;

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// One program folder, registry and runtime folder per test; the program runs as a child.
class Program {
 public:
  Program() {
    fs::create_directories(folder_.path() / "app");
    fs::create_directories(folder_.path() / "config");
    fs::create_directories(folder_.path() / "run");
  }

  std::string file(const std::string& name) const { return folder_.file(name); }
  std::string appDir() const { return folder_.file("app"); }
  std::string registryFolder() const { return folder_.file("config") + "/Pellucard"; }

  void fill(int friends) {
    const std::string command = std::string(PELLUCARD_FILLDB_EXE) + " --app-dir " + appDir() + " --friends " +
                                std::to_string(friends) + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }

  std::string environment() const {
    return "XDG_RUNTIME_DIR=" + folder_.file("run") + " XDG_CONFIG_HOME=" + folder_.file("config") + " ";
  }

  // Runs the program on a script; returns its exit code.
  int run(const std::string& script, const std::string& options = "", const std::string& tail = "") {
    const std::string scriptPath = file("script.txt");
    std::ofstream(scriptPath) << script;
    const std::string command = "cd " + folder_.path().string() + " && " + environment() + PELLUCARD_DEVICE_EXE +
                                " --headless --app-dir " + appDir() + " --pim-dir " + file("pim") + " --script " +
                                scriptPath + " " + options + " " + tail + " 2>" + file("stderr.txt");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string stderrText() const { return readText(file("stderr.txt")); }

 private:
  TempFolder folder_;
};

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ProgramEditions : public ::testing::TestWithParam<const char*> {};

TEST_P(ProgramEditions, FirstStartShowsTheFriendsThenAsksOnceToImport) {
  Program program;
  program.fill(3);
  const std::string options = std::string("--edition ") + GetParam();
  ASSERT_EQ(program.run("dump first.txt\nkey N\ndump after.txt\n", options), 0) << program.stderrText();
  const std::string first = readText(program.file("first.txt"));
  EXPECT_TRUE(has(first, "This is your first launch of Pellucard.")) << first;
  // The question stands over the main window, which is already shown with its list.
  EXPECT_TRUE(has(first, "window \"Pellucard\" \"Pellucard\"")) << first;
  EXPECT_TRUE(has(first, "\"FriendList\"")) << first;
  EXPECT_LT(first.find("This is your first launch"), first.find("window \"Pellucard\" \"Pellucard\""));
  const std::string after = readText(program.file("after.txt"));
  EXPECT_FALSE(has(after, "first launch")) << after;
  EXPECT_TRUE(has(after, "text \"Friends\"")) << after;

  ASSERT_EQ(program.run("dump again.txt\n", options), 0) << program.stderrText();
  const std::string again = readText(program.file("again.txt"));
  EXPECT_FALSE(has(again, "first launch")) << again;
  EXPECT_TRUE(has(again, "\"FriendList\"")) << again;
  // The guide was written beside the database.
  EXPECT_TRUE(has(readText(program.appDir() + "/PellucardHelp.htm"), "Pellucard Help"));
}

TEST_P(ProgramEditions, ActionOpensAFriendAndBackReturnsToTheList) {
  Program program;
  program.fill(3);
  const std::string options = std::string("--edition ") + GetParam();
  ASSERT_EQ(program.run("key N\nkey ENTER\ndump details.txt\nback\ndump back.txt\n", options), 0)
      << program.stderrText();
  const std::string details = readText(program.file("details.txt"));
  EXPECT_TRUE(has(details, "id=1508")) << details;
  EXPECT_FALSE(has(details, "id=1500")) << details;
  const std::string back = readText(program.file("back.txt"));
  if (std::string(GetParam()) == "smartphone") {
    EXPECT_TRUE(has(back, "id=1500")) << back;
    EXPECT_FALSE(has(back, "id=1508")) << back;
  }
}

TEST_P(ProgramEditions, OverdueLoansAreMarkedOnTheLoansTab) {
  Program program;
  program.fill(5);
  const std::string options = std::string("--edition ") + GetParam();
  // The fill tool dates its loans around 1 December 2026.
  const std::string script =
      "key N\nclock 2026-12-01T09:00\nkey RIGHT\nkey RIGHT\nkey RIGHT\ndump loans.txt\n"
      "soft right\nkey UP\nkey UP\nkey UP\nkey RIGHT\nkey UP\nkey ENTER\ndump overdue.txt\n";
  ASSERT_EQ(program.run(script, options), 0) << program.stderrText();
  const std::string loans = readText(program.file("loans.txt"));
  EXPECT_TRUE(has(loans, "text \"Loans\"")) << loans;
  EXPECT_TRUE(has(loans, "color=#E00000")) << loans;
  const std::string overdue = readText(program.file("overdue.txt"));
  EXPECT_TRUE(has(overdue, "text \"Loans (F)\"")) << overdue;
  // Only overdue loans are left, every line red.
  const std::string rows = overdue.substr(overdue.find("\"LoanList\""));
  EXPECT_TRUE(has(rows, "color=#E00000")) << overdue;
  EXPECT_FALSE(has(rows, "color=#000000")) << overdue;
}

TEST_P(ProgramEditions, FirstLaunchYesOpensTheImportAndDoneImportsTheCheckedContacts) {
  Program program;
  fs::create_directories(program.file("pim") + "/contacts");
  std::ofstream(program.file("pim") + "/contacts/book.vcf")
      << "BEGIN:VCARD\nVERSION:3.0\nUID:a\nN:Lee;Ann\nFN:Ann Lee\nBDAY:1990-05-10\nEND:VCARD\n"
         "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=BCrgen\nEND:VCARD\n";
  const std::string options = std::string("--edition ") + GetParam();
  const bool pocketPc = std::string(GetParam()) == "pocketpc";
  // Yes; Menu > Select all; Done; the summary's OK.
  const std::string selectAll = pocketPc ? "key DOWN\nkey ENTER\n" : "key 1\n";
  ASSERT_EQ(program.run("key Y\ndump import.txt\nsoft right\n" + selectAll +
                            "soft left\ndump summary.txt\nkey ENTER\n" + "dump after.txt\n",
                        options),
            0)
      << program.stderrText();
  const std::string import = readText(program.file("import.txt"));
  EXPECT_TRUE(has(import, "\"SysListView32\" \"Contacts\"")) << import;
  EXPECT_TRUE(has(import, "text \"Ann Lee\"")) << import;
  EXPECT_TRUE(has(import, "text \"Müller, Jürgen\"")) << import;
  const std::string summary = readText(program.file("summary.txt"));
  EXPECT_TRUE(has(summary, "2 contacts were imported.")) << summary;
  const std::string after = readText(program.file("after.txt"));
  EXPECT_TRUE(has(after, "text \"Ann Lee\"")) << after;
  EXPECT_TRUE(has(after, "text \"Jürgen Müller\"")) << after;

  // A file dropped on the window later opens the import with its contacts checked.
  std::ofstream(program.file("new.vcf")) << "BEGIN:VCARD\nVERSION:4.0\nUID:c\nN:Diaz;Carla\nFN:Carla Diaz\nEND:VCARD\n";
  ASSERT_EQ(program.run("drop " + program.file("new.vcf") + "\nsoft left\ndump dropped.txt\nkey ENTER\ndump last.txt\n",
                        options),
            0)
      << program.stderrText();
  EXPECT_TRUE(has(readText(program.file("dropped.txt")), "1 contact was imported."))
      << readText(program.file("dropped.txt"));
  EXPECT_TRUE(has(readText(program.file("last.txt")), "text \"Carla Diaz\"")) << readText(program.file("last.txt"));
  EXPECT_TRUE(fs::exists(program.file("pim") + "/contacts/new.vcf"));
  EXPECT_TRUE(fs::exists(program.file("new.vcf")));
}

// Adds a record of each kind through the forms, then after a restart finds them, edits one,
// removes another, and after a second restart finds exactly that.
TEST_P(ProgramEditions, RecordsAddedEditedAndRemovedInTheFormsSurviveRestarts) {
  Program program;
  const std::string options = std::string("--edition ") + GetParam();
  const bool pocketPc = std::string(GetParam()) == "pocketpc";
  // The Pocket PC menu opens with nothing selected; the Smartphone's on its first item. Edit
  // fields keep the arrows on Pocket PC, so Tab goes to the next row there.
  const std::string add = pocketPc ? "soft right\nkey DOWN\nkey ENTER\n" : "soft right\nkey ENTER\n";
  const std::string edit = add.substr(0, add.size() - 10) + "key DOWN\nkey ENTER\n";
  const std::string remove = add.substr(0, add.size() - 10) + "key DOWN\nkey DOWN\nkey ENTER\n";
  const std::string next = pocketPc ? "key TAB\n" : "key DOWN\n";
  const std::string first = "key N\n" + add + "type Anna\n" + next + "type Berg\nsoft left\n" +  //
                            "key RIGHT\n" + add + "type Book\nsoft left\n" +                     //
                            "key RIGHT\n" + add + "type Wedding\nsoft left\n" +                  //
                            "key RIGHT\n" + add + "type Ladder\nsoft left\n";
  ASSERT_EQ(program.run(first, options), 0) << program.stderrText();

  const std::string tabs =
      "dump friends.txt\nkey RIGHT\ndump gifts.txt\nkey RIGHT\ndump anniversaries.txt\n"
      "key RIGHT\ndump loans.txt\n";
  // On the Loans tab: the loan gets an "s", then the gift goes.
  const std::string second =
      tabs + edit + "key END\ntype s\nsoft left\n" + "key LEFT\nkey LEFT\n" + remove + "soft left\n";
  ASSERT_EQ(program.run(second, options), 0) << program.stderrText();
  EXPECT_TRUE(has(readText(program.file("friends.txt")), "text \"Anna Berg\""));
  EXPECT_TRUE(has(readText(program.file("gifts.txt")), "text \"Book\""));
  EXPECT_TRUE(has(readText(program.file("anniversaries.txt")), "Wedding"));
  EXPECT_TRUE(has(readText(program.file("loans.txt")), "text \"Ladder\""));

  ASSERT_EQ(program.run(tabs, options), 0) << program.stderrText();
  EXPECT_TRUE(has(readText(program.file("friends.txt")), "text \"Anna Berg\""));
  const std::string gifts = readText(program.file("gifts.txt"));
  EXPECT_FALSE(has(gifts, "Book")) << gifts;
  EXPECT_TRUE(has(gifts, "text \"Empty List\"")) << gifts;
  EXPECT_TRUE(has(readText(program.file("anniversaries.txt")), "Wedding"));
  const std::string loans = readText(program.file("loans.txt"));
  EXPECT_TRUE(has(loans, "text \"Ladders\"")) << loans;
}

INSTANTIATE_TEST_SUITE_P(BothEditions, ProgramEditions, ::testing::Values("pocketpc", "smartphone"));

TEST(Program, SmartphoneBackEditsTheSearchBeforeItLeavesTheList) {
  Program program;
  program.fill(30);
  const std::string script =
      "key N\nkey 5\nkey 2\ndump typed.txt\nback\ndump shorter.txt\nkey 2\nhold BACK 1500\ndump cleared.txt\n"
      "back\ndump left.txt\n";
  ASSERT_EQ(program.run(script, "--edition smartphone"), 0) << program.stderrText();
  // The typed keys are highlighted at the start of the matching word.
  const std::string typed = readText(program.file("typed.txt"));
  EXPECT_TRUE(has(typed, "text \"Ja\"")) << typed;
  const std::string shorter = readText(program.file("shorter.txt"));
  EXPECT_TRUE(has(shorter, "text \"J\"")) << shorter;
  EXPECT_FALSE(has(shorter, "text \"Ja\"")) << shorter;
  const std::string cleared = readText(program.file("cleared.txt"));
  EXPECT_FALSE(has(cleared, "text \"J\"")) << cleared;
  EXPECT_TRUE(has(cleared, "id=1500")) << cleared;
  // Without a search, Back sends the program to the background; it keeps running.
  const std::string left = readText(program.file("left.txt"));
  EXPECT_TRUE(has(left, "\"FriendList\"")) << left;
}

TEST(Program, AFreshApplicationFolderGetsDatabaseSettingsAndGuide) {
  Program program;
  const std::string fresh = program.file("fresh/Pellucard");
  ASSERT_EQ(program.run("key N\ndump fresh.txt\n", "", "--app-dir " + fresh), 0) << program.stderrText();
  EXPECT_TRUE(has(readText(program.file("fresh.txt")), "text \"Empty List\""));
  EXPECT_TRUE(fs::exists(fresh + "/Pellucard.cdb"));
  EXPECT_TRUE(fs::exists(fresh + "/settings.xml"));
  EXPECT_TRUE(has(readText(fresh + "/PellucardHelp.htm"), "Pellucard Help"));
}

TEST(Program, FoldersAreHostPathsFromTheCurrentFolderAndUnusableOnesAreRefused) {
  Program program;
  // The program runs in the test's folder, so a relative folder lands there, not under the device root.
  ASSERT_EQ(program.run("idle\n", "", "--app-dir data/Pellucard --device-root ."), 0) << program.stderrText();
  EXPECT_TRUE(fs::exists(program.file("data/Pellucard/Pellucard.cdb")));

  std::ofstream(program.file("plain")) << "not a folder";
  EXPECT_EQ(program.run("idle\n", "", "--app-dir plain"), 2);
  EXPECT_EQ(program.stderrText(), "pellucard: --app-dir: " + program.file("plain") + " is not a folder\n");
  EXPECT_EQ(program.run("idle\n", "", "--device-root missing"), 2);
  EXPECT_EQ(program.stderrText(), "pellucard: --device-root: " + program.file("missing") + " does not exist\n");

  const std::string fill =
      "cd " + program.file("") + " && " + PELLUCARD_FILLDB_EXE + " --app-dir filled --friends 2 >/dev/null";
  ASSERT_EQ(std::system(fill.c_str()), 0);
  EXPECT_TRUE(fs::exists(program.file("filled/Pellucard.cdb")));
}

TEST(Program, TheFilesItMakesAreItsUsersAlone) {
  Program program;
  const std::string fresh = program.file("fresh/Pellucard");
  ASSERT_EQ(program.run("idle\n", "", "--app-dir " + fresh), 0) << program.stderrText();
  auto mode = [](const std::string& path) {
    std::error_code ec;
    return static_cast<unsigned>(fs::status(path, ec).permissions());
  };
  EXPECT_EQ(mode(fresh), 0700u);
  EXPECT_EQ(mode(fresh + "/Pellucard.cdb"), 0600u);
  EXPECT_EQ(mode(fresh + "/settings.xml"), 0600u);
  EXPECT_EQ(mode(fresh + "/PellucardHelp.htm"), 0600u);
  // A folder that was there before keeps the mode its user gave it.
  fs::create_directories(program.file("open"));
  fs::permissions(program.file("open"), fs::perms(0755));
  ASSERT_EQ(program.run("idle\n", "", "--app-dir " + program.file("open")), 0) << program.stderrText();
  EXPECT_EQ(mode(program.file("open")), 0755u);
  EXPECT_EQ(mode(program.file("open/Pellucard.cdb")), 0600u);
}

// A record that does not decode in each list: the program starts with the rest, says once what it
// could not read, and the unreadable records stay in the file.
TEST(Program, UnreadableRecordsAreToldOnceAtStartAndStayInTheFile) {
  Program program;
  program.fill(3);
  const std::string volume = program.appDir() + "/Pellucard.cdb";
  int records = 0;
  {
    platform::testing::VolumeFile file(volume);
    for (const char* table : {"FriendsDB", "GiftsDB", "LoansDB", "AnniversariesDB"}) {
      const CEOID oid = file.firstRecordOf(table);
      ASSERT_NE(oid, 0u) << table;
      ASSERT_TRUE(file.spoilRecord(oid)) << table;
    }
    records = file.recordCount();
  }
  ASSERT_EQ(program.run("dump start.txt\nkey ENTER\ndump next.txt\nkey N\n"), 0) << program.stderrText();
  const std::string start = readText(program.file("start.txt"));
  EXPECT_TRUE(has(start, "Pellucard could not read all of its database \\\"" + volume)) << start;
  for (const char* list : {"Friends: 1 could not be read.", "Gifts: 1 could not be read.",
                           "Loans: 1 could not be read.", "Anniversaries: 1 could not be read."})
    EXPECT_TRUE(has(start, list)) << list << "\n" << start;
  EXPECT_TRUE(has(start, "Backup > Restore")) << start;
  EXPECT_TRUE(has(start, "\"FriendList\"")) << "the main window stands behind the message";
  const std::string next = readText(program.file("next.txt"));
  EXPECT_FALSE(has(next, "could not read")) << "told once: " << next;
  EXPECT_EQ(platform::testing::VolumeFile(volume).recordCount(), records);

  ASSERT_EQ(program.run("dump again.txt\n"), 0) << program.stderrText();
  EXPECT_TRUE(has(readText(program.file("again.txt")), "Friends: 1 could not be read.")) << "and at every start";
}

// A database overwritten with garbage: the user hears why the lists are empty, and the file is left
// byte for byte as it was, also when the user tries to remove something.
TEST(Program, ADatabaseThatCannotBeReadIsToldAndLeftAsItIs) {
  Program program;
  program.fill(1);
  const std::string volume = program.appDir() + "/Pellucard.cdb";
  const std::string garbage(100 * 1024, '\x42');
  ASSERT_TRUE(writeBytes(volume, garbage));
  ASSERT_EQ(program.run("dump start.txt\nkey ENTER\nkey N\n"), 0) << program.stderrText();
  const std::string start = readText(program.file("start.txt"));
  EXPECT_TRUE(has(start, "Pellucard could not read its database \\\"" + volume +
                             "\\\": the file is damaged or is not a Pellucard database."))
      << start;
  EXPECT_TRUE(has(start, "The file was left as it is")) << start;
  EXPECT_TRUE(has(start, "Backup > Restore")) << start;
  EXPECT_EQ(readBytes(volume), garbage);
  EXPECT_FALSE(fs::exists(volume + "-journal"));
}

TEST(Program, CtrlQLeavesTheProgramThroughTheAcceleratorTable) {
  Program program;
  program.fill(2);
  ASSERT_EQ(program.run("key N\nkey ctrl+q\ndump after.txt\n"), 0) << program.stderrText();
  EXPECT_FALSE(fs::exists(program.file("after.txt"))) << readText(program.file("after.txt"));
}

TEST(Program, RefusedPinEndsWithoutEverShowingTheFrame) {
  Program program;
  program.fill(2);
  {
    // The code of a PIN in the program's registry; the PIN entry is cancelled.
    auto& registry = platform::sys::Registry::instance();
    const std::string scratch = registry.folder();
    registry.setFolder(program.registryFolder());
    ASSERT_TRUE(getPinLock().setPin(u"1234"));
    deletePinLock();
    registry.setFolder(scratch);
  }
  ASSERT_EQ(program.run("soft right\ndump refused.txt\nkey ENTER\ndump end.txt\n"), 0) << program.stderrText();
  const std::string refused = readText(program.file("refused.txt"));
  EXPECT_TRUE(has(refused, "Please enter valid PIN code in order to run the application")) << refused;
  EXPECT_FALSE(has(refused, "\"Pellucard\" \"Pellucard\"")) << refused;
  EXPECT_FALSE(has(refused, "FriendList")) << refused;
  EXPECT_FALSE(fs::exists(program.file("end.txt"))) << "the program went on after the refusal";
}

TEST(Program, UninstallClearsExportedTasksButReinstallKeepsThem) {
  Program program;
  program.fill(2);
  // Loans tab, Menu, the sixth item "Export to Tasks", then the message.
  const std::string exportTasks =
      "key N\nkey RIGHT\nkey RIGHT\nkey RIGHT\nsoft right\nkey DOWN\nkey DOWN\nkey DOWN\nkey DOWN\nkey DOWN\n"
      "key DOWN\nkey ENTER\ndump exported.txt\nkey ENTER\n";
  ASSERT_EQ(program.run(exportTasks), 0) << program.stderrText();
  EXPECT_TRUE(has(readText(program.file("exported.txt")), "Loan items were successfully exported to Tasks."))
      << readText(program.file("exported.txt"));
  const std::string tasks = program.file("pim") + "/tasks.ics";
  ASSERT_TRUE(has(readText(tasks), "BEGIN:VTODO"));

  EXPECT_EQ(program.run("", "", "uninstall reinstall"), 0) << program.stderrText();
  EXPECT_TRUE(has(readText(tasks), "BEGIN:VTODO")) << "reinstall deletes nothing";
  EXPECT_EQ(program.run("", "", "uninstall"), 0) << program.stderrText();
  EXPECT_FALSE(has(readText(tasks), "BEGIN:VTODO")) << readText(tasks);
}

TEST(Program, WithoutTheOtherWindowTheSecondStartRetriesThenGoesOnAlone) {
  TempFolder runtime;
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  {
    AppHarness app;
    // The other instance holds the mutex but has no window yet.
    HANDLE other = CreateMutexW(nullptr, FALSE, u"Pellucard");
    ASSERT_NE(other, nullptr);
    const DWORD before = GetTickCount();
    EXPECT_EQ(SingleInstance::check(reinterpret_cast<HINSTANCE>(1), SingleInstance::Mode::Activate), 0);
    EXPECT_EQ(GetTickCount() - before, 2500u) << "25 attempts, 100 ms apart";
    CloseHandle(other);
  }
  platform::sys::InstanceChannel::stop();
  unsetenv("XDG_RUNTIME_DIR");
}

TEST(Program, SecondStartActivatesTheFirstOnItsMainScreenAndExitsOne) {
  TempFolder runtime;
  setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
  {
    AppHarness first;
    const RecordId anna = first.addFriend(u"Anna", u"Berg");
    first.addGift(u"Apple", kGiftIdea, anna, date(2024, 3, 1));
    first.addGift(u"Book", kGiftFrom, anna, date(2024, 3, 1));
    ASSERT_EQ(SingleInstance::check(reinterpret_cast<HINSTANCE>(1), SingleInstance::Mode::Activate), 0);
    first.start();
    first.showTab(kGiftListId);
    first.command(ID_GIFT_FILTER_IDEAS);
    SendMessageW(first.frame().hwnd(), UM_SHOWRECORD, anna, kRecordFriend);
    first.device().runUntilIdle();
    ASSERT_EQ(first.frame().currentScreenId(), kFriendDetailsScreenId);

    const pid_t second = fork();
    if (second == 0) {
      const std::string app = first.folder().file("second");
      execl(PELLUCARD_DEVICE_EXE, PELLUCARD_DEVICE_EXE, "--headless", "--app-dir", app.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    ASSERT_GT(second, 0);
    // The first instance serves the second from its message loop until it ends.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int status = 0;
    while (waitpid(second, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) {
        kill(second, SIGKILL);
        waitpid(second, &status, 0);
        break;
      }
      first.device().runUntilIdle();
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    first.device().runUntilIdle();
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(first.frame().currentScreenId(), kMainScreenId);
    EXPECT_TRUE(first.frame().history().empty());
    EXPECT_EQ(first.currentTab(), kFriendListId);
    EXPECT_EQ(first.rows(ListKind::Gifts).size(), 2u);
    EXPECT_TRUE(first.checked(ID_GIFT_FILTER_ALL)) << "the filter is back to all gifts";
  }
  platform::sys::InstanceChannel::stop();
  unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace pellucard::testing
