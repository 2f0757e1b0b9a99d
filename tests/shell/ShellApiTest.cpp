#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "platform/backend/WindowDump.h"
#include "platform/shell/InputPanel.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/Shell.h"
#include "platform/shell/TitleBar.h"
#include "platform/shell/WinMessageBox.h"
#include "tests/shell/ShellDevice.h"
#include "tests/support/MessageLog.h"

using platform::Edition;
using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::ShellDevice;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

namespace {

// A top-level window of the message log, as a screen of the program would be.
HWND screen(const std::string& name, const RECT& r, DWORD style = WS_POPUP | WS_VISIBLE) {
  return createLogWindow(name, style, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

TEST(ShellApiTest, FullScreenDialogFitsBetweenTitleBarAndMenubar) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  HWND dialog = screen("dialog", RECT{0, 0, 100, 100}, WS_POPUP | WS_VISIBLE | WS_CAPTION);
  SetActiveWindow(dialog);
  ASSERT_NE(ShellDevice::createMenuBar(dialog, ShellDevice::kBarDoneOnly), nullptr);
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
  ASSERT_TRUE(SHInitDialog(&info));
  RECT rect{};
  GetWindowRect(dialog, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 26);
  EXPECT_EQ(rect.right, 240);
  EXPECT_EQ(rect.bottom, 320 - 26);
  EXPECT_FALSE(GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION) << "the title bar shows the title";

  SHINITDLGINFO bad{SHIDIM_FLAGS, reinterpret_cast<HWND>(0x4321), 0};
  EXPECT_FALSE(SHInitDialog(&bad));
  EXPECT_FALSE(SHInitDialog(nullptr));
}

TEST(ShellApiTest, TitleBarShowsTheForegroundTitleAndItsDoneButtonSendsOk) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  HWND dialog = screen("dialog", RECT{0, 26, 240, 294});
  SetWindowTextW(dialog, u"Options");
  SetActiveWindow(dialog);
  ASSERT_TRUE(SHDoneButton(dialog, SHDB_SHOW));
  device.runUntilIdle();
  HWND title = platform::shell::titleBarWindow();
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(TestDevice::drew(title, u"Options"));
  EXPECT_TRUE(TestDevice::drew(title, u"ok"));

  MessageLog& log = MessageLog::instance();
  log.keepOnly({WM_COMMAND});
  log.clear();
  device.tapOn(title, u"ok");
  ASSERT_EQ(log.sequence(), Seq{"dialog:WM_COMMAND"});
  EXPECT_EQ(LOWORD(log.entries()[0].wParam), IDOK);
  EXPECT_EQ(GetActiveWindow(), dialog) << "the title bar does not take activation";

  ASSERT_TRUE(SHDoneButton(dialog, SHDB_HIDE));
  device.runUntilIdle();
  EXPECT_FALSE(TestDevice::drew(title, u"ok"));
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
  HWND list = screen("list", RECT{0, 26, 240, 294});
  SetWindowTextW(list, u"Friends");
  SetActiveWindow(list);
  device.runUntilIdle();
  ASSERT_TRUE(titleBarShows("Friends")) << titleBarInDump();

  // The program renames its screen; no shell call follows.
  SetWindowTextW(list, u"Gifts");
  device.runUntilIdle();
  EXPECT_TRUE(titleBarShows("Gifts")) << titleBarInDump();
  EXPECT_FALSE(titleBarShows("Friends"));

  HWND options = screen("options", RECT{0, 26, 240, 294});
  SetWindowTextW(options, u"Options");
  SetActiveWindow(options);
  device.runUntilIdle();
  EXPECT_TRUE(titleBarShows("Options")) << titleBarInDump();
  // A window behind the foreground one renaming itself does not take the title.
  SetWindowTextW(list, u"Loans");
  device.runUntilIdle();
  EXPECT_TRUE(titleBarShows("Options")) << titleBarInDump();

  // The screen in front closed: the title is the one now active again.
  DestroyWindow(options);
  device.runUntilIdle();
  EXPECT_EQ(GetForegroundWindow(), list);
  EXPECT_TRUE(titleBarShows("Loans")) << titleBarInDump();
}

TEST(ShellApiTest, SmartphoneHasNoDoneButtonAndNoInputPanel) {
  ShellDevice device(Edition::Smartphone, 176, 220);
  HWND dialog = screen("dialog", RECT{0, 0, 100, 100}, WS_POPUP | WS_VISIBLE | WS_CAPTION);
  SetActiveWindow(dialog);
  SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
  ASSERT_TRUE(SHInitDialog(&info));
  EXPECT_FALSE(platform::shell::hasDoneButton(dialog));
  RECT rect{};
  GetWindowRect(dialog, &rect);
  EXPECT_EQ(rect.bottom, 220) << "no menubar: down to the bottom";
  EXPECT_TRUE(SHSipPreference(dialog, SIP_UP));
  SIPINFO sip{};
  sip.cbSize = 48;
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  EXPECT_EQ(sip.fdwFlags & SIPF_ON, 0u);
  EXPECT_EQ(platform::shell::InputPanel::window(), nullptr);
}

TEST(ShellApiTest, InputPanelPreferenceRaisesAndLowersThePanel) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  HWND frame = screen("frame", RECT{0, 26, 240, 294});
  SetActiveWindow(frame);
  ASSERT_TRUE(SHSipPreference(frame, SIP_UP));
  SIPINFO sip{};
  sip.cbSize = 48;
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  EXPECT_EQ(sip.fdwFlags & SIPF_ON, static_cast<DWORD>(SIPF_ON));
  EXPECT_TRUE(IsWindowVisible(platform::shell::InputPanel::window()));
  EXPECT_EQ(sip.rcVisibleDesktop.bottom, sip.rcSipRect.top);
  ASSERT_TRUE(SHSipPreference(frame, SIP_FORCEDOWN));
  ASSERT_TRUE(SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0));
  EXPECT_EQ(sip.fdwFlags & SIPF_ON, 0u);
  EXPECT_FALSE(IsWindowVisible(platform::shell::InputPanel::window()));
  EXPECT_FALSE(SHSipInfo(SPI_GETWORKAREA, 0, &sip, 0)) << "only the input-panel actions";
}

