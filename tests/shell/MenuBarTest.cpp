#include <gtest/gtest.h>

#include <algorithm>

#include "platform/shell/InputPanel.h"
#include "platform/shell/Shell.h"
#include "platform/shell/WinMenu.h"
#include "platform/shell/WinMessageBox.h"
#include "tests/shell/ShellDevice.h"
#include "tests/support/MessageLog.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::ShellDevice;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

MessageLog& log() { return MessageLog::instance(); }

// The ids of the commands the log windows received, in order.
std::vector<UINT> commands() {
  std::vector<UINT> out;
  for (const auto& e : log().messages(WM_COMMAND)) out.push_back(LOWORD(e.wParam));
  return out;
}

class MenuBarTest : public ::testing::TestWithParam<platform::Edition> {
 protected:
  bool pocketPc() const { return GetParam() == platform::Edition::PocketPc; }
  int width() const { return pocketPc() ? 240 : 176; }
  int height() const { return pocketPc() ? 320 : 220; }

  ShellDevice device{GetParam(), width(), height()};
  HWND owner = createLogWindow("owner", WS_POPUP | WS_VISIBLE, 0, 26, width(), 174);

  void SetUp() override {
    SetActiveWindow(owner);
    SetFocus(owner);
    device.runUntilIdle();
    log().clear();
  }
};

TEST_P(MenuBarTest, SitsAtTheBottomWithItsButtonsFromTheResource) {
  HWND bar = ShellDevice::createMenuBar(owner, ShellDevice::kBarWithMenu);
  ASSERT_NE(bar, nullptr);
  RECT rect{};
  GetWindowRect(bar, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.right, width());
  EXPECT_EQ(rect.bottom, height());
  EXPECT_EQ(rect.bottom - rect.top, 26);
  EXPECT_EQ(GetParent(bar), owner) << "the owner";
  device.runUntilIdle();
  EXPECT_TRUE(TestDevice::drew(bar, u"Details"));
  EXPECT_TRUE(TestDevice::drew(bar, u"Menu"));

  HMENU sub = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1000));
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuItemCount(sub), 7);
  EXPECT_EQ(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1014), 0) << "the left button has no menu";

  HWND hidden = ShellDevice::createMenuBar(owner, ShellDevice::kBarDoneOnly, SHCMBF_HIDDEN);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(ShellDevice::createMenuBar(owner, 4242), nullptr) << "no such resource";
  DestroyWindow(hidden);
  DestroyWindow(bar);
}

TEST_P(MenuBarTest, SoftKeysPressTheButtonsAndOpenTheMenu) {
  HWND bar = ShellDevice::createMenuBar(owner, ShellDevice::kBarWithMenu);
  ASSERT_NE(bar, nullptr);
  device.key(VK_F1);
  EXPECT_EQ(commands(), std::vector<UINT>{1014});

  log().clear();
  ASSERT_TRUE(device.script("key DOWN\nkey ENTER\n"));
  device.key(VK_F2);
  if (pocketPc()) {
    EXPECT_EQ(commands(), std::vector<UINT>{1010});
  } else {
    // The Smartphone menu starts on its first item, so Down lands on Edit.
    EXPECT_TRUE(commands().empty()) << "Edit is greyed";
  }
  EXPECT_EQ(ShellDevice::popupMenu(), nullptr);
}

TEST_P(MenuBarTest, TapsPressButtonsButNotGreyedOnes) {
  HWND bar = ShellDevice::createMenuBar(owner, ShellDevice::kBarDoneOnly);
  ASSERT_NE(bar, nullptr);
  device.runUntilIdle();
  device.tapOn(bar, u"Done");
  EXPECT_EQ(commands(), std::vector<UINT>{IDOK});
  log().clear();
  device.key(VK_F2);
  EXPECT_TRUE(commands().empty()) << "the empty right button is disabled";
  DestroyWindow(bar);

  bar = ShellDevice::createMenuBar(owner, ShellDevice::kBarGreyed);
  device.runUntilIdle();
  log().clear();
  device.key(VK_F1);
  device.tapOn(bar, u"Done");
  EXPECT_TRUE(commands().empty());
  EXPECT_TRUE(SendMessageW(bar, TB_ENABLEBUTTON, IDOK, MAKELONG(TRUE, 0)));
  device.key(VK_F1);
  EXPECT_EQ(commands(), std::vector<UINT>{IDOK});
}

