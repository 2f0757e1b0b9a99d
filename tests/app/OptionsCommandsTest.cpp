// The Options command in this process: a new name order chosen in it reaches every list and
// the frame's title at once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/shell/Shell.h"
#include "tests/app/AppHarness.h"

namespace pellucard::testing {
namespace {

using platform::Edition;
using platform::testing::TestDevice;

class FrameForms : public ::testing::TestWithParam<Edition> {
 protected:
  FrameForms() : app(GetParam()) { platform::shell::startShell(); }
  ~FrameForms() override { platform::shell::stopShell(); }

  bool pocketPc() const { return GetParam() == Edition::PocketPc; }
  // The friends list's texts, top to bottom, as the user reads them.
  std::vector<std::u16string> friendNames() {
    std::vector<std::u16string> names;
    for (RecordId id : app.rows(ListKind::Friends)) names.push_back(getFriendCollection().find(id)->displayName());
    return names;
  }

  AppHarness app;
};

TEST_P(FrameForms, ANewNameOrderShowsInTheListsAtOnce) {
  const RecordId zoe = app.addFriend(u"Zoe", u"Adams");
  app.addFriend(u"Ann", u"Lee");
  app.addGift(u"Scarf", kGiftFrom, zoe, date(2024, 3, 1));
  app.start();
  ASSERT_EQ(friendNames(), (std::vector<std::u16string>{u"Ann Lee", u"Zoe Adams"}));

  // From a friend's details: Options, General, the other name order, Done, Done.
  SendMessageW(app.frame().hwnd(), UM_SHOWRECORD, zoe, kRecordFriend);
  app.device().runUntilIdle();
  app.device().addStep([] { TestDevice::postKey('1'); });
  app.device().addStep([this] {
    TestDevice::postKey(pocketPc() ? VK_DOWN : VK_RIGHT);
    TestDevice::postKey(VK_F1);
  });
  app.device().addStep([] { TestDevice::postKey(VK_F1); });
  app.command(ID_APP_OPTIONS);
  EXPECT_FALSE(getSettings().fNameFirst());
  // The details carry the friend's name in the frame's title.
  WCHAR title[64] = {};
  GetWindowTextW(app.frame().hwnd(), title, 64);
  EXPECT_EQ(std::u16string(title), u"Adams, Zoe");

  SendMessageW(app.frame().hwnd(), WM_COMMAND, kMainScreenId, 0);
  app.device().runUntilIdle();
  EXPECT_EQ(friendNames(), (std::vector<std::u16string>{u"Adams, Zoe", u"Lee, Ann"})) << "in the new order";
  EXPECT_TRUE(app.showsText("Adams, Zoe")) << app.device().dump();
  app.showTab(kGiftListId);
  EXPECT_TRUE(app.showsText("From: Adams, Zoe")) << app.device().dump();
}

INSTANTIATE_TEST_SUITE_P(Editions, FrameForms, ::testing::Values(Edition::PocketPc, Edition::Smartphone),
                         [](const ::testing::TestParamInfo<Edition>& edition) {
                           return std::string(edition.param == Edition::PocketPc ? "PocketPc" : "Smartphone");
                         });

}  // namespace
}  // namespace pellucard::testing
