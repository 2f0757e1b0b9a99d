#include <gtest/gtest.h>

#include <map>
#include <random>

#include "resources/StringIds.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/GiftsTable.h"
#include "store/IdIndex.h"
#include "store/LoanCollection.h"
#include "tests/store/StoreFixture.h"

using namespace pellucard;

namespace {

// Adds and erases at random against a plain map, with few slots so that probe runs wrap around
// the end of the table and erasing has to move entries back across it.
TEST(IdIndexTest, AgreesWithAMapThroughAddsErasesAndRebuilds) {
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    IdIndex<int> index;
    std::map<RecordId, std::pair<std::uint32_t, int>> expected;
    const RecordId range = round % 2 ? 40 : 4000;
    for (int step = 0; step < 3000; ++step) {
      const RecordId id = random() % range;
      if (random() % 3 == 0) {
        if (auto* entry = index.find(id)) index.erase(entry);
        expected.erase(id);
      } else {
        index.add(id, step);
        auto [it, fresh] = expected.try_emplace(id, 1, step);
        if (!fresh) ++it->second.first;
      }
      if (step % 500 == 499) {
        std::vector<RecordId> ids;
        for (const auto& [key, value] : expected)
          for (std::uint32_t n = 0; n < value.first; ++n) ids.push_back(key);
        index.assign(
            ids.size(), [&](std::size_t i) { return ids[i]; }, [&](std::size_t i) { return expected[ids[i]].second; });
      }
    }
    for (RecordId id = 0; id < range; ++id) {
      const auto* entry = index.find(id);
      const auto it = expected.find(id);
      ASSERT_EQ(entry != nullptr, it != expected.end()) << id;
      if (!entry) continue;
      EXPECT_EQ(entry->count, it->second.first);
      EXPECT_EQ(entry->first, it->second.second);
    }
  }
}

class RecordingExport : public ExportService {
 public:
  bool exportAnniversary(Anniversary& a) override {
    log.push_back("export anniversary " + platform::toUtf8(a.name()));
    a.setOutlookItemId(500);
    return true;
  }
  bool exportLoan(Loan& l) override {
    log.push_back("export loan " + platform::toUtf8(l.item()));
    l.setOutlookItemId(600);
    return true;
  }
  void deleteExportedAppointment(Anniversary& a) override {
    log.push_back("delete appointment " + std::to_string(a.outlookItemId()));
    a.setOutlookItemId(0);
  }
  void deleteExportedTask(Loan& l) override {
    log.push_back("delete task " + std::to_string(l.outlookItemId()));
    l.setOutlookItemId(0);
  }
  std::vector<std::string> log;
};

class CollectionTest : public StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  }

  Friend* addFriend(const std::u16string& first, const std::u16string& last, LONG contact = 0) {
    auto f = std::make_unique<Friend>(first, last, u"", 0);
    f->setContactId(contact);
    Friend* raw = f.get();
    EXPECT_TRUE(getFriendCollection().add(std::move(f)));
    return raw;
  }
  Gift* addGift(const std::u16string& name, LONG friendId, LONG direction = kGiftFrom) {
    auto g = std::make_unique<Gift>(name, direction, friendId, makeDate(2026, 1, 2), u"");
    Gift* raw = g.get();
    EXPECT_TRUE(getGiftCollection().add(std::move(g)));
    return raw;
  }
  Loan* addLoan(const std::u16string& item, LONG friendId) {
    auto l = std::make_unique<Loan>(item, kLoanTo, friendId, makeDate(2026, 1, 2), SYSTEMTIME{}, u"", 0);
    Loan* raw = l.get();
    EXPECT_TRUE(getLoanCollection().add(std::move(l)));
    return raw;
  }
  Anniversary* addAnniversary(const std::u16string& name, LONG friendId) {
    auto a = std::make_unique<Anniversary>(name, friendId, makeDate(1990, 5, 10), u"", 0);
    Anniversary* raw = a.get();
    EXPECT_TRUE(getAnniversaryCollection().add(std::move(a)));
    return raw;
  }
};

TEST_F(CollectionTest, FriendsStayInDisplayNameOrderAndFollowTheNameSetting) {
  addFriend(u"Zoe", u"Adams");
  addFriend(u"Ann", u"Lee");
  Friend* bo = addFriend(u"Bo", u"");
  auto names = [] {
    std::vector<std::u16string> out;
    for (const Friend* f : getFriendCollection().snapshot()) out.push_back(f->displayName());
    return out;
  };
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"Ann Lee", u"Bo", u"Zoe Adams"}));
  setStorePreferences({.firstNameFirst = [] { return false; }, .autoExportAnniversaries = {}, .autoExportLoans = {}});
  bo->assign(u"", u"", u"", 0);
  EXPECT_TRUE(getFriendCollection().update(*bo));
  EXPECT_EQ(names(), (std::vector<std::u16string>{u"", u"Adams, Zoe", u"Lee, Ann"}));
  EXPECT_EQ(getFriendCollection().snapshot()[1]->sortName(), u"ADAMS, ZOE");
}

