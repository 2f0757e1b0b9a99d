#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"

namespace {

using platform::MenuItemResource;
using platform::ResourceTable;

class ResourceTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResourceTable::instance().clear();
    ResourceTable::instance().addStrings(kStrings);
  }
  void TearDown() override { ResourceTable::instance().clear(); }
  static constexpr platform::StringResource kStrings[] = {{128, u"Pellucard"}, {2076, u"Permanently delete?"}};
};

TEST_F(ResourceTableTest, LoadStringCopiesTruncatesAndLends) {
  WCHAR buffer[260];
  EXPECT_EQ(LoadStringW(nullptr, 128, buffer, 260), 9);
  EXPECT_EQ(std::u16string(buffer), u"Pellucard");

  WCHAR small[5];
  EXPECT_EQ(LoadStringW(nullptr, 128, small, 5), 4);
  EXPECT_EQ(std::u16string(small), u"Pell") << "truncated and terminated";

  // Size 0 hands out a read-only pointer to the string itself.
  const WCHAR* pointer = nullptr;
  EXPECT_EQ(LoadStringW(nullptr, 2076, reinterpret_cast<LPWSTR>(&pointer), 0), 19);
  ASSERT_NE(pointer, nullptr);
  EXPECT_EQ(std::u16string(pointer, 19), u"Permanently delete?");

  buffer[0] = u'x';
  SetLastError(0);
  EXPECT_EQ(LoadStringW(nullptr, 9999, buffer, 260), 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));

  EXPECT_EQ(platform::loadString(128), u"Pellucard");
  EXPECT_EQ(platform::loadString(9999), u"");
  ResourceTable::instance().addString(128, u"Renamed");
  EXPECT_EQ(platform::loadString(128), u"Renamed");
}

TEST_F(ResourceTableTest, MenusMenubarsAcceleratorsAndImagesRoundTrip) {
  platform::MenuResource menu;
  menu.items.push_back(MenuItemResource::popup(
      u"Friends", {MenuItemResource::command(1010, u"Add Friend"), MenuItemResource::separator(),
                   MenuItemResource::popup(u"Backup", {MenuItemResource::command(1110, u"Create")})}));
  ResourceTable::instance().addMenu(1501, menu);
  const platform::MenuResource* found = ResourceTable::instance().findMenu(1501);
  ASSERT_NE(found, nullptr);
  ASSERT_EQ(found->items.size(), 1u);
  const auto& popup = found->items[0];
  EXPECT_EQ(popup.kind, MenuItemResource::Kind::Popup);
  ASSERT_EQ(popup.items.size(), 3u);
  EXPECT_EQ(popup.items[1].kind, MenuItemResource::Kind::Separator);
  EXPECT_EQ(popup.items[2].items[0].id, 1110u);
  EXPECT_EQ(ResourceTable::instance().findMenu(1503), nullptr);

  platform::MenuBarResource bar;
  bar.menuId = 1501;
  bar.buttons.push_back({-2, 1014, 0x04, 0x10, 2008, 0xFFFF});
  bar.buttons.push_back({-2, 1000, 0x04, 0x18, 2006, 0});
  ResourceTable::instance().addMenuBar(1500, bar);
  ASSERT_NE(ResourceTable::instance().findMenuBar(1500), nullptr);
  EXPECT_EQ(ResourceTable::instance().findMenuBar(1500)->buttons[1].subMenu, 0u);

  ResourceTable::instance().addAccelerators(128, {{0x01, 0x52, 1001}});
  ASSERT_NE(ResourceTable::instance().findAccelerators(128), nullptr);
  EXPECT_EQ(ResourceTable::instance().findAccelerators(128)->at(0).command, 1001);

  static constexpr std::array<std::uint8_t, 4> kPng = {0x89, 'P', 'N', 'G'};
  ResourceTable::instance().addImage(u"GIF", 416, kPng);
  EXPECT_EQ(ResourceTable::instance().findImage(u"gif", 416).size(), 4u) << "types ignore case";
  EXPECT_EQ(ResourceTable::instance().findImage(u"GIF", 416).data(), kPng.data()) << "bytes are not copied";
  EXPECT_TRUE(ResourceTable::instance().findImage(u"ICON", 416).empty());
  EXPECT_TRUE(ResourceTable::instance().findImage(u"GIF", 212).empty());
  EXPECT_EQ(ResourceTable::instance().firstImageId(u"ICON"), 0u);
  ResourceTable::instance().addImage(u"ICON", 5120, kPng);
  ResourceTable::instance().addImage(u"ICON", 128, kPng);
  EXPECT_EQ(ResourceTable::instance().firstImageId(u"icon"), 128u) << "the program's first icon";
  EXPECT_EQ(ResourceTable::instance().firstImageId(u"GIF"), 416u);
}

}  // namespace
