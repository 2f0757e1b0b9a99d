// The message log and the test device's queued input, as the control and shell tests use them.
#include "tests/support/MessageLog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/controls/CommCtrl.h"
#include "platform/controls/WinStatic.h"
#include "tests/support/TestDevice.h"

namespace {

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::TestDevice;
using Seq = std::vector<std::string>;

class MessageLogTest : public ::testing::Test {
 protected:
  static MessageLog& log() { return MessageLog::instance(); }
  TestDevice device;
  HWND parent = createLogWindow("parent", WS_POPUP | WS_VISIBLE, 0, 0, 240, 300);
};

TEST_F(MessageLogTest, NotificationsAreNamedByCodeAndKeepWhatTheirStructuresSaid) {
  NMLISTVIEW changed{};
  changed.hdr = {nullptr, 7, LVN_ITEMCHANGED};
  changed.iItem = 3;
  changed.uNewState = LVIS_SELECTED;
  changed.uOldState = LVIS_FOCUSED;
  changed.uChanged = LVIF_STATE;
  NMLVCACHEHINT hint{};
  hint.hdr = {nullptr, 7, LVN_ODCACHEHINT};
  hint.iFrom = 4;
  hint.iTo = 9;
  NMLVKEYDOWN key{};
  key.hdr = {nullptr, 7, LVN_KEYDOWN};
  key.wVKey = VK_DOWN;
  log().clear();
  SendMessageW(parent, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&changed));
  SendMessageW(parent, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&hint));
  SendMessageW(parent, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&key));
  changed.iItem = 99;  // what was logged does not change with the caller's structure

  EXPECT_EQ(log().sequence(), (Seq{"parent:LVN_ITEMCHANGED", "parent:LVN_ODCACHEHINT", "parent:LVN_KEYDOWN"}));
  const auto& entries = log().entries();
  EXPECT_EQ(entries[0].item, 3);
  EXPECT_EQ(entries[0].newState, static_cast<UINT>(LVIS_SELECTED));
  EXPECT_EQ(entries[0].oldState, static_cast<UINT>(LVIS_FOCUSED));
  EXPECT_EQ(entries[0].changed, static_cast<UINT>(LVIF_STATE));
  EXPECT_EQ(entries[1].from, 4);
  EXPECT_EQ(entries[1].to, 9);
  EXPECT_EQ(entries[2].key, VK_DOWN);
  EXPECT_EQ(log().notifications(LVN_KEYDOWN).size(), 1u);

  log().clear();
  log().skipNotifications({LVN_ODCACHEHINT});
  SendMessageW(parent, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&hint));
  SendMessageW(parent, WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&key));
  EXPECT_EQ(log().sequence(), Seq{"parent:LVN_KEYDOWN"});
}

TEST_F(MessageLogTest, LogWindowsAnswerWhatTheTestSaysUntilItIsForgotten) {
  MEASUREITEMSTRUCT measure{};
  EXPECT_EQ(SendMessageW(parent, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), 0);
  log().answer(WM_MEASUREITEM, [](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 25;
    return TRUE;
  });
  EXPECT_EQ(SendMessageW(parent, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), TRUE);
  EXPECT_EQ(measure.itemHeight, 25u);
  log().answer(WM_MEASUREITEM, nullptr);
  EXPECT_EQ(SendMessageW(parent, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), 0);
  EXPECT_EQ(log().messages(WM_MEASUREITEM).size(), 3u) << "answered or not, every message is logged";

  // A new device starts from an empty log that answers nothing.
  log().answer(WM_MEASUREITEM, [](HWND, WPARAM, LPARAM) -> LRESULT { return TRUE; });
  TestDevice next;
  EXPECT_TRUE(log().entries().empty());
  HWND fresh = createLogWindow("fresh", WS_POPUP, 0, 0, 10, 10);
  EXPECT_EQ(SendMessageW(fresh, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)), 0);
}

TEST_F(MessageLogTest, StepsRunAfterTheScriptOneAtEachWaitAndThenTheLoopsEnd) {
  std::vector<std::string> order;
  ASSERT_TRUE(device.script("key A\n"));
  device.addStep([&] {
    order.push_back("first step");
    TestDevice::postKey('B');
  });
  device.addStep([&] {
    order.push_back("second step");
    TestDevice::postKey('C');
  });
  log().keepOnly({WM_KEYDOWN});
  log().clear();
  SetFocus(parent);
  // A modal loop of its own, as a menu or a message box runs one, until the host has no input left.
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"first step", "second step"}));
  ASSERT_EQ(log().sequence(), (Seq{"parent:WM_KEYDOWN", "parent:WM_KEYDOWN", "parent:WM_KEYDOWN"}));
  EXPECT_EQ(log().entries()[0].wParam, static_cast<WPARAM>('A'));
  EXPECT_EQ(log().entries()[1].wParam, static_cast<WPARAM>('B'));
  EXPECT_EQ(log().entries()[2].wParam, static_cast<WPARAM>('C'));
}

TEST_F(MessageLogTest, TextsAreFoundWhereTheyWereDrawn) {
  HWND label = CreateWindowExW(0, WC_STATICW, u"Name:", WS_CHILD | WS_VISIBLE | SS_LEFT, 20, 40, 100, 20, parent,
                               nullptr, nullptr, nullptr);
  device.runUntilIdle();
  EXPECT_EQ(TestDevice::texts(label), std::vector<std::u16string>{u"Name:"});
  const RECT where = TestDevice::textRect(label, u"Name:");
  EXPECT_EQ(where.left, 20) << "in screen coordinates";
  EXPECT_EQ(where.top, 40);
  EXPECT_GT(where.right, where.left);
  const RECT none = TestDevice::textRect(label, u"Other");
  EXPECT_EQ(none.left, none.right);
  EXPECT_TRUE(TestDevice::texts(parent).empty());
}

}  // namespace
