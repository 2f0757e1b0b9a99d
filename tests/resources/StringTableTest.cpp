#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/base/ResourceTable.h"
#include "resources/StringTable.h"

namespace {

using namespace pellucard;

class StringTableTest : public ::testing::Test {
 protected:
  void SetUp() override { registerStringTable(); }
  static std::u16string text(UINT id) { return platform::loadString(id); }
};

TEST_F(StringTableTest, IdsAreUniqueAndInTheirRanges) {
  std::set<UINT> seen;
  for (const auto& s : stringTable()) {
    EXPECT_TRUE(seen.insert(s.id).second) << "duplicate id " << s.id;
    EXPECT_TRUE(s.id == 128 || (s.id >= 2000 && s.id <= 2093) || s.id >= 5013) << s.id;
    ASSERT_NE(s.text, nullptr);
    EXPECT_FALSE(std::u16string(s.text).empty()) << s.id;
  }
}

TEST_F(StringTableTest, TextsTheProgramMatchesExactly) {
  EXPECT_EQ(text(IDS_APP_TITLE), u"Pellucard");
  EXPECT_EQ(text(IDS_FROM), u"From");
  EXPECT_EQ(text(IDS_FOR), u"For");
  EXPECT_EQ(text(IDS_IDEAS), u"Ideas");
  EXPECT_EQ(text(IDS_TO), u"To");
  EXPECT_EQ(text(IDS_BIRTHDAY), u"Birthday");
  EXPECT_EQ(text(IDS_ANNIVERSARY), u"Anniversary");
  EXPECT_EQ(text(IDS_RETURN), u"Return");
  EXPECT_EQ(text(IDS_RETRIEVE), u"Retrieve");
  EXPECT_EQ(text(IDS_SPOUSE), u"Spouse");
  EXPECT_EQ(text(IDS_CHILDREN), u"Children");
  EXPECT_EQ(text(IDS_WORK), u"Work");
  EXPECT_EQ(text(IDS_CONFIRM_DELETE), u"Permanently delete this item?");
  EXPECT_EQ(text(IDS_APP_ERROR), u"Application error occured.\r\n");
  EXPECT_EQ(text(IDS_FNAME_LNAME), u"<FName> <LName>");
  EXPECT_EQ(text(IDS_LNAME_FNAME), u"<LName>, <FName>");
  EXPECT_EQ(text(IDS_DONE_BUTTON), text(IDS_DONE));
  EXPECT_EQ(text(IDS_CANCEL_BUTTON), text(IDS_CANCEL));
}

TEST_F(StringTableTest, FailureMessagesStartWithTheirWordingAndEndWithSupport) {
  const std::pair<UINT, std::u16string> failures[] = {
      {IDS_CALENDAR_EXPORT_FAILED, u"Failed to export anniversary item to Calendar."},
      {IDS_TASKS_EXPORT_FAILED, u"Failed to export loan item to Tasks."},
      {IDS_BACKUP_FAILED, u"Failed to create Pellucard database backup."},
      {IDS_RESTORE_FAILED, u"Failed to restore previous Pellucard database."},
      {IDS_RESTORE_INVALID, u"Restore backup failed. The file you have selected is not valid Pellucard database."},
  };
  for (const auto& [id, start] : failures) {
    const std::u16string t = text(id);
    EXPECT_EQ(t.substr(0, start.size()), start) << id;
    EXPECT_NE(t.find(u"support", start.size()), std::u16string::npos) << id;
  }
  EXPECT_NE(text(IDS_APP_ERROR_SUPPORT).find(u"support"), std::u16string::npos);
}

TEST_F(StringTableTest, NoTextCarriesAWebOrMailAddress) {
  for (const auto& s : stringTable()) {
    const std::u16string t = s.text;
    for (const char16_t* marker : {u"http", u"www.", u"@", u".com", u".net", u".org"})
      EXPECT_EQ(t.find(marker), std::u16string::npos) << "id " << s.id;
  }
}

TEST_F(StringTableTest, FormatStringsHoldOnePlaceholder) {
  for (UINT id : {IDS_ABOUT_TEXT, IDS_REMOVE_FRIEND_ITEMS, IDS_NO_CONTACT_LINKED}) {
    const std::u16string t = text(id);
    const auto first = t.find(u"%s");
    ASSERT_NE(first, std::u16string::npos) << id;
    EXPECT_EQ(t.find(u'%', first + 1), std::u16string::npos) << id;
  }
  EXPECT_NE(text(IDS_ABOUT_TEXT).find(u"\r\n\r\nPellucard, version %s\r\n"), std::u16string::npos);
}

}  // namespace
