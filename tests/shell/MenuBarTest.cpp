#include <gtest/gtest.h>

#include "platform/shell/InputPanel.h"
#include "tests/shell/ShellHarness.h"

using namespace testing_device;

namespace {

class MenuBarTest : public ::testing::TestWithParam<platform::Edition> {
 protected:
  bool pocketPc() const { return GetParam() == platform::Edition::PocketPc; }
  int width() const { return pocketPc() ? 240 : 176; }
  int height() const { return pocketPc() ? 320 : 220; }

  ShellDevice device{GetParam(), pocketPc() ? 240 : 176, pocketPc() ? 320 : 220};
  Recorder owner{RECT{0, 26, pocketPc() ? 240 : 176, 200}};

  void SetUp() override {
    SetActiveWindow(owner.hwnd);
    SetFocus(owner.hwnd);
    device.pump();
  }

  std::vector<UINT> commands() {
    device.pump();
    std::vector<UINT> out;
    for (const Received& r : owner.messages(WM_COMMAND)) out.push_back(LOWORD(r.wParam));
    return out;
  }
};

TEST_P(MenuBarTest, SitsAtTheBottomWithItsButtonsFromTheResource) {
  HWND bar = device.createMenuBar(owner.hwnd, kBarWithMenu);
  ASSERT_NE(bar, nullptr);
  RECT rect{};
  GetWindowRect(bar, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.right, width());
  EXPECT_EQ(rect.bottom, height());
  EXPECT_EQ(rect.bottom - rect.top, 26);
  EXPECT_EQ(GetParent(bar), owner.hwnd) << "the owner";
  device.pump();
  const auto texts = Device::texts(bar);
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"Details"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"Menu"), texts.end());

  HMENU sub = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1000));
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuItemCount(sub), 7);
  EXPECT_EQ(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1014), 0) << "the left button has no menu";

  HWND hidden = device.createMenuBar(owner.hwnd, kBarDoneOnly, SHCMBF_HIDDEN);
  ASSERT_NE(hidden, nullptr);
  EXPECT_FALSE(IsWindowVisible(hidden));
  EXPECT_EQ(device.createMenuBar(owner.hwnd, 4242), nullptr) << "no such resource";
  DestroyWindow(hidden);
  DestroyWindow(bar);
}

TEST_P(MenuBarTest, SoftKeysPressTheButtonsAndOpenTheMenu) {
  HWND bar = device.createMenuBar(owner.hwnd, kBarWithMenu);
  ASSERT_NE(bar, nullptr);
  press(VK_F1);
  EXPECT_EQ(commands(), std::vector<UINT>{1014});

  owner.log.clear();
  device.host.steps.push_back([] { press(VK_DOWN); });
  device.host.steps.push_back([] { press(VK_RETURN); });
  press(VK_F2);
  const UINT expected = pocketPc() ? 1010 : 1011;  // the Smartphone menu starts on its first item
  const auto got = commands();
  if (pocketPc()) {
    EXPECT_EQ(got, std::vector<UINT>{expected});
  } else {
    EXPECT_TRUE(got.empty()) << "Edit is greyed";
  }
  EXPECT_EQ(FindWindowW(platform::shell::kPopupMenuClass, nullptr), nullptr);
}

TEST_P(MenuBarTest, TapsPressButtonsButNotGreyedOnes) {
  HWND bar = device.createMenuBar(owner.hwnd, kBarDoneOnly);
  ASSERT_NE(bar, nullptr);
  device.pump();
  ShellDevice::tapText(bar, u"Done");
  EXPECT_EQ(commands(), std::vector<UINT>{IDOK});
  owner.log.clear();
  press(VK_F2);
  EXPECT_TRUE(commands().empty()) << "the empty right button is disabled";
  DestroyWindow(bar);

  bar = device.createMenuBar(owner.hwnd, kBarGreyed);
  device.pump();
  owner.log.clear();
  press(VK_F1);
  ShellDevice::tapText(bar, u"Done");
  EXPECT_TRUE(commands().empty());
  EXPECT_TRUE(SendMessageW(bar, TB_ENABLEBUTTON, IDOK, MAKELONG(TRUE, 0)));
  press(VK_F1);
  EXPECT_EQ(commands(), std::vector<UINT>{IDOK});
}