TEST_F(CollectionTest, LookupsFindTheFirstItemByIdentifierOrContact) {
  Friend* ann = addFriend(u"Ann", u"Lee", 77);
  Friend* bo = addFriend(u"Bo", u"Ek", 78);
  EXPECT_EQ(getFriendCollection().find(ann->recordId()), ann);
  EXPECT_EQ(getFriendCollection().findByContactId(78), bo);
  EXPECT_EQ(getFriendCollection().findByContactId(79), nullptr);
  EXPECT_EQ(getFriendCollection().find(ann->recordId() + bo->recordId()), nullptr);
  EXPECT_EQ(friendOf(0), nullptr);

  Gift* g1 = addGift(u"g1", static_cast<LONG>(ann->recordId()));
  addGift(u"g2", static_cast<LONG>(bo->recordId()));
  Gift* g3 = addGift(u"g3", static_cast<LONG>(ann->recordId()));
  EXPECT_EQ(getGiftCollection().itemsOfFriend(static_cast<LONG>(ann->recordId())), (GiftCollection::List{g1, g3}));
  EXPECT_EQ(getGiftCollection().find(g3->recordId()), g3);
  const RecordId removed = g1->recordId();
  EXPECT_TRUE(getGiftCollection().remove(removed));
  EXPECT_EQ(getGiftCollection().find(removed), nullptr);
  EXPECT_EQ(getGiftCollection().find(g3->recordId()), g3);
  EXPECT_FALSE(getGiftCollection().remove(removed));
}

TEST_F(CollectionTest, RemovingAFriendWithOrWithoutItsItems) {
  Friend* ann = addFriend(u"Ann", u"Lee");
  Friend* bo = addFriend(u"Bo", u"Ek");
  const LONG annId = static_cast<LONG>(ann->recordId());
  const LONG boId = static_cast<LONG>(bo->recordId());
  addGift(u"kept", boId);
  addGift(u"a gift", annId);
  addLoan(u"a loan", annId);
  addAnniversary(u"a day", annId);
  Gift* orphan = addGift(u"orphan", boId);

  // The user keeps Bo's items: they stay and show an empty friend name.
  EXPECT_TRUE(getFriendCollection().remove(bo->recordId()));
  EXPECT_EQ(Friend::displayNameOf(friendOf(orphan->friendId())), u"");
  EXPECT_EQ(getGiftCollection().size(), 3u);

  // Ann's items go with her.
  EXPECT_TRUE(getFriendCollection().remove(ann->recordId()));
  getLoanCollection().removeAllOfFriend(annId);
  getAnniversaryCollection().removeAllOfFriend(annId);
  getGiftCollection().removeAllOfFriend(annId);
  EXPECT_TRUE(getLoanCollection().empty());
  EXPECT_TRUE(getAnniversaryCollection().empty());
  ASSERT_EQ(getGiftCollection().size(), 2u);
  EXPECT_EQ(getGiftCollection().snapshot()[0]->name(), u"kept");

  // A new friend never takes over an old identifier.
  Friend* carl = addFriend(u"Carl", u"");
  EXPECT_GT(carl->recordId(), static_cast<RecordId>(boId));
  reopen();
  EXPECT_EQ(getGiftCollection().size(), 2u);
  EXPECT_EQ(getFriendCollection().size(), 1u);
}

TEST_F(CollectionTest, ExportFollowsAddUpdateAndRemoveOnlyWhenAServiceIsThere) {
  // Without a service nothing is exported and nothing fails.
  Loan* quiet = addLoan(u"quiet", 0);
  EXPECT_EQ(quiet->outlookItemId(), 0);

  bool exportAnniversaries = true;
  bool exportLoans = true;
  setStorePreferences({.firstNameFirst = {},
                       .autoExportAnniversaries = [&] { return exportAnniversaries; },
                       .autoExportLoans = [&] { return exportLoans; }});
  RecordingExport service;
  setExportService(&service);
  Loan* drill = addLoan(u"drill", 0);
  Anniversary* day = addAnniversary(u"day", 0);
  EXPECT_EQ(drill->outlookItemId(), 600);
  EXPECT_EQ(day->outlookItemId(), 500);
  EXPECT_TRUE(getLoanCollection().update(*drill));
  exportAnniversaries = false;
  EXPECT_TRUE(getAnniversaryCollection().update(*day));
  EXPECT_TRUE(getLoanCollection().remove(drill->recordId()));
  EXPECT_TRUE(getAnniversaryCollection().remove(day->recordId()));
  exportLoans = false;
  addLoan(u"manual", 0);
  EXPECT_EQ(service.log, (std::vector<std::string>{"export loan drill", "export anniversary day", "export loan drill",
                                                   "delete task 600", "delete appointment 500"}));
}

