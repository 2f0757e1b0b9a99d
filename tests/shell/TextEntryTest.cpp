// Text entry from the device into an edit: the Pocket PC's input panel types into the focused
// edit, and the Smartphone's title bar shows the focused edit's keypad mode at its right end.
#include <gtest/gtest.h>

#include <string>

#include "platform/controls/WinEdit.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/shell/AygShell.h"
#include "platform/shell/InputPanel.h"
#include "platform/shell/Shell.h"
#include "tests/support/TestDevice.h"

namespace {

class TextEntryTest : public ::testing::TestWithParam<platform::Edition> {
 protected:
  bool pocketPc() const { return GetParam() == platform::Edition::PocketPc; }
  platform::testing::TestDevice device{GetParam(), pocketPc() ? 240 : 176, pocketPc() ? 320 : 220};
  HWND frame = nullptr;
  HWND edit = nullptr;

  void SetUp() override {
    platform::shell::startShell();
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"ModeFrame";
    RegisterClassW(&wc);
    frame = CreateWindowExW(0, u"ModeFrame", u"Gift", WS_POPUP | WS_VISIBLE, 0, 26, 176, 194, nullptr, nullptr, nullptr,
                            nullptr);
    edit = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 5, 5, 166, 26, frame, nullptr,
                           nullptr, nullptr);
    SetActiveWindow(frame);
    device.runUntilIdle();
  }
  void TearDown() override { platform::shell::stopShell(); }

  std::u16string shownMode() const {
    for (const auto& t : platform::gdi::capturedTexts(platform::shell::titleBarWindow())) {
      if (t.text == u"abc" || t.text == u"Abc" || t.text == u"ABC" || t.text == u"123") return t.text;
    }
    return u"";
  }

  std::u16string text() const {
    WCHAR buffer[64] = {};
    GetWindowTextW(edit, buffer, 64);
    return buffer;
  }

  void tapPanelKey(const std::u16string& label) {
    for (const auto& t : platform::gdi::capturedTexts(platform::shell::InputPanel::window())) {
      if (t.text == label) {
        device.tap((t.screenRect.left + t.screenRect.right) / 2, (t.screenRect.top + t.screenRect.bottom) / 2);
        return;
      }
    }
    ADD_FAILURE() << "no key " << label.size();
  }
};

// Only the Pocket PC has an input panel.
class InputPanelTest : public TextEntryTest {};

TEST_P(InputPanelTest, TypesIntoTheFocusedEdit) {
  SetFocus(edit);
  SHSipPreference(frame, SIP_UP);
  device.runUntilIdle();
  ASSERT_NE(platform::shell::InputPanel::window(), nullptr);
  tapPanelKey(u"h");
  tapPanelKey(u"i");
  tapPanelKey(u"\u2190");
  tapPanelKey(u"o");
  EXPECT_EQ(text(), u"ho");
  EXPECT_EQ(GetFocus(), edit) << "the panel never takes the focus";
}

TEST_P(TextEntryTest, TheTitleBarShowsTheKeypadModeOfTheFocusedEdit) {
  if (pocketPc()) {
    SetFocus(edit);
    device.runUntilIdle();
    EXPECT_EQ(shownMode(), u"") << "the Pocket PC shows no keypad mode";
    return;
  }
  EXPECT_EQ(shownMode(), u"");
  SetFocus(edit);
  device.runUntilIdle();
  EXPECT_EQ(shownMode(), u"Abc");
  EXPECT_NE(device.dump().find("text \"Abc\""), std::string::npos) << "scripts read the mode from the dump";
  device.key('2');
  device.advance(1000);
  EXPECT_EQ(shownMode(), u"abc");
  device.key(VK_TPOUND);
  EXPECT_EQ(shownMode(), u"ABC");
  device.key(VK_TPOUND);
  EXPECT_EQ(shownMode(), u"123");
  SetFocus(frame);
  device.runUntilIdle();
  EXPECT_EQ(shownMode(), u"") << "no edit, no mode";
}

INSTANTIATE_TEST_SUITE_P(PocketPc, InputPanelTest, ::testing::Values(platform::Edition::PocketPc));
INSTANTIATE_TEST_SUITE_P(Editions, TextEntryTest,
                         ::testing::Values(platform::Edition::PocketPc, platform::Edition::Smartphone));

}  // namespace
