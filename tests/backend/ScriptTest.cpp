// The headless script language and the device end to end: the pellucard executable run on
// the demo window tree with a script, its dump, screenshot and exit codes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/backend/KeyNames.h"
#include "platform/backend/headless/ScriptRunner.h"
#include "platform/backend/sdl/SdlKeyMap.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

namespace fs = std::filesystem;
using platform::Edition;
using platform::parseKeyName;
using platform::ScriptRunner;
using platform::testing::readBytes;
using platform::testing::TempFolder;

namespace {

struct RunResult {
  int exitCode = -1;
  std::string output;
};

// Runs the device executable on a script; stderr is captured.
RunResult runDevice(const TempFolder& dir, const std::string& script, const std::string& extra = "") {
  const std::string scriptPath = dir.file("script.txt");
  std::ofstream(scriptPath) << script;
  const std::string exe = PELLUCARD_DEVICE_EXE;
  const std::string errPath = dir.file("stderr.txt");
  const std::string command = "cd " + dir.path().string() + " && " + exe + " --headless --app-dir " + dir.file("app") +
                              " --script " + scriptPath + " " + extra + " 2>" + errPath;
  const int status = std::system(command.c_str());
  RunResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.output = readBytes(errPath);
  return r;
}

}  // namespace

TEST(KeyNames, NamesBecomeTheHandheldsKeys) {
  EXPECT_EQ(parseKeyName("down", Edition::PocketPc)->vk, static_cast<UINT>(VK_DOWN));
  EXPECT_EQ(parseKeyName("BACK", Edition::PocketPc)->vk, static_cast<UINT>(VK_ESCAPE));
  EXPECT_EQ(parseKeyName("soft2", Edition::PocketPc)->vk, static_cast<UINT>(VK_F2));
  EXPECT_EQ(parseKeyName("star", Edition::Smartphone)->vk, static_cast<UINT>(VK_F8));
  EXPECT_EQ(parseKeyName("#", Edition::Smartphone)->vk, static_cast<UINT>(VK_F9));
  EXPECT_EQ(parseKeyName("star", Edition::PocketPc)->vk, static_cast<UINT>(VK_MULTIPLY));
  auto ctrlR = parseKeyName("ctrl+r", Edition::PocketPc);
  ASSERT_TRUE(ctrlR);
  EXPECT_TRUE(ctrlR->ctrl);
  EXPECT_EQ(ctrlR->vk, static_cast<UINT>('R'));
  EXPECT_EQ(parseKeyName("0x1b", Edition::PocketPc)->vk, 0x1Bu);
  EXPECT_FALSE(parseKeyName("F25", Edition::PocketPc));
  EXPECT_FALSE(parseKeyName("0x100", Edition::PocketPc));
  EXPECT_FALSE(parseKeyName("nosuchkey", Edition::PocketPc));
  EXPECT_FALSE(parseKeyName("shift+", Edition::PocketPc));
}

TEST(KeyNames, HostKeysAndSmartphoneCharacters) {
  EXPECT_EQ(platform::virtualKeyForCharacter(U'*', Edition::Smartphone), static_cast<UINT>(VK_F8));
  EXPECT_EQ(platform::virtualKeyForCharacter(U'#', Edition::Smartphone), static_cast<UINT>(VK_F9));
  EXPECT_EQ(platform::virtualKeyForCharacter(U'*', Edition::PocketPc), 0u);
  EXPECT_EQ(platform::virtualKeyForSdlKey(27), static_cast<UINT>(VK_ESCAPE));
  EXPECT_EQ(platform::virtualKeyForSdlKey('q'), static_cast<UINT>('Q'));
  EXPECT_EQ(platform::virtualKeyForSdlKey('8'), static_cast<UINT>('8'));
  EXPECT_EQ(platform::virtualKeyForSdlKey('8', true), 0u);  // '*' comes as text
  EXPECT_EQ(platform::virtualKeyForSdlKey('q', true), static_cast<UINT>('Q'));
}

TEST(ScriptParsing, ErrorsNameTheLineAndNothingIsLoaded) {
  struct Case {
    std::string script;
    std::string start;
  };
  const Case cases[] = {
      {"key UP\n\nfly away\n", "3: unknown command"},
      {"# comment\nkey\n", "2: usage: key NAME"},
      {"tap 10\n", "1: usage: tap X Y"},
      {"tap -1 5\n", "1: usage: tap X Y"},
      {"soft middle\n", "1: usage: soft left|right"},
      {"wait soon\n", "1: usage: wait MS"},
      {"clock 2025-02-30T10:00\n", "1: usage: clock"},
      {"hold UP\n", "1: usage: hold KEY MS"},
      {"key UP\nkey WHAT\n", "2: unknown key"},
      {"screenshot\n", "1: usage: screenshot FILE"},
      {"quit now\n", "1: quit takes no argument"},
  };
  for (const auto& c : cases) {
    ScriptRunner runner(Edition::PocketPc);
    std::string error;
    EXPECT_FALSE(runner.load(c.script, error)) << c.script;
    EXPECT_EQ(error.rfind(c.start, 0), 0u) << c.script << " gave " << error;
    EXPECT_EQ(runner.remaining(), 0u);
  }
  ScriptRunner runner(Edition::PocketPc);
  std::string error;
  EXPECT_TRUE(runner.load("key UP\r\n  type hello  world\nclock 2025-03-01T08:30Z\nhold DOWN 700\n", error)) << error;
  EXPECT_EQ(runner.remaining(), 4u);
}

