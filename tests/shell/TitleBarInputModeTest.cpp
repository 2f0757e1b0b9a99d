// The Smartphone's title bar shows the focused edit's keypad mode at its right end.
#include <gtest/gtest.h>

#include <string>

#include "platform/controls/WinEdit.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/shell/Shell.h"
#include "tests/support/TestDevice.h"

namespace {

class TitleBarInputModeTest : public ::testing::Test {
 protected:
  platform::testing::TestDevice device{platform::Edition::Smartphone, 176, 220};
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
};

TEST_F(TitleBarInputModeTest, FollowsTheFocusedEdit) {
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

}  // namespace
