// The program on the headless device: a menu and its submenu opened over a list and closed
// again leave the screen and the window dump as they were, as the menus keep what they cover.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/FileBytes.h"
#include "tests/support/TempFolder.h"

namespace {

using platform::testing::readBytes;
using platform::testing::TempFolder;

// Everything of the dump from the main window down: what the menus covered.
std::string mainWindowPart(const std::string& dump) {
  const std::size_t at = dump.find("window \"Pellucard\" \"Pellucard\"");
  return at == std::string::npos ? std::string() : dump.substr(at);
}

TEST(SavedBitsProgram, TheGiftListReadsTheSameAfterTheSortMenuCloses) {
  TempFolder folder;
  for (const char* sub : {"app", "config", "run"}) std::filesystem::create_directories(folder.path() / sub);
  const std::string fill =
      std::string(PELLUCARD_FILLDB_EXE) + " --app-dir " + folder.file("app") + " --friends 3 >/dev/null";
  ASSERT_EQ(std::system(fill.c_str()), 0);
  // Gifts tab, Menu, 4 (Sort By opens its submenu), Back, Back.
  std::ofstream(folder.file("script.txt")) << "key N\nkey RIGHT\ndump gifts.txt\nscreenshot gifts.png\n"
                                              "soft right\nkey 4\ndump menus.txt\n"
                                              "back\ndump submenu-closed.txt\n"
                                              "back\ndump menu-closed.txt\nscreenshot menu-closed.png\n";
  const std::string command = "cd " + folder.path().string() + " && XDG_RUNTIME_DIR=" + folder.file("run") +
                              " XDG_CONFIG_HOME=" + folder.file("config") + " " + PELLUCARD_PROGRAM_EXE +
                              " --headless --edition smartphone --screen 176x220 --app-dir " + folder.file("app") +
                              " --pim-dir " + folder.file("pim") + " --script script.txt 2>stderr.txt";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << readBytes(folder.file("stderr.txt"));

  const std::string gifts = readBytes(folder.file("gifts.txt"));
  ASSERT_NE(gifts.find("\"GiftList\""), std::string::npos) << gifts;
  ASSERT_NE(gifts.find("text \"Chocolates\""), std::string::npos) << gifts;
  const std::string menus = readBytes(folder.file("menus.txt"));
  ASSERT_NE(menus.find("text \"Friend Name\""), std::string::npos) << "the sort submenu is open: " << menus;

  const std::string submenuClosed = readBytes(folder.file("submenu-closed.txt"));
  EXPECT_EQ(mainWindowPart(submenuClosed), mainWindowPart(gifts)) << submenuClosed;
  EXPECT_NE(submenuClosed.find("text \"Sort By\""), std::string::npos);
  EXPECT_EQ(readBytes(folder.file("menu-closed.txt")), gifts);
  EXPECT_EQ(readBytes(folder.file("menu-closed.png")), readBytes(folder.file("gifts.png")));
}

}  // namespace
