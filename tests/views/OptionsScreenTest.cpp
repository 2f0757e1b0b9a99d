// The Options screen: its numbered list of pages, which opens each page by digit or Enter, and
// the news of a new name order for the window it was opened over.
#include "views/OptionsScreen.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/PrivateMessages.h"
#include "forms/WindowText.h"
#include "settings/Settings.h"
#include "tests/support/MessageLog.h"
#include "tests/views/FormScreenFixture.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::testing::MessageLog;
using platform::testing::TestDevice;

class OptionsScreenTest : public ::testing::TestWithParam<Edition> {
 protected:
  // Queues: the key that chooses a page, a note of the form that opened, and its Cancel.
  void openWith(UINT key) {
    device.addStep([key] { TestDevice::postKey(key); });
    device.addStep([this] {
      opened.push_back(windowText(GetActiveWindow()));
      TestDevice::postKey(VK_F2);
    });
  }

  FormScreenDevice device{GetParam(), 240, 320};
  std::vector<std::u16string> opened;
};

TEST_P(OptionsScreenTest, ThreeNumberedPagesFillTheScreen) {
  OptionsScreen screen;
  const HWND hwnd = screen.open(device.owner(), u"Options");
  ASSERT_NE(hwnd, nullptr);
  device.runUntilIdle();
  EXPECT_EQ(screen.menuBarId(), 1523u) << "Done alone";
  const NumberedList& list = screen.list();
  ASSERT_EQ(list.entries().size(), 3u);
  EXPECT_EQ(list.entries()[0].text, u"General");
  EXPECT_EQ(list.entries()[1].text, u"Anniversaries");
  EXPECT_EQ(list.entries()[2].text, u"Loans");
  EXPECT_EQ(list.pageCount(), 1) << "never \"More ...\"";
  EXPECT_EQ(list.selectedRow(), 0);
  EXPECT_EQ(GetFocus(), list.hwnd());
  RECT client{};
  GetClientRect(hwnd, &client);
  const RECT r = rectInParent(list.hwnd());
  EXPECT_EQ(r.right - r.left, client.right);
  EXPECT_EQ(r.bottom - r.top, client.bottom);

  device.rotate();
  device.runUntilIdle();
  GetClientRect(hwnd, &client);
  EXPECT_EQ(rectInParent(list.hwnd()).right, client.right) << "the list still fills the screen";
  EXPECT_EQ(rectInParent(list.hwnd()).bottom, client.bottom);
  DestroyWindow(hwnd);
}

TEST_P(OptionsScreenTest, DigitsAndEnterOpenTheirPagesAndDoneCloses) {
  openWith('3');
  openWith('1');
  openWith(VK_DOWN);  // moves only
  openWith(VK_RETURN);
  device.addStep([] { TestDevice::postKey(VK_F1); });
  OptionsScreen screen;
  EXPECT_EQ(screen.run(device.owner()), IDOK);
  ASSERT_EQ(opened.size(), 4u);
  EXPECT_EQ(opened[0], u"Loans");
  EXPECT_EQ(opened[1], u"General");
  EXPECT_EQ(opened[2], u"Options") << "Down opens nothing";
  EXPECT_EQ(opened[3], u"Anniversaries");
  EXPECT_TRUE(IsWindowEnabled(device.owner()));
}

TEST_P(OptionsScreenTest, AnEntryTakenOutByZeroStillOpensItsOwnPage) {
  OptionsScreen screen;
  screen.open(device.owner(), u"Options");
  device.runUntilIdle();
  device.key('0');
  ASSERT_EQ(screen.list().entries().size(), 2u);
  EXPECT_EQ(screen.list().entries()[0].text, u"Anniversaries");
  device.addStep([this] {
    opened.push_back(windowText(GetActiveWindow()));
    TestDevice::postKey(VK_F2);
  });
  device.key('1');
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], u"Anniversaries");
  EXPECT_FALSE(screen.openPage(3));
  DestroyWindow(screen.hwnd());
}

TEST_P(OptionsScreenTest, ANewNameOrderTellsTheOwnerToReloadEveryList) {
  MessageLog::registerLogClass();
  const HWND owner = CreateWindowExW(0, u"LogWindow", u"Frame", WS_POPUP | WS_VISIBLE, 0, 26, 240, 268, nullptr,
                                     nullptr, nullptr, nullptr);
  MessageLog::instance().name(owner, "frame");
  SetActiveWindow(owner);
  device.runUntilIdle();
  MessageLog::instance().keepOnly({UM_RELOADLIST});

  // General, the other name order, Done; General again, Done without a change; Done.
  device.addStep([] { TestDevice::postKey('1'); });
  device.addStep([this] {
    TestDevice::postKey(device.pocketPc() ? VK_DOWN : VK_RIGHT);
    TestDevice::postKey(VK_F1);
  });
  device.addStep([] { TestDevice::postKey('1'); });
  device.addStep([] { TestDevice::postKey(VK_F1); });
  device.addStep([] { TestDevice::postKey(VK_F1); });
  OptionsScreen screen;
  screen.run(owner);
  EXPECT_FALSE(getSettings().fNameFirst());
  const auto reloads = MessageLog::instance().messages(UM_RELOADLIST);
  ASSERT_EQ(reloads.size(), 1u) << "once, for the change only";
  EXPECT_EQ(reloads[0].window, "frame");
  EXPECT_EQ(reloads[0].wParam, 0u) << "every list";
  DestroyWindow(owner);
}

INSTANTIATE_TEST_SUITE_P(Editions, OptionsScreenTest, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         editionName);

}  // namespace
}  // namespace pellucard::testing
