// The main screen in this process: sorting and filtering with their check marks, the filter
// mark on the tabs, greyed exports, removal with its questions, export messages, and the
// return to defaults on a second start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/base/FaultInjection.h"
#include "tests/app/AppHarness.h"
#include "tests/support/FileBytes.h"
#include "views/FormLauncher.h"

namespace pellucard::testing {
namespace {

std::string readText(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Stands in for the forms: records what was asked and adds a gift when asked for a new one.
class RecordingForms : public FormLauncher {
 public:
  struct Call {
    int kind;
    RecordId record;
    LONG presetFriend;
    bool operator==(const Call&) const = default;
  };
  bool editFriend(HWND, Friend& person) override {
    friends.push_back(person.recordId());
    return true;
  }
  RecordId addFriend(HWND) override {
    auto person = std::make_unique<Friend>();
    person->assign(u"Zoe", u"New", u"", 0);
    Friend* added = person.get();
    getFriendCollection().add(std::move(person));
    friends.push_back(0);
    return added->recordId();
  }
  bool runItemForm(HWND, int kind, RecordId record, LONG presetFriend) override {
    calls.push_back(Call{kind, record, presetFriend});
    if (record == 0 && kind == kRecordGift) {
      getGiftCollection().add(std::make_unique<Gift>(u"Zither", kGiftIdea, 0, date(2024, 1, 1), u""));
    }
    return answer;
  }
  std::vector<RecordId> friends;
  std::vector<Call> calls;
  bool answer = true;
};

class MainScreenTest : public ::testing::Test {
 protected:
  AppHarness app;
};

TEST_F(MainScreenTest, ChoosingTheSameSortTwiceFlipsTheOrderAndTheMenuFollows) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  const RecordId apple = app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  const RecordId book = app.addGift(u"Book", kGiftFor, anna, date(2024, 5, 1));
  const RecordId candle = app.addGift(u"Candle", kGiftIdea, 0, date(2023, 1, 1));
  app.start();
  app.showTab(kGiftListId);
  ASSERT_EQ(app.currentTab(), kGiftListId);
  EXPECT_EQ(app.frame().menuBarId(), IDR_GIFTS_BAR);
  EXPECT_EQ(app.rows(ListKind::Gifts), (std::vector<RecordId>{apple, book, candle}));
  EXPECT_TRUE(app.checked(ID_GIFT_SORT_GIFT));
  EXPECT_TRUE(app.checked(ID_GIFT_FILTER_ALL));

  app.command(ID_GIFT_SORT_DATE);
  EXPECT_EQ(app.rows(ListKind::Gifts), (std::vector<RecordId>{book, apple, candle})) << "newest first";
  EXPECT_TRUE(app.checked(ID_GIFT_SORT_DATE));
  EXPECT_FALSE(app.checked(ID_GIFT_SORT_GIFT));
  EXPECT_TRUE(app.checked(ID_GIFT_FILTER_ALL)) << "a fresh menubar gets its filter mark back";

  app.command(ID_GIFT_SORT_DATE);
  EXPECT_EQ(app.rows(ListKind::Gifts), (std::vector<RecordId>{candle, apple, book})) << "oldest first";
  EXPECT_TRUE(app.checked(ID_GIFT_SORT_DATE));

  app.command(ID_GIFT_SORT_GIFT);
  EXPECT_EQ(app.rows(ListKind::Gifts), (std::vector<RecordId>{apple, book, candle}))
      << "a newly chosen key starts with its own order";
  EXPECT_TRUE(app.checked(ID_GIFT_SORT_GIFT));
  app.command(ID_GIFT_SORT_GIFT);
  EXPECT_EQ(app.rows(ListKind::Gifts), (std::vector<RecordId>{candle, book, apple}));
}

TEST_F(MainScreenTest, EveryAnniversaryKeyStartsAscendingHere) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  const RecordId spring = app.addAnniversary(u"Alpha", anna, date(1990, 3, 1));
  const RecordId summer = app.addAnniversary(u"Beta", anna, date(1980, 6, 1));
  const RecordId winter = app.addAnniversary(u"Gamma", anna, date(2000, 12, 1));
  app.start();
  app.showTab(kAnniversaryListId);
  app.command(ID_ANNIVERSARY_SORT_DATE);
  EXPECT_EQ(app.rows(ListKind::Anniversaries), (std::vector<RecordId>{summer, spring, winter}));
  EXPECT_TRUE(app.checked(ID_ANNIVERSARY_SORT_DATE));
  app.command(ID_ANNIVERSARY_SORT_DAY);
  EXPECT_EQ(app.rows(ListKind::Anniversaries), (std::vector<RecordId>{spring, summer, winter}));
  app.command(ID_ANNIVERSARY_SORT_DAY);
  EXPECT_EQ(app.rows(ListKind::Anniversaries), (std::vector<RecordId>{winter, summer, spring}));
}

TEST_F(MainScreenTest, OverdueFilterShowsOnlyOverdueLoansAndMarksTheTab) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  // The device clock stands at 15 January 2025.
  const RecordId late = app.addLoan(u"Drill", kLoanTo, anna, date(2024, 11, 1), date(2025, 1, 2));
  app.addLoan(u"Ladder", kLoanFrom, anna, date(2024, 12, 1), date(2025, 3, 1));
  app.addLoan(u"Tent", kLoanTo, anna, date(2024, 6, 1), SYSTEMTIME{});
  app.start();
  app.showTab(kLoanListId);
  EXPECT_EQ(app.rows(ListKind::Loans).size(), 3u);
  EXPECT_TRUE(app.showsText("Loans"));

