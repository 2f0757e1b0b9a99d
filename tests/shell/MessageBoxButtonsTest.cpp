// The Pocket PC's message box answers through BUTTON windows: the keys move the focus between
// them, Enter and Space answer with the focused one, and the dump shows them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/shell/Shell.h"
#include "platform/shell/WinMessageBox.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

namespace {

class MessageBoxButtonsTest : public ::testing::Test {
 protected:
  platform::testing::TestDevice device{platform::Edition::PocketPc, 240, 320};
  HWND owner = nullptr;
  std::string dumpPath = ::testing::TempDir() + "message-box-buttons.txt";

  void SetUp() override {
    platform::shell::startShell();
    owner = platform::testing::createLogWindow("owner", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    SetActiveWindow(owner);
    device.runUntilIdle();
  }
  void TearDown() override { platform::shell::stopShell(); }

  int ask(const std::string& script, UINT type = MB_YESNO | MB_ICONQUESTION) {
    EXPECT_TRUE(device.script(script));
    return MessageBoxW(owner, u"Permanently delete this item?", u"Pellucard", type);
  }

  std::string dumped() const {
    std::ifstream in(dumpPath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
};

TEST_F(MessageBoxButtonsTest, TheDefaultButtonHasTheFocusAndTheKeysMoveIt) {
  EXPECT_EQ(ask("dump " + dumpPath + "\nkey enter"), IDYES);
  const std::string first = dumped();
  EXPECT_NE(first.find("window \"BUTTON\" \"Yes\" id=6"), std::string::npos) << first;
  EXPECT_NE(first.find("window \"BUTTON\" \"No\" id=7"), std::string::npos);
  EXPECT_NE(first.find("text \"Yes\""), std::string::npos);

  EXPECT_EQ(ask("key right\ndump " + dumpPath + "\nkey enter"), IDNO);
  const std::string moved = dumped();
  const auto no = moved.find("window \"BUTTON\" \"No\"");
  ASSERT_NE(no, std::string::npos);
  EXPECT_NE(moved.substr(no, moved.find('\n', no) - no).find(" focus"), std::string::npos);
  EXPECT_EQ(ask("key tab\nkey space", MB_YESNOCANCEL), IDNO);
  EXPECT_EQ(ask("key left\nkey enter", MB_YESNOCANCEL | MB_DEFBUTTON2), IDYES);
}

}  // namespace
