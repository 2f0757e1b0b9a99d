// Host key presses and the text the host makes of them reach the focused window once each.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/sdl/HostTyping.h"
#include "platform/base/Utf.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::Edition;
using platform::HostTyping;
using platform::testing::MessageLog;

namespace {

class HostTypingTest : public ::testing::TestWithParam<Edition> {
 protected:
  platform::testing::TestDevice device{GetParam()};
  HostTyping typing{GetParam()};
  HWND window = nullptr;

  void SetUp() override {
    MessageLog& log = MessageLog::instance();
    log.keepOnly({WM_KEYDOWN, WM_KEYUP, WM_CHAR});
    window = platform::testing::createLogWindow("window", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    SetActiveWindow(window);
    SetFocus(window);
    device.runUntilIdle();
    log.clear();
  }
  void TearDown() override { MessageLog::instance().keepOnly({}); }

  // What the window received: "down A", "char a", "up A"; a key that carries a character
  // shows as "down packet".
  std::vector<std::string> received() {
    device.runUntilIdle();
    std::vector<std::string> out;
    for (const auto& m : MessageLog::instance().entries()) {
      const UINT vk = LOWORD(m.wParam);
      const bool plain = (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == ' ';
      const std::string key = vk == VK_PACKET ? "packet"
                              : plain         ? std::string(1, static_cast<char>(vk))
                                              : std::to_string(vk);
      if (m.message == WM_CHAR) {
        const auto c = static_cast<char16_t>(m.wParam);
        const bool half = c >= 0xD800 && c <= 0xDFFF;
        out.push_back("char " + (half ? std::to_string(c) : platform::toUtf8(std::u16string(1, c))));
      } else {
        out.push_back((m.message == WM_KEYDOWN ? "down " : "up ") + key);
      }
    }
    MessageLog::instance().clear();
    return out;
  }
};

using Seen = std::vector<std::string>;
constexpr int kKeyE = 'e';
constexpr int kKeyQ = 'q';

TEST_P(HostTypingTest, AKeyThatTypesItsOwnLetterGoesInAsTheKey) {
  typing.keyDown('a', 'A', false, false, false);
  typing.text("a");
  typing.keyUp('a');
  EXPECT_EQ(received(), (Seen{"down A", "char a", "up A"}));
  typing.keyDown(' ', VK_SPACE, false, false, false);
  typing.text(" ");
  typing.keyUp(' ');
  EXPECT_EQ(received(), (Seen{"down  ", "char  ", "up  "}));
}

TEST_P(HostTypingTest, DeadKeysAltGrAndCapsLockTypeWhatTheHostTyped) {
  typing.keyDown(kKeyE, 'E', false, false, false);
  typing.text("é");
  typing.keyUp(kKeyE);
  EXPECT_EQ(received(), (Seen{"down packet", "char é", "up packet"})) << "no stray 'e' before the accent";
  typing.keyDown(kKeyQ, 'Q', false, false, false);
  typing.text("@");
  typing.keyUp(kKeyQ);
  EXPECT_EQ(received(), (Seen{"down packet", "char @", "up packet"}));
  typing.keyDown('a', 'A', false, false, false);
  typing.text("A");
  typing.keyUp('a');
  EXPECT_EQ(received(), (Seen{"down packet", "char A", "up packet"})) << "the host's Caps Lock is honoured";
}

TEST_P(HostTypingTest, CommandsAndKeysWithoutTextStillArrive) {
  typing.keyDown(VK_CONTROL, VK_CONTROL, false, false, false);
  typing.keyDown('c', 'C', false, false, true);
  typing.keyUp('c');
  typing.keyUp(VK_CONTROL);
  EXPECT_EQ(received(), (Seen{"down 17", "down C", "char \x03", "up C", "up 17"}));
  typing.keyDown('x', 'X', false, false, false);
  typing.flush();  // the host typed nothing for it (a compose sequence starts, say)
  typing.keyUp('x');
  EXPECT_EQ(received(), (Seen{"down X", "char x", "up X"}));
}

TEST_P(HostTypingTest, TextOutsideTheBmpArrivesAsASurrogatePair) {
  typing.text("\xF0\x9F\x8E\x81");  // U+1F381: D83C DF81
  EXPECT_EQ(received(), (Seen{"down packet", "char 55356", "up packet", "down packet", "char 57217", "up packet"}));
}

TEST_P(HostTypingTest, StarAndPoundAreKeypadKeysOnTheSmartphone) {
  typing.text("#");
  const Seen seen = received();
  if (GetParam() == Edition::Smartphone) {
    EXPECT_EQ(seen, (Seen{"down 120", "up 120"}));
  } else {
    EXPECT_EQ(seen, (Seen{"down packet", "char #", "up packet"}));
  }
}

INSTANTIATE_TEST_SUITE_P(Editions, HostTypingTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone));

}  // namespace
