// The friend details screen inside a stand-in frame: the card, the three lists with their own
// sort and filter, the menus the screen asks for, removal, opening items and the exports.
#include <gtest/gtest.h>

#include "outlook/OutlookConnection.h"
#include "platform/pim/Contact.h"
#include "skin/JpegEncoder.h"
#include "tests/views/ScreenFixture.h"

namespace pellucard::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr UINT kSeparator = 0;

class FriendDetails : public ScreenFixture {
 protected:
  void SetUp() override {
    ScreenFixture::SetUp();
    ann = addFriend(u"Ann", u"Baker");
    zoe = addFriend(u"Zoe", u"Adams");
  }
  RecordId ann = 0;
  RecordId zoe = 0;
};

TEST_F(FriendDetails, OpensOnTheCardWithTheNameInTheTitle) {
  makeFrame();
  openFriend(ann);
  EXPECT_EQ(frame->current, kFriendDetailsScreenId);
  EXPECT_EQ(frame->title(), u"Ann Baker");
  EXPECT_EQ(detailsTab(), FriendDetailsScreen::kDetailsTab);
  EXPECT_TRUE(showsText("Details"));
  EXPECT_EQ(frame->menuBar, 1508u);
  // "Switch to Friends View" after a separator at position 2 of the card's menu.
  EXPECT_THAT(frame->menuIds(), ElementsAre(1011, 1019, kSeparator, 1112, kSeparator, 1003));
  EXPECT_FALSE(frame->sipButton) << "no input-panel button on the card";
  EXPECT_EQ(GetFocus(), detailsHeader());
  const HWND card = detailsCard();
  EXPECT_EQ(GetWindowLongW(card, GWL_STYLE) & ~WS_VSCROLL, static_cast<LONG>(0x50000000));
  EXPECT_THAT(textsIn(card), ElementsAre("Ann\nBaker"));

  command(1112);
  EXPECT_EQ(frame->current, kMainScreenId);
  EXPECT_EQ(frame->title(), u"Pellucard");
}

TEST_F(FriendDetails, ListsHoldOnlyTheFriendsItemsWithTheirNames) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  addGiftOn(u"Book", kGiftFor, zoe, date(2024, 4, 1));
  const RecordId apron = addGiftOn(u"Apron", kGiftIdea, ann, date(2024, 5, 1));
  const RecordId drill = addLoan(u"Drill", kLoanFrom, ann, SYSTEMTIME{});
  addLoan(u"Tent", kLoanTo, zoe, SYSTEMTIME{});
  const RecordId birthday = addAnniversary(u"Birthday", ann, date(1990, 6, 1));
  makeFrame();
  openFriend(ann);
  const HWND gifts = detailsList(kGiftListId);
  EXPECT_THAT(rowsOf(gifts), ElementsAre(apron, scarf)) << "sorted by name";
  EXPECT_EQ(rowText(gifts, 0), u"Apron");
  EXPECT_THAT(rowsOf(detailsList(kLoanListId)), ElementsAre(drill));
  EXPECT_EQ(rowText(detailsList(kLoanListId), 0), u"Drill");
  EXPECT_THAT(rowsOf(detailsList(kAnniversaryListId)), ElementsAre(birthday));
  EXPECT_EQ(GetWindowLongW(gifts, GWL_STYLE) & ~WS_VISIBLE, static_cast<LONG>(0x5000C405 & ~WS_VISIBLE));

  // The friend has loans and anniversaries: their exports stay available.
  selectTab(kAnniversaryListId);
  EXPECT_FALSE(frame->greyed(1050));
  selectTab(kLoanListId);
  EXPECT_FALSE(frame->greyed(1131));

  selectTab(kGiftListId);
  EXPECT_EQ(frame->menuBar, 1502u);
  EXPECT_TRUE(frame->sipButton) << "list tabs have the input-panel button";
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1028, 1024));
  EXPECT_EQ(frame->menuIds()[3], kSeparator);
  EXPECT_EQ(frame->menuIds()[4], 1112u);
  EXPECT_TRUE(IsWindowVisible(gifts));
  EXPECT_FALSE(IsWindowVisible(detailsCard()));
}