TEST(ShellApiTest, FullScreenHidesAndShowsTheTaskBar) {
  ShellDevice device(Edition::PocketPc, 240, 320);
  HWND frame = screen("frame", RECT{0, 26, 240, 294});
  HWND title = platform::shell::titleBarWindow();
  ASSERT_TRUE(IsWindowVisible(title));
  ASSERT_TRUE(SHFullScreen(frame, SHFS_HIDETASKBAR | SHFS_HIDESTARTICON));
  EXPECT_FALSE(IsWindowVisible(title));
  ASSERT_TRUE(SHFullScreen(frame, SHFS_SHOWTASKBAR | SHFS_SHOWSTARTICON));
  EXPECT_TRUE(IsWindowVisible(title));
  EXPECT_TRUE(platform::shell::startIconVisible());
  EXPECT_FALSE(SHFullScreen(nullptr, SHFS_SHOWTASKBAR));

  HWND bar = ShellDevice::createMenuBar(frame, ShellDevice::kBarDoneOnly);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(SHFullScreen(frame, SHFS_HIDESIPBUTTON));
  EXPECT_FALSE(platform::shell::MenuBar::fromWindow(bar)->sipButton());
  ASSERT_TRUE(SHFullScreen(frame, SHFS_SHOWSIPBUTTON));
  EXPECT_TRUE(platform::shell::MenuBar::fromWindow(bar)->sipButton());
}

TEST(ShellApiTest, BackGoesToTheFocusedWindowAsBackspace) {
  ShellDevice device(Edition::Smartphone, 176, 220);
  HWND frame = screen("frame", RECT{0, 26, 176, 194});
  SetActiveWindow(frame);
  SetFocus(frame);
  SHSendBackToFocusWindow(WM_HOTKEY, 1, MAKELPARAM(0, VK_ESCAPE));
  SHSendBackToFocusWindow(WM_HOTKEY, 1, MAKELPARAM(MOD_KEYUP, VK_ESCAPE));
  device.runUntilIdle();
  const MessageLog& log = MessageLog::instance();
  const auto downs = log.messages(WM_KEYDOWN);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>(VK_BACK));
  const auto chars = log.messages(WM_CHAR);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, static_cast<WPARAM>(8));
  EXPECT_EQ(log.messages(WM_KEYUP).size(), 1u);
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
  HWND frame = screen("frame", RECT{0, 26, 240, 294});
  SetActiveWindow(frame);
  HWND bar = ShellDevice::createMenuBar(frame, ShellDevice::kBarWithMenu);
  ASSERT_NE(bar, nullptr);
  ASSERT_TRUE(SHSipPreference(frame, SIP_UP));
  device.rotate();
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