TEST_P(MenuBarTest, BackGoesToTheOwnerAsHotKeyOnlyWhenOverridden) {
  HWND bar = device.createMenuBar(owner.hwnd, kBarDoneOnly);
  ASSERT_NE(bar, nullptr);
  press(VK_ESCAPE);
  device.pump();
  EXPECT_TRUE(owner.messages(WM_HOTKEY).empty());

  EXPECT_TRUE(SendMessageW(bar, SHCMBM_OVERRIDEKEY, VK_TBACK,
                           MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY)));
  owner.log.clear();
  press(VK_ESCAPE);
  device.pump();
  const auto keys = owner.messages(WM_HOTKEY);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(HIWORD(keys[0].lParam), VK_ESCAPE);
  EXPECT_EQ(LOWORD(keys[0].lParam) & MOD_KEYUP, 0);
  EXPECT_EQ(LOWORD(keys[1].lParam) & MOD_KEYUP, MOD_KEYUP);

  // A soft key can be taken over the same way.
  SendMessageW(bar, SHCMBM_OVERRIDEKEY, VK_TSOFT1,
               MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
  owner.log.clear();
  press(VK_F1);
  device.pump();
  ASSERT_EQ(owner.messages(WM_HOTKEY).size(), 1u);
  EXPECT_EQ(HIWORD(owner.messages(WM_HOTKEY)[0].lParam), VK_F1);
  EXPECT_TRUE(owner.messages(WM_COMMAND).empty()) << "no default: Done is not pressed";

  // A bar that goes takes its override with it: Back is an ordinary key again.
  DestroyWindow(bar);
  owner.log.clear();
  press(VK_ESCAPE);
  device.pump();
  EXPECT_TRUE(owner.messages(WM_HOTKEY).empty());
}

TEST_P(MenuBarTest, InputPanelButtonTogglesTheKeyboardOnPocketPc) {
  HWND bar = device.createMenuBar(owner.hwnd, kBarDoneOnly);
  ASSERT_NE(bar, nullptr);
  HWND noSip = device.createMenuBar(owner.hwnd, kBarDoneOnly, SHCMBF_HIDESIPBUTTON);
  ASSERT_NE(noSip, nullptr);
  DestroyWindow(noSip);
  device.pump();
  tap(width() / 2, height() - 13);
  device.pump();
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
  const auto changes = owner.messages(WM_SETTINGCHANGE);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back().wParam, static_cast<WPARAM>(SPI_SETSIPINFO));

  // Typing on the panel goes to the focused window as characters.
  owner.log.clear();
  device.pump();
  ShellDevice::tapText(panel, u"q");
  device.pump();
  const auto chars = owner.messages(WM_CHAR);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>(u'q'));
  EXPECT_EQ(GetActiveWindow(), owner.hwnd) << "the panel never takes activation";

  tap(width() / 2, height() - 13);
  device.pump();
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &info, 0));
  EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);
  EXPECT_FALSE(IsWindowVisible(panel));
}

INSTANTIATE_TEST_SUITE_P(Editions, MenuBarTest,
                         ::testing::Values(platform::Edition::PocketPc, platform::Edition::Smartphone));

}  // namespace

namespace {

// The way the program drives its menus: check an item, grey another through the bar's menu,
// open the menu with the soft key, choose with the stylus, then answer the question it asks.
TEST(MenuScriptTest, CheckGreyChooseAndAnswer) {
  for (const auto edition : {platform::Edition::PocketPc, platform::Edition::Smartphone}) {
    const bool pocketPc = edition == platform::Edition::PocketPc;
    ShellDevice device(edition, 240, 320);
    Recorder owner(RECT{0, 26, 240, 294});
    SetActiveWindow(owner.hwnd);
    HWND bar = device.createMenuBar(owner.hwnd, kBarWithMenu);
    ASSERT_NE(bar, nullptr);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(bar, SHCMBM_GETSUBMENU, 0, 1000));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(CheckMenuItem(menu, 1046, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(EnableMenuItem(menu, 1050, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
    device.pump();

    // Export is greyed now: a tap on it does nothing; Exit is chosen.
    device.host.steps.push_back(
        [] { ShellDevice::tapText(FindWindowW(platform::shell::kPopupMenuClass, nullptr), u"Export"); });
    device.host.steps.push_back(
        [] { ShellDevice::tapText(FindWindowW(platform::shell::kPopupMenuClass, nullptr), u"Exit"); });
    press(VK_F2);
    device.pump();
    const auto commands = owner.messages(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u) << (pocketPc ? "Pocket PC" : "Smartphone");
    EXPECT_EQ(LOWORD(commands[0].wParam), 1001);
    EXPECT_EQ(GetMenuState(menu, 1046, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED)) << "checks stay";

    device.host.steps.push_back([] { press(VK_ESCAPE); });
    EXPECT_EQ(MessageBoxW(owner.hwnd, u"Exit?", u"Pellucard", MB_YESNO | MB_ICONQUESTION), IDNO);
  }
}

}  // namespace