TEST_F(FriendDetails, ExportToTasksIsGreyedForAFriendWithoutLoansUntilOneIsAdded) {
  addLoan(u"Tent", kLoanTo, zoe, SYSTEMTIME{});
  makeFrame();
  openFriend(ann);
  selectTab(kLoanListId);
  EXPECT_EQ(frame->menuBar, 1504u);
  EXPECT_TRUE(frame->greyed(1131));
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1037, 1034));

  FormsStandIn forms;
  forms.onRun = [&](FormsStandIn::Call call) {
    EXPECT_EQ(call.kind, kRecordLoan);
    EXPECT_EQ(call.record, 0u);
    EXPECT_EQ(call.preset, static_cast<LONG>(ann));
    addLoan(u"Drill", kLoanFrom, ann, SYSTEMTIME{});
  };
  setFormLauncher(&forms);
  command(1030);
  ASSERT_EQ(forms.calls.size(), 1u);
  EXPECT_EQ(rowCount(detailsList(kLoanListId)), 1);
  EXPECT_THAT(frame->reloads, ElementsAre(kLoanListId));
  EXPECT_THAT(frame->main.reloads, ElementsAre(kLoanListId));
  selectTab(kGiftListId);
  selectTab(kLoanListId);
  EXPECT_FALSE(frame->greyed(1131));
}

TEST_F(FriendDetails, ExportToCalendarIsGreyedForAFriendWithoutAnniversaries) {
  addAnniversary(u"Birthday", zoe, date(1990, 6, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kAnniversaryListId);
  EXPECT_EQ(frame->menuBar, 1506u);
  EXPECT_TRUE(frame->greyed(1050));
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1046, 1044));
  openFriend(zoe);
  selectTab(kAnniversaryListId);
  EXPECT_FALSE(frame->greyed(1050));
}

TEST_F(FriendDetails, DateTwiceSortsNewestFirstThenOldestFirst) {
  const RecordId march = addGiftOn(u"Cup", kGiftFrom, ann, date(2024, 3, 1));
  const RecordId may = addGiftOn(u"Apron", kGiftFrom, ann, date(2024, 5, 1));
  const RecordId april = addGiftOn(u"Book", kGiftFrom, ann, date(2024, 4, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kGiftListId);
  const HWND gifts = detailsList(kGiftListId);
  EXPECT_THAT(rowsOf(gifts), ElementsAre(may, april, march));
  command(1029);
  EXPECT_THAT(rowsOf(gifts), ElementsAre(may, april, march)) << "newest first";
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1029, 1024));
  command(1029);
  EXPECT_THAT(rowsOf(gifts), ElementsAre(march, april, may));
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1029, 1024));
  // The menubar was asked for again: the extra item is there once.
  const std::vector<UINT> items = frame->menuIds();
  EXPECT_EQ(std::count(items.begin(), items.end(), 1112u), 1);
  command(1028);
  EXPECT_THAT(rowsOf(gifts), ElementsAre(may, april, march)) << "by name, ascending: Apron, Book, Cup";
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1028, 1024));
  command(1028);
  EXPECT_THAT(rowsOf(gifts), ElementsAre(march, april, may));
}

