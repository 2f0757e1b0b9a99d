#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "platform/backend/WindowDump.h"
#include "platform/shell/InputPanel.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/TitleBar.h"
#include "tests/shell/ShellHarness.h"

using namespace testing_device;
using platform::Edition;

namespace {

TEST(ShellApiTest, FullScreenDialogFitsBetweenTitleBarAndMenubar) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  Recorder dialog(RECT{0, 0, 100, 100}, WS_POPUP | WS_VISIBLE | WS_CAPTION);
  SetActiveWindow(dialog.hwnd);
  ASSERT_NE(device.createMenuBar(dialog.hwnd, kBarDoneOnly), nullptr);
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog.hwnd, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
  ASSERT_TRUE(SHInitDialog(&info));
  RECT rect{};
  GetWindowRect(dialog.hwnd, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 26);
  EXPECT_EQ(rect.right, 240);
  EXPECT_EQ(rect.bottom, 320 - 26);
  EXPECT_FALSE(GetWindowLongW(dialog.hwnd, GWL_STYLE) & WS_CAPTION) << "the title bar shows the title";

  SHINITDLGINFO bad{SHIDIM_FLAGS, reinterpret_cast<HWND>(0x4321), 0};
  EXPECT_FALSE(SHInitDialog(&bad));
  EXPECT_FALSE(SHInitDialog(nullptr));
}

TEST(ShellApiTest, TitleBarShowsTheForegroundTitleAndItsDoneButtonSendsOk) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  Recorder dialog(RECT{0, 26, 240, 294});
  SetWindowTextW(dialog.hwnd, u"Options");
  SetActiveWindow(dialog.hwnd);
  ASSERT_TRUE(SHDoneButton(dialog.hwnd, SHDB_SHOW));
  device.pump();
  HWND title = platform::shell::titleBarWindow();
  ASSERT_NE(title, nullptr);
  const auto texts = Device::texts(title);
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"Options"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"ok"), texts.end());

  dialog.log.clear();
  ShellDevice::tapText(title, u"ok");
  device.pump();
  const auto commands = dialog.messages(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(LOWORD(commands[0].wParam), IDOK);
  EXPECT_EQ(GetActiveWindow(), dialog.hwnd) << "the title bar does not take activation";

  ASSERT_TRUE(SHDoneButton(dialog.hwnd, SHDB_HIDE));
  device.pump();
  const auto after = Device::texts(title);
  EXPECT_EQ(std::find(after.begin(), after.end(), u"ok"), after.end());
  EXPECT_FALSE(SHDoneButton(reinterpret_cast<HWND>(0x4321), SHDB_SHOW));
}

// The texts the dump says the title bar drew in its last paint.
std::string titleBarInDump() {
  std::istringstream in(platform::dumpWindows());
  std::string line, bar;
  bool inBar = false;
  while (std::getline(in, line)) {
    const std::string trimmed = line.substr(std::min(line.find_first_not_of(' '), line.size()));
    if (trimmed.rfind("window ", 0) == 0) {
      inBar = trimmed.rfind("window \"HHTaskBar\"", 0) == 0;
    } else if (inBar) {
      bar += trimmed + "\n";
    }
  }
  return bar;
}

bool titleBarShows(const std::string& title) {
  return titleBarInDump().find("text \"" + title + "\"") != std::string::npos;
}

TEST(ShellApiTest, TitleBarFollowsTheForegroundWindowsTextAndActivation) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  Recorder list(RECT{0, 26, 240, 294});
  SetWindowTextW(list.hwnd, u"Friends");
  SetActiveWindow(list.hwnd);
  device.pump();
  ASSERT_TRUE(titleBarShows("Friends")) << titleBarInDump();

  // The program renames its screen; no shell call follows.
  SetWindowTextW(list.hwnd, u"Gifts");
  device.pump();
  EXPECT_TRUE(titleBarShows("Gifts")) << titleBarInDump();
  EXPECT_FALSE(titleBarShows("Friends"));

  {
    Recorder options(RECT{0, 26, 240, 294});
    SetWindowTextW(options.hwnd, u"Options");
    SetActiveWindow(options.hwnd);
    device.pump();
    EXPECT_TRUE(titleBarShows("Options")) << titleBarInDump();
    // A window behind the foreground one renaming itself does not take the title.
    SetWindowTextW(list.hwnd, u"Loans");
    device.pump();
    EXPECT_TRUE(titleBarShows("Options")) << titleBarInDump();
  }
  // The screen in front closed: the title is the one now active again.
  device.pump();
  EXPECT_EQ(GetForegroundWindow(), list.hwnd);
  EXPECT_TRUE(titleBarShows("Loans")) << titleBarInDump();
}

TEST(ShellApiTest, SmartphoneHasNoDoneButtonAndNoInputPanel) {
  ShellDevice device(Edition::Smartphone, 176, 220);
  Recorder dialog(RECT{0, 0, 100, 100}, WS_POPUP | WS_VISIBLE | WS_CAPTION);
  SetActiveWindow(dialog.hwnd);
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog.hwnd, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
  ASSERT_TRUE(SHInitDialog(&info));
  EXPECT_FALSE(platform::shell::hasDoneButton(dialog.hwnd));
  RECT rect{};
  GetWindowRect(dialog.hwnd, &rect);
  EXPECT_EQ(rect.bottom, 220) << "no menubar: down to the bottom";
  EXPECT_TRUE(SHSipPreference(dialog.hwnd, SIP_UP));
  SIPINFO sip{};
  sip.cbSize = 48;
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  EXPECT_EQ(sip.fdwFlags & SIPF_ON, 0u);
  EXPECT_EQ(platform::shell::InputPanel::window(), nullptr);
}

