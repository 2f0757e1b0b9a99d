#include <gtest/gtest.h>

#include "platform/base/WinError.h"
#include "platform/shell/PopupMenu.h"
#include "tests/shell/ShellHarness.h"

using namespace testing_device;

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
  registerTestResources();
  HMENU menu = LoadMenuW(nullptr, MAKEINTRESOURCE(kMenu));
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
  ShellDevice device{GetParam(), GetParam() == platform::Edition::PocketPc ? 240 : 176,
                     GetParam() == platform::Edition::PocketPc ? 320 : 220};
  Recorder owner{RECT{0, 26, device_width(), 200}};
  HMENU menu = nullptr;
  HMENU main = nullptr;

  int device_width() const { return GetParam() == platform::Edition::PocketPc ? 240 : 176; }
  bool pocketPc() const { return GetParam() == platform::Edition::PocketPc; }

  void SetUp() override {
    menu = LoadMenuW(nullptr, MAKEINTRESOURCE(kMenu));
    main = GetSubMenu(menu, 0);
    device.pump();
  }
  void TearDown() override { DestroyMenu(menu); }

  // Runs the menu with the given steps and returns the command the owner received, 0 for none.
  UINT run(std::initializer_list<std::function<void()>> steps, UINT flags = TPM_BOTTOMALIGN | TPM_RIGHTALIGN) {
    for (const auto& step : steps) device.host.steps.push_back(step);
    owner.log.clear();
    EXPECT_TRUE(TrackPopupMenuEx(main, flags, device_width(), 200, owner.hwnd, nullptr));
    EXPECT_EQ(FindWindowW(platform::shell::kPopupMenuClass, nullptr), nullptr) << "the menu is gone";
    device.host.steps.clear();
    device.pump();
    const auto commands = owner.messages(WM_COMMAND);
    EXPECT_LE(commands.size(), 1u);
    return commands.empty() ? 0 : LOWORD(commands.front().wParam);
  }

  // The newest (innermost) open menu.
  static HWND popup() { return FindWindowW(platform::shell::kPopupMenuClass, nullptr); }
};

TEST_P(PopupMenuTest, ArrowsSkipSeparatorsAndEnterChooses) {
  if (pocketPc()) {
    EXPECT_EQ(run({[] { press(VK_DOWN); }, [] { press(VK_DOWN); }, [] { press(VK_DOWN); }, [] { press(VK_DOWN); },
                   [] { press(VK_RETURN); }}),
              1050u)
        << "Add, Edit, (separator), Sort By, Export";
  } else {
    // The Smartphone menu opens with its first item lit.
    EXPECT_EQ(run({[] { press(VK_DOWN); }, [] { press(VK_DOWN); }, [] { press(VK_DOWN); }, [] { press(VK_RETURN); }}),
              1050u);
  }
  EXPECT_EQ(owner.messages(WM_INITMENUPOPUP).size(), 1u);
  EXPECT_EQ(run({[] { press(VK_UP); }, [] { press(VK_RETURN); }}), pocketPc() ? 1001u : 1001u)
      << "Up wraps to the last item";
}

TEST_P(PopupMenuTest, GreyedItemsCannotBeChosenAndBackCloses) {
  const int downs = pocketPc() ? 2 : 1;
  EXPECT_EQ(run({[downs] {
                   for (int i = 0; i < downs; ++i) press(VK_DOWN);
                 },
                 [] { press(VK_RETURN); }, [] { press(VK_ESCAPE); }}),
            0u);
}

