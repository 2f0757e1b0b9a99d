// The menubars and menus of the full-screen forms, as the shell loads them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/ResourceTable.h"
#include "platform/win/WinUser.h"
#include "resources/CommandIds.h"
#include "resources/Menus.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"

namespace {

using namespace pellucard;
using platform::MenuBarResource;
using platform::MenuItemResource;

class FormMenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registerStringTable();
    registerMenus();
  }
  void TearDown() override { platform::ResourceTable::instance().clear(); }

  static const MenuBarResource& bar(UINT id) {
    const MenuBarResource* found = platform::ResourceTable::instance().findMenuBar(id);
    EXPECT_NE(found, nullptr) << "menubar " << id;
    static const MenuBarResource none;
    return found != nullptr ? *found : none;
  }
  // The items of the popup the right soft key opens.
  static std::vector<MenuItemResource> rightMenu(UINT menuId) {
    const auto* menu = platform::ResourceTable::instance().findMenu(menuId);
    if (menu == nullptr || menu->items.empty()) return {};
    return menu->items.front().items;
  }
  static std::u16string text(UINT id) { return platform::loadString(id); }
};

TEST_F(FormMenusTest, DoneAndCancelBars) {
  for (UINT id : {IDR_FORM_BAR, IDR_DONE_CANCEL_BAR}) {
    const MenuBarResource& b = bar(id);
    ASSERT_EQ(b.buttons.size(), 2u) << id;
    EXPECT_EQ(b.buttons[0].command, static_cast<UINT>(IDOK));
    EXPECT_EQ(text(b.buttons[0].stringId), u"Done");
    EXPECT_EQ(b.buttons[1].command, static_cast<UINT>(IDCANCEL));
    EXPECT_EQ(text(b.buttons[1].stringId), u"Cancel");
    EXPECT_EQ(b.menuId, 0u);
    for (const auto& button : b.buttons) EXPECT_TRUE(button.state & 0x04) << "enabled";
  }
  EXPECT_EQ(bar(IDR_DONE_CANCEL_BAR).buttons[0].stringId, IDS_DONE_BUTTON);
  EXPECT_EQ(bar(IDR_FORM_BAR).buttons[0].stringId, IDS_DONE);
}

TEST_F(FormMenusTest, DoneAloneBarsHaveAnEmptyGreyedRightButton) {
  for (UINT id : {IDR_DONE_BAR, IDR_TEXT_ENTRY_BAR}) {
    const MenuBarResource& b = bar(id);
    ASSERT_EQ(b.buttons.size(), 2u) << id;
    EXPECT_EQ(b.buttons[0].command, static_cast<UINT>(IDOK));
    EXPECT_EQ(text(b.buttons[0].stringId), u"Done");
    EXPECT_EQ(b.buttons[1].command, 0u);
    EXPECT_EQ(b.buttons[1].stringId, 0u);
    EXPECT_EQ(b.buttons[1].state & 0x04, 0) << "greyed";
  }
}

TEST_F(FormMenusTest, MenuBarsOpenTheirMenus) {
  const MenuBarResource& import = bar(IDR_IMPORT_BAR);
  ASSERT_EQ(import.buttons.size(), 2u);
  EXPECT_EQ(import.menuId, IDR_IMPORT_MENU);
  EXPECT_EQ(import.buttons[1].command, 1000u);
  EXPECT_EQ(text(import.buttons[1].stringId), u"Menu");
  EXPECT_EQ(import.buttons[1].subMenu, 0u);
  const auto items = rightMenu(IDR_IMPORT_MENU);
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].text, u"Select all");
  EXPECT_EQ(items[0].id, 1050u);
  EXPECT_EQ(items[1].text, u"Deselect all");
  EXPECT_EQ(items[1].id, 1051u);
  EXPECT_EQ(items[2].kind, MenuItemResource::Kind::Popup);
  EXPECT_EQ(items[2].text, u"By Category");
  ASSERT_EQ(items[2].items.size(), 1u);
  EXPECT_EQ(items[2].items[0].text, u"More...");
  EXPECT_EQ(items[2].items[0].id, 1053u);
  EXPECT_EQ(items[3].kind, MenuItemResource::Kind::Separator);
  EXPECT_EQ(items[4].text, u"Cancel");
  EXPECT_EQ(items[4].id, static_cast<UINT>(IDCANCEL));

  const MenuBarResource& avatar = bar(IDR_AVATAR_BAR);
  EXPECT_EQ(avatar.menuId, IDR_AVATAR_MENU);
  const auto picture = rightMenu(IDR_AVATAR_MENU);
  ASSERT_EQ(picture.size(), 3u);
  EXPECT_EQ(picture[0].text, u"Select Picture");
  EXPECT_EQ(picture[0].id, 1064u);
  EXPECT_EQ(picture[1].kind, MenuItemResource::Kind::Separator);
  EXPECT_EQ(picture[2].id, static_cast<UINT>(IDCANCEL));
}

TEST_F(FormMenusTest, EveryButtonTextIsInTheStringTable) {
  for (UINT id : {1500u, 1502u, 1504u, 1506u, 1508u, 1510u, IDR_IMPORT_BAR, IDR_FORM_BAR, IDR_DONE_BAR, IDR_AVATAR_BAR,
                  IDR_DONE_CANCEL_BAR, IDR_TEXT_ENTRY_BAR}) {
    for (const auto& button : bar(id).buttons) {
      if (button.stringId != 0) {
        EXPECT_FALSE(text(button.stringId).empty()) << id << " " << button.stringId;
      }
    }
  }
}

}  // namespace
