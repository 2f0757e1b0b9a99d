// The shell driven by headless script commands on the platform's test device.
#include <gtest/gtest.h>

#include "platform/shell/WinMenu.h"
#include "platform/shell/WinMessageBox.h"
#include "tests/shell/ShellDevice.h"
#include "tests/support/MessageLog.h"

using platform::Edition;
using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::ShellDevice;

namespace {

TEST(ShellScriptTest, SoftKeyMenuAndMessageBoxFollowTheScript) {
  ShellDevice device(Edition::Smartphone, 240, 320);
  HWND owner = createLogWindow("owner", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
  SetWindowTextW(owner, u"Pellucard");
  SetActiveWindow(owner);
  HWND bar = ShellDevice::createMenuBar(owner, ShellDevice::kBarWithMenu);
  ASSERT_NE(bar, nullptr);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1000));
  ASSERT_NE(menu, nullptr);
  CheckMenuItem(menu, 1047, MF_BYCOMMAND | MF_CHECKED);
  EnableMenuItem(menu, 1010, MF_BYCOMMAND | MF_GRAYED);
  device.runUntilIdle();
  const std::string dump = device.dump();
  EXPECT_NE(dump.find("Details"), std::string::npos) << dump;
  EXPECT_NE(dump.find("Pellucard"), std::string::npos) << "the title bar";

  // The greyed first item does nothing; 3 opens "Sort By" and 2 chooses "Date".
  std::string error;
  ASSERT_TRUE(device.script("key 1\nkey 3\nkey 2\n", &error)) << error;
  device.key(VK_F2);
  const auto commands = MessageLog::instance().messages(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wParam), 1047);

  ASSERT_TRUE(device.script("key N\n", &error)) << error;
  EXPECT_EQ(MessageBoxW(owner, u"Do you want to remove all items?", u"Pellucard", MB_YESNO | MB_ICONQUESTION), IDNO);
  ASSERT_TRUE(device.script("back\n", &error)) << error;
  EXPECT_EQ(MessageBoxW(owner, u"Backup restored successfully.", u"Pellucard", MB_OK | MB_ICONINFORMATION), IDOK);
}

}  // namespace