  app.command(ID_LOAN_FILTER_OVERDUE);
  EXPECT_EQ(app.rows(ListKind::Loans), std::vector<RecordId>{late});
  EXPECT_TRUE(app.checked(ID_LOAN_FILTER_OVERDUE));
  EXPECT_FALSE(app.checked(ID_LOAN_FILTER_ALL));
  EXPECT_TRUE(app.checked(ID_LOAN_SORT_ITEM));
  EXPECT_TRUE(app.showsText("Loans (F)")) << app.device().dump();
  EXPECT_FALSE(app.showsText("Loans"));

  app.command(ID_LOAN_FILTER_ALL);
  EXPECT_EQ(app.rows(ListKind::Loans).size(), 3u);
  EXPECT_TRUE(app.showsText("Loans"));
  EXPECT_FALSE(app.showsText("Loans (F)"));
}

TEST_F(MainScreenTest, ExportsAreGreyedWhileThereIsNothingToExport) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  app.start();
  app.showTab(kAnniversaryListId);
  EXPECT_TRUE(app.greyed(ID_EXPORT_CALENDAR));
  app.showTab(kLoanListId);
  EXPECT_TRUE(app.greyed(ID_EXPORT_TASKS));

  app.addLoan(u"Drill", kLoanTo, anna, date(2024, 11, 1), date(2025, 3, 2));
  app.addAnniversary(u"Birthday", anna, date(1990, 6, 1));
  SendMessageW(app.frame().hwnd(), UM_RELOADLIST, 0, 0);
  app.showTab(kFriendListId);
  app.showTab(kAnniversaryListId);
  EXPECT_FALSE(app.greyed(ID_EXPORT_CALENDAR));
  app.showTab(kLoanListId);
  EXPECT_FALSE(app.greyed(ID_EXPORT_TASKS));
  EXPECT_EQ(app.rows(ListKind::Loans).size(), 1u);
}

