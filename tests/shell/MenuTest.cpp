#include <gtest/gtest.h>

#include <algorithm>

#include "platform/base/WinError.h"
#include "platform/shell/WinMenu.h"
#include "tests/shell/ShellDevice.h"
#include "tests/support/MessageLog.h"

using platform::testing::createLogWindow;
using platform::testing::MessageLog;
using platform::testing::ShellDevice;
using platform::testing::TestDevice;

namespace {

TEST(MenuApiTest, ChecksGreysAndInsertsItemsAsUser32Does) {
  HMENU menu = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  ASSERT_TRUE(AppendMenuW(sub, MF_STRING, 21, u"Name"));
  ASSERT_TRUE(AppendMenuW(sub, MF_STRING | MF_CHECKED, 22, u"Date"));
  ASSERT_TRUE(AppendMenuW(menu, MF_STRING, 10, u"Add"));
  ASSERT_TRUE(AppendMenuW(menu, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Sort By"));
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(GetSubMenu(menu, 2), sub);
  EXPECT_EQ(GetSubMenu(menu, 0), nullptr);
  EXPECT_EQ(GetSubMenu(menu, 9), nullptr);

  // By command, items of submenus are found too; the previous state comes back.
  EXPECT_EQ(CheckMenuItem(menu, 21, MF_BYCOMMAND | MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(CheckMenuItem(menu, 22, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(GetMenuState(sub, 21, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(menu, 99, MF_CHECKED), 0xFFFFFFFFu);
  EXPECT_EQ(EnableMenuItem(menu, 10, MF_BYCOMMAND | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(menu, 10, MF_BYCOMMAND | MF_ENABLED), MF_GRAYED);
  EXPECT_EQ(EnableMenuItem(menu, 0, MF_BYPOSITION | MF_GRAYED), MF_ENABLED);
  EXPECT_EQ(EnableMenuItem(menu, 7, MF_BYPOSITION | MF_GRAYED), -1);

  ASSERT_TRUE(InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, 5, u"First"));
  ASSERT_TRUE(InsertMenuW(menu, 22, MF_BYCOMMAND | MF_STRING, 23, u"Before Date"));
  EXPECT_EQ(GetMenuItemID(menu, 0), 5u);
  EXPECT_EQ(GetMenuItemCount(sub), 3);
  EXPECT_EQ(GetMenuItemID(sub, 1), 23u);
  WCHAR text[16] = {};
  EXPECT_EQ(GetMenuStringW(sub, 1, text, 16, MF_BYPOSITION), 11);
  EXPECT_EQ(std::u16string(text), u"Before Date");

  ASSERT_TRUE(DestroyMenu(menu));
  EXPECT_FALSE(IsMenu(sub)) << "a menu takes its submenus with it";
  SetLastError(0);
  EXPECT_EQ(GetMenuItemCount(menu), -1);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
  EXPECT_FALSE(AppendMenuW(menu, MF_STRING, 1, u"x"));
}

TEST(MenuApiTest, LoadsMenusFromTheResourceTable) {
  ShellDevice::registerResources();
  HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCE(ShellDevice::kMenu));
  ASSERT_NE(menu, nullptr);
  HMENU main = GetSubMenu(menu, 0);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(GetMenuItemCount(main), 7);
  EXPECT_EQ(GetMenuState(main, 1011, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(GetMenuState(main, 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  DestroyMenu(menu);
  EXPECT_EQ(LoadMenuW(nullptr, MAKEINTRESOURCE(4242)), nullptr);
}

class PopupMenuTest : public ::testing::TestWithParam<platform::Edition> {
 protected:
  bool pocketPc() const { return GetParam() == platform::Edition::PocketPc; }
  int width() const { return pocketPc() ? 240 : 176; }

  ShellDevice device{GetParam(), width(), pocketPc() ? 320 : 220};
  HWND owner = createLogWindow("owner", WS_POPUP | WS_VISIBLE, 0, 26, width(), 174);
  HMENU menu = nullptr;
  HMENU main = nullptr;

  void SetUp() override {
    menu = LoadMenuW(nullptr, MAKEINTRESOURCE(ShellDevice::kMenu));
    main = GetSubMenu(menu, 0);
    device.runUntilIdle();
  }
  void TearDown() override { DestroyMenu(menu); }

  static MessageLog& log() { return MessageLog::instance(); }
  static std::function<void()> press(UINT vk) {
    return [vk] { TestDevice::postKey(vk); };
  }
  static std::function<void()> tapItem(const std::u16string& text) {
    return [text] {
      HWND popup = ShellDevice::popupMenu();
      ASSERT_NE(popup, nullptr);
      TestDevice::postTapOn(popup, text);
    };
  }

  // Runs the menu with the given steps and returns the command the owner received, 0 for none.
  UINT run(std::initializer_list<std::function<void()>> steps, UINT flags = TPM_BOTTOMALIGN | TPM_RIGHTALIGN) {
    for (const auto& step : steps) device.addStep(step);
    log().clear();
    EXPECT_TRUE(TrackPopupMenuEx(main, flags, width(), 200, owner, nullptr));
    EXPECT_EQ(ShellDevice::popupMenu(), nullptr) << "the menu is gone";
    device.clearSteps();
    device.runUntilIdle();
    const auto commands = log().messages(WM_COMMAND);
    EXPECT_LE(commands.size(), 1u);
    return commands.empty() ? 0 : LOWORD(commands.front().wParam);
  }
};

TEST_P(PopupMenuTest, ArrowsSkipSeparatorsAndEnterChooses) {
  if (pocketPc()) {
    EXPECT_EQ(run({press(VK_DOWN), press(VK_DOWN), press(VK_DOWN), press(VK_DOWN), press(VK_RETURN)}), 1050u)
        << "Add, Edit, (separator), Sort By, Export";
  } else {
    // The Smartphone menu opens with its first item lit.
    EXPECT_EQ(run({press(VK_DOWN), press(VK_DOWN), press(VK_DOWN), press(VK_RETURN)}), 1050u);
  }
  EXPECT_EQ(log().messages(WM_INITMENUPOPUP).size(), 1u);
  EXPECT_EQ(run({press(VK_UP), press(VK_RETURN)}), 1001u) << "Up wraps to the last item";
}

TEST_P(PopupMenuTest, GreyedItemsCannotBeChosenAndBackCloses) {
  if (pocketPc()) {
    EXPECT_EQ(run({press(VK_DOWN), press(VK_DOWN), press(VK_RETURN), press(VK_ESCAPE)}), 0u);
  } else {
    EXPECT_EQ(run({press(VK_DOWN), press(VK_RETURN), press(VK_ESCAPE)}), 0u);
  }
}

TEST_P(PopupMenuTest, SubmenusOpenWithRightAndCloseWithLeftOrBack) {
  // Down to "Sort By": three from nothing lit on Pocket PC, two from "Add" on the Smartphone.
  const auto toSortBy = [this] {
    const int downs = pocketPc() ? 3 : 2;
    return [downs] {
      for (int i = 0; i < downs; ++i) TestDevice::postKey(VK_DOWN);
    };
  };
  EXPECT_EQ(run({toSortBy(), press(VK_RIGHT), press(VK_DOWN), press(VK_RETURN)}), 1047u);
  const auto inits = log().messages(WM_INITMENUPOPUP);
  ASSERT_EQ(inits.size(), 2u);
  EXPECT_EQ(reinterpret_cast<HMENU>(inits[1].wParam), GetSubMenu(main, 3));

  // Back closes the submenu only; Left too; then Enter on "Sort By" opens it again.
  EXPECT_EQ(run({toSortBy(), press(VK_RIGHT), press(VK_ESCAPE), press(VK_RIGHT), press(VK_LEFT), press(VK_DOWN),
                 press(VK_RETURN)}),
            1050u);
}

TEST_P(PopupMenuTest, StylusChoosesAndTapOutsideCloses) {
  EXPECT_EQ(run({tapItem(u"Export")}), 1050u);
  EXPECT_EQ(run({tapItem(u"Edit"), press(VK_ESCAPE)}), 0u) << "a greyed item does nothing";
  EXPECT_EQ(run({tapItem(u"Sort By"), tapItem(u"Name")}), 1046u);
  EXPECT_EQ(run({[] { TestDevice::postTap(2, 30); }}), 0u);
}

TEST_P(PopupMenuTest, ReturnCommandGivesTheIdInsteadOfAMessage) {
  device.addStep(press(VK_ESCAPE));
  EXPECT_EQ(TrackPopupMenuEx(main, TPM_RETURNCMD, 0, 40, owner, nullptr), 0);
  device.addStep(tapItem(u"Exit"));
  log().clear();
  EXPECT_EQ(TrackPopupMenuEx(main, TPM_RETURNCMD, 0, 40, owner, nullptr), 1001);
  device.runUntilIdle();
  EXPECT_TRUE(log().messages(WM_COMMAND).empty());
  EXPECT_FALSE(TrackPopupMenuEx(reinterpret_cast<HMENU>(0x1234), 0, 0, 0, owner, nullptr));
}

TEST_P(PopupMenuTest, DigitsChooseNumberedItemsOnTheSmartphone) {
  if (pocketPc()) {
    EXPECT_EQ(run({press('5'), press(VK_ESCAPE)}), 0u) << "no numbers on Pocket PC";
    return;
  }
  EXPECT_EQ(run({press('4')}), 1050u) << "1 Add, 2 Edit, 3 Sort By, 4 Export";
  EXPECT_EQ(run({press('2'), press(VK_ESCAPE)}), 0u) << "greyed";
  EXPECT_EQ(run({press('3'), press('2')}), 1047u);
  HWND shown = nullptr;
  run({[&shown] { shown = ShellDevice::popupMenu(); }, press(VK_ESCAPE)});
  ASSERT_NE(shown, nullptr);
}

TEST_P(PopupMenuTest, ShowsChecksAndNumbers) {
  CheckMenuItem(menu, 1047, MF_CHECKED);
  std::vector<std::u16string> texts;
  run({[&texts] { texts = TestDevice::texts(ShellDevice::popupMenu()); }, press(VK_ESCAPE)});
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"Export"), texts.end());
  EXPECT_EQ(std::find(texts.begin(), texts.end(), u"4") != texts.end(), !pocketPc());
}

INSTANTIATE_TEST_SUITE_P(Editions, PopupMenuTest,
                         ::testing::Values(platform::Edition::PocketPc, platform::Edition::Smartphone));

}  // namespace
