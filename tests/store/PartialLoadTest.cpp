// A volume that cannot be read whole: what the load reports, what the store then refuses to write,
// and that the records it could not read stay in the file through later saves.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/FaultInjection.h"
#include "tests/cedb/VolumeFile.h"
#include "tests/store/StoreContent.h"
#include "tests/support/FileBytes.h"

using namespace pellucard;
using platform::testing::readBytes;
using platform::testing::VolumeFile;
using platform::testing::writeBytes;
using storetest::storeContent;
using Table = LoadReport::Table;

namespace {

class PartialLoad : public StoreFixture {
 protected:
  bool open() { return RecordStore::openAndLoadAll(getAppPaths().databasePath()); }

  // Every kind of write the program makes, each expected to be refused.
  void expectEveryWriteRefused() {
    EXPECT_FALSE(RecordStore::acceptsWrites());
    auto f = std::make_unique<Friend>(u"New", u"", u"", 0);
    Friend* raw = f.get();
    EXPECT_FALSE(getFriendCollection().add(std::move(f)));
    EXPECT_EQ(raw->recordId(), 0u);
    EXPECT_FALSE(getGiftCollection().add(std::make_unique<Gift>(u"New", 0, 0, makeDate(2026, 1, 1), u"")));
    for (Friend* kept : getFriendCollection().snapshot()) {
      if (kept->recordId() == 0) continue;
      kept->assign(u"Changed", u"", u"", 0);
      EXPECT_FALSE(getFriendCollection().update(*kept));
      EXPECT_FALSE(RecordStore::removeFriend(kept->recordId(), true));
      EXPECT_NE(getFriendCollection().find(kept->recordId()), nullptr) << "a refused removal keeps the friend";
    }
    for (Gift* g : getGiftCollection().snapshot())
      if (g->recordId() != 0) {
        EXPECT_FALSE(getGiftCollection().remove(g->recordId()));
      }
  }
};

TEST_F(PartialLoad, AVolumeReadWholeIsComplete) {
  ASSERT_TRUE(open());
  storetest::fillSmallStore();
  reopen();
  const LoadReport& load = RecordStore::lastLoad();
  EXPECT_TRUE(load.complete());
  EXPECT_FALSE(load.refusesWrites());
  EXPECT_EQ(load.table(Table::Friends).loaded, 2u);
  EXPECT_EQ(load.table(Table::Anniversaries).loaded, 1u);
  EXPECT_TRUE(RecordStore::acceptsWrites());
}

// A record that does not decode in each table: the rest loads, the count of each kind is
// reported, and the records stay in the file through adds, updates and removals of the others.
TEST_F(PartialLoad, RecordsThatDoNotDecodeAreCountedAndKeptThroughLaterSaves) {
  ASSERT_TRUE(open());
  storetest::fillSmallStore();
  ASSERT_TRUE(getGiftCollection().add(std::make_unique<Gift>(u"Book", 0, 0, makeDate(2025, 1, 1), u"")));
  const RecordId friendId = getFriendCollection().snapshot().front()->recordId();
  const RecordId giftId = getGiftCollection().snapshot().front()->recordId();
  const RecordId loanId = getLoanCollection().snapshot().front()->recordId();
  const RecordId anniversaryId = getAnniversaryCollection().snapshot().front()->recordId();
  RecordStore::closeAll();
  {
    VolumeFile volume(volumePath());
    ASSERT_TRUE(volume.spoilRecord(friendId));
    ASSERT_TRUE(volume.spoilRecord(giftId));
    ASSERT_NE(volume.addSpoiltRecordBeside(giftId), 0u);
    ASSERT_TRUE(volume.spoilRecord(loanId));
    ASSERT_TRUE(volume.spoilRecord(anniversaryId));
  }
  EXPECT_TRUE(open()) << "the tables open; only some records are unreadable";
  const LoadReport& load = RecordStore::lastLoad();
  EXPECT_FALSE(load.complete());
  EXPECT_FALSE(load.nothingRead());
  EXPECT_FALSE(load.refusesWrites()) << "the readable records may still be changed";
  EXPECT_EQ(load.table(Table::Friends).skipped, 1u);
  EXPECT_EQ(load.table(Table::Friends).loaded, 1u);
  EXPECT_EQ(load.table(Table::Gifts).skipped, 2u);
  EXPECT_EQ(load.table(Table::Gifts).loaded, 1u);
  EXPECT_EQ(load.table(Table::Loans).skipped, 1u);
  EXPECT_EQ(load.table(Table::Anniversaries).skipped, 1u);
  EXPECT_EQ(load.table(Table::Anniversaries).scanError, 0u);

  // Changes to the records that did load.
  Friend* bo = getFriendCollection().snapshot().front();
  bo->assign(u"Bob", u"Lee", u"renamed", 0);
  EXPECT_TRUE(getFriendCollection().update(*bo));
  EXPECT_TRUE(getGiftCollection().remove(getGiftCollection().snapshot().front()->recordId()));
  EXPECT_TRUE(getLoanCollection().add(
      std::make_unique<Loan>(u"Saw", 0, 0, makeDate(2026, 2, 1), makeDate(2026, 3, 1), u"", 0)));
  RecordStore::closeAll();

  EXPECT_EQ(VolumeFile(volumePath()).recordCount(), 7) << "5 unreadable, Bob and the saw";
  ASSERT_TRUE(open());
  EXPECT_EQ(RecordStore::lastLoad().table(Table::Gifts).skipped, 2u);
  EXPECT_EQ(RecordStore::lastLoad().table(Table::Friends).skipped, 1u);
  EXPECT_EQ(getLoanCollection().size(), 1u);
}

// A volume cut short keeps its first pages: the tables open, the scan stops part way. Nothing
// may then be written to it, and the file is left byte for byte as it was.
TEST_F(PartialLoad, AVolumeCutShortIsReportedAndLeftAsItIs) {
  platform::FaultInjection::setSyncsElided(true);
  ASSERT_TRUE(open());
  for (int i = 0; i < 400; ++i)
    ASSERT_TRUE(getGiftCollection().add(std::make_unique<Gift>(
        u"Gift", 0, 0, makeDate(2025, 1, 1), std::u16string(1000, static_cast<char16_t>(u'a' + i % 26)))));
  platform::FaultInjection::setSyncsElided(false);
  RecordStore::closeAll();
  ASSERT_GT(std::filesystem::file_size(volumePath()), 500000u);
  std::filesystem::resize_file(volumePath(), 100 * 1024);
  const std::string cut = readBytes(volumePath());

  EXPECT_FALSE(open() && RecordStore::lastLoad().complete());
  const LoadReport& load = RecordStore::lastLoad();
  EXPECT_FALSE(load.complete());
  EXPECT_TRUE(load.refusesWrites());
  EXPECT_NE(load.firstError(), 0u);
  EXPECT_LT(getGiftCollection().size(), 400u);
  expectEveryWriteRefused();
  RecordStore::closeAll();
  EXPECT_EQ(readBytes(volumePath()), cut);
}

TEST_F(PartialLoad, AFileThatIsNotAVolumeIsReportedAndLeftAsItIs) {
  const std::string garbage(64 * 1024, '\x5a');
  ASSERT_TRUE(writeBytes(volumePath(), garbage));
  EXPECT_FALSE(open());
  const LoadReport& load = RecordStore::lastLoad();
  EXPECT_TRUE(load.nothingRead());
  EXPECT_TRUE(load.refusesWrites());
  EXPECT_EQ(load.firstError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
  EXPECT_EQ(getFriendCollection().size(), 0u);
  expectEveryWriteRefused();
  RecordStore::closeAll();
  EXPECT_EQ(readBytes(volumePath()), garbage);
  EXPECT_FALSE(std::filesystem::exists(volumePath() + "-journal"));
}

// Refusal lasts only as long as the volume it was about: once a sound volume is in place (a restore
// does this), the next open takes writes again.
TEST_F(PartialLoad, ASoundVolumeInItsPlaceTakesWritesAgain) {
  ASSERT_TRUE(writeBytes(volumePath(), std::string(4096, '\x01')));
  EXPECT_FALSE(open());
  EXPECT_FALSE(RecordStore::acceptsWrites());
  RecordStore::closeAll();
  std::filesystem::remove(volumePath());
  ASSERT_TRUE(open());
  EXPECT_TRUE(RecordStore::lastLoad().complete());
  EXPECT_TRUE(RecordStore::acceptsWrites());
  EXPECT_TRUE(getFriendCollection().add(std::make_unique<Friend>(u"Ann", u"", u"", 0)));
}

}  // namespace
