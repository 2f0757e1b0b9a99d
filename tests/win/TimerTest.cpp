// Timers on the virtual clock: they fire from the idle loop, in due order, once when late.
#include <gtest/gtest.h>

#include "platform/base/Clock.h"
#include "platform/base/WinError.h"
#include "platform/sys/WinBase.h"
#include "tests/support/MessageLog.h"
#include "tests/support/TestDevice.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::TestDevice;

namespace {

class TimerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    log().clear();
    log().keepOnly({WM_TIMER});
    top = createLogWindow("top", WS_VISIBLE, 0, 0, 240, 320);
    device.runUntilIdle();
  }
  static MessageLog& log() { return MessageLog::instance(); }
  std::vector<WPARAM> ids() const {
    std::vector<WPARAM> out;
    for (const auto& e : MessageLog::instance().entries()) out.push_back(e.wParam);
    return out;
  }
  TestDevice device;
  HWND top = nullptr;
};

int g_callbacks = 0;
void CALLBACK countCallback(HWND, UINT, UINT_PTR, DWORD) { ++g_callbacks; }

}  // namespace

TEST_F(TimerTest, FiresOnlyWhenTheClockReachesIt) {
  EXPECT_EQ(SetTimer(top, 101, 1000, nullptr), 101u);
  device.advance(999);
  EXPECT_TRUE(ids().empty());
  device.advance(1);
  EXPECT_EQ(ids(), (std::vector<WPARAM>{101}));
  device.advance(2000);
  EXPECT_EQ(ids().size(), 3u);
  EXPECT_TRUE(KillTimer(top, 101));
  device.advance(5000);
  EXPECT_EQ(ids().size(), 3u);
}

TEST_F(TimerTest, TimersFireInDueOrder) {
  SetTimer(top, 1, 300, nullptr);
  SetTimer(top, 2, 200, nullptr);
  device.advance(600);
  // At 600 both are due: the one set first goes first.
  EXPECT_EQ(ids(), (std::vector<WPARAM>{2, 1, 2, 1, 2}));
}

TEST_F(TimerTest, ALateTimerFiresOnceAndCountsFromThen) {
  SetTimer(top, 7, 100, nullptr);
  platform::Clock::instance().advance(1000);  // the thread was busy
  device.runUntilIdle();
  EXPECT_EQ(ids().size(), 1u);
  device.advance(99);
  EXPECT_EQ(ids().size(), 1u);
  device.advance(1);
  EXPECT_EQ(ids().size(), 2u);
}

TEST_F(TimerTest, SettingAgainRestartsAndCallbacksRun) {
  SetTimer(top, 3, 500, nullptr);
  device.advance(400);
  SetTimer(top, 3, 500, nullptr);
  device.advance(400);
  EXPECT_TRUE(ids().empty());
  g_callbacks = 0;
  const UINT_PTR id = SetTimer(nullptr, 0, 50, countCallback);
  EXPECT_NE(id, 0u);
  device.advance(120);
  EXPECT_EQ(g_callbacks, 2);
  EXPECT_TRUE(KillTimer(nullptr, id));
}

TEST_F(TimerTest, BadHandlesAndUnknownTimersFail) {
  const HWND stale = createLogWindow("gone", WS_CHILD, 0, 0, 1, 1, top);
  DestroyWindow(stale);
  SetLastError(0);
  EXPECT_EQ(SetTimer(stale, 1, 100, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  EXPECT_FALSE(KillTimer(top, 99));
}

TEST_F(TimerTest, SleepAndTickCountFollowTheVirtualClock) {
  const DWORD before = GetTickCount();
  Sleep(250);
  EXPECT_EQ(GetTickCount() - before, 250u);
  SetTimer(top, 9, 100, nullptr);
  device.advance(1000);
  EXPECT_EQ(ids().size(), 10u);
}