TEST_F(MainScreenTest, RemovingAFriendWithoutItemsAsksOnlyOnce) {
  app.addFriend(u"Anna", u"Berg");
  const RecordId bo = app.addFriend(u"Bo", u"Carl");
  const RecordId gift = app.addGift(u"Apple", kGiftFrom, 0, date(2024, 3, 1));
  app.start();
  app.device().key(VK_DOWN);
  ASSERT_EQ(app.selectedRow(ListKind::Friends), bo);
  const std::string question = app.folder().file("question.txt");
  app.commandAnswering(ID_FRIEND_REMOVE, "dump " + question + "\nkey Y\n");
  EXPECT_NE(readText(question).find("Permanently delete this item?"), std::string::npos);
  EXPECT_FALSE(app.device().quitReceived()) << "a second question was asked";
  EXPECT_EQ(getFriendCollection().find(bo), nullptr);
  EXPECT_EQ(app.rows(ListKind::Friends).size(), 1u);
  EXPECT_NE(getGiftCollection().find(gift), nullptr);
}

TEST_F(MainScreenTest, RemovingAFriendWithItemsAsksAboutThemAndNoKeepsThem) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  const RecordId gift = app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  const RecordId loan = app.addLoan(u"Drill", kLoanTo, anna, date(2024, 11, 1), date(2025, 3, 2));
  app.start();
  const std::string second = app.folder().file("second.txt");
  app.commandAnswering(ID_FRIEND_REMOVE, "key Y\ndump " + second + "\nkey N\n");
  EXPECT_NE(readText(second).find("associated with 'Anna Berg'?"), std::string::npos) << readText(second);
  EXPECT_FALSE(app.device().quitReceived());
  EXPECT_EQ(getFriendCollection().find(anna), nullptr);
  EXPECT_NE(getGiftCollection().find(gift), nullptr);
  EXPECT_NE(getLoanCollection().find(loan), nullptr);
  EXPECT_EQ(app.rows(ListKind::Gifts), std::vector<RecordId>{gift});

  // The store agrees after a reload from the volume.
  RecordStore::closeAll();
  RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
  EXPECT_EQ(getFriendCollection().size(), 0u);
  EXPECT_EQ(getGiftCollection().size(), 1u);
  EXPECT_EQ(getLoanCollection().size(), 1u);
}

TEST_F(MainScreenTest, RemovingAFriendWithItemsAndYesRemovesThemEverywhere) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  const RecordId bo = app.addFriend(u"Bo", u"Carl");
  app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  const RecordId keep = app.addGift(u"Book", kGiftFrom, bo, date(2024, 3, 1));
  app.addLoan(u"Drill", kLoanTo, anna, date(2024, 11, 1), date(2025, 3, 2));
  app.addAnniversary(u"Birthday", anna, date(1990, 6, 1));
  app.start();
  ASSERT_EQ(app.selectedRow(ListKind::Friends), anna);
  app.commandAnswering(ID_FRIEND_REMOVE, "key Y\nkey Y\n");
  EXPECT_EQ(app.rows(ListKind::Friends), std::vector<RecordId>{bo});
  EXPECT_EQ(app.rows(ListKind::Gifts), std::vector<RecordId>{keep});
  EXPECT_TRUE(app.rows(ListKind::Loans).empty());
  EXPECT_TRUE(app.rows(ListKind::Anniversaries).empty());
  RecordStore::closeAll();
  RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
  EXPECT_EQ(getGiftCollection().size(), 1u);
  EXPECT_EQ(getLoanCollection().size(), 0u);
  EXPECT_EQ(getAnniversaryCollection().size(), 0u);
}

TEST_F(MainScreenTest, AnsweringNoToTheFirstQuestionRemovesNothing) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  const RecordId gift = app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  app.start();
  app.showTab(kGiftListId);
  app.commandAnswering(ID_GIFT_REMOVE, "key N\n");
  EXPECT_NE(getGiftCollection().find(gift), nullptr);
  EXPECT_EQ(GetFocus(), app.tabStrip()) << "keys reach the list again after the question";
  SetFocus(app.frame().hwnd());
  EXPECT_EQ(GetFocus(), app.tabStrip());
  app.commandAnswering(ID_GIFT_REMOVE, "key Y\n");
  EXPECT_EQ(getGiftCollection().find(gift), nullptr);
  EXPECT_TRUE(app.rows(ListKind::Gifts).empty());
  EXPECT_NE(getFriendCollection().find(anna), nullptr);
}

