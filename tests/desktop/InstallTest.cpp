// The install of the already built tree into a scratch prefix (`cmake --install`, as
// scripts/install runs it) and scripts/uninstall: everything in its place and listed, a menu
// entry the desktop accepts, a man page that renders, and an uninstall that leaves nothing of
// ours and everything of the user's.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "tests/desktop/ShellCommand.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

namespace pellucard::testing {
namespace {

namespace fs = std::filesystem;
using platform::testing::readBytes;
using platform::testing::TempFolder;
using platform::testing::writeBytes;

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Everything under a folder, relative to it; folders end with "/".
std::set<std::string> contentsOf(const fs::path& folder) {
  std::set<std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string relative = fs::relative(entry.path(), folder).generic_string();
    entries.insert(entry.is_directory() && !entry.is_symlink() ? relative + "/" : relative);
  }
  return entries;
}

// The icon sizes the skin generator draws, from the files it wrote.
std::vector<std::string> iconSizes() {
  std::vector<std::string> sizes;
  for (const auto& entry : fs::directory_iterator(fs::path(PELLUCARD_SOURCE_ROOT) / "resources" / "icons")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("pellucard-", 0) == 0 && entry.path().extension() == ".png")
      sizes.push_back(name.substr(10, name.size() - 14));
  }
  return sizes;
}

// A scratch prefix with a space in its name, as a user's may have.
class Install : public ::testing::Test {
 protected:
  ShellOutcome install() {
    return runShell(std::string(CMAKE_COMMAND) + " --install " + shellQuoted(PELLUCARD_BUILD_ROOT) + " --prefix " +
                    shellQuoted(prefix_.string()));
  }
  ShellOutcome uninstall() {
    return runShell(shellQuoted(std::string(PELLUCARD_SOURCE_ROOT) + "/scripts/uninstall") + " " +
                    shellQuoted(prefix_.string()));
  }
  std::set<std::string> manifest() const {
    std::set<std::string> lines;
    std::istringstream in(readBytes(prefix_ / "share/pellucard/install-manifest.txt"));
    for (std::string line; std::getline(in, line);)
      if (!line.empty() && line[0] != '#') lines.insert(line);
    return lines;
  }

  TempFolder scratch_;
  const fs::path prefix_ = scratch_.path() / "my prefix";
};

TEST_F(Install, PutsEveryPartInItsPlaceAndListsExactlyWhatItPut) {
  const ShellOutcome installed = install();
  ASSERT_EQ(installed.exitCode, 0) << installed.output;
  std::vector<std::string> expected = {"bin/pellucard",
                                       "bin/filldb",
                                       "share/applications/pellucard.desktop",
                                       "share/icons/hicolor/scalable/apps/pellucard.svg",
                                       "share/man/man1/pellucard.1",
                                       "share/doc/pellucard/PellucardHelp.htm",
                                       "share/pellucard/install-manifest.txt"};
  const std::vector<std::string> sizes = iconSizes();
  EXPECT_GE(sizes.size(), 4u);
  for (const std::string& size : sizes)
    expected.push_back("share/icons/hicolor/" + size + "x" + size + "/apps/pellucard.png");
  for (const std::string& file : expected) EXPECT_TRUE(fs::is_regular_file(prefix_ / file)) << file;
  EXPECT_EQ(readBytes(prefix_ / "share/icons/hicolor/48x48/apps/pellucard.png"),
            readBytes(fs::path(PELLUCARD_SOURCE_ROOT) / "resources/icons/pellucard-48.png"));
  EXPECT_NE(fs::status(prefix_ / "bin/pellucard").permissions() & fs::perms::owner_exec, fs::perms::none);
  // The prefix was there before; every folder below it is the install's, and listed.
  EXPECT_EQ(manifest(), contentsOf(prefix_));
}

TEST_F(Install, TheInstalledProgramRunsFromAnyFolder) {
  ASSERT_EQ(install().exitCode, 0);
  const fs::path elsewhere = scratch_.path() / "elsewhere";
  fs::create_directories(elsewhere / "run");
  fs::create_directories(elsewhere / "config");
  const std::string bin = (prefix_ / "bin").string();
  ShellOutcome version = runShell(shellQuoted(bin + "/pellucard") + " --version");
  EXPECT_EQ(version.output, "Pellucard 0.1.0\n");
  std::ofstream(elsewhere / "script.txt") << "key N\ndump dump.txt\n";
  const std::string environment = "XDG_RUNTIME_DIR=" + shellQuoted((elsewhere / "run").string()) +
                                  " XDG_CONFIG_HOME=" + shellQuoted((elsewhere / "config").string()) + " ";
  const std::string run = "cd " + shellQuoted(elsewhere.string()) + " && " + shellQuoted(bin + "/filldb") +
                          " --app-dir data --friends 3 && " + environment + shellQuoted(bin + "/pellucard") +
                          " --headless --app-dir data --script script.txt";
  const ShellOutcome ran = runShell(run);
  ASSERT_EQ(ran.exitCode, 0) << ran.output;
  const std::string dump = readBytes(elsewhere / "dump.txt");
  EXPECT_TRUE(has(dump, "\"FriendList\"")) << dump;
  // The guide and the pictures are built in: the program needs nothing beside itself.
  EXPECT_TRUE(has(readBytes(elsewhere / "data/PellucardHelp.htm"), "Pellucard Help"));
}

