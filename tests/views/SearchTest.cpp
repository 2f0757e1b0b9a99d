// The incremental search through the list: narrowing, highlighting, Backspace and clearing,
// accents, records matched twice, and when the index goes away.
#include <gtest/gtest.h>

#include "tests/views/ListFixture.h"

namespace pellucard::testing {
namespace {

using ::testing::ElementsAre;

class Search : public ListFixture {
 protected:
  void SetUp() override {
    ListFixture::SetUp();
    const RecordId ann = addFriend(u"Ann", u"Baker");
    scarf = addGift(u"Scarf", kGiftFrom, ann);
    book = addGift(u"Book", kGiftFor, ann);
    kite = addGift(u"Kite", kGiftIdea, 0);
    bag = addGift(u"Bag", kGiftFrom, 0);
    makeList(ListKind::Gifts);
    fillFromStore();
  }
  bool searching() const { return SendMessageW(list->hwnd(), UM_ISSEARCHING, 0, 0) != FALSE; }

  RecordId scarf = 0, book = 0, kite = 0, bag = 0;
};

TEST_F(Search, KeysNarrowTheRowsAndBackspaceWidensThem) {
  EXPECT_FALSE(searching());
  typeChar(u'2');
  // Scarf is found by its friend's "Ann" and "Baker" and listed once, where "Ann" stands.
  EXPECT_THAT(rowIds(), ElementsAre(scarf, book, bag));
  EXPECT_EQ(list->textAt(0), u"Ann");
  EXPECT_EQ(list->textAt(1), u"Book");
  EXPECT_EQ(list->selectedIndex(), 0);
  EXPECT_TRUE(searching());

  typeChar(u'6');
  EXPECT_THAT(rowIds(), ElementsAre(scarf, book));
  typeChar(u'9');
  EXPECT_TRUE(rowIds().empty());
  EXPECT_TRUE(find("Empty List"));

  typeChar(8);
  EXPECT_THAT(rowIds(), ElementsAre(scarf, book));
  typeChar(8);
  EXPECT_THAT(rowIds(), ElementsAre(scarf, book, bag));
  typeChar(8);
  // Level 0: every record once, in the order of its first word.
  EXPECT_THAT(rowIds(), ElementsAre(scarf, book, kite, bag));
  EXPECT_FALSE(searching());
}

TEST_F(Search, TheTypedPartOfTheMatchedWordIsHighlighted) {
  typeChar(u'2');
  typeChar(u'6');
  // Row 0 (Scarf, matched by "Ann"): its second line is cut around the two typed characters.
  const std::vector<std::string> texts = drawnTexts();
  EXPECT_THAT(texts, ElementsAre("Scarf", "From: ", "An", "n Baker", "Bo", "ok", "For: Ann Baker"));
  const std::optional<Drawn> from = find("From: ");
  const std::optional<Drawn> lit = find("An");
  const std::optional<Drawn> rest = find("n Baker");
  ASSERT_TRUE(from && lit && rest);
  EXPECT_EQ(from->rect.top, lit->rect.top);
  EXPECT_LE(from->rect.right, lit->rect.left + 1);
  EXPECT_LE(lit->rect.right, rest->rect.left + 1);
}

TEST_F(Search, LongBackClearsEveryKeyAndOtherCharactersChangeNothing) {
  typeChars(u"26");
  typeChar(u'0');
  typeChar(u'#');
  EXPECT_THAT(rowIds(), ElementsAre(scarf, book));
  typeChar(3);
  EXPECT_THAT(rowIds(), ElementsAre(scarf, book, kite, bag));
  EXPECT_FALSE(searching());
  EXPECT_THAT(drawnTexts(), ::testing::Contains("General idea"));
}

TEST_F(Search, LettersSearchLikeKeys) {
  device->type(u"k");
  EXPECT_THAT(rowIds(), ElementsAre(kite));
  EXPECT_THAT(drawnTexts(), ElementsAre("K", "ite", "General idea"));
  typeChar(8);
  typeChar(u'B');
  typeChar(u'a');
  EXPECT_THAT(rowIds(), ElementsAre(scarf, book, bag));
}

TEST_F(Search, RefillingOrHidingTheListDropsTheSearch) {
  typeChar(u'5');
  EXPECT_THAT(rowIds(), ElementsAre(kite));
  fillFromStore();
  EXPECT_FALSE(searching());
  EXPECT_EQ(list->count(), 4);
  typeChar(u'5');
  EXPECT_THAT(rowIds(), ElementsAre(kite));

  platform::testing::MessageLog& log = platform::testing::MessageLog::instance();
  log.clear();
  ShowWindow(list->hwnd(), SW_HIDE);
  device->runUntilIdle();
  EXPECT_FALSE(searching());
  const auto reloads = log.messages(UM_RELOADLIST);
  ASSERT_EQ(reloads.size(), 1u);
  EXPECT_EQ(reloads[0].wParam, kGiftListId);
}

TEST_F(Search, ANewRecordIsFoundOnceTheOwnerRefills) {
  typeChar(u'7');
  EXPECT_THAT(rowIds(), ElementsAre(scarf));
  const RecordId sled = addGift(u"Sled", kGiftIdea, 0);
  fillFromStore();
  typeChar(u'7');
  EXPECT_THAT(rowIds(), ElementsAre(scarf, sled));
}

class AccentSearch : public ListFixture {};

TEST_F(AccentSearch, ExtendedLatinIsFoldedLatinOneIsNot) {
  const RecordId agata = addFriend(u"\u0104gata", u"Zoo");
  addFriend(u"\u00C9mile", u"Yates");
  makeList(ListKind::Friends);
  fillFromStore();
  typeChar(u'2');
  EXPECT_THAT(rowIds(), ElementsAre(agata));
  EXPECT_THAT(drawnTexts(), ElementsAre("\u0104", "gata Zoo"));
  typeChar(3);
  typeChar(u'a');
  EXPECT_THAT(rowIds(), ElementsAre(agata));
  typeChar(3);
  typeChar(u'3');
  EXPECT_TRUE(rowIds().empty());
  typeChar(8);
  typeChar(u'e');
  EXPECT_TRUE(rowIds().empty());
  EXPECT_TRUE(find("Empty List"));
}

class KeyboardSearch : public ListFixture {};

TEST_F(KeyboardSearch, LandscapeQwertySmartphonesTurnDigitKeysIntoTheirLetters) {
  platform::DeviceConfig::current().oemInfo = "MOTOROLA Q";
  boot(platform::Edition::Smartphone, 320, 240);
  const RecordId eve = addFriend(u"Eve", u"Stone");
  const RecordId bob = addFriend(u"Bob", u"Ray");
  makeList(ListKind::Friends);
  fillFromStore();
  typeChar(u'2');  // the key shared with "E" on this keyboard
  EXPECT_THAT(rowIds(), ElementsAre(eve));

  // Upright, the same device types digits (the same two friends, from the same volume).
  platform::DeviceConfig::current().oemInfo = "MOTOROLA Q";
  boot(platform::Edition::Smartphone, 240, 320);
  makeList(ListKind::Friends);
  fillFromStore();
  typeChar(u'2');
  EXPECT_THAT(rowIds(), ElementsAre(bob));
}

}  // namespace
}  // namespace pellucard::testing
