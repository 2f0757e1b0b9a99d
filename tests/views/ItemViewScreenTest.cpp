// The item view screen inside a stand-in frame: the lines of each kind, the overdue return
// date, removal and the way back, the friend of an item, and the notes on both editions.
#include <gtest/gtest.h>

#include "platform/shell/Shell.h"
#include "tests/views/ScreenFixture.h"

namespace pellucard::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::string systemDate(const SYSTEMTIME& st) {
  WCHAR buffer[64] = {};
  GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 64);
  return platform::toUtf8(buffer);
}

class ItemView : public ScreenFixture, public ::testing::WithParamInterface<platform::Edition> {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    bootAs(GetParam(), pocketPc() ? 240 : 176, pocketPc() ? 320 : 220);
    ann = addFriend(u"Ann", u"Baker");
  }
  bool pocketPc() const { return GetParam() == platform::Edition::PocketPc; }
  HWND card() const { return itemCard(); }
  std::vector<std::string> lines() const { return textsIn(card()); }
  RecordId ann = 0;
};

TEST_P(ItemView, ALoanWithoutReturnDateShowsThreeLinesAndAnOverdueOneARedFourth) {
  // The device's clock stands at 2025-01-15 10:00.
  const RecordId open = addLoan(u"Ladder", kLoanTo, ann, SYSTEMTIME{});
  const RecordId late = addLoan(u"Drill", kLoanFrom, ann, date(2025, 1, 10));
  const RecordId due = addLoan(u"Tent", kLoanTo, ann, date(2025, 2, 1));
  makeFrame();
  openItem(kRecordLoan, open);
  EXPECT_EQ(frame->current, kItemViewScreenId);
  const std::string lent = "Loan Date: " + systemDate(date(2024, 11, 1));
  EXPECT_THAT(lines(), ElementsAre("Ladder", "To: Ann Baker", lent));

  back();
  openItem(kRecordLoan, late);
  EXPECT_THAT(lines(), ElementsAre("Drill", "From: Ann Baker", lent, "Return Date: " + systemDate(date(2025, 1, 10))));
  const std::vector<Drawn> drawn = drawnIn(card());
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_EQ(drawn[3].colour, RGB(224, 0, 0));
  EXPECT_EQ(drawn[2].colour, RGB(0, 0, 0)) << "the colour is restored after the red line";
  EXPECT_EQ(drawn[1].rect.top - drawn[0].rect.top, drawn[2].rect.top - drawn[1].rect.top) << "one line height apart";
  EXPECT_THAT(device->dump(), HasSubstr("color=#E00000"));

  back();
  openItem(kRecordLoan, due);
  ASSERT_EQ(drawnIn(card()).size(), 4u);
  EXPECT_EQ(drawnIn(card())[3].colour, RGB(0, 0, 0)) << "not due yet";
}

TEST_P(ItemView, AGiftOfARemovedFriendSaysNotSpecifiedOrGeneralIdea) {
  const RecordId zoe = addFriend(u"Zoe", u"Adams");
  const RecordId from = addGiftOn(u"Scarf", kGiftFrom, zoe, date(2024, 12, 24));
  const RecordId forHer = addGiftOn(u"Book", kGiftFor, zoe, date(2024, 12, 24));
  const RecordId idea = addGiftOn(u"Kite", kGiftIdea, zoe, date(2024, 12, 24));
  const std::string when = "Gift Date: " + systemDate(date(2024, 12, 24));
  makeFrame();
  openItem(kRecordGift, idea);
  EXPECT_THAT(lines(), ElementsAre("Kite", "Idea for: Zoe Adams", when));
  getFriendCollection().remove(zoe);
  openItem(kRecordGift, from);
  EXPECT_THAT(lines(), ElementsAre("Scarf", "From: Not specified", when));
  openItem(kRecordGift, forHer);
  EXPECT_THAT(lines(), ElementsAre("Book", "For: Not specified", when));
  openItem(kRecordGift, idea);
  EXPECT_THAT(lines(), ElementsAre("Kite", "General idea", when));
}