TEST_F(FriendDetails, LoanAndAnniversaryDateModesStartNewestFirst) {
  const RecordId soon = addLoan(u"Axe", kLoanFrom, ann, date(2025, 2, 1));
  const RecordId later = addLoan(u"Cart", kLoanFrom, ann, date(2025, 6, 1));
  const RecordId latest = addLoan(u"Boat", kLoanFrom, ann, date(2025, 9, 1));
  const RecordId spring = addAnniversary(u"Alpha", ann, date(1990, 3, 1));
  const RecordId summer = addAnniversary(u"Beta", ann, date(1980, 6, 1));
  const RecordId winter = addAnniversary(u"Gamma", ann, date(2000, 12, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kLoanListId);
  const HWND loans = detailsList(kLoanListId);
  EXPECT_THAT(rowsOf(loans), ElementsAre(soon, latest, later)) << "by item";
  command(1039);
  EXPECT_THAT(rowsOf(loans), ElementsAre(latest, later, soon)) << "return date, newest first";
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1039, 1034));
  command(1130);
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1130, 1034));

  selectTab(kAnniversaryListId);
  const HWND days = detailsList(kAnniversaryListId);
  command(1048);
  EXPECT_THAT(rowsOf(days), ElementsAre(winter, summer, spring)) << "day of year, latest first";
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1048, 1044));
  command(1047);
  EXPECT_THAT(rowsOf(days), ElementsAre(winter, spring, summer)) << "date, newest first";
  command(1046);
  EXPECT_THAT(rowsOf(days), ElementsAre(spring, summer, winter)) << "name, ascending";
}

TEST_F(FriendDetails, FiltersMarkTheTabAndCheckTheirItem) {
  addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  const RecordId idea = addGiftOn(u"Kite", kGiftIdea, ann, date(2024, 3, 1));
  addLoan(u"Drill", kLoanFrom, ann, date(2025, 3, 1));
  const RecordId late = addLoan(u"Tent", kLoanTo, ann, date(2025, 1, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kGiftListId);
  command(1027);
  EXPECT_THAT(rowsOf(detailsList(kGiftListId)), ElementsAre(idea));
  EXPECT_TRUE(showsText("Gifts (F)"));
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1028, 1027));
  command(1024);
  EXPECT_EQ(rowCount(detailsList(kGiftListId)), 2);
  EXPECT_TRUE(showsText("Gifts"));
  EXPECT_FALSE(showsText("Gifts (F)"));

  selectTab(kLoanListId);
  command(1132);
  EXPECT_THAT(rowsOf(detailsList(kLoanListId)), ElementsAre(late));
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1037, 1132));
  EXPECT_TRUE(showsText("Loans (F)"));

  // Another friend starts over: first sort, no filter, on the card.
  openFriend(zoe);
  EXPECT_EQ(detailsTab(), FriendDetailsScreen::kDetailsTab);
  selectTab(kGiftListId);
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1028, 1024));
  EXPECT_TRUE(showsText("Gifts"));
  selectTab(kLoanListId);
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1037, 1034));
  EXPECT_TRUE(showsText("Loans"));
  EXPECT_FALSE(showsText("Loans (F)"));
}

TEST_F(FriendDetails, RemovingAGiftAsksFirstAndRefreshesTheMainList) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  const RecordId book = addGiftOn(u"Book", kGiftFor, ann, date(2024, 4, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kGiftListId);
  const std::string question = commandAnswering(1022, "N");
  EXPECT_THAT(question, HasSubstr("Permanently delete this item?"));
  EXPECT_THAT(question, HasSubstr("\"Pellucard\""));
  EXPECT_NE(getGiftCollection().find(book), nullptr);
  EXPECT_TRUE(frame->reloads.empty());

  commandAnswering(1022, "Y");
  EXPECT_EQ(getGiftCollection().find(book), nullptr) << "Book is the first row by name";
  EXPECT_THAT(rowsOf(detailsList(kGiftListId)), ElementsAre(scarf));
  EXPECT_THAT(frame->reloads, ElementsAre(kGiftListId));
  EXPECT_THAT(frame->main.reloads, ElementsAre(kGiftListId));
}

TEST_F(FriendDetails, EditingAGiftRefillsOnlyThisList) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  FormsStandIn forms;
  forms.onRun = [&](FormsStandIn::Call) {
    Gift* gift = getGiftCollection().find(scarf);
    gift->assign(u"Woollen scarf", kGiftFrom, static_cast<LONG>(ann), date(2024, 3, 1), u"");
    getGiftCollection().update(*gift);
  };
  setFormLauncher(&forms);
  makeFrame();
  openFriend(ann);
  selectTab(kGiftListId);
  command(1021);
  ASSERT_EQ(forms.calls.size(), 1u);
  EXPECT_EQ(forms.calls[0].record, scarf);
  EXPECT_EQ(forms.calls[0].preset, static_cast<LONG>(ann));
  EXPECT_EQ(rowText(detailsList(kGiftListId), 0), u"Woollen scarf");
  EXPECT_TRUE(frame->reloads.empty());
}

