#include <gtest/gtest.h>

#include <random>

#include "platform/cedb/BulkWrite.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "store/LocalDate.h"
#include "store/SortKey.h"
#include "tests/store/ReferenceExchangeSort.h"
#include "tests/store/StoreFixture.h"

using namespace pellucard;
using pellucard::testing::referenceExchangeSort;

namespace {

std::u16string friendKey(LONG id) { return SortKey(Friend::displayNameOf(friendOf(id))); }
std::uint64_t dateKey(const SYSTEMTIME& d) { return fileTimeOf(d).value_or(0); }

class SortTest : public StoreFixture {
 protected:
  void SetUp() override {
    StoreFixture::SetUp();
    ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  }
};

TEST(SortKeyTest, FoldsCaseAndLatinExtendedLettersOnly) {
  EXPECT_EQ(SortKey(u"abc xyz"), u"ABC XYZ");
  EXPECT_EQ(SortKey(u"Łódź"), u"LÓDZ");  // ó is Latin-1: upper-cased, not folded
  EXPECT_EQ(SortKey(u"ŚĆŹŻĄĘŃ"), u"SCZZAEN");
  EXPECT_EQ(SortKey(u"\u0132\u0133"), u"\u0132\u0132");  // IJ is in no range
  EXPECT_EQ(SortKey(u"é"), u"É");
  EXPECT_EQ(SortKey(u""), u"");
}

TEST_F(SortTest, TheExchangeSortIsNotStableAndDescendingIsItsReverse) {
  Gift* b1 = new Gift(u"b", kGiftFrom, 0, makeDate(2026, 1, 1), u"1");
  Gift* b2 = new Gift(u"B", kGiftFrom, 0, makeDate(2026, 1, 1), u"2");
  Gift* a = new Gift(u"a", kGiftFrom, 0, makeDate(2026, 1, 1), u"3");
  for (Gift* g : {b1, b2, a}) getGiftCollection().add(std::unique_ptr<Gift>(g));
  GiftCollection::List list{b1, b2, a};
  getGiftCollection().sort(list, GiftCollection::kSortByName, true);
  EXPECT_EQ(list, (GiftCollection::List{a, b2, b1}));
  list = {b1, b2, a};
  getGiftCollection().sort(list, GiftCollection::kSortByName, false);
  EXPECT_EQ(list, (GiftCollection::List{b1, b2, a}));
  // An unknown mode sorts by the remembered one.
  list = {b1, b2, a};
  getGiftCollection().sort(list, 17, true);
  EXPECT_EQ(getGiftCollection().sortMode(), GiftCollection::kSortByName);
  EXPECT_EQ(list, (GiftCollection::List{a, b2, b1}));
}

TEST_F(SortTest, NamesWithStrokeOrAcuteSortWhereTheFoldingPutsThem) {
  for (const char16_t* name : {u"Zenon", u"\u0141ukasz", u"Lena", u"Mia", u"\u00C9mile", u"Adam"})
    getFriendCollection().add(std::make_unique<Friend>(name, u"", u"", 0));
  std::vector<std::u16string> names;
  for (const Friend* f : getFriendCollection().snapshot()) names.emplace_back(f->firstName());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Adam", u"Lena", u"\u0141ukasz", u"Mia", u"Zenon", u"\u00C9mile"}));
}

TEST_F(SortTest, LoansWithoutReturnDateComeFirstByReturnDate) {
  auto add = [](const char16_t* item, SYSTEMTIME ret) {
    auto l = std::make_unique<Loan>(item, kLoanFrom, 0, makeDate(2026, 1, 1), ret, u"", 0);
    Loan* raw = l.get();
    getLoanCollection().add(std::move(l));
    return raw;
  };
  Loan* late = add(u"late", makeDate(2026, 9, 1));
  Loan* none = add(u"none", SYSTEMTIME{});
  Loan* soon = add(u"soon", makeDate(2026, 4, 1));
  LoanCollection::List list = getLoanCollection().snapshot();
  getLoanCollection().sort(list, LoanCollection::kSortByReturnDate, true);
  EXPECT_EQ(list, (LoanCollection::List{none, soon, late}));
}

// The fast sort against the plain exchange sort on many random lists full of ties.
TEST_F(SortTest, EveryModeMatchesThePlainExchangeSort) {
  std::mt19937 rng(20261207);
  const std::u16string names[] = {u"ala", u"Ala", u"\u0141ukasz", u"lukasz", u"Ewa", u"\u00C9va", u"", u"bob"};
  std::vector<LONG> friendIds{0, 999999};
  for (const auto& n : names) {
    auto f = std::make_unique<Friend>(n, rng() % 2 ? u"Nowak" : u"", u"", 0);
    Friend* raw = f.get();
    getFriendCollection().add(std::move(f));
    friendIds.push_back(static_cast<LONG>(raw->recordId()));
  }
  auto pick = [&](auto& range) -> const auto& { return range[rng() % std::size(range)]; };
  auto randomDate = [&] {
    if (rng() % 5 == 0) return SYSTEMTIME{};
    return makeDate(2020 + rng() % 3, 1 + rng() % 3, 1 + rng() % 3, rng() % 2 ? 12 : 0);
  };
  // The records only feed the sort; one transaction keeps the setup quick.
  platform::cedb::BulkWrite bulk(getAppPaths().databasePath());
  for (int i = 0; i < 120; ++i) {
    getGiftCollection().add(
        std::make_unique<Gift>(pick(names), static_cast<LONG>(rng() % 3), pick(friendIds), randomDate(), u""));
    getLoanCollection().add(std::make_unique<Loan>(pick(names), static_cast<LONG>(rng() % 2), pick(friendIds),
                                                   randomDate(), randomDate(), u"", 0));
    SYSTEMTIME d = randomDate();
    if (d.wYear == 0) d = makeDate(1999, 2, 28);
    getAnniversaryCollection().add(std::make_unique<Anniversary>(pick(names), pick(friendIds), d, u"", 0));
  }

  ASSERT_TRUE(bulk.commit());

  for (int round = 0; round < 25; ++round) {
    const bool ascending = round % 2 == 0;
    auto gifts = getGiftCollection().snapshot();
    std::shuffle(gifts.begin(), gifts.end(), rng);
    gifts.resize(rng() % gifts.size());
    for (int mode = 0; mode <= 3; ++mode) {
      auto fast = gifts;
      getGiftCollection().sort(fast, mode, ascending);
      auto slow = gifts;
      referenceExchangeSort(
          slow,
          [&](const Gift* a, const Gift* b) {
            switch (mode) {
              case 0:
                return a->recordId() < b->recordId();
              case 1:
                return SortKey(a->name()) < SortKey(b->name());
              case 2:
                return dateKey(a->date()) < dateKey(b->date());
              default:
                return friendKey(a->friendId()) < friendKey(b->friendId());
            }
          },
          ascending);
      ASSERT_EQ(fast, slow) << "gifts mode " << mode << " round " << round;
    }

    auto loans = getLoanCollection().snapshot();
    std::shuffle(loans.begin(), loans.end(), rng);
    for (int mode = 0; mode <= 4; ++mode) {
      auto fast = loans;
      getLoanCollection().sort(fast, mode, ascending);
      auto slow = loans;
      referenceExchangeSort(
          slow,
          [&](const Loan* a, const Loan* b) {
            switch (mode) {
              case 0:
                return a->recordId() < b->recordId();
              case 1:
                return SortKey(a->item()) < SortKey(b->item());
              case 2:
                return dateKey(a->loanDate()) < dateKey(b->loanDate());
              case 3:
                return dateKey(a->returnDate()) < dateKey(b->returnDate());
              default:
                return friendKey(a->friendId()) < friendKey(b->friendId());
            }
          },
          ascending);
      ASSERT_EQ(fast, slow) << "loans mode " << mode << " round " << round;
    }

    auto days = getAnniversaryCollection().snapshot();
    std::shuffle(days.begin(), days.end(), rng);
    for (int mode = 0; mode <= 4; ++mode) {
      auto fast = days;
      getAnniversaryCollection().sort(fast, mode, ascending);
      auto slow = days;
      referenceExchangeSort(
          slow,
          [&](const Anniversary* a, const Anniversary* b) {
            switch (mode) {
              case 0:
                return a->recordId() < b->recordId();
              case 1:
                return SortKey(a->name()) < SortKey(b->name());
              case 2:
                return dateKey(a->date()) < dateKey(b->date());
              case 3:
                return a->date().wMonth < b->date().wMonth ||
                       (a->date().wMonth == b->date().wMonth && a->date().wDay < b->date().wDay);
              default:
                return friendKey(a->friendId()) < friendKey(b->friendId());
            }
          },
          ascending);
      ASSERT_EQ(fast, slow) << "anniversaries mode " << mode << " round " << round;
    }

    auto friends = getFriendCollection().snapshot();
    std::shuffle(friends.begin(), friends.end(), rng);
    auto fast = friends;
    getFriendCollection().sort(fast, FriendCollection::kSortByName, ascending);
    auto slow = friends;
    referenceExchangeSort(
        slow, [](const Friend* a, const Friend* b) { return SortKey(a->displayName()) < SortKey(b->displayName()); },
        ascending);
    ASSERT_EQ(fast, slow) << "friends round " << round;
  }
}

TEST(ExchangeSortOrderTest, MatchesTheReferenceOnSmallListsWithManyTies) {
  std::mt19937 rng(7);
  for (int round = 0; round < 3000; ++round) {
    std::vector<int> keys(rng() % 30);
    const int distinct = 1 + static_cast<int>(rng() % 5);
    for (int& k : keys) k = static_cast<int>(rng() % distinct);
    std::vector<std::size_t> reference(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) reference[i] = i;
    referenceExchangeSort(
        reference, [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; }, true);
    ASSERT_EQ(exchangeSortOrder(keys), reference) << "round " << round;
    // Unsigned keys are ranked by their bytes: spread over several of them, as file times are.
    std::vector<std::uint64_t> wide(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
      wide[i] = 0x01D0000000000000ull + (static_cast<std::uint64_t>(keys[i]) << 37) + (keys[i] % 2 ? 0xFF00 : 0);
    ASSERT_EQ(exchangeSortOrder(wide), reference) << "round " << round;
  }
}

// Groups of thousands of members span many words of free places; a handful of distinct keys
// (the same few gift names over and over) is the common case, and the rotations between members
// range from none to the whole group.
TEST(ExchangeSortOrderTest, MatchesTheReferenceOnLongListsWithFewKeys) {
  std::mt19937 rng(11);
  for (const int distinct : {1, 2, 5, 40}) {
    std::vector<int> keys(3000);
    for (int& k : keys) k = static_cast<int>(rng() % distinct);
    // Runs of one key make rotations of whole groups between the arrivals of a member.
    for (std::size_t i = 1000; i < 1400; ++i) keys[i] = 0;
    std::vector<std::size_t> reference(keys.size());
    for (std::size_t i = 0; i < keys.size(); ++i) reference[i] = i;
    referenceExchangeSort(
        reference, [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; }, true);
    ASSERT_EQ(exchangeSortOrder(keys), reference) << distinct << " keys";
  }
}

TEST(ExchangeSortOrderTest, KeysInOrderOrAllDifferentKeepTheirPlaces) {
  std::vector<int> ordered{1, 1, 2, 2, 2, 5, 9, 9};
  std::vector<std::size_t> same(ordered.size());
  for (std::size_t i = 0; i < same.size(); ++i) same[i] = i;
  EXPECT_EQ(exchangeSortOrder(ordered), same);
  std::vector<int> distinct{4, 1, 3, 0, 2};
  EXPECT_EQ(exchangeSortOrder(distinct), (std::vector<std::size_t>{3, 1, 4, 2, 0}));
}

}  // namespace