TEST_P(ItemView, AnniversariesCountTheYearsAndNameTheFriend) {
  const RecordId birthday = addAnniversary(u"Birthday", ann, date(1990, 6, 1));
  const RecordId general = addAnniversary(u"Founding", 0, date(2000, 1, 10));
  makeFrame();
  openItem(kRecordAnniversary, birthday);
  EXPECT_THAT(lines(), ElementsAre("Birthday [35]", "Date: " + systemDate(date(1990, 6, 1)), "Friend: Ann Baker"));
  openItem(kRecordAnniversary, general);
  // 10 January has passed on 15 January 2025: the next one is in 2026.
  EXPECT_THAT(lines(), ElementsAre("Founding [26]", "Date: " + systemDate(date(2000, 1, 10)), "General anniversary"));
  const RecordId yearless = addAnniversary(u"Name day", ann, date(Anniversary::kUnknownYear, 6, 20));
  openItem(kRecordAnniversary, yearless);
  EXPECT_EQ(lines().front(), "Name day") << "a day imported without its year has no count";
}

TEST_P(ItemView, RemovingReturnsToTheScreenThatOpenedTheView) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  const RecordId book = addGiftOn(u"Book", kGiftFor, ann, date(2024, 4, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kGiftListId);
  command(1023);  // Book, the first row by name
  ASSERT_EQ(frame->current, kItemViewScreenId);
  EXPECT_THAT(commandAnswering(ID_ITEM_REMOVE, "N"), HasSubstr("Permanently delete this item?"));
  EXPECT_EQ(frame->current, kItemViewScreenId);
  EXPECT_NE(getGiftCollection().find(book), nullptr);

  commandAnswering(ID_ITEM_REMOVE, "Y");
  EXPECT_EQ(getGiftCollection().find(book), nullptr);
  EXPECT_THAT(frame->reloads, ElementsAre(kGiftListId));
  EXPECT_THAT(frame->main.reloads, ElementsAre(kGiftListId));
  EXPECT_EQ(frame->current, kFriendDetailsScreenId);
  EXPECT_THAT(rowsOf(detailsList(kGiftListId)), ElementsAre(scarf));
  // Back on the item view, the card shows nothing of the removed gift.
  frame->switchTo(kItemViewScreenId, true);
  device->runUntilIdle();
  EXPECT_TRUE(lines().empty());
  back();

  back();
  EXPECT_EQ(frame->current, kMainScreenId);
  openItem(kRecordGift, scarf);
  commandAnswering(ID_ITEM_REMOVE, "Y");
  EXPECT_EQ(frame->current, kMainScreenId);
  EXPECT_TRUE(frame->history.empty());
}

TEST_P(ItemView, BackFromAFriendOpenedHereSkipsTheItemView) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  const RecordId general = addGiftOn(u"Vase", kGiftIdea, 0, date(2024, 3, 1));
  makeFrame();
  openItem(kRecordGift, general);
  command(ID_ITEM_FRIEND_DETAILS);
  EXPECT_EQ(frame->current, kItemViewScreenId) << "an item without a friend has no friend to show";

  openItem(kRecordGift, scarf);
  command(ID_ITEM_FRIEND_DETAILS);
  EXPECT_EQ(frame->current, kFriendDetailsScreenId);
  EXPECT_EQ(frame->title(), u"Ann Baker");
  EXPECT_THAT(textsIn(detailsCard()), ElementsAre("Ann\nBaker"));
  back();
  EXPECT_EQ(frame->current, kMainScreenId);
  EXPECT_EQ(frame->title(), u"Pellucard");
}