TEST_F(FriendDetails, CommandsThatNeedAFormOrARowDoNothingWithout) {
  makeFrame();
  openFriend(ann);
  selectTab(kGiftListId);
  command(1020);
  command(1021);
  command(1022);
  command(1023);
  command(1011);
  EXPECT_TRUE(frame->reloads.empty());
  EXPECT_TRUE(frame->shown.size() == 1) << "only the friend itself was opened";
  EXPECT_EQ(frame->current, kFriendDetailsScreenId);
}

TEST_F(FriendDetails, DetailsAndActivationOpenTheItemView) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  const RecordId drill = addLoan(u"Drill", kLoanFrom, ann, SYSTEMTIME{});
  makeFrame();
  openFriend(ann);
  selectTab(kGiftListId);
  command(1023);
  ASSERT_EQ(frame->shown.size(), 2u);
  EXPECT_EQ(frame->shown[1].id, scarf);
  EXPECT_EQ(frame->shown[1].kind, kRecordGift);
  EXPECT_EQ(frame->current, kItemViewScreenId);
  back();
  EXPECT_EQ(frame->current, kFriendDetailsScreenId);
  EXPECT_EQ(frame->title(), u"Ann Baker");

  selectTab(kLoanListId);
  NMITEMACTIVATE activate{};
  activate.hdr.hwndFrom = detailsList(kLoanListId);
  activate.hdr.idFrom = kLoanListId;
  activate.hdr.code = LVN_ITEMACTIVATE;
  activate.iItem = 0;
  SendMessageW(frame->details.hwnd(), WM_NOTIFY, kLoanListId, reinterpret_cast<LPARAM>(&activate));
  device->runUntilIdle();
  ASSERT_EQ(frame->shown.size(), 3u);
  EXPECT_EQ(frame->shown[2].id, drill);
  EXPECT_EQ(frame->shown[2].kind, kRecordLoan);
}