TEST_P(MenuBarTest, BackGoesToTheOwnerAsHotKeyOnlyWhenOverridden) {
  HWND bar = ShellDevice::createMenuBar(owner, ShellDevice::kBarDoneOnly);
  ASSERT_NE(bar, nullptr);
  log().keepOnly({WM_HOTKEY, WM_COMMAND});
  device.key(VK_ESCAPE);
  EXPECT_TRUE(log().messages(WM_HOTKEY).empty());

  EXPECT_TRUE(SendMessageW(bar, SHCMBM_OVERRIDEKEY, VK_TBACK,
                           MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY)));
  log().clear();
  device.key(VK_ESCAPE);
  ASSERT_EQ(log().sequence(), (Seq{"owner:WM_HOTKEY", "owner:WM_HOTKEY"}));
  EXPECT_EQ(HIWORD(log().entries()[0].lParam), VK_ESCAPE);
  EXPECT_EQ(LOWORD(log().entries()[0].lParam) & MOD_KEYUP, 0);
  EXPECT_EQ(LOWORD(log().entries()[1].lParam) & MOD_KEYUP, MOD_KEYUP);

  // A soft key can be taken over the same way: no default, so Done is not pressed.
  SendMessageW(bar, SHCMBM_OVERRIDEKEY, VK_TSOFT1,
               MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
  log().clear();
  device.key(VK_F1);
  ASSERT_EQ(log().sequence(), (Seq{"owner:WM_HOTKEY"}));
  EXPECT_EQ(HIWORD(log().entries()[0].lParam), VK_F1);

  // A bar that goes takes its override with it: Back is an ordinary key again.
  DestroyWindow(bar);
  log().clear();
  device.key(VK_ESCAPE);
  EXPECT_TRUE(log().messages(WM_HOTKEY).empty());
}

TEST_P(MenuBarTest, InputPanelButtonTogglesTheKeyboardOnPocketPc) {
  HWND bar = ShellDevice::createMenuBar(owner, ShellDevice::kBarDoneOnly);
  ASSERT_NE(bar, nullptr);
  HWND noSip = ShellDevice::createMenuBar(owner, ShellDevice::kBarDoneOnly, SHCMBF_HIDESIPBUTTON);
  ASSERT_NE(noSip, nullptr);
  DestroyWindow(noSip);
  device.runUntilIdle();
  device.tap(width() / 2, height() - 13);
  SIPINFO info{};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
  if (!pocketPc()) {
    EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);
    EXPECT_EQ(platform::shell::InputPanel::window(), nullptr);
    return;
  }
  EXPECT_EQ(info.fdwFlags & SIPF_ON, static_cast<DWORD>(SIPF_ON));
  HWND panel = platform::shell::InputPanel::window();
  ASSERT_NE(panel, nullptr);
  EXPECT_TRUE(IsWindowVisible(panel));
  RECT rect{};
  GetWindowRect(panel, &rect);
  EXPECT_EQ(rect.bottom, height() - 26) << "just above the menubar";
  const auto changes = log().messages(WM_SETTINGCHANGE);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back().wParam, static_cast<WPARAM>(SPI_SETSIPINFO));

  // Typing on the panel goes to the focused window as characters.
  log().clear();
  device.tapOn(panel, u"q");
  const auto chars = log().messages(WM_CHAR);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>(u'q'));
  EXPECT_EQ(GetActiveWindow(), owner) << "the panel never takes activation";

  device.tap(width() / 2, height() - 13);
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
  EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);
  EXPECT_FALSE(IsWindowVisible(panel));
}

INSTANTIATE_TEST_SUITE_P(Editions, MenuBarTest,
                         ::testing::Values(platform::Edition::PocketPc, platform::Edition::Smartphone));

// The way the program drives its menus: check an item, grey another through the bar's menu,
// open the menu with the soft key, choose with the stylus, then answer the question it asks.
TEST(MenuScriptTest, CheckGreyChooseAndAnswer) {
  for (const auto edition : {platform::Edition::PocketPc, platform::Edition::Smartphone}) {
    const bool pocketPc = edition == platform::Edition::PocketPc;
    ShellDevice device(edition, 240, 320);
    HWND owner = createLogWindow("owner", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268);
    SetActiveWindow(owner);
    HWND bar = ShellDevice::createMenuBar(owner, ShellDevice::kBarWithMenu);
    ASSERT_NE(bar, nullptr);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1000));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(CheckMenuItem(menu, 1046, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(EnableMenuItem(menu, 1050, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    device.runUntilIdle();

    // Export is greyed now: a tap on it does nothing; Exit is chosen.
    device.addStep([] { TestDevice::postTapOn(ShellDevice::popupMenu(), u"Export"); });
    device.addStep([] { TestDevice::postTapOn(ShellDevice::popupMenu(), u"Exit"); });
    device.key(VK_F2);
    EXPECT_EQ(commands(), std::vector<UINT>{1001}) << (pocketPc ? "Pocket PC" : "Smartphone");
    EXPECT_EQ(GetMenuState(menu, 1046, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED)) << "checks stay";

    ASSERT_TRUE(device.script("back\n"));
    EXPECT_EQ(MessageBoxW(owner, u"Exit?", u"Pellucard", MB_YESNO | MB_ICONQUESTION), IDNO);
  }
}

}  // namespace
