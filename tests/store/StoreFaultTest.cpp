// Every add, update and removal of each table with each of its file operations failing in turn,
// as a full disk, a failing medium or a refused permission would make it fail: the call says so,
// memory agrees with what it said, and the volume reopens whole with the change in it exactly
// when the call succeeded.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "platform/base/FaultInjection.h"
#include "tests/cedb/VolumeFile.h"
#include "tests/store/StoreContent.h"
#include "tests/support/FileBytes.h"

using namespace pellucard;
using platform::FaultInjection;
using storetest::storeContent;

namespace {

struct Change {
  const char* name;
  std::function<bool()> run;
  // Several records change one by one, so a failure may leave the first ones changed.
  bool inSteps = false;
};

template <class Item>
Item* first(std::vector<Item*> items) {
  return items.empty() ? nullptr : items.front();
}

std::vector<Change> changes() {
  return {
      {"add friend", [] { return getFriendCollection().add(std::make_unique<Friend>(u"Cy", u"", u"new", 0)); }, false},
      {"update friend",
       [] {
         Friend* f = first(getFriendCollection().snapshot());
         f->assign(u"Ann", u"Lee", u"changed", 0);
         return getFriendCollection().update(*f);
       },
       false},
      {"remove friend",
       [] { return getFriendCollection().remove(first(getFriendCollection().snapshot())->recordId()); }, false},
      {"remove friend with items",
       [] { return RecordStore::removeFriend(first(getFriendCollection().snapshot())->recordId(), true); }, true},
      {"add gift",
       [] { return getGiftCollection().add(std::make_unique<Gift>(u"Pen", 0, 0, makeDate(2026, 1, 1), u"new")); },
       false},
      {"update gift",
       [] {
         Gift* g = first(getGiftCollection().snapshot());
         g->assign(u"Scarf", 0, g->friendId(), makeDate(2025, 12, 24), u"changed");
         return getGiftCollection().update(*g);
       },
       false},
      {"remove gift", [] { return getGiftCollection().remove(first(getGiftCollection().snapshot())->recordId()); },
       false},
      {"add loan",
       [] {
         return getLoanCollection().add(
             std::make_unique<Loan>(u"Saw", 0, 0, makeDate(2026, 2, 1), makeDate(2026, 3, 1), u"new", 0));
       },
       false},
      {"update loan",
       [] {
         Loan* l = first(getLoanCollection().snapshot());
         l->assign(u"Ladder", 0, l->friendId(), makeDate(2026, 2, 1, 12), makeDate(2026, 4, 1, 12), u"changed");
         return getLoanCollection().update(*l);
       },
       false},
      {"remove loan", [] { return getLoanCollection().remove(first(getLoanCollection().snapshot())->recordId()); },
       false},
      {"add anniversary",
       [] {
         return getAnniversaryCollection().add(
             std::make_unique<Anniversary>(u"Day", 0, makeDate(2000, 1, 1), u"new", 0));
       },
       false},
      {"update anniversary",
       [] {
         Anniversary* a = first(getAnniversaryCollection().snapshot());
         a->assign(u"Birthday", a->friendId(), makeDate(1990, 5, 10), u"changed");
         return getAnniversaryCollection().update(*a);
       },
       false},
      {"remove anniversary",
       [] { return getAnniversaryCollection().remove(first(getAnniversaryCollection().snapshot())->recordId()); },
       false},
  };
}

constexpr int kErrors[] = {ENOSPC, EIO, EACCES};

bool isUpdate(const Change& c) { return std::string(c.name).rfind("update", 0) == 0; }

class StoreWriteFaults : public StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    FaultInjection::setSyncsElided(true);
    ASSERT_TRUE(RecordStore::openAndLoadAll(getAppPaths().databasePath()));
    storetest::fillSmallStore();
    RecordStore::closeAll();
    baseline_ = platform::testing::readBytes(volumePath());
  }
  void TearDown() override {
    FaultInjection::disarmAll();
    FaultInjection::setSyncsElided(false);
    StoreFixture::TearDown();
  }

  // The store as the baseline file holds it, open.
  void fromBaseline() {
    RecordStore::closeAll();
    std::filesystem::remove(volumePath() + "-journal");
    ASSERT_TRUE(platform::testing::writeBytes(volumePath(), baseline_));
    ASSERT_TRUE(RecordStore::openAndLoadAll(getAppPaths().databasePath()));
  }

  std::string pattern() const { return "*/Pellucard.cdb*"; }
  std::string baseline_;
};

