// The program end to end on both editions: a PIN set in the options across restarts (right,
// wrong, cancelled, removed), each options page storing what the user chose, and the About box.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "pin/PinLock.h"
#include "platform/sys/Registry.h"
#include "tests/support/TempFolder.h"

namespace pellucard::testing {
namespace {

namespace fs = std::filesystem;
using platform::testing::TempFolder;

std::string readText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The program as a child on one edition, with a folder, registry and runtime folder of its own.
class Device {
 public:
  explicit Device(std::string edition) : edition_(std::move(edition)) {
    for (const char* sub : {"app", "config", "run"}) fs::create_directories(folder_.path() / sub);
  }

  bool pocketPc() const { return edition_ == "pocketpc"; }
  std::string file(const std::string& name) const { return folder_.file(name); }
  std::string read(const std::string& name) const { return readText(file(name)); }

  void fill(int friends) {
    const std::string command = std::string(PELLUCARD_FILLDB_EXE) + " --app-dir " + file("app") + " --friends " +
                                std::to_string(friends) + " >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }

  // Runs one start of the program on a script; the exit code.
  int run(const std::string& script) {
    std::ofstream(file("script.txt")) << script;
    const std::string command = "cd " + folder_.path().string() + " && LC_ALL=C XDG_RUNTIME_DIR=" + file("run") +
                                " XDG_CONFIG_HOME=" + file("config") + " " + PELLUCARD_DEVICE_EXE +
                                " --headless --edition " + edition_ + " --app-dir " + file("app") + " --pim-dir " +
                                file("pim") + " --script " + file("script.txt") + " 2>" + file("stderr.txt");
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The PIN code in the program's registry; nothing when none is stored.
  std::optional<DWORD> pinCode() const {
    auto& registry = platform::sys::Registry::instance();
    const std::string scratch = registry.folder();
    registry.setFolder(file("config") + "/Pellucard");
    const auto value = registry.value(u"HKEY_CURRENT_USER\\Software\\Velka\\Protection", u"BC85");
    registry.setFolder(scratch);
    if (!value || value->data.size() != 4) return std::nullopt;
    DWORD code = 0;
    for (int i = 3; i >= 0; --i) code = (code << 8) | value->data[static_cast<std::size_t>(i)];
    return code;
  }

  // The keys that reach a form from the main screen: the first start's question answered, then
  // the menu's last item (the application's submenu) and one of its items.
  static std::string menu(int downs) {
    std::string keys = "soft right\nkey UP\nkey RIGHT\n";
    for (int i = 0; i < downs; ++i) keys += "key DOWN\n";
    return keys + "key ENTER\n";
  }
  static std::string options() { return menu(0); }
  static std::string about() { return menu(1); }
  // From the row with the focus to another: on the Pocket PC a tap on its field, on the
  // Smartphone Down from row to row.
  std::string toRow(int from, int to) const {
    if (pocketPc()) return "tap 95 " + std::to_string(26 + 4 + 8 + to * 19) + "\n";
    std::string keys;
    for (int i = from; i < to; ++i) keys += "key DOWN\n";
    return keys;
  }
  // The next or previous item of the choice row with the focus.
  std::string next() const { return pocketPc() ? "key DOWN\n" : "key RIGHT\n"; }
  std::string previous() const { return pocketPc() ? "key UP\n" : "key LEFT\n"; }

  std::string settingsFile() const { return read("app/settings.xml"); }

 private:
  std::string edition_;
  TempFolder folder_;
};

class OptionsProgram : public ::testing::TestWithParam<const char*> {
 protected:
  Device device{GetParam()};
};

TEST_P(OptionsProgram, APinSetInTheOptionsIsAskedAtEveryStartUntilItIsRemoved) {
  device.fill(3);
  PinLock hash;
  // General: "Enabled", the PIN twice, Done.
  const std::string enable = "key N\n" + Device::options() + "key 1\n" + device.toRow(0, 1) + device.next() +
                             device.toRow(1, 2) + "type 1234\n" + device.toRow(2, 3) +
                             "type 1234\nsoft left\ndump enabled.txt\nkey ENTER\nsoft left\ndump main.txt\n";
  ASSERT_EQ(device.run(enable), 0) << device.read("stderr.txt");
  EXPECT_TRUE(has(device.read("enabled.txt"), "Successfully enabled PIN Protection")) << device.read("enabled.txt");
  EXPECT_TRUE(has(device.read("main.txt"), "\"FriendList\"")) << device.read("main.txt");
  ASSERT_EQ(device.pinCode(), hash.pinCode(u"1234"));

  // The right PIN: asked once, before the main window shows; then the program runs.
  ASSERT_EQ(device.run("dump asked.txt\ntype 1234\nsoft left\ndump started.txt\n"), 0);
  const std::string asked = device.read("asked.txt");
  EXPECT_TRUE(has(asked, "window \"#32770\" \"PIN Protection\"")) << asked;
  EXPECT_TRUE(has(asked, "Enter PIN code and press 'Done'")) << asked;
  EXPECT_FALSE(has(asked, "FriendList")) << asked;
  EXPECT_TRUE(has(device.read("started.txt"), "\"FriendList\"")) << device.read("started.txt");

  // A wrong PIN three starts in a row, then Cancel: each start ends after the message, and the
  // stored code never changes.
  for (const std::string answer :
       {"type 9999\nsoft left\n", "type 12345\nsoft left\n", "soft left\n", "soft right\n"}) {
    fs::remove(device.file("refused.txt"));
    fs::remove(device.file("after.txt"));
    ASSERT_EQ(device.run(answer + "dump refused.txt\nkey ENTER\ndump after.txt\n"), 0);
    const std::string refused = device.read("refused.txt");
    EXPECT_TRUE(has(refused, "Please enter valid PIN code in order to run the application")) << refused;
    EXPECT_FALSE(has(refused, "FriendList")) << refused;
    EXPECT_FALSE(fs::exists(device.file("after.txt"))) << "the program went on after the refusal";
    EXPECT_EQ(device.pinCode(), hash.pinCode(u"1234"));
  }

  // Removed in the options, which ask for the PIN first; the next start asks nothing.
  const std::string disable = "type 1234\nsoft left\n" + Device::options() + "key 1\n" + device.toRow(0, 1) +
                              device.previous() + "soft left\ndump check.txt\ntype 1234\nsoft left\n" +
                              "dump disabled.txt\nkey ENTER\n";
  ASSERT_EQ(device.run(disable), 0);
  EXPECT_TRUE(has(device.read("check.txt"), "\"PIN Protection\"")) << device.read("check.txt");
  EXPECT_TRUE(has(device.read("disabled.txt"), "Successfully disabled PIN Protection")) << device.read("disabled.txt");
  EXPECT_EQ(device.pinCode(), 0u);
  ASSERT_EQ(device.run("dump free.txt\n"), 0);
  EXPECT_FALSE(has(device.read("free.txt"), "PIN Protection"));
  EXPECT_TRUE(has(device.read("free.txt"), "\"FriendList\""));
}

TEST_P(OptionsProgram, TheGeneralPageTurnsTheNamesAround) {
  device.fill(3);
  const std::string script = "key N\ndump before.txt\n" + Device::options() + "key 1\n" + device.next() +
                             "soft left\nsoft left\ndump after.txt\n";
  ASSERT_EQ(device.run(script), 0) << device.read("stderr.txt");
  EXPECT_TRUE(has(device.settingsFile(), "<FNameFirst>0</FNameFirst>")) << device.settingsFile();
  // Every friend of the list now shows as "Last, First".
  const std::string after = device.read("after.txt");
  const std::string list = after.substr(after.find("\"FriendList\""));
  EXPECT_TRUE(has(list, ", ")) << after;
  EXPECT_FALSE(has(device.read("before.txt").substr(device.read("before.txt").find("\"FriendList\"")), ", "));
}

TEST_P(OptionsProgram, TheAnniversariesPageStoresReminderAndTime) {
  // The reminder five items on to "2 Weeks"; 7:05 typed into the time, which keeps its "PM".
  std::string script = "key N\n" + Device::options() + "key 2\ndump page.txt\n" + device.toRow(0, 1);
  for (int i = 0; i < 5; ++i) script += device.next();
  script += device.toRow(1, 2) + "type 705\nsoft left\nsoft left\n";
  ASSERT_EQ(device.run(script), 0) << device.read("stderr.txt");
  const std::string page = device.read("page.txt");
  EXPECT_TRUE(has(page, device.pocketPc() ? "\"Auto Export:\"" : "\"Auto Export to Calendar:\"")) << page;
  EXPECT_TRUE(has(page, "text \"12:00 PM\"")) << "the locale's time without seconds\n" << page;
  const std::string settings = device.settingsFile();
  EXPECT_TRUE(has(settings, "<AnniversariesReminder>14</AnniversariesReminder>")) << settings;
  EXPECT_TRUE(has(settings, "<AnniversariesReminderTime>4869</AnniversariesReminderTime>")) << settings;
  EXPECT_TRUE(has(settings, "<LoansReminder>1</LoansReminder>")) << settings;
}

TEST_P(OptionsProgram, TheLoansPageStoresExportAndNoReminder) {
  const std::string script = "key N\n" + Device::options() + "key 3\ndump page.txt\n" + device.next() +
                             device.toRow(0, 1) + device.previous() + "soft left\nsoft left\n";
  ASSERT_EQ(device.run(script), 0) << device.read("stderr.txt");
  EXPECT_TRUE(has(device.read("page.txt"), device.pocketPc() ? "\"Auto Export:\"" : "\"Auto Export to Tasks:\""));
  const std::string settings = device.settingsFile();
  EXPECT_TRUE(has(settings, "<LoansAutoExport>0</LoansAutoExport>")) << settings;
  EXPECT_TRUE(has(settings, "<LoansReminder>-1</LoansReminder>")) << settings;
  EXPECT_TRUE(has(settings, "<AnniverariesAutoExport>1</AnniverariesAutoExport>")) << settings;
}

TEST_P(OptionsProgram, AboutShowsTheVersionAndDoneCloses) {
  ASSERT_EQ(device.run("key N\n" + Device::about() + "dump about.txt\nsoft left\ndump back.txt\n"), 0);
  const std::string about = device.read("about.txt");
  EXPECT_TRUE(has(about, "text \"Velka Pellucard\"")) << about;
  EXPECT_TRUE(has(about, "Pellucard, version 1.1")) << about;
  EXPECT_FALSE(has(device.read("back.txt"), "version 1.1"));
  EXPECT_TRUE(has(device.read("back.txt"), "\"FriendList\""));
}

INSTANTIATE_TEST_SUITE_P(BothEditions, OptionsProgram, ::testing::Values("pocketpc", "smartphone"));

}  // namespace
}  // namespace pellucard::testing