TEST_F(MainScreenTest, ARemovalTheDiskRefusesIsToldAndTheItemStays) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  const RecordId gift = app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  app.start();
  app.showTab(kGiftListId);
  const std::string message = app.folder().file("message.txt");
  {
    platform::FaultInjection::Armed full({.operations = platform::FaultInjection::kChanges,
                                          .times = 0,
                                          .error = EIO,
                                          .pathPattern = "*/Pellucard.cdb*"});
    app.commandAnswering(ID_GIFT_REMOVE, "key Y\ndump " + message + "\nkey ENTER\n");
  }
  EXPECT_NE(readText(message).find("The item could not be removed from the database."), std::string::npos)
      << readText(message);
  EXPECT_EQ(app.rows(ListKind::Gifts), std::vector<RecordId>{gift});
  RecordStore::closeAll();
  RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
  EXPECT_NE(getGiftCollection().find(gift), nullptr);
}

// A damaged volume is read as far as it goes and then not changed: Remove says so at once,
// without asking first.
TEST_F(MainScreenTest, RemoveIsRefusedWhileTheDatabaseCouldNotBeRead) {
  platform::FaultInjection::setSyncsElided(true);
  for (int i = 0; i < 300; ++i) {
    auto gift = std::make_unique<Gift>(u"Gift", kGiftIdea, 0, date(2024, 1, 1), std::u16string(1000, u'n'));
    getGiftCollection().add(std::move(gift));
  }
  platform::FaultInjection::setSyncsElided(false);
  RecordStore::closeAll();
  const std::string volume = app.folder().file("app/Pellucard.cdb");
  // The second half of the file overwritten, as a failing medium would: the first records still read.
  std::string cut = platform::testing::readBytes(volume);
  std::fill(cut.begin() + static_cast<std::ptrdiff_t>(cut.size() / 2), cut.end(), '\0');
  ASSERT_TRUE(platform::testing::writeBytes(volume, cut));
  RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath());
  ASSERT_FALSE(RecordStore::acceptsWrites());
  ASSERT_GT(getGiftCollection().size(), 0u);
  app.start();
  app.showTab(kGiftListId);
  const std::string message = app.folder().file("message.txt");
  app.commandAnswering(ID_GIFT_REMOVE, "dump " + message + "\nkey ENTER\n");
  EXPECT_NE(readText(message).find("The item could not be removed: Pellucard does not change a database it could "
                                   "not read."),
            std::string::npos)
      << readText(message);
  EXPECT_FALSE(app.device().quitReceived()) << "one message, no question";
  RecordStore::closeAll();
  EXPECT_EQ(platform::testing::readBytes(volume), cut);
}

TEST_F(MainScreenTest, ExportFailureIsReportedOnceAfterEveryItemWasTried) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  app.addAnniversary(u"Birthday", anna, date(1990, 6, 1));
  app.addAnniversary(u"Wedding", anna, date(2015, 8, 20));
  app.addAnniversary(u"Name day", anna, date(2000, 3, 3));
  // A calendar that cannot be read without errors is left alone; every export fails.
  std::ofstream(app.folder().file("pim/calendar.ics")) << "BEGIN:VCALENDAR\nthis is not a calendar\n";
  app.start();
  app.showTab(kAnniversaryListId);
  const std::string message = app.folder().file("message.txt");
  app.commandAnswering(ID_EXPORT_CALENDAR, "dump " + message + "\nkey ENTER\n");
  EXPECT_NE(readText(message).find("Failed to export anniversary item to Calendar."), std::string::npos)
      << readText(message);
  EXPECT_FALSE(app.device().quitReceived()) << "more than one message";
  EXPECT_EQ(readText(app.folder().file("pim/calendar.ics")), "BEGIN:VCALENDAR\nthis is not a calendar\n");
}

