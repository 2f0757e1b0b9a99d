// The shell driven by headless script commands on the platform's test device.
#include <gtest/gtest.h>

#include "tests/shell/ShellHarness.h"
#include "tests/support/TestDevice.h"

using namespace testing_device;
using platform::Edition;

namespace {

TEST(ShellScriptTest, SoftKeyMenuAndMessageBoxFollowTheScript) {
  platform::testing::TestDevice device(Edition::Smartphone, 240, 320);
  registerTestResources();
  platform::shell::startShell();
  Recorder owner(RECT{0, 26, 240, 294});
  SetWindowTextW(owner.hwnd, u"Pellucard");
  SetActiveWindow(owner.hwnd);
  SHMENUBARINFO info{};
  info.cbSize = sizeof(info);
  info.hwndParent = owner.hwnd;
  info.nToolBarId = kBarWithMenu;
  ASSERT_TRUE(SHCreateMenuBar(&info));
  HMENU menu = reinterpret_cast<HMENU>(SendMessageW(info.hwndMB, SHCMBM_GETSUBMENU, 0, 1000));
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
  device.runUntilIdle();
  const auto commands = owner.messages(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wParam), 1047);

  ASSERT_TRUE(device.script("key N\n", &error)) << error;
  EXPECT_EQ(MessageBoxW(owner.hwnd, u"Do you want to remove all items?", u"Pellucard", MB_YESNO | MB_ICONQUESTION),
            IDNO);
  ASSERT_TRUE(device.script("back\n", &error)) << error;
  EXPECT_EQ(MessageBoxW(owner.hwnd, u"Backup restored successfully.", u"Pellucard", MB_OK | MB_ICONINFORMATION), IDOK);
  platform::shell::stopShell();
}

}  // namespace
