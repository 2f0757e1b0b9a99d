// The device's clipboard through its user32 functions, alone and joined to a host clipboard.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "platform/sys/WinBase.h"
#include "platform/win/ClipboardHost.h"
#include "platform/win/WinClipboard.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

namespace {

HANDLE unicodeBlock(const std::u16string& text) {
  HLOCAL block = LocalAlloc(LMEM_MOVEABLE, static_cast<UINT>((text.size() + 1) * sizeof(WCHAR)));
  std::memcpy(LocalLock(block), text.c_str(), (text.size() + 1) * sizeof(WCHAR));
  LocalUnlock(block);
  return block;
}

std::u16string unicodeOf(HANDLE block) {
  const auto* units = static_cast<const WCHAR*>(LocalLock(block));
  std::u16string text = units != nullptr ? units : u"";
  LocalUnlock(block);
  return text;
}

class FakeHost : public platform::ClipboardHost {
 public:
  std::optional<std::u16string> text() override { return held; }
  void setText(const std::u16string& text) override {
    held = text;
    ++writes;
  }
  std::optional<std::u16string> held;
  int writes = 0;
};

class ClipboardTest : public ::testing::Test {
 protected:
  platform::testing::TestDevice device;
  HWND a = platform::testing::createLogWindow("a", WS_POPUP, 0, 0, 10, 10);
  HWND b = platform::testing::createLogWindow("b", WS_POPUP, 0, 0, 10, 10);

  void SetUp() override {
    // The clipboard outlives windows, as the device's does; start each case from an empty one.
    ASSERT_TRUE(OpenClipboard(a));
    EmptyClipboard();
    CloseClipboard();
  }
  void TearDown() override { platform::setClipboardHost(nullptr); }
};

TEST_F(ClipboardTest, TextGoesInAndComesOutInBothFormats) {
  ASSERT_TRUE(OpenClipboard(a));
  ASSERT_TRUE(EmptyClipboard());
  HANDLE block = unicodeBlock(u"Søren Østergaard €5");
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, block), block);
  EXPECT_EQ(GetClipboardOwner(), a);
  ASSERT_TRUE(CloseClipboard());

  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(2));
  ASSERT_TRUE(OpenClipboard(b));
  EXPECT_EQ(unicodeOf(GetClipboardData(CF_UNICODETEXT)), u"Søren Østergaard €5");
  HANDLE ansi = GetClipboardData(CF_TEXT);
  ASSERT_NE(ansi, nullptr);
  EXPECT_STREQ(static_cast<const char*>(LocalLock(ansi)),
               "S\xF8ren \xD8stergaard \x80"
               "5")
      << "Windows-1252";
  LocalUnlock(ansi);
  EXPECT_EQ(GetClipboardData(2), nullptr);
  CloseClipboard();
}

TEST_F(ClipboardTest, OneWindowAtATimeAndOnlyWhileOpen) {
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, unicodeBlock(u"x")), nullptr) << "not open";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_FALSE(CloseClipboard());
  EXPECT_FALSE(EmptyClipboard());
  ASSERT_TRUE(OpenClipboard(a));
  EXPECT_FALSE(OpenClipboard(b));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(OpenClipboard(a)) << "the window that has it may open it again";
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, reinterpret_cast<HANDLE>(0x1234)), nullptr) << "not a memory block";
  CloseClipboard();
  EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x7777)));

  ASSERT_TRUE(OpenClipboard(b));
  DestroyWindow(b);
  EXPECT_TRUE(OpenClipboard(a)) << "a destroyed window's clipboard comes free";
  CloseClipboard();
}

TEST_F(ClipboardTest, EmptyingTellsThePreviousOwner) {
  platform::testing::MessageLog& log = platform::testing::MessageLog::instance();
  ASSERT_TRUE(OpenClipboard(a));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, unicodeBlock(u"first"));
  CloseClipboard();
  log.keepOnly({WM_DESTROYCLIPBOARD});
  log.clear();
  ASSERT_TRUE(OpenClipboard(b));
  EmptyClipboard();
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  CloseClipboard();
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_EQ(log.entries()[0].window, "a");
  log.keepOnly({});
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, unicodeBlock(u"x")), nullptr)
      << "a clipboard emptied by no window has no owner to add formats";
  CloseClipboard();
}

TEST_F(ClipboardTest, AHostClipboardFeedsAndReceivesText) {
  FakeHost host;
  host.held = u"copied in another program";
  platform::setClipboardHost(&host);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  ASSERT_TRUE(OpenClipboard(a));
  EXPECT_EQ(unicodeOf(GetClipboardData(CF_UNICODETEXT)), u"copied in another program");
  EXPECT_EQ(GetClipboardOwner(), nullptr);
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, unicodeBlock(u"from the device"));
  EXPECT_EQ(host.writes, 0) << "the host hears of it when the clipboard is closed";
  CloseClipboard();
  EXPECT_EQ(host.held, u"from the device");
  EXPECT_EQ(host.writes, 1);

  host.held = u"changed outside";
  ASSERT_TRUE(OpenClipboard(a));
  EXPECT_EQ(unicodeOf(GetClipboardData(CF_UNICODETEXT)), u"changed outside");
  CloseClipboard();
  EXPECT_EQ(host.writes, 1) << "reading writes nothing back";
  host.held.reset();
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

}  // namespace
