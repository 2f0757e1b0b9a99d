#include <gtest/gtest.h>

#include <algorithm>

#include "platform/shell/Shell.h"
#include "platform/shell/WinMessageBox.h"
#include "tests/shell/ShellDevice.h"
#include "tests/support/MessageLog.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::ShellDevice;
using platform::testing::TestDevice;

namespace {

class MessageBoxTest : public ::testing::TestWithParam<platform::Edition> {
 protected:
  bool pocketPc() const { return GetParam() == platform::Edition::PocketPc; }
  ShellDevice device{GetParam(), pocketPc() ? 240 : 176, pocketPc() ? 320 : 220};
  HWND owner = createLogWindow("owner", WS_POPUP | WS_VISIBLE, 0, 26, pocketPc() ? 240 : 176, 168);

  void SetUp() override {
    SetActiveWindow(owner);
    device.runUntilIdle();
    log().clear();
  }

  static MessageLog& log() { return MessageLog::instance(); }
  static HWND box() { return FindWindowW(platform::shell::kMessageBoxClass, nullptr); }
  static std::function<void()> press(UINT vk) {
    return [vk] { TestDevice::postKey(vk); };
  }

  // Taps an answer: its button on Pocket PC, its soft key on the Smartphone.
  static void tapAnswer(int id, const std::u16string& text) {
    RECT r{};
    if (HWND button = GetDlgItem(box(), id); button != nullptr && GetWindowRect(button, &r)) {
      TestDevice::postTap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    } else {
      TestDevice::postTapOn(box(), text);
    }
  }

  int ask(UINT type, std::initializer_list<std::function<void()>> steps) {
    for (const auto& step : steps) device.addStep(step);
    const int answer = MessageBoxW(owner, u"Permanently delete this item?", u"Pellucard", type);
    device.clearSteps();
    device.runUntilIdle();
    return answer;
  }
};

TEST_P(MessageBoxTest, KeysAnswer) {
  EXPECT_EQ(ask(MB_YESNO | MB_ICONQUESTION, {press(VK_RETURN)}), IDYES) << "Enter takes the default";
  EXPECT_EQ(ask(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, {press(VK_RETURN)}), IDNO);
  EXPECT_EQ(ask(MB_YESNO | MB_ICONQUESTION, {press('N')}), IDNO);
  EXPECT_EQ(ask(MB_YESNO | MB_ICONQUESTION, {press('Y')}), IDYES);
  EXPECT_EQ(ask(MB_YESNO | MB_ICONQUESTION, {press(VK_ESCAPE)}), IDNO) << "Back says No";
  EXPECT_EQ(ask(MB_OK | MB_ICONINFORMATION, {press('N'), press(VK_ESCAPE)}), IDOK);
  EXPECT_EQ(ask(MB_OKCANCEL, {press(VK_ESCAPE)}), IDCANCEL);
  EXPECT_EQ(ask(MB_YESNO, {press(VK_F2)}), IDNO);
  EXPECT_EQ(ask(MB_YESNO, {press(VK_F1)}), IDYES);
  EXPECT_TRUE(log().messages(WM_KEYDOWN).empty()) << "the box keeps its keys";
}

TEST_P(MessageBoxTest, OwnerIsDisabledWhileTheBoxRuns) {
  bool enabledDuring = true;
  HWND seen = nullptr;
  std::vector<std::u16string> texts;
  EXPECT_EQ(ask(MB_OK | MB_ICONEXCLAMATION, {[&] {
                                               enabledDuring = IsWindowEnabled(owner) != 0;
                                               seen = box();
                                               texts = TestDevice::texts(seen);
                                               if (HWND ok = GetDlgItem(seen, IDOK)) {
                                                 for (const auto& t : TestDevice::texts(ok)) texts.push_back(t);
                                               }
                                             },
                                             [] { TestDevice::postTap(5, 40); }, press(VK_RETURN)}),
            IDOK);
  EXPECT_FALSE(enabledDuring);
  ASSERT_NE(seen, nullptr);
  EXPECT_FALSE(IsWindow(seen));
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_EQ(GetActiveWindow(), owner);
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"Permanently delete this item?"), texts.end());
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"OK"), texts.end());
}

TEST_P(MessageBoxTest, LayoutOfTheEdition) {
  RECT rect{};
  ask(MB_YESNO | MB_ICONQUESTION, {[&] { GetWindowRect(box(), &rect); }, press(VK_RETURN)});
  if (pocketPc()) {
    EXPECT_GT(rect.left, 0);
    EXPECT_LT(rect.right, 240);
    EXPECT_GT(rect.top, 26);
  } else {
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 26);
    EXPECT_EQ(rect.right, 176);
    EXPECT_EQ(rect.bottom, 220) << "full screen below the title bar";
  }
}

TEST_P(MessageBoxTest, StylusPressesTheButtons) {
  EXPECT_EQ(ask(MB_YESNO | MB_ICONQUESTION, {[] { tapAnswer(IDNO, u"No"); }}), IDNO);
  EXPECT_EQ(ask(MB_YESNO | MB_ICONQUESTION, {[] { tapAnswer(IDYES, u"Yes"); }}), IDYES);
}

TEST_P(MessageBoxTest, BackOverriddenByTheOwnersBarStillAnswersTheBox) {
  HWND bar = ShellDevice::createMenuBar(owner, ShellDevice::kBarDoneOnly);
  ASSERT_NE(bar, nullptr);
  SendMessageW(bar, SHCMBM_OVERRIDEKEY, VK_TBACK,
               MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
  log().clear();
  EXPECT_EQ(ask(MB_YESNO | MB_ICONQUESTION, {press(VK_ESCAPE)}), IDNO);
  EXPECT_TRUE(log().messages(WM_HOTKEY).empty()) << "the owner does not also go back";
  EXPECT_TRUE(log().messages(WM_COMMAND).empty());
}

TEST_P(MessageBoxTest, BadOwnerFails) { EXPECT_EQ(MessageBoxW(reinterpret_cast<HWND>(0x7777), u"x", u"y", MB_OK), 0); }

INSTANTIATE_TEST_SUITE_P(Editions, MessageBoxTest,
                         ::testing::Values(platform::Edition::PocketPc, platform::Edition::Smartphone));

}  // namespace