TEST_F(StoreWriteFaults, EveryFailedFileOperationOfEveryChangeLosesNothing) {
  int cases = 0;
  for (const Change& change : changes()) {
    SCOPED_TRACE(change.name);
    fromBaseline();
    const std::set<std::string> before = storeContent();
    std::uint64_t operations = 0;
    {
      FaultInjection::Armed counting({.operations = FaultInjection::kAll, .nth = 0, .pathPattern = pattern()});
      ASSERT_TRUE(change.run());
      operations = counting.matched();
    }
    ASSERT_GT(operations, 0u) << "the change reaches the volume's file";
    RecordStore::closeAll();
    ASSERT_TRUE(RecordStore::openAndLoadAll(getAppPaths().databasePath()));
    const std::set<std::string> after = storeContent();
    ASSERT_NE(after, before);

    // The three errors take turns, so that each meets every kind of operation without tripling the run.
    for (std::uint64_t times : {1u, 0u}) {
      for (std::uint64_t nth = 1; nth <= operations; ++nth) {
        for (int error : {kErrors[(nth + times) % 3], kErrors[(nth + times + 1) % 3]}) {
          SCOPED_TRACE("operation " + std::to_string(nth) + " of " + std::to_string(operations) + ", errno " +
                       std::to_string(error) + (times == 0 ? ", for good" : ", once"));
          fromBaseline();
          bool ok = false;
          std::set<std::string> memory;
          {
            FaultInjection::Armed failing({.operations = FaultInjection::kAll,
                                           .nth = nth,
                                           .times = times,
                                           .error = error,
                                           .pathPattern = pattern()});
            ok = change.run();
            memory = storeContent();
          }
          ++cases;
          RecordStore::closeAll();
          ASSERT_TRUE(RecordStore::openAndLoadAll(getAppPaths().databasePath()));
          EXPECT_TRUE(RecordStore::lastLoad().complete());
          const std::set<std::string> file = storeContent();
          if (ok) {
            EXPECT_EQ(file, after) << "a change that succeeded is in the file";
          } else if (change.inSteps) {
            EXPECT_EQ(file, memory) << "the lists show what the file holds";
          } else {
            EXPECT_EQ(file, before) << "a change that failed left the file as it was";
            // A failed update leaves the item as the caller changed it; the others leave memory alone.
            if (!isUpdate(change)) {
              EXPECT_EQ(memory, before);
            }
          }
          RecordStore::closeAll();
          EXPECT_EQ(platform::testing::VolumeFile(volumePath()).integrityCheck(), "ok");
        }
      }
    }
  }
  RecordProperty("cases", cases);
  std::printf("[ store fault cases: %d ]\n", cases);
}

// A removal whose record could not be deleted leaves the item in the list with its identifier,
// so that the list does not show the record gone while it is still in the file.
TEST_F(StoreWriteFaults, AFailedRemovalKeepsTheItem) {
  fromBaseline();
  const RecordId giftId = first(getGiftCollection().snapshot())->recordId();
  const RecordId friendId = first(getFriendCollection().snapshot())->recordId();
  FaultInjection::Armed full({.operations = FaultInjection::kChanges, .times = 0, .pathPattern = pattern()});
  EXPECT_FALSE(getGiftCollection().remove(giftId));
  ASSERT_NE(getGiftCollection().find(giftId), nullptr);
  EXPECT_EQ(getGiftCollection().find(giftId)->recordId(), giftId);
  EXPECT_FALSE(RecordStore::removeFriend(friendId, true));
  EXPECT_NE(getFriendCollection().find(friendId), nullptr);
  EXPECT_EQ(getLoanCollection().size(), 1u);
}

}  // namespace