TEST(HeadlessDevice, ScriptDrivesTheDemoThroughItsModalDialogAndTimer) {
  TempFolder dir;
  const RunResult r = runDevice(dir,
                                "idle\n"
                                "dump before.txt\n"
                                "soft left\n"
                                "dump dialog.txt\n"
                                "screenshot dialog.png\n"
                                "key ENTER\n"
                                "wait 3000\n"
                                "dump after.txt\n"
                                "soft right\n");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  const std::string before = readBytes(dir.file("before.txt"));
  EXPECT_EQ(before.rfind("screen 240x320 edition pocketpc\n", 0), 0u) << before;
  EXPECT_NE(before.find("window \"PellucardDemo\" \"Pellucard demo\" id=0 rect=0,0,240,320 focus active"),
            std::string::npos)
      << before;
  // Text drawn into the list's memory bitmap shows up where it was copied to.
  EXPECT_NE(before.find("    text \"Friend A\" rect="), std::string::npos) << before;
  const std::string dialog = readBytes(dir.file("dialog.txt"));
  EXPECT_EQ(dialog.find("window \"#32770\" \"Demo dialog\""), dialog.find('\n') + 1) << dialog;
  EXPECT_NE(dialog.find("disabled"), std::string::npos);
  EXPECT_TRUE(fs::exists(dir.file("dialog.png")));
  EXPECT_GT(fs::file_size(dir.file("dialog.png")), 100u);
  const std::string after = readBytes(dir.file("after.txt"));
  EXPECT_NE(after.find("text \"Ticks: 3\""), std::string::npos) << after;
  EXPECT_EQ(after.find("#32770"), std::string::npos);
}

TEST(HeadlessDevice, ScriptErrorsExitWithTwoAndTheLine) {
  TempFolder dir;
  RunResult r = runDevice(dir, "idle\nwobble\n");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.output.find("script.txt:2: unknown command \"wobble\""), std::string::npos) << r.output;
  r = runDevice(dir, "idle\nscreenshot /nonexistent-folder/x.png\nquit\n");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.output.find(":2: cannot write"), std::string::npos) << r.output;
}

TEST(HeadlessDevice, RotationAndEditionsReachTheDump) {
  TempFolder dir;
  RunResult r = runDevice(dir, "rotate\ndump r.txt\nquit\n", "--edition smartphone --screen 480x640");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  const std::string dump = readBytes(dir.file("r.txt"));
  EXPECT_EQ(dump.rfind("screen 640x480 edition smartphone\n", 0), 0u) << dump;
  // The demo follows the rotation to the new screen size.
  EXPECT_NE(dump.find("rect=0,0,640,480"), std::string::npos) << dump;
}

TEST(HeadlessDevice, DemoFormOffersEveryControlInBothEditions) {
  for (const std::string edition : {"pocketpc", "smartphone"}) {
    TempFolder dir;
    const RunResult r = runDevice(dir,
                                  "key 1\n"
                                  "dump form.txt\n"
                                  "soft left\n"
                                  "dump after.txt\n"
                                  "quit\n",
                                  "--edition " + edition + (edition == "smartphone" ? " --screen 176x220" : ""));
    EXPECT_EQ(r.exitCode, 0) << r.output;
    const std::string form = readBytes(dir.file("form.txt"));
    EXPECT_NE(form.find("window \"#32770\" \"Every control\""), std::string::npos) << form;
    for (const char* cls : {"\"EDIT\"", "\"msctls_updown32\"", "\"LISTBOX\"", "\"ComboBox\"", "\"SysDateTimePick32\"",
                            "\"BUTTON\" \"Remind me\""}) {
      EXPECT_NE(form.find(std::string("window ") + cls), std::string::npos) << edition << " lacks " << cls;
    }
    EXPECT_NE(form.find("text \"Ada Lovelace\""), std::string::npos) << form;
    EXPECT_NE(readBytes(dir.file("after.txt")).find("text \"Form: Done\""), std::string::npos);
  }
}