TEST_P(PopupMenuTest, SubmenusOpenWithRightAndCloseWithLeftOrBack) {
  const int downs = pocketPc() ? 3 : 2;
  EXPECT_EQ(run({[downs] {
                   for (int i = 0; i < downs; ++i) press(VK_DOWN);
                 },
                 [] { press(VK_RIGHT); }, [] { press(VK_DOWN); }, [] { press(VK_RETURN); }}),
            1047u);
  const auto inits = owner.messages(WM_INITMENUPOPUP);
  ASSERT_EQ(inits.size(), 2u);
  EXPECT_EQ(reinterpret_cast<HMENU>(inits[1].wParam), GetSubMenu(main, 3));

  // Back closes the submenu only; Left too; then Enter on "Sort By" opens it again.
  EXPECT_EQ(run({[downs] {
                   for (int i = 0; i < downs; ++i) press(VK_DOWN);
                 },
                 [] { press(VK_RIGHT); }, [] { press(VK_ESCAPE); }, [] { press(VK_RIGHT); }, [] { press(VK_LEFT); },
                 [] { press(VK_DOWN); }, [] { press(VK_RETURN); }}),
            1050u);
}

TEST_P(PopupMenuTest, StylusChoosesAndTapOutsideCloses) {
  const auto tapItem = [](const std::u16string& text) {
    return [text] {
      HWND h = popup();
      ASSERT_NE(h, nullptr);
      ShellDevice::tapText(h, text);
    };
  };
  EXPECT_EQ(run({tapItem(u"Export")}), 1050u);
  EXPECT_EQ(run({tapItem(u"Edit"), [] { press(VK_ESCAPE); }}), 0u) << "a greyed item does nothing";
  EXPECT_EQ(run({tapItem(u"Sort By"), tapItem(u"Name")}), 1046u);
  EXPECT_EQ(run({[] { tap(2, 30); }}), 0u);
}

TEST_P(PopupMenuTest, ReturnCommandGivesTheIdInsteadOfAMessage) {
  device.host.steps.push_back([] { press(VK_ESCAPE); });
  EXPECT_EQ(TrackPopupMenuEx(main, TPM_RETURNCMD, 0, 40, owner.hwnd, nullptr), 0);
  device.host.steps.push_back([this] { ShellDevice::tapText(popup(), u"Exit"); });
  owner.log.clear();
  EXPECT_EQ(TrackPopupMenuEx(main, TPM_RETURNCMD, 0, 40, owner.hwnd, nullptr), 1001);
  device.pump();
  EXPECT_TRUE(owner.messages(WM_COMMAND).empty());
  EXPECT_FALSE(TrackPopupMenuEx(reinterpret_cast<HMENU>(0x1234), 0, 0, 0, owner.hwnd, nullptr));
}

TEST_P(PopupMenuTest, DigitsChooseNumberedItemsOnTheSmartphone) {
  if (pocketPc()) {
    EXPECT_EQ(run({[] { press('5'); }, [] { press(VK_ESCAPE); }}), 0u) << "no numbers on Pocket PC";
    return;
  }
  EXPECT_EQ(run({[] { press('4'); }}), 1050u) << "1 Add, 2 Edit, 3 Sort By, 4 Export";
  EXPECT_EQ(run({[] { press('2'); }, [] { press(VK_ESCAPE); }}), 0u) << "greyed";
  EXPECT_EQ(run({[] { press('3'); }, [] { press('2'); }}), 1047u);
  HWND shown = nullptr;
  run({[&shown] { shown = popup(); }, [] { press(VK_ESCAPE); }});
  ASSERT_NE(shown, nullptr);
}

TEST_P(PopupMenuTest, ShowsChecksAndNumbers) {
  CheckMenuItem(menu, 1047, MF_CHECKED);
  std::vector<std::u16string> texts;
  run({[&texts] { texts = Device::texts(popup()); }, [] { press(VK_ESCAPE); }});
  EXPECT_NE(std::find(texts.begin(), texts.end(), u"Export"), texts.end());
  EXPECT_EQ(std::find(texts.begin(), texts.end(), u"4") != texts.end(), !pocketPc());
}

INSTANTIATE_TEST_SUITE_P(Editions, PopupMenuTest,
                         ::testing::Values(platform::Edition::PocketPc, platform::Edition::Smartphone));

}  // namespace