TEST_F(FriendDetails, ExportingAFriendWithoutAnniversariesReportsSuccess) {
  addAnniversary(u"Birthday", zoe, date(1990, 6, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kAnniversaryListId);
  const std::string message = commandAnswering(1050, "ENTER");
  EXPECT_THAT(message, HasSubstr("Anniversary items were successfully exported to the Calendar."));
}

TEST_F(FriendDetails, AFailedLoanExportIsReportedOnce) {
  // No contacts, calendar or tasks service is running: every export fails.
  addLoan(u"Drill", kLoanFrom, ann, date(2025, 3, 1));
  addLoan(u"Tent", kLoanTo, ann, date(2025, 3, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kLoanListId);
  const std::string message = commandAnswering(1131, "ENTER");
  EXPECT_THAT(message, HasSubstr("Failed to export loan item to Tasks."));
}

TEST_F(FriendDetails, AFriendThatIsGoneLeavesAnEmptyCardAndEmptyLists) {
  addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  makeFrame();
  openFriend(ann);
  EXPECT_EQ(rowCount(detailsList(kGiftListId)), 1);
  getFriendCollection().remove(ann);
  SendMessageW(frame->hwnd(), UM_RELOADLIST, kFriendListId, 0);
  device->runUntilIdle();
  EXPECT_EQ(rowCount(detailsList(kGiftListId)), 0);
  InvalidateRect(detailsCard(), nullptr, TRUE);
  selectTab(FriendDetailsScreen::kDetailsTab);
  EXPECT_TRUE(textsIn(detailsCard()).empty());
  openFriend(99999);
  EXPECT_EQ(frame->title(), u"Pellucard");
  EXPECT_EQ(rowCount(detailsList(kGiftListId)), 0);
}

TEST_F(FriendDetails, RelayoutKeepsTheFriendTheTabAndTheListState) {
  const RecordId scarf = addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  const RecordId book = addGiftOn(u"Book", kGiftFor, ann, date(2024, 4, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kGiftListId);
  command(1029);
  SendMessageW(frame->details.hwnd(), UM_LAYOUTCHANGED, kFriendDetailsScreenId, 0);
  device->runUntilIdle();
  EXPECT_EQ(detailsTab(), kGiftListId);
  EXPECT_TRUE(IsWindowVisible(detailsList(kGiftListId)));
  EXPECT_THAT(rowsOf(detailsList(kGiftListId)), ElementsAre(book, scarf)) << "still by date, newest first";
  selectTab(kAnniversaryListId);
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1046, 1044));
  selectTab(kGiftListId);
  EXPECT_THAT(frame->checkedItems(), ElementsAre(1029, 1024));
  // The header holds the four tabs once: Right goes round them back to the gifts.
  std::vector<UINT> round;
  for (int i = 0; i < 4; ++i) {
    stepTab();
    round.push_back(detailsTab());
  }
  EXPECT_THAT(round, ElementsAre(kAnniversaryListId, kLoanListId, FriendDetailsScreen::kDetailsTab, kGiftListId));
  selectTab(FriendDetailsScreen::kDetailsTab);
  EXPECT_THAT(textsIn(detailsCard()), ElementsAre("Ann\nBaker")) << "the card keeps the friend";
}

TEST_F(FriendDetails, ShowContactInfoOffersToLinkAContactAndThenOpensIt) {
  std::filesystem::create_directories(dir_ + "/pim/contacts");
  std::ofstream(dir_ + "/pim/contacts/carl.vcf") << "BEGIN:VCARD\nVERSION:3.0\nN:Cole;Carl\nFN:Carl Cole\nEND:VCARD\n";
  platform::DeviceConfig::current().pimDir = dir_ + "/pim";
  ASSERT_EQ(getOutlookConnection().start(), S_OK);
  std::vector<std::u16string> displayed;
  platform::pim::Contact::setDisplayHandler([&](const platform::pim::Contact& c) {
    displayed.push_back(c.FileAs());
    return S_OK;
  });
  int chooserCalls = 0;
  getOutlookConnection().setContactChooser([&](const std::vector<std::u16string>& names, const std::u16string&) {
    ++chooserCalls;
    return names.empty() ? -1 : 0;
  });
  makeFrame();
  openFriend(ann);
  const std::string question = commandAnswering(1019, "N");
  EXPECT_THAT(question, HasSubstr("'Ann Baker'"));
  EXPECT_THAT(question, HasSubstr("Would you like to associate contact now?"));
  EXPECT_EQ(chooserCalls, 0);
  EXPECT_EQ(getFriendCollection().find(ann)->contactId(), 0);
  EXPECT_TRUE(displayed.empty());

  commandAnswering(1019, "Y");
  EXPECT_EQ(chooserCalls, 1);
  EXPECT_NE(getFriendCollection().find(ann)->contactId(), 0);
  EXPECT_THAT(displayed, ElementsAre(u"Carl Cole")) << "the picked contact opens at once";

  command(1019);
  EXPECT_EQ(chooserCalls, 1) << "a linked contact is opened without asking";
  EXPECT_EQ(displayed.size(), 2u);

  // The link is in the database, not only in memory: it is there after a restart.
  const LONG linked = getFriendCollection().find(ann)->contactId();
  RecordStore::closeAll();
  ASSERT_TRUE(RecordStore::openAndLoadAll(getAppPaths().databasePath()));
  ASSERT_NE(getFriendCollection().find(ann), nullptr);
  EXPECT_EQ(getFriendCollection().find(ann)->contactId(), linked);
  platform::pim::Contact::setDisplayHandler(nullptr);
  deleteOutlookConnection();
}

TEST_F(FriendDetails, ShowContactInfoSaysWhyTheContactsCannotBeReadAndAsksNothing) {
  // A file stands where the contacts folder belongs.
  std::filesystem::create_directories(dir_ + "/pim");
  std::ofstream(dir_ + "/pim/contacts") << "not a folder";
  platform::DeviceConfig::current().pimDir = dir_ + "/pim";
  EXPECT_TRUE(FAILED(getOutlookConnection().start()));
  int chooserCalls = 0;
  getOutlookConnection().setContactChooser([&](const std::vector<std::u16string>&, const std::u16string&) {
    ++chooserCalls;
    return 0;
  });
  makeFrame();
  openFriend(ann);
  const std::string message = commandAnswering(1019, "ENTER");
  EXPECT_THAT(message, HasSubstr("Pellucard cannot read the contacts in"));
  EXPECT_THAT(message, HasSubstr("a file stands where that folder should be"));
  EXPECT_THAT(message, Not(HasSubstr("Would you like to associate")));
  EXPECT_EQ(chooserCalls, 0);
  EXPECT_EQ(getFriendCollection().find(ann)->contactId(), 0);

  // Once the folder is mended, the same command starts the service and offers the link.
  std::filesystem::remove(dir_ + "/pim/contacts");
  EXPECT_THAT(commandAnswering(1019, "N"), HasSubstr("Would you like to associate contact now?"));
  deleteOutlookConnection();
}

// Notes longer than their area scroll on both editions: by keys on both, by the scroll bar
// on a Pocket PC only.
class FriendNotes : public ScreenFixture, public ::testing::WithParamInterface<platform::Edition> {
 protected:
  bool pocketPc() const { return GetParam() == platform::Edition::PocketPc; }
};

TEST_P(FriendNotes, ScrollWhenTallerThanTheirArea) {
  bootAs(GetParam(), pocketPc() ? 240 : 176, pocketPc() ? 320 : 220);
  std::u16string notes;
  for (int i = 0; i < 40; ++i) notes += u"Line of notes number " + platform::toUtf16(std::to_string(i)) + u"\r\n";
  const RecordId longNotes = addFriendWithNotes(u"Ann", u"Baker", notes);
  const RecordId shortNotes = addFriendWithNotes(u"Zoe", u"Adams", u"Likes tea.");
  makeFrame();
  openFriend(longNotes);
  const HWND card = detailsCard();
  EXPECT_NE(GetWindowLongW(card, GWL_STYLE) & WS_VSCROLL, 0);
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  ASSERT_TRUE(GetScrollInfo(card, SB_VERT, &info));
  const RECT r1 = ImageCache::instance().layout().rectR1();
  EXPECT_EQ(info.nMin, 0);
  EXPECT_GT(info.nMax, r1.bottom - r1.top);
  EXPECT_EQ(static_cast<int>(info.nPage), r1.bottom - r1.top);
  // The notes' pixels on the screen: they change as the text scrolls and come back with it.
  const auto notesPixels = [&] {
    POINT origin{r1.left, r1.top};
    ClientToScreen(card, &origin);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r1.bottom - r1.top; y += 2) {
      for (int x = 0; x < r1.right - r1.left; x += 2) pixels.push_back(device->pixel(origin.x + x, origin.y + y));
    }
    return pixels;
  };
  const std::vector<COLORREF> atTop = notesPixels();

  device->key(VK_DOWN);  // through the header, which passes keys to the card
  EXPECT_EQ(notesPosition(card), 20);
  EXPECT_NE(notesPixels(), atTop);
  device->key(VK_UP);
  device->key(VK_UP);
  EXPECT_EQ(notesPosition(card), 0);
  EXPECT_EQ(notesPixels(), atTop);

  SendMessageW(card, WM_VSCROLL, SB_LINEDOWN, 0);
  device->runUntilIdle();
  EXPECT_EQ(notesPosition(card), pocketPc() ? 14 : 0);
  SendMessageW(card, WM_VSCROLL, SB_BOTTOM, 0);
  device->runUntilIdle();
  EXPECT_EQ(notesPosition(card), pocketPc() ? static_cast<int>(info.nMax) - (r1.bottom - r1.top) : 0);

  openFriend(shortNotes);
  EXPECT_EQ(GetWindowLongW(card, GWL_STYLE) & WS_VSCROLL, 0);
  device->key(VK_DOWN);
  EXPECT_EQ(notesPosition(card), 0);
  EXPECT_THAT(textsIn(card), ::testing::Contains("Likes tea."));
  EXPECT_EQ(frame->sipButtonRequests > 0, pocketPc()) << "a Smartphone has no input-panel button";
}