TEST_F(CollectionTest, SnapshotsAreIndependentListsOfTheSameItems) {
  Gift* a = addGift(u"a", 0);
  Gift* b = addGift(u"b", 0);
  GiftCollection::List snap = getGiftCollection().snapshot();
  snap.pop_back();
  EXPECT_EQ(getGiftCollection().size(), 2u);
  EXPECT_EQ(getGiftCollection().snapshot(), (GiftCollection::List{a, b}));
}

TEST_F(CollectionTest, DirectionLabelsComeFromTheStringTable) {
  DirectionLabels& gifts = getGiftCollection().directionLabels();
  DirectionLabels& loans = getLoanCollection().directionLabels();
  EXPECT_EQ(gifts[0], platform::loadString(IDS_FROM));
  EXPECT_EQ(gifts[1], platform::loadString(IDS_FOR));
  EXPECT_EQ(gifts[2], platform::loadString(IDS_IDEAS));
  EXPECT_EQ(loans[1], platform::loadString(IDS_TO));
  EXPECT_FALSE(gifts[0].empty());
  EXPECT_EQ(loans[0], u"From");
  EXPECT_EQ(loans[1], u"To");
  // An unknown code gains an empty label.
  EXPECT_EQ(gifts[9], u"");
  EXPECT_EQ(gifts.size(), 4u);
}

// Items read from the volume live in the collection's own storage, items added later on their
// own; editing, removing and reloading must treat both alike.
TEST_F(CollectionTest, ItemsReadFromTheVolumeAndItemsAddedLaterAreEditedRemovedAndReloadedAlike) {
  const RecordId annRecord = addFriend(u"Ann", u"Nowak")->recordId();
  const auto annId = static_cast<LONG>(annRecord);
  for (int i = 0; i < 300; ++i) addGift(u"Gift " + std::u16string(1, u'A' + i % 26) + u"ść", i % 3 ? annId : 0);
  addLoan(u"Book", annId);
  RecordStore::closeAll();
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));

  Gift* loaded = getGiftCollection().snapshot()[5];
  const RecordId loadedId = loaded->recordId();
  loaded->assign(u"Renamed ąę", kGiftFor, 0, makeDate(2027, 3, 4), u"New notes");
  ASSERT_TRUE(getGiftCollection().update(*loaded));
  Gift* added = addGift(u"Fresh", annId);
  const RecordId addedId = added->recordId();
  EXPECT_TRUE(getGiftCollection().remove(getGiftCollection().snapshot()[0]->recordId()));
  getGiftCollection().removeAllOfFriend(annId);  // loaded ones and the one added since
  EXPECT_EQ(getGiftCollection().find(addedId), nullptr);
  // 100 never belonged to Ann, one of them was removed, and the renamed one left her.
  EXPECT_EQ(getGiftCollection().size(), 100u);
  EXPECT_EQ(getGiftCollection().find(loadedId)->name(), u"Renamed ąę");
  getLoanCollection().removeAllOfFriend(annId);
  Friend* loadedAnn = getFriendCollection().find(annRecord);
  ASSERT_NE(loadedAnn, nullptr);
  loadedAnn->assign(loadedAnn->firstName(), u"Kowalska", loadedAnn->notes(), 2);
  ASSERT_TRUE(getFriendCollection().update(*loadedAnn));

  RecordStore::closeAll();
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  ASSERT_EQ(getGiftCollection().size(), 100u);
  const Gift* reread = getGiftCollection().find(loadedId);
  ASSERT_NE(reread, nullptr);
  EXPECT_EQ(reread->name(), u"Renamed ąę");
  EXPECT_EQ(reread->notes(), u"New notes");
  for (const Gift* g : getGiftCollection().snapshot()) EXPECT_NE(g->friendId(), annId);
  EXPECT_TRUE(getLoanCollection().empty());
  EXPECT_EQ(getFriendCollection().snapshot().front()->displayName(), u"Ann Kowalska");
}

TEST_F(CollectionTest, CloseAllEmptiesEverySlot) {
  addGift(u"a", 0);
  RecordStore::closeAll();
  EXPECT_FALSE(getGiftsTable().isOpen());
  EXPECT_TRUE(getGiftCollection().empty());
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  EXPECT_EQ(getGiftCollection().size(), 1u);
}

}  // namespace
