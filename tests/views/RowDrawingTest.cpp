// What the rows of each kind show, read back from the texts the list drew.
#include <gtest/gtest.h>

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
  const Drawn* ann = find("Ann Baker");
  ASSERT_NE(ann, nullptr);
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
  ASSERT_NE(find(map), nullptr);
  EXPECT_EQ(find(map)->colour, red);
  EXPECT_EQ(getLoanCollection().find(today)->item(), u"Map");
}

TEST_F(RowDrawing, AnniversaryRowsShowNextOccurrenceYearsAndFriend) {
  const RecordId ann = addFriend(u"Ann", u"Baker", 4);
  addAnniversary(u"Birthday", ann, date(1995, 3, 4));
  addAnniversary(u"Founding", 0, date(2000, 1, 2));
  makeList(ListKind::Anniversaries);
  fillFromStore();
  // Now is 2025-01-15: 4 March comes this year, 2 January only next year.
  EXPECT_THAT(drawnLines(), ElementsAre(shortDate(date(2025, 3, 4)) + ", Birthday [30]", "Ann Baker",
                                        shortDate(date(2026, 1, 2)) + ", Founding [26]", "General anniversary"));
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
  const Drawn* empty = find("Empty List");
  ASSERT_NE(empty, nullptr);
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
  EXPECT_EQ(find("Empty List"), nullptr);
  EXPECT_NE(find("Kite"), nullptr);
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
  ASSERT_NE(find("Scarf"), nullptr);
  const LONG phoneWidth = find("Scarf")->rect.right - find("Scarf")->rect.left;
  EXPECT_LT(phoneWidth, pocketWidth);
  EXPECT_GT(pocketHeight, 0);
}

}  // namespace
}  // namespace pellucard::testing