TEST_P(ItemView, CancelAndDoneGoBackAndTheDoneButtonIsShownOnAPocketPc) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  makeFrame();
  openItem(kRecordGift, scarf);
  EXPECT_EQ(platform::shell::hasDoneButton(frame->hwnd()), pocketPc());
  EXPECT_FALSE(frame->sipButton && pocketPc()) << "no input-panel button here";
  EXPECT_EQ(GetFocus(), card());
  SetFocus(frame->hwnd());
  SetFocus(frame->itemView.hwnd());
  EXPECT_EQ(GetFocus(), card()) << "the card takes the screen's focus";
  command(ID_ITEM_CANCEL);
  EXPECT_EQ(frame->current, kMainScreenId);
  EXPECT_FALSE(platform::shell::hasDoneButton(frame->hwnd()));
  openItem(kRecordGift, scarf);
  command(IDOK);
  EXPECT_EQ(frame->current, kMainScreenId);
}

TEST_P(ItemView, EditingUpdatesTheCardAtOnceButNotTheLists) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  FormsStandIn forms;
  forms.onRun = [&](FormsStandIn::Call call) {
    EXPECT_EQ(call.kind, kRecordGift);
    EXPECT_EQ(call.record, scarf);
    EXPECT_EQ(call.preset, 0);
    Gift* gift = getGiftCollection().find(scarf);
    gift->assign(u"Silk scarf", kGiftFrom, static_cast<LONG>(ann), date(2024, 3, 1), u"Blue.");
    getGiftCollection().update(*gift);
  };
  setFormLauncher(&forms);
  makeFrame();
  openItem(kRecordGift, scarf);
  command(ID_ITEM_EDIT);
  ASSERT_EQ(forms.calls.size(), 1u);
  EXPECT_EQ(lines().front(), "Silk scarf");
  EXPECT_THAT(lines(), ::testing::Contains("Blue."));
  EXPECT_TRUE(frame->reloads.empty());
}

TEST_P(ItemView, NotesScrollByKeysAndOnAPocketPcByTheScrollBar) {
  std::u16string notes;
  for (int i = 0; i < 30; ++i) notes += u"Note line " + platform::toUtf16(std::to_string(i)) + u"\r\n";
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1), notes);
  const RecordId plain = addGiftOn(u"Book", kGiftFrom, ann, date(2024, 3, 1), u"Short.");
  makeFrame();
  openItem(kRecordGift, scarf);
  EXPECT_NE(GetWindowLongW(card(), GWL_STYLE) & WS_VSCROLL, 0);
  device->key(VK_DOWN);
  device->key(VK_DOWN);
  EXPECT_EQ(notesPosition(card()), 40);
  device->key(VK_UP);
  EXPECT_EQ(notesPosition(card()), 20);
  SendMessageW(card(), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 50), 0);
  EXPECT_EQ(notesPosition(card()), pocketPc() ? 50 : 20);
  SendMessageW(card(), WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(notesPosition(card()), pocketPc() ? 0 : 20);

  openItem(kRecordGift, plain);
  EXPECT_EQ(GetWindowLongW(card(), GWL_STYLE) & WS_VSCROLL, 0);
  EXPECT_EQ(notesPosition(card()), 0);
  device->key(VK_DOWN);
  EXPECT_EQ(notesPosition(card()), 0);
}

TEST_P(ItemView, RelayoutLeavesAnEmptyCardUntilTheNextShow) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  makeFrame();
  openItem(kRecordGift, scarf);
  const HWND before = card();
  SendMessageW(frame->itemView.hwnd(), UM_LAYOUTCHANGED, kItemViewScreenId, 0);
  device->runUntilIdle();
  EXPECT_NE(card(), before);
  EXPECT_TRUE(lines().empty());
  RECT client{};
  GetClientRect(frame->itemView.hwnd(), &client);
  RECT cardRect{};
  GetClientRect(card(), &cardRect);
  EXPECT_EQ(cardRect.right, client.right);
  EXPECT_FALSE(frame->itemView.show(kRecordGift, 424242)) << "an unknown id shows nothing";
  EXPECT_TRUE(frame->itemView.show(kRecordGift, scarf));
  device->runUntilIdle();
  EXPECT_EQ(lines().front(), "Scarf");
}

INSTANTIATE_TEST_SUITE_P(Editions, ItemView,
                         ::testing::Values(platform::Edition::PocketPc, platform::Edition::Smartphone));

}  // namespace
}  // namespace pellucard::testing
