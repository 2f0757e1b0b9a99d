#include <gtest/gtest.h>

#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/GiftCollection.h"
#include "store/LoanCollection.h"
#include "tests/store/StoreFixture.h"
#include "tools/filldb/VolumeFiller.h"

using namespace pellucard;
using pellucard::tools::VolumeFiller;

namespace {

class FillToolTest : public StoreFixture {
 protected:
  VolumeFiller::Counts fill(const VolumeFiller::Options& options) {
    VolumeFiller::Counts counts;
    std::string error;
    EXPECT_TRUE(VolumeFiller::fill(options, counts, error)) << error;
    return counts;
  }

  std::vector<std::u16string> everyText() {
    std::vector<std::u16string> texts;
    for (const Friend* f : getFriendCollection().snapshot()) texts.push_back(f->displayName());
    for (const Gift* g : getGiftCollection().snapshot()) texts.emplace_back(g->name());
    for (const Loan* l : getLoanCollection().snapshot()) texts.emplace_back(l->item());
    for (const Anniversary* a : getAnniversaryCollection().snapshot()) texts.emplace_back(a->name());
    return texts;
  }
};

TEST_F(FillToolTest, FillsInProportionWithRealisticVariety) {
  VolumeFiller::Options options;
  options.friends = 60;
  options.today = makeDate(2026, 6, 1, 12);
  const VolumeFiller::Counts counts = fill(options);
  EXPECT_EQ(counts.gifts, 300);
  EXPECT_EQ(counts.loans, 150);
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  EXPECT_EQ(getFriendCollection().size(), 60u);
  EXPECT_EQ(getGiftCollection().size(), 300u);
  EXPECT_EQ(getLoanCollection().size(), 150u);
  EXPECT_EQ(getAnniversaryCollection().size(), 150u);

  std::size_t pictures = 0, polish = 0;
  for (const Friend* f : getFriendCollection().snapshot()) {
    pictures += f->picture().hasPicture();
    for (char16_t c : f->displayName()) polish += c >= 0x104 && c <= 0x17E;
  }
  EXPECT_GT(pictures, 0u);
  EXPECT_GT(polish, 0u);
  auto overdue = getLoanCollection().snapshot();
  getLoanCollection().filter(overdue, 4, options.today);
  EXPECT_EQ(overdue.size(), static_cast<std::size_t>(counts.overdueLoans));
  EXPECT_GT(overdue.size(), 0u);
  std::size_t ahead = 0;
  for (const Anniversary* a : getAnniversaryCollection().snapshot())
    ahead += a->date().wYear > options.today.wYear ||
             (a->date().wYear == options.today.wYear && a->date().wMonth > options.today.wMonth);
  EXPECT_GT(ahead, 0u);
}

TEST_F(FillToolTest, TheSameOptionsGiveTheSameRecords) {
  VolumeFiller::Options options;
  options.friends = 25;
  options.seed = 9;
  fill(options);
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  const auto first = everyText();
  RecordStore::closeAll();
  std::filesystem::remove(volumePath());
  fill(options);
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  EXPECT_EQ(everyText(), first);
  RecordStore::closeAll();
  std::filesystem::remove(volumePath());
  options.seed = 10;
  fill(options);
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  EXPECT_NE(everyText(), first);
}

}  // namespace
