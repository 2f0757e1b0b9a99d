#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/ResourceTable.h"
#include "platform/base/Utf.h"
#include "platform/pim/VCardText.h"
#include "resources/HelpFile.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "skin/ImageDecoder.h"

namespace {

using namespace pellucard;

// The guide as the program writes it, with its pictures' bytes.
class HelpGuideTest : public ::testing::Test {
 protected:
  void SetUp() override { registerStringTable(); }
  static std::string_view guide() { return helpFileText(); }

  struct Picture {
    std::string alt;
    std::string data;
  };
  static std::vector<Picture> pictures() {
    std::vector<Picture> found;
    const std::string_view text = guide();
    for (std::size_t at = text.find("<img "); at != std::string_view::npos; at = text.find("<img ", at + 1)) {
      const std::size_t end = text.find('>', at);
      const std::string_view tag = text.substr(at, end - at);
      Picture picture;
      if (const std::size_t alt = tag.find("alt=\""); alt != std::string_view::npos) {
        picture.alt = std::string(tag.substr(alt + 5, tag.find('"', alt + 5) - alt - 5));
      }
      if (const std::size_t src = tag.find("src=\""); src != std::string_view::npos) {
        picture.data = std::string(tag.substr(src + 5, tag.find('"', src + 5) - src - 5));
      }
      found.push_back(std::move(picture));
    }
    return found;
  }
};

// A title the program shows that the guide does not name leaves the user with a screen the
// guide cannot explain.
TEST_F(HelpGuideTest, NamesEveryScreenTitleTheProgramShows) {
  const UINT titles[] = {
      IDS_APP_TITLE,          IDS_OPTIONS,           IDS_PAGE_GENERAL,
      IDS_PAGE_ANNIVERSARIES, IDS_PAGE_LOANS,        IDS_TAB_FRIENDS,
      IDS_TAB_GIFTS,          IDS_TAB_ANNIVERSARIES, IDS_TAB_LOANS,
      IDS_SELECT_AVATAR,      IDS_SELECT_PICTURE,    IDS_SELECT_ITEM,
      IDS_SELECT_CONTACT,     IDS_ENTER_TEXT,        IDS_SELECT_BACKUP_FOLDER,
      IDS_SELECT_BACKUP_FILE, IDS_PIN_PROTECTION,    IDS_NO_CONTACTS_FOUND,
      IDS_SWITCH_TO_FRIENDS,  IDS_EMPTY_LIST,
  };
  for (UINT id : titles) {
    const std::string title = platform::toUtf8(platform::loadString(id));
    ASSERT_FALSE(title.empty()) << id;
    EXPECT_NE(guide().find(title), std::string_view::npos) << "the guide does not name \"" << title << "\"";
  }
}

// The labels of the forms' fields, which the guide quotes with their colons.
TEST_F(HelpGuideTest, QuotesTheFormsLabelsAsTheyStand) {
  for (UINT id : {IDS_LABEL_FIRST_NAME, IDS_LABEL_LAST_NAME, IDS_LABEL_NOTES, IDS_LABEL_NAME, IDS_LABEL_CATEGORY,
                  IDS_LABEL_ITEM, IDS_LABEL_DIRECTION, IDS_LABEL_FRIEND, IDS_LABEL_DATE, IDS_LABEL_RETURN_DATE,
                  IDS_CHANGE_PICTURE, IDS_NAME_FORMAT}) {
    const std::string label = platform::toUtf8(platform::loadString(id));
    EXPECT_NE(guide().find("<b>" + label + "</b>"), std::string_view::npos) << label;
  }
}

// Help must work with nothing beside the guide: every picture is a PNG inside it, of a whole
// screen of one of the two editions, upright or turned, and each one shows something else.
TEST_F(HelpGuideTest, PicturesAreEmbeddedPngsOfWholeScreens) {
  const std::vector<Picture> found = pictures();
  ASSERT_GE(found.size(), 4u);
  std::set<std::string> seen;
  std::set<int> widths;
  const std::string prefix = "data:image/png;base64,";
  for (const Picture& picture : found) {
    SCOPED_TRACE(picture.alt);
    EXPECT_FALSE(picture.alt.empty()) << "a picture without a text for those who cannot see it";
    ASSERT_EQ(picture.data.rfind(prefix, 0), 0u) << picture.data.substr(0, 40);
    const auto bytes = platform::pim::vcardtext::decodeBase64(std::string_view(picture.data).substr(prefix.size()));
    ASSERT_TRUE(bytes.has_value());
    EXPECT_TRUE(seen.insert(picture.data).second) << "the same picture twice";
    EXPECT_LE(bytes->size(), 40'000u) << "keep the guide's pictures small";
    const auto image = ImageDecoder::decode(*bytes);
    ASSERT_TRUE(image.has_value());
    const bool pocketPc = (image->width == 240 && image->height == 320);
    const bool smartphone = (image->width == 176 && image->height == 220);
    EXPECT_TRUE(pocketPc || smartphone) << image->width << "x" << image->height;
    widths.insert(image->width);
  }
  EXPECT_EQ(widths.size(), 2u) << "both editions are shown";
}

}  // namespace