TEST_F(MainScreenTest, ExportToTasksReportsSuccessOnce) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  app.addLoan(u"Drill", kLoanTo, anna, date(2024, 11, 1), date(2025, 3, 2));
  app.addLoan(u"Tent", kLoanFrom, anna, date(2024, 11, 1), date(2025, 4, 2));
  app.start();
  app.showTab(kLoanListId);
  const std::string message = app.folder().file("message.txt");
  app.commandAnswering(ID_EXPORT_TASKS, "dump " + message + "\nkey ENTER\n");
  EXPECT_NE(readText(message).find("Loan items were successfully exported to Tasks."), std::string::npos)
      << readText(message);
  EXPECT_FALSE(app.device().quitReceived());
  for (Loan* loan : getLoanCollection().snapshot()) EXPECT_NE(loan->outlookItemId(), 0);
}

TEST_F(MainScreenTest, SecondStartResetsSortsFiltersAndTheTab) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  const RecordId apple = app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  const RecordId idea = app.addGift(u"Book", kGiftIdea, anna, date(2024, 5, 1));
  app.start();
  app.showTab(kGiftListId);
  app.command(ID_GIFT_SORT_DATE);
  app.command(ID_GIFT_FILTER_IDEAS);
  EXPECT_EQ(app.rows(ListKind::Gifts), std::vector<RecordId>{idea});
  EXPECT_TRUE(app.showsText("Gifts (F)"));

  PostMessageW(app.frame().hwnd(), UM_ACTIVATEINSTANCE, kMainScreenId, 0);
  app.device().runUntilIdle();
  EXPECT_EQ(app.currentTab(), kFriendListId);
  EXPECT_EQ(app.frame().menuBarId(), IDR_FRIENDS_BAR);
  EXPECT_EQ(app.rows(ListKind::Gifts), (std::vector<RecordId>{apple, idea})) << "all gifts, by name, ascending";
  EXPECT_TRUE(app.checked(ID_GIFT_SORT_GIFT));
  EXPECT_TRUE(app.checked(ID_GIFT_FILTER_ALL));
  EXPECT_TRUE(app.showsText("Gifts"));
  EXPECT_FALSE(app.showsText("Gifts (F)"));
  app.command(ID_GIFT_SORT_GIFT);
  EXPECT_EQ(app.rows(ListKind::Gifts), (std::vector<RecordId>{idea, apple})) << "the order starts ascending again";
}

TEST_F(MainScreenTest, AddAndEditGoThroughTheFormsAndRefillTheList) {
  RecordingForms forms;
  setFormLauncher(&forms);
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  const RecordId apple = app.addGift(u"Apple", kGiftFrom, anna, date(2024, 3, 1));
  app.start();
  app.showTab(kGiftListId);
  app.command(ID_GIFT_ADD);
  EXPECT_EQ(app.rows(ListKind::Gifts).size(), 2u) << "the list shows the new gift";
  app.showTab(kFriendListId);
  app.command(ID_FRIEND_ADD);
  EXPECT_EQ(app.rows(ListKind::Friends).size(), 2u) << "the list shows the new friend";
  app.showTab(kGiftListId);
  app.command(ID_GIFT_EDIT);
  app.command(ID_FRIEND_EDIT);
  app.command(ID_LOAN_EDIT);  // no loan selected: no form
  EXPECT_EQ(forms.calls, (std::vector<RecordingForms::Call>{{kRecordGift, 0, 0}, {kRecordGift, apple, 0}}));
  EXPECT_EQ(forms.friends, (std::vector<RecordId>{0, anna}));
  EXPECT_EQ(GetFocus(), app.tabStrip());
  setFormLauncher(nullptr);
}

TEST_F(MainScreenTest, OpenSendsTheSelectedRecordToTheFrame) {
  const RecordId anna = app.addFriend(u"Anna", u"Berg");
  app.start();
  app.command(ID_FRIEND_DETAILS);
  EXPECT_EQ(app.frame().currentScreenId(), kFriendDetailsScreenId);
  EXPECT_EQ(app.frame().history(), std::vector<UINT>{kMainScreenId});
  (void)anna;
}

}  // namespace
}  // namespace pellucard::testing
