// What the rows of each kind show, read back from the texts the list drew.
#include <gtest/gtest.h>

#include "skin/JpegEncoder.h"
#include "tests/views/ListFixture.h"

namespace pellucard::testing {
namespace {

using ::testing::ElementsAre;

class RowDrawing : public ListFixture {};

TEST_F(RowDrawing, FriendRowsShowDisplayNamesInCollectionOrder) {
  addFriend(u"Zoe", u"Adams");
  addFriend(u"Ann", u"Baker");
  makeList(ListKind::Friends);
  fillFromStore();
  EXPECT_THAT(drawnTexts(), ElementsAre("Ann Baker", "Zoe Adams"));
  // One line centred over the text area of a 36-pixel row, beside the icon square.
  const std::optional<Drawn> ann = find("Ann Baker");
  ASSERT_TRUE(ann);
  EXPECT_LT(ann->rect.top, 36);
  EXPECT_EQ(ann->colour, RGB(0, 0, 0));
  EXPECT_EQ(list->selectedIndex(), 0);
  EXPECT_NE(device->dump().find("window \"SysListView32\" \"FriendList\" id=1015"), std::string::npos);
}

TEST_F(RowDrawing, GiftRowsNameTheDirectionAndTheFriend) {
  const RecordId ann = addFriend(u"Ann", u"Baker");
  addGift(u"Scarf", kGiftFrom, ann);
  addGift(u"Book", kGiftFor, ann);
  addGift(u"Kite", kGiftIdea, ann);
  addGift(u"Vase", kGiftIdea, 0);
  addGift(u"Mug", kGiftFrom, 0);
  addGift(u"Pen", kGiftFor, 9999);
  makeList(ListKind::Gifts);
  fillFromStore();
  EXPECT_THAT(drawnLines(),
              ElementsAre("Scarf", "From: Ann Baker", "Book", "For: Ann Baker", "Kite", "Idea for: Ann Baker", "Vase",
                          "General idea", "Mug", "From: Not specified", "Pen", "For: Not specified"));
}

TEST_F(RowDrawing, LoanRowsShowDueDatesAndOverdueLoansInRed) {
  // The device's clock stands at 2025-01-15 10:00 local time.
  const RecordId ann = addFriend(u"Ann", u"Baker");
  addLoan(u"Drill", kLoanFrom, ann, date(2025, 1, 10));
  addLoan(u"Tent", kLoanTo, ann, date(2025, 2, 1));
  addLoan(u"Ladder", kLoanTo, 0, SYSTEMTIME{});
  addLoan(u"Saw", kLoanFrom, 0, date(1900, 5, 5));
  const RecordId today = addLoan(u"Map", kLoanTo, ann, date(2025, 1, 15, 10, 30));
  makeList(ListKind::Loans);
  fillFromStore();
  const std::string drill = "Drill, due " + shortDate(date(2025, 1, 10));
  const std::string tent = "Tent, due " + shortDate(date(2025, 2, 1));
  const std::string map = "Map, due " + shortDate(date(2025, 1, 15));
  EXPECT_THAT(drawnLines(), ElementsAre(drill, "From: Ann Baker", tent, "To: Ann Baker", "Ladder", "General loan",
                                        "Saw", "General loan", map, "To: Ann Baker"));
  const COLORREF red = RGB(224, 0, 0);
  for (const auto& d : drawn()) {
    const bool overdue = d.text == drill || (d.text == "From: Ann Baker");
    EXPECT_EQ(d.colour, overdue ? red : RGB(0, 0, 0)) << d.text;
  }

  // Due today turns red once the stored time has passed.
  device->advance(31 * 60 * 1000);
  list->select(0);
  InvalidateRect(list->hwnd(), nullptr, TRUE);
  device->runUntilIdle();
  ASSERT_TRUE(find(map));
  EXPECT_EQ(find(map)->colour, red);
  EXPECT_EQ(getLoanCollection().find(today)->item(), u"Map");
}

TEST_F(RowDrawing, AnniversaryRowsShowNextOccurrenceYearsAndFriend) {
  const RecordId ann = addFriend(u"Ann", u"Baker", 4);
  addAnniversary(u"Birthday", ann, date(1995, 3, 4));
  addAnniversary(u"Founding", 0, date(2000, 1, 2));
  addAnniversary(u"Name day", ann, date(Anniversary::kUnknownYear, 6, 20));
  makeList(ListKind::Anniversaries);
  fillFromStore();
  // Now is 2025-01-15: 4 March comes this year, 2 January only next year; a day imported
  // without its year shows no count.
  EXPECT_THAT(drawnLines(), ElementsAre(shortDate(date(2025, 3, 4)) + ", Birthday [30]", "Ann Baker",
                                        shortDate(date(2026, 1, 2)) + ", Founding [26]", "General anniversary",
                                        shortDate(date(2025, 6, 20)) + ", Name day", "Ann Baker"));
}

TEST_F(RowDrawing, FriendsWithPicturesShowThemCentredInTheIconSquare) {
  RgbImage green{64, 48, {}};
  for (int i = 0; i < 64 * 48; ++i) green.rgb.insert(green.rgb.end(), {0, 255, 0});
  const auto bytes = JpegEncoder::encode(green);
  ASSERT_TRUE(bytes);
  auto pia = std::make_unique<Friend>(u"Pia", u"Green", u"", Friend::kOwnPicture);
  ASSERT_TRUE(pia->picture().loadFromBytes(*bytes));
  getFriendCollection().add(std::move(pia));
  const RecordId piaId = getFriendCollection().snapshot().front()->recordId();
  addFriend(u"Zed", u"Avatar", 2);
  addAnniversary(u"Birthday", piaId, date(1990, 6, 1));
  makeList(ListKind::Friends);
  fillFromStore();
  ASSERT_THAT(drawnTexts(), ElementsAre("Pia Green", "Zed Avatar"));
  // 64x48 fits the 26x26 small picture size as 26x19, centred in the 34-pixel icon square of
  // row 0 at (7, 8).
  auto isGreen = [](COLORREF c) { return GetGValue(c) > 200 && GetRValue(c) < 60 && GetBValue(c) < 60; };
  EXPECT_TRUE(isGreen(device->pixel(7 + 13, 8 + 9)));
  EXPECT_TRUE(isGreen(device->pixel(7, 8)));
  EXPECT_FALSE(isGreen(device->pixel(7 + 13, 8 - 2)));
  EXPECT_FALSE(isGreen(device->pixel(7 + 13, 36 + 8 + 9)));

  // The anniversary of that friend shows the same picture.
  list.reset();
  parent.reset();
  makeList(ListKind::Anniversaries);
  fillFromStore();
  EXPECT_TRUE(isGreen(device->pixel(7 + 13, 8 + 9)));
}

TEST_F(RowDrawing, GiftIconsFollowTheDirectionAndVanishedRowsShowOnlyTheStripe) {
  const RecordId from = addGift(u"A", kGiftFrom, 0);
  const RecordId given = addGift(u"B", kGiftFor, 0);
  const RecordId idea = addGift(u"C", kGiftIdea, 0);
  makeList(ListKind::Gifts);
  list->fill(std::vector<ItemListCtrl::Row>{{from, {}}, {given, {}}, {idea, {}}, {777, {}}, {778, {}}, {from, {}}});
  device->runUntilIdle();
  // The centre of each row's icon square; row 0 is selected, so compare the others.
  auto icon = [&](int row) {
    std::vector<COLORREF> column;
    for (int dy = -8; dy <= 8; ++dy) column.push_back(device->pixel(20, row * 36 + 18 + dy));
    return column;
  };
  EXPECT_NE(icon(1), icon(2));
  EXPECT_NE(icon(1), icon(5));
  EXPECT_NE(icon(2), icon(5));
  EXPECT_NE(icon(3), icon(1));

  // A gift removed after the fill leaves a row that draws as one that never had a record.
  const auto given1 = icon(1);
  list->fill(std::vector<ItemListCtrl::Row>{{from, {}}, {777, {}}});
  device->runUntilIdle();
  const auto vanished = icon(1);
  EXPECT_NE(vanished, given1);
  list->fill(std::vector<ItemListCtrl::Row>{{from, {}}, {given, {}}});
  device->runUntilIdle();
  EXPECT_EQ(icon(1), given1);
  getGiftCollection().remove(given);
  InvalidateRect(list->hwnd(), nullptr, TRUE);
  device->runUntilIdle();
  EXPECT_EQ(icon(1), vanished);
}

TEST_F(RowDrawing, RowsOfVanishedRecordsDrawNothing) {
  const RecordId ann = addFriend(u"Ann", u"Baker");
  makeList(ListKind::Friends);
  list->fill(std::vector<ItemListCtrl::Row>{{ann, {}}, {4242, {}}});
  device->runUntilIdle();
  EXPECT_THAT(drawnTexts(), ElementsAre("Ann Baker"));
  EXPECT_EQ(list->count(), 2);
}

TEST_F(RowDrawing, EmptyListShowsThePlaceholderInTheMiddleWithoutStripes) {
  makeList(ListKind::Gifts);
  fillFromStore();
  const std::optional<Drawn> empty = find("Empty List");
  ASSERT_TRUE(empty);
  // Row height 36 on this screen: the bar spans 142..178, the text is centred in it.
  EXPECT_GE(empty->rect.top, 142);
  EXPECT_LE(empty->rect.bottom, 178);
  EXPECT_LE(std::abs((empty->rect.top + empty->rect.bottom) / 2 - 160), 1);
  // The selection bar image is drawn behind it and no stripe at the top of the window.
  const COLORREF barLeft = device->pixel(2, 160);
  const COLORREF aboveBar = device->pixel(2, 100);
  EXPECT_NE(barLeft, aboveBar);

  addGift(u"Kite", kGiftIdea, 0);
  fillFromStore();
  EXPECT_FALSE(find("Empty List"));
  EXPECT_TRUE(find("Kite"));
}

TEST_F(RowDrawing, SelectedRowCarriesTheBarAndOnlyItChangesWhenTheSelectionMoves) {
  addFriend(u"Ann", u"Baker");
  addFriend(u"Bob", u"Clark");
  makeList(ListKind::Friends);
  fillFromStore();
  // The bar is drawn from the image, the unselected row shows the stripe: they differ.
  const COLORREF row0 = device->pixel(120, 2);
  const COLORREF row1 = device->pixel(120, 38);
  EXPECT_NE(row0, row1);
  device->key(VK_DOWN);
  EXPECT_EQ(list->selectedIndex(), 1);
  EXPECT_EQ(device->pixel(120, 38), row0);
  EXPECT_EQ(device->pixel(120, 2), row1);
}

TEST_F(RowDrawing, SmartphoneTwoLineRowsUseTheSmallerFont) {
  const RecordId ann = addFriend(u"Ann", u"Baker");
  addGift(u"Scarf", kGiftFrom, ann);
  makeList(ListKind::Gifts);
  fillFromStore();
  const LONG pocketHeight = find("Scarf")->rect.bottom - find("Scarf")->rect.top;
  const LONG pocketWidth = find("Scarf")->rect.right - find("Scarf")->rect.left;

  boot(platform::Edition::Smartphone, 176, 220);
  ASSERT_FALSE(getSettings().deviceProfile().isPocketPc());
  const RecordId bob = addFriend(u"Ann", u"Baker");
  addGift(u"Scarf", kGiftFrom, bob);
  makeList(ListKind::Gifts);
  fillFromStore();
  ASSERT_TRUE(find("Scarf"));
  const LONG phoneWidth = find("Scarf")->rect.right - find("Scarf")->rect.left;
  EXPECT_LT(phoneWidth, pocketWidth);
  EXPECT_GT(pocketHeight, 0);
}

}  // namespace
}  // namespace pellucard::testing