TEST_F(Install, TheMenuEntryIsValidAndStartsTheInstalledProgramInEitherEdition) {
  ASSERT_EQ(install().exitCode, 0);
  const fs::path entry = prefix_ / "share/applications/pellucard.desktop";
  const std::string text = readBytes(entry);
  // The prefix holds a space, so the path is quoted.
  std::string exec = (prefix_ / "bin/pellucard").string();
  exec.insert(exec.begin(), '"');
  exec.push_back('"');
  EXPECT_TRUE(has(text, "\nExec=" + exec + "\n")) << text;
  EXPECT_TRUE(has(text, "\nIcon=pellucard\n")) << text;
  EXPECT_TRUE(has(text, "\nTerminal=false\n")) << text;
  EXPECT_TRUE(has(text, "\nCategories=Office;ContactManagement;\n")) << text;
  EXPECT_TRUE(has(text, "\nActions=pocketpc;smartphone;\n")) << text;
  EXPECT_TRUE(has(text, "[Desktop Action pocketpc]\nName=Pocket PC\nExec=" + exec + " --edition pocketpc\n")) << text;
  EXPECT_TRUE(has(text, "[Desktop Action smartphone]\nName=Smartphone\nExec=" + exec + " --edition smartphone"))
      << text;
  if (runShell("command -v desktop-file-validate").exitCode != 0)
    GTEST_SKIP() << "desktop-file-validate is not installed (scripts/setup installs desktop-file-utils)";
  const ShellOutcome valid = runShell("desktop-file-validate " + shellQuoted(entry.string()));
  EXPECT_EQ(valid.exitCode, 0) << valid.output;
  EXPECT_EQ(valid.output, "");
}

TEST_F(Install, TheManPageRendersAndManFindsIt) {
  ASSERT_EQ(install().exitCode, 0);
  const fs::path page = prefix_ / "share/man/man1/pellucard.1";
  if (runShell("command -v groff").exitCode != 0) GTEST_SKIP() << "groff is not installed (scripts/setup installs it)";
  const ShellOutcome warnings = runShell("groff -man -Tutf8 -wall -z " + shellQuoted(page.string()));
  EXPECT_EQ(warnings.exitCode, 0);
  EXPECT_EQ(warnings.output, "") << "groff warns";
  const ShellOutcome shown =
      runShell("MANPATH=" + shellQuoted((prefix_ / "share/man").string()) + " MANWIDTH=100 man -P cat pellucard");
  ASSERT_EQ(shown.exitCode, 0) << shown.output;
  for (const char* section : {"SYNOPSIS", "OPTIONS", "KEYS", "FILES", "ENVIRONMENT", "EXIT STATUS"})
    EXPECT_TRUE(has(shown.output, section)) << section;
  // Every device option of the program's own list is in the page.
  const ShellOutcome help = runShell(shellQuoted((prefix_ / "bin/pellucard").string()) + " --help");
  std::istringstream lines(help.output);
  int options = 0;
  for (std::string line; std::getline(lines, line);) {
    const auto dashes = line.find("--");
    if (line.rfind("  --", 0) != 0 || dashes == std::string::npos) continue;
    const std::string option = line.substr(dashes, line.find(' ', dashes) - dashes);
    EXPECT_TRUE(has(shown.output, option)) << option;
    ++options;
  }
  EXPECT_GE(options, 12);
}

TEST_F(Install, UninstallRemovesAllOfOursAndNothingOfTheUsers) {
  // The prefix is the user's own: data of the program's application folder and another menu entry.
  fs::create_directories(prefix_ / "share/Pellucard");
  fs::create_directories(prefix_ / "share/applications");
  ASSERT_TRUE(writeBytes(prefix_ / "share/Pellucard/Pellucard.cdb", "the user's friends"));
  ASSERT_TRUE(writeBytes(prefix_ / "share/applications/other.desktop", "[Desktop Entry]\n"));
  const std::set<std::string> before = contentsOf(prefix_);
  // A second install over the first forgets none of the folders the first one made.
  ASSERT_EQ(install().exitCode, 0);
  ASSERT_EQ(install().exitCode, 0);
  EXPECT_TRUE(manifest().count("share/icons/"));
  EXPECT_FALSE(manifest().count("share/applications/")) << "the user made that folder";
  const ShellOutcome removed = uninstall();
  EXPECT_EQ(removed.exitCode, 0) << removed.output;
  EXPECT_EQ(contentsOf(prefix_), before);
  EXPECT_EQ(readBytes(prefix_ / "share/Pellucard/Pellucard.cdb"), "the user's friends");

  const ShellOutcome again = uninstall();
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_TRUE(has(again.output, "is not installed in")) << again.output;
}

TEST_F(Install, UninstallRefusesAManifestThatReachesOutsideThePrefix) {
  ASSERT_EQ(install().exitCode, 0);
  const fs::path outside = scratch_.path() / "outside.txt";
  ASSERT_TRUE(writeBytes(outside, "not ours"));
  const fs::path list = prefix_ / "share/pellucard/install-manifest.txt";
  const std::string honest = readBytes(list);
  for (const std::string& line : {std::string("../outside.txt"), std::string("bin/../../outside.txt"), outside.string(),
                                  std::string("linked/outside.txt")}) {
    fs::remove(prefix_ / "linked");
    fs::create_directory_symlink(scratch_.path(), prefix_ / "linked");
    ASSERT_TRUE(writeBytes(list, honest + line + "\n"));
    const ShellOutcome refused = uninstall();
    EXPECT_EQ(refused.exitCode, 1) << line;
    EXPECT_TRUE(has(refused.output, "nothing was removed")) << refused.output;
    EXPECT_TRUE(fs::exists(outside)) << line;
    EXPECT_TRUE(fs::exists(prefix_ / "bin/pellucard")) << line;
  }
}

}  // namespace
}  // namespace pellucard::testing