TEST_F(FriendDetails, BackEditsAListSearchBeforeItLeavesTheScreen) {
  addGiftOn(u"Scarf", kGiftFrom, ann, date(2024, 3, 1));
  addGiftOn(u"Book", kGiftFor, ann, date(2024, 4, 1));
  makeFrame();
  openFriend(ann);
  selectTab(kGiftListId);
  SetFocus(frame->hwnd());
  SetFocus(frame->details.hwnd());
  device->runUntilIdle();
  EXPECT_EQ(GetFocus(), detailsHeader()) << "the header takes the screen's focus";
  device->type(u"s");
  EXPECT_EQ(rowCount(detailsList(kGiftListId)), 1);
  back();
  EXPECT_EQ(frame->current, kFriendDetailsScreenId) << "Back deleted the typed key";
  EXPECT_EQ(rowCount(detailsList(kGiftListId)), 2);
  back();
  EXPECT_EQ(frame->current, kMainScreenId);
}

TEST_F(FriendDetails, TheCardShowsTheFriendsPictureAtTheRightOfTheHeader) {
  RgbImage green{64, 48, {}};
  for (int i = 0; i < 64 * 48; ++i) green.rgb.insert(green.rgb.end(), {0, 255, 0});
  const auto bytes = JpegEncoder::encode(green);
  ASSERT_TRUE(bytes);
  ASSERT_TRUE(getFriendCollection().find(ann)->picture().loadFromBytes(*bytes));
  makeFrame();
  openFriend(ann);
  const HWND card = detailsCard();
  POINT origin{0, 0};
  ClientToScreen(card, &origin);
  // The Pocket PC 240 layout: header 10..224 by 0..58; the picture fits 50x50 as 50x37.
  const RECT header = ImageCache::instance().layout().headerRect();
  auto isGreen = [](COLORREF c) { return GetGValue(c) > 200 && GetRValue(c) < 60 && GetBValue(c) < 60; };
  EXPECT_TRUE(isGreen(device->pixel(origin.x + header.right - 25, origin.y + header.bottom / 2)));
  EXPECT_TRUE(isGreen(device->pixel(origin.x + header.right - 2, origin.y + header.bottom / 2 - 17)));
  EXPECT_FALSE(isGreen(device->pixel(origin.x + header.right - 52, origin.y + header.bottom / 2)));
  EXPECT_FALSE(isGreen(device->pixel(origin.x + header.right - 25, origin.y + 2)));
}

TEST_F(FriendDetails, OnANarrowSmartphoneTheNotesStayInsideTheCard) {
  bootAs(platform::Edition::Smartphone, 176, 220);
  const RecordId carl = addFriendWithNotes(u"Carl", u"Cole", u"A note long enough to wrap more than once on a screen.");
  makeFrame();
  openFriend(carl);
  POINT origin{0, 0};
  ClientToScreen(detailsCard(), &origin);
  const std::vector<Drawn> drawn = drawnIn(detailsCard());
  ASSERT_FALSE(drawn.empty());
  for (const auto& d : drawn) {
    EXPECT_LE(d.rect.right, 176) << d.text;
    if (d.text.starts_with("A note")) {
      // The layout's notes rectangle ends at 230: it is cut at the scroll bar's edge.
      EXPECT_GE(d.rect.left - origin.x, ImageCache::instance().layout().rectR1().left);
      EXPECT_LE(d.rect.right - origin.x, 176 - GetSystemMetrics(SM_CXVSCROLL));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Editions, FriendNotes,
                         ::testing::Values(platform::Edition::PocketPc, platform::Edition::Smartphone));

}  // namespace
}  // namespace pellucard::testing