TEST(ShellApiTest, InputPanelPreferenceRaisesAndLowersThePanel) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  Recorder frame(RECT{0, 26, 240, 294});
  SetActiveWindow(frame.hwnd);
  ASSERT_TRUE(SHSipPreference(frame.hwnd, SIP_UP));
  SIPINFO sip{};
  sip.cbSize = 48;
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  EXPECT_EQ(sip.fdwFlags & SIPF_ON, static_cast<DWORD>(SIPF_ON));
  EXPECT_TRUE(IsWindowVisible(platform::shell::InputPanel::window()));
  EXPECT_EQ(sip.rcVisibleDesktop.bottom, sip.rcSipRect.top);
  ASSERT_TRUE(SHSipPreference(frame.hwnd, SIP_FORCEDOWN));
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  EXPECT_EQ(sip.fdwFlags & SIPF_ON, 0u);
  EXPECT_FALSE(IsWindowVisible(platform::shell::InputPanel::window()));
  EXPECT_FALSE(SHSipInfo(SPI_GETWORKAREA, 0, &sip, 0)) << "only the input-panel actions";
}

TEST(ShellApiTest, FullScreenHidesAndShowsTheTaskBar) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  Recorder frame(RECT{0, 26, 240, 294});
  HWND title = platform::shell::titleBarWindow();
  ASSERT_TRUE(IsWindowVisible(title));
  ASSERT_TRUE(SHFullScreen(frame.hwnd, SHFS_HIDETASKBAR | SHFS_HIDESTARTICON));
  EXPECT_FALSE(IsWindowVisible(title));
  ASSERT_TRUE(SHFullScreen(frame.hwnd, SHFS_SHOWTASKBAR | SHFS_SHOWSTARTICON));
  EXPECT_TRUE(IsWindowVisible(title));
  EXPECT_TRUE(platform::shell::startIconVisible());
  EXPECT_FALSE(SHFullScreen(nullptr, SHFS_SHOWTASKBAR));

  HWND bar = device.createMenuBar(frame.hwnd, kBarDoneOnly);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(SHFullScreen(frame.hwnd, SHFS_HIDESIPBUTTON));
  EXPECT_FALSE(platform::shell::MenuBar::fromWindow(bar)->sipButton());
  ASSERT_TRUE(SHFullScreen(frame.hwnd, SHFS_SHOWSIPBUTTON));
  EXPECT_TRUE(platform::shell::MenuBar::fromWindow(bar)->sipButton());
}

TEST(ShellApiTest, BackGoesToTheFocusedWindowAsBackspace) {
  ShellDevice device(Edition::Smartphone, 176, 220);
  Recorder frame(RECT{0, 26, 176, 194});
  SetActiveWindow(frame.hwnd);
  SetFocus(frame.hwnd);
  SHSendBackToFocusWindow(WM_HOTKEY, 1, MAKELPARAM(0, VK_ESCAPE));
  SHSendBackToFocusWindow(WM_HOTKEY, 1, MAKELPARAM(MOD_KEYUP, VK_ESCAPE));
  device.pump();
  const auto downs = frame.messages(WM_KEYDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(VK_BACK));
  const auto chars = frame.messages(WM_CHAR);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>(8));
  EXPECT_EQ(frame.messages(WM_KEYUP).size(), 1u);
}

TEST(ShellApiTest, NavigatingBackWithNoEarlierProgramSendsThisOneToTheBackground) {
  ShellDevice device(Edition::Smartphone, 176, 220);
  static int minimised = 0;
  minimised = 0;
  platform::shell::setBackgroundHandler([] { ++minimised; });
  const int before = platform::shell::backgroundCount();
  SHNavigateBack();
  EXPECT_EQ(platform::shell::backgroundCount(), before + 1);
  EXPECT_EQ(minimised, 1);
  platform::shell::setBackgroundHandler(nullptr);
}

}  // namespace

namespace {

TEST(ShellRotationTest, TitleBarMenubarAndPanelFollowTheScreen) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  Recorder frame(RECT{0, 26, 240, 294});
  SetActiveWindow(frame.hwnd);
  HWND bar = device.createMenuBar(frame.hwnd, kBarWithMenu);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(SHSipPreference(frame.hwnd, SIP_UP));
  platform::rotateScreen();
  device.pump();
  RECT title{};
  RECT menu{};
  RECT panel{};
  GetWindowRect(platform::shell::titleBarWindow(), &title);
  GetWindowRect(bar, &menu);
  GetWindowRect(platform::shell::InputPanel::window(), &panel);
  EXPECT_EQ(title.right, 320);
  EXPECT_EQ(menu.right, 320);
  EXPECT_EQ(menu.bottom, 240);
  EXPECT_EQ(panel.right, 320);
  EXPECT_EQ(panel.bottom, menu.top);
}

}  // namespace
