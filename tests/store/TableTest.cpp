#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

#include "platform/cedb/WinDb.h"
#include "store/AnniversariesTable.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/FriendPicture.h"
#include "store/FriendsTable.h"
#include "store/GiftCollection.h"
#include "store/GiftsTable.h"
#include "store/LoanCollection.h"
#include "store/LoansTable.h"
#include "store/LocalDate.h"
#include "tests/cedb/VolumeFile.h"
#include "tests/store/StoreFixture.h"

using namespace pellucard;

namespace {

class TableTest : public StoreFixture {
 protected:
  // Writes a record straight into a database of the volume, as another program might have.
  CEOID writeRaw(const char16_t* database, std::vector<CEPROPVAL> values) {
    CEGUID guid;
    EXPECT_TRUE(CeMountDBVol(&guid, platform::toUtf16(volumePath()).c_str(), OPEN_ALWAYS));
    HANDLE h = CeOpenDatabaseEx2(&guid, nullptr, database, nullptr, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    const CEOID oid = CeWriteRecordProps(h, 0, static_cast<WORD>(values.size()), values.data());
    CloseHandle(h);
    CeUnmountDBVol(&guid);
    return oid;
  }

  std::vector<CEPROPVAL> readRaw(const char16_t* database, CEOID oid) {
    CEGUID guid;
    EXPECT_TRUE(CeMountDBVol(&guid, platform::toUtf16(volumePath()).c_str(), OPEN_ALWAYS));
    HANDLE h = CeOpenDatabaseEx2(&guid, nullptr, database, nullptr, 0, nullptr);
    std::vector<CEPROPVAL> out;
    if (CeSeekDatabase(h, CEDB_SEEK_CEOID, oid, nullptr) == oid) {
      WORD count = 0;
      LPBYTE buffer = nullptr;
      DWORD size = 0;
      if (CeReadRecordProps(h, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size)) {
        const auto* v = reinterpret_cast<const CEPROPVAL*>(buffer);
        for (WORD i = 0; i < count; ++i) {
          CEPROPVAL copy = v[i];
          copy.val.lpwstr = nullptr;  // pointers die with the buffer; tests look at tags and scalars
          if (TypeFromPropID(v[i].propid) == CEVT_BLOB) copy.val.blob.dwCount = v[i].val.blob.dwCount;
          if (TypeFromPropID(v[i].propid) == CEVT_FILETIME) copy.val.filetime = v[i].val.filetime;
          if (TypeFromPropID(v[i].propid) == CEVT_I4) copy.val.lVal = v[i].val.lVal;
          out.push_back(copy);
        }
      }
      std::free(buffer);
    }
    CloseHandle(h);
    CeUnmountDBVol(&guid);
    return out;
  }
};

TEST_F(TableTest, FirstStartCreatesTheVolumeAndFourEmptyDatabases) {
  ASSERT_FALSE(std::filesystem::exists(volumePath()));
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  EXPECT_TRUE(std::filesystem::exists(volumePath()));
  EXPECT_TRUE(getFriendCollection().empty());
  EXPECT_TRUE(getAnniversaryCollection().empty());

  CEGUID guid;
  ASSERT_TRUE(CeMountDBVol(&guid, platform::toUtf16(volumePath()).c_str(), OPEN_EXISTING));
  for (const char16_t* name : {u"FriendsDB", u"GiftsDB", u"LoansDB", u"AnniversariesDB"}) {
    HANDLE h = CeOpenDatabaseEx2(&guid, nullptr, name, nullptr, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << platform::toUtf8(name);
    CEDBASEINFOEX info;
    ASSERT_TRUE(CeGetDBInformationByHandle(h, &info));
    EXPECT_EQ(info.dwDbaseType, 1235u);
    EXPECT_EQ(info.wNumSortOrders, 0);
    CloseHandle(h);
  }
  CeUnmountDBVol(&guid);
}

TEST_F(TableTest, StoredPropertyListsAreExactlyTheRecordLayouts) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  Friend f(u"Ann", u"Lee", u"notes", 3);
  f.setContactId(42);
  ASSERT_TRUE(getFriendsTable().add(f));
  Gift g(u"Book", kGiftIdea, 0, makeDate(2026, 2, 3, 14, 15, 16), u"n");
  ASSERT_TRUE(getGiftsTable().add(g));
  Loan l(u"Drill", kLoanTo, 5, makeDate(2026, 1, 1, 12), SYSTEMTIME{}, u"n", 77);
  ASSERT_TRUE(getLoansTable().add(l));
  Anniversary a(u"Birthday", 5, makeDate(1990, 5, 10), u"n", 9);
  ASSERT_TRUE(getAnniversariesTable().add(a));
  RecordStore::closeAll();

  auto tags = [](const std::vector<CEPROPVAL>& values) {
    std::vector<CEPROPID> out;
    for (const auto& v : values) out.push_back(v.propid);
    return out;
  };
  const auto friendProps = readRaw(u"FriendsDB", f.recordId());
  EXPECT_EQ(tags(friendProps),
            (std::vector<CEPROPID>{0x00000003, 0x0001001F, 0x0002001F, 0x0003001F, 0x00040041, 0x00050003}));
  EXPECT_EQ(friendProps[4].val.blob.dwCount, 0u);  // an avatar stores an empty picture
  EXPECT_EQ(tags(readRaw(u"GiftsDB", g.recordId())),
            (std::vector<CEPROPID>{0x0000001F, 0x00010003, 0x00020003, 0x00030040, 0x0004001F}));
  const auto loanProps = readRaw(u"LoansDB", l.recordId());
  EXPECT_EQ(tags(loanProps), (std::vector<CEPROPID>{0x0000001F, 0x00010003, 0x00020003, 0x00030040, 0x00040040,
                                                    0x0005001F, 0x00060003}));
  EXPECT_EQ(loanProps[4].val.filetime.dwLowDateTime, 0u);  // no return date is file time 0
  EXPECT_EQ(loanProps[4].val.filetime.dwHighDateTime, 0u);
  EXPECT_EQ(tags(readRaw(u"AnniversariesDB", a.recordId())),
            (std::vector<CEPROPID>{0x0000001F, 0x00010003, 0x00020040, 0x0003001F, 0x00040003}));
}

TEST_F(TableTest, ItemsReadBackAsWritten) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  auto friendWithPicture = std::make_unique<Friend>(u"Łucja", u"Żak", u"line1\r\nline2", Friend::kOwnPicture);
  const std::vector<std::uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 1, 2, 3, 0, 0xFF, 0xD9};
  friendWithPicture->picture().loadFromBytes(jpeg);
  friendWithPicture->setContactId(-17);
  getFriendCollection().add(std::move(friendWithPicture));
  getFriendCollection().add(std::make_unique<Friend>(u"Bo", u"", u"", 2));
  getGiftCollection().add(std::make_unique<Gift>(u"Idea", kGiftIdea, 0, makeDate(2026, 2, 3, 14, 15, 16), u""));
  getLoanCollection().add(
      std::make_unique<Loan>(u"Drill", kLoanTo, 3, makeDate(2026, 1, 1, 12), makeDate(2026, 2, 1, 12), u"x", 0));
  getLoanCollection().add(std::make_unique<Loan>(u"Saw", kLoanFrom, 3, makeDate(2026, 1, 1, 12), SYSTEMTIME{}, u"", 0));
  getAnniversaryCollection().add(std::make_unique<Anniversary>(u"Wedding", 4, makeDate(2000, 6, 7), u"", 0));
  reopen();

  auto friends = getFriendCollection().snapshot();
  ASSERT_EQ(friends.size(), 2u);
  const Friend* bo = friends[0]->firstName() == u"Bo" ? friends[0] : friends[1];
  const Friend* lucja = friends[0] == bo ? friends[1] : friends[0];
  EXPECT_EQ(bo->avatarIndex(), 2);
  EXPECT_FALSE(bo->picture().hasPicture());
  EXPECT_EQ(lucja->lastName(), u"Żak");
  EXPECT_EQ(lucja->notes(), u"line1\r\nline2");
  EXPECT_EQ(lucja->contactId(), -17);
  EXPECT_EQ(lucja->avatarIndex(), Friend::kOwnPicture);
  EXPECT_EQ(lucja->picture().bytes(), jpeg);

  const Gift* gift = getGiftCollection().snapshot().at(0);
  EXPECT_EQ(gift->direction(), kGiftIdea);
  EXPECT_EQ(gift->friendId(), 0);
  EXPECT_EQ(gift->date().wHour, 14);
  EXPECT_EQ(gift->date().wMinute, 15);
  EXPECT_EQ(gift->date().wSecond, 16);

  auto loans = getLoanCollection().snapshot();
  ASSERT_EQ(loans.size(), 2u);
  EXPECT_TRUE(loans[0]->hasReturnDate());
  EXPECT_EQ(loans[0]->returnDate().wMonth, 2);
  EXPECT_FALSE(loans[1]->hasReturnDate());
  EXPECT_EQ(loans[1]->returnDate().wYear, 0);

  const Anniversary* wedding = getAnniversaryCollection().snapshot().at(0);
  EXPECT_EQ(wedding->date().wYear, 2000);
  EXPECT_EQ(wedding->date().wHour, 12);
}

TEST_F(TableTest, AddAndUpdateRefuseWhatIsAlreadyOrNotYetStored) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  Gift g(u"A", kGiftFrom, 0, makeDate(2026, 1, 1), u"");
  EXPECT_FALSE(getGiftsTable().update(g));  // identifier 0
  ASSERT_TRUE(getGiftsTable().add(g));
  const RecordId id = g.recordId();
  EXPECT_NE(id, 0u);
  EXPECT_FALSE(getGiftsTable().add(g));  // already stored
  EXPECT_EQ(g.recordId(), id);
  Gift stranger(u"B", kGiftFrom, 0, makeDate(2026, 1, 1), u"");
  stranger.setRecordId(id + 1000);
  EXPECT_FALSE(getGiftsTable().update(stranger));
  reopen();
  EXPECT_EQ(getGiftCollection().size(), 1u);

  // Deleting and adding again gives a new identifier.
  Gift* stored = getGiftCollection().find(id);
  ASSERT_NE(stored, nullptr);
  Gift copy = *stored;
  EXPECT_TRUE(getGiftCollection().remove(id));
  copy.setRecordId(0);
  ASSERT_TRUE(getGiftsTable().add(copy));
  EXPECT_GT(copy.recordId(), id);
}

TEST_F(TableTest, RecordsWithMissingExtraOrWronglyTypedPropertiesReadWithDefaults) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  RecordStore::closeAll();
  CEPROPVAL name{};
  name.propid = PropIdFromTag(0, CEVT_LPWSTR);
  name.val.lpwstr = const_cast<LPWSTR>(u"Odd");
  CEPROPVAL wrongDirection{};
  wrongDirection.propid = PropIdFromTag(1, CEVT_LPWSTR);  // text where a number belongs
  wrongDirection.val.lpwstr = const_cast<LPWSTR>(u"2");
  CEPROPVAL extra{};
  extra.propid = PropIdFromTag(40, CEVT_I4);
  extra.val.lVal = 5;
  writeRaw(u"GiftsDB", {name, wrongDirection, extra});
  writeRaw(u"GiftsDB", {extra});
  CEPROPVAL picture{};
  picture.propid = PropIdFromTag(4, CEVT_BLOB);
  BYTE bytes[3] = {1, 2, 3};
  picture.val.blob = {3, bytes};
  CEPROPVAL avatar{};
  avatar.propid = PropIdFromTag(5, CEVT_I4);
  avatar.val.lVal = 4;
  writeRaw(u"FriendsDB", {picture, avatar});

  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  auto gifts = getGiftCollection().snapshot();
  ASSERT_EQ(gifts.size(), 2u);
  EXPECT_EQ(gifts[0]->name(), u"Odd");
  EXPECT_EQ(gifts[0]->direction(), 0);
  EXPECT_EQ(gifts[1]->name(), u"");
  // A stored picture is kept even though the stored index is not -1.
  const Friend* f = getFriendCollection().snapshot().at(0);
  EXPECT_EQ(f->avatarIndex(), 4);
  EXPECT_EQ(f->picture().bytes().size(), 3u);
}

TEST_F(TableTest, LoadingDecodesStoredBytesWhateverTheirAlignmentAndTakesTheFirstPropertyOfANumber) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  RecordStore::closeAll();
  // An odd-sized blob first leaves every text after it at an odd offset.
  BYTE odd[1] = {42};
  CEPROPVAL blob{};
  blob.propid = PropIdFromTag(30, CEVT_BLOB);
  blob.val.blob = {1, odd};
  CEPROPVAL name{};
  name.propid = PropIdFromTag(0, CEVT_LPWSTR);
  name.val.lpwstr = const_cast<LPWSTR>(u"Łódź zima");
  CEPROPVAL textFriend{};
  textFriend.propid = PropIdFromTag(2, CEVT_LPWSTR);  // the first friend property is text ...
  textFriend.val.lpwstr = const_cast<LPWSTR>(u"7");
  CEPROPVAL intFriend{};
  intFriend.propid = PropIdFromTag(2, CEVT_I4);  // ... so this later number is not used
  intFriend.val.lVal = 7;
  CEPROPVAL direction{};
  direction.propid = PropIdFromTag(1, CEVT_I4);
  direction.val.lVal = kGiftIdea;
  writeRaw(u"GiftsDB", {blob, name, textFriend, intFriend, direction});
  CEPROPVAL notes{};
  notes.propid = PropIdFromTag(4, CEVT_LPWSTR);
  notes.val.lpwstr = const_cast<LPWSTR>(u"Pół");
  const CEOID second = writeRaw(u"GiftsDB", {notes});
  // Writes store terminated texts, so an embedded null (where a text read back ends) and a
  // malformed record only arrive through the file.
  {
    platform::testing::VolumeFile file(volumePath());
    using namespace std::string_view_literals;
    ASSERT_TRUE(file.storeText(second, PropIdFromTag(4, CEVT_LPWSTR), u"PB\0r"sv));
    ASSERT_NE(file.addSpoiltRecordBeside(second), 0u);
  }

  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  const auto gifts = getGiftCollection().snapshot();
  ASSERT_EQ(gifts.size(), 2u);
  EXPECT_EQ(gifts[0]->name(), u"Łódź zima");
  EXPECT_EQ(gifts[0]->friendId(), 0);
  EXPECT_EQ(gifts[0]->direction(), kGiftIdea);
  EXPECT_EQ(gifts[1]->notes(), u"PB");
  EXPECT_EQ(gifts[1]->name(), u"");
}

TEST_F(TableTest, AFileThatIsNotAVolumeLeavesTheTablesInertAndTheFileUntouched) {
  const std::string content(5000, 'x');
  std::ofstream(volumePath(), std::ios::binary) << content;
  EXPECT_FALSE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  EXPECT_FALSE(getFriendsTable().isOpen());
  auto gift = std::make_unique<Gift>(u"A", kGiftFrom, 0, makeDate(2026, 1, 1), u"");
  Gift* raw = gift.get();
  EXPECT_FALSE(getGiftCollection().add(std::move(gift)));
  // The failed add stays listed with identifier 0 until the next load.
  EXPECT_EQ(getGiftCollection().size(), 1u);
  EXPECT_EQ(raw->recordId(), 0u);
  EXPECT_EQ(getGiftCollection().find(0), raw);
  EXPECT_TRUE(getGiftCollection().remove(0));
  EXPECT_TRUE(getGiftCollection().empty());
  RecordStore::closeAll();
  std::ifstream in(volumePath(), std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), content);
}

TEST_F(TableTest, CloseAllReleasesTheFileAndOpenAndLoadAllSeesItsNewContent) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  getFriendCollection().add(std::make_unique<Friend>(u"Old", u"", u"", 0));
  RecordStore::closeAll();
  std::filesystem::copy_file(volumePath(), dir_ + "/backup.cdb");
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  getFriendCollection().add(std::make_unique<Friend>(u"New", u"", u"", 0));
  EXPECT_EQ(getFriendCollection().size(), 2u);

  RecordStore::closeAll();
  std::filesystem::copy_file(dir_ + "/backup.cdb", volumePath(), std::filesystem::copy_options::overwrite_existing);
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  ASSERT_EQ(getFriendCollection().size(), 1u);
  EXPECT_EQ(getFriendCollection().snapshot()[0]->firstName(), u"Old");
}

TEST_F(TableTest, RemovingAnItemThatWasNeverStoredDeletesNoRecord) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  Loan keep(u"Keep", kLoanFrom, 0, makeDate(2026, 1, 1), SYSTEMTIME{}, u"", 0);
  ASSERT_TRUE(getLoansTable().add(keep));
  Loan never(u"Never", kLoanFrom, 0, makeDate(2026, 1, 1), SYSTEMTIME{}, u"", 0);
  EXPECT_FALSE(getLoansTable().remove(never));
  reopen();
  EXPECT_EQ(getLoanCollection().size(), 1u);
  EXPECT_NE(getLoanCollection().find(keep.recordId()), nullptr);
}

// The form's limits: a friend with the longest texts it takes and the largest picture a record
// holds is stored and reads back whole; one more character of notes is refused, and tryAdd then
// leaves the collection as it was.
TEST_F(TableTest, AFriendAtTheFormsLimitsFitsOneRecordAndOneBeyondIsNotAdded) {
  ASSERT_TRUE(RecordStore::openAndLoadAll(pellucard::getAppPaths().databasePath()));
  const std::u16string name(Friend::kMaxNameLength, u'n');
  const std::u16string notes(Friend::kMaxNotesLength, u'x');
  auto largest = std::make_unique<Friend>(name, name, notes, Friend::kOwnPicture);
  ASSERT_TRUE(largest->picture().loadFromBytes(std::vector<std::uint8_t>(FriendPicture::kMaxStoredBytes, 7)));
  ASSERT_TRUE(getFriendCollection().tryAdd(std::move(largest)));

  auto beyond = std::make_unique<Friend>(u"Ann", u"Lee", notes + u"x", 0);
  EXPECT_FALSE(getFriendCollection().tryAdd(std::move(beyond)));
  EXPECT_FALSE(getFriendCollection().tryAdd(nullptr));
  EXPECT_EQ(getFriendCollection().size(), 1u) << "nothing unstored in the list";

  reopen();
  ASSERT_EQ(getFriendCollection().size(), 1u);
  const Friend& stored = *getFriendCollection().snapshot().front();
  EXPECT_EQ(stored.firstName(), name);
  EXPECT_EQ(stored.notes(), notes);
  EXPECT_EQ(stored.picture().bytes().size(), FriendPicture::kMaxStoredBytes);
}

}  // namespace

namespace {

TEST(FriendPictureTest, HoldsEncodedBytesFromBytesOrStreams) {
  FriendPicture picture;
  EXPECT_FALSE(picture.hasPicture());
  const std::vector<std::uint8_t> bytes = {0xFF, 0xD8, 1, 2, 3, 0xFF, 0xD9};
  ASSERT_TRUE(picture.loadFromBytes(bytes));
  EXPECT_TRUE(picture.hasPicture());
  EXPECT_EQ(picture.saveToBytes(), bytes);

  std::istringstream stream(std::string(40000, 'j'));
  ASSERT_TRUE(picture.loadFromStream(stream));
  EXPECT_EQ(picture.bytes().size(), 40000u);

  // Too large a picture is refused and the old one stays.
  ASSERT_TRUE(picture.loadFromBytes(bytes));
  std::istringstream huge(std::string(FriendPicture::kMaxBytes + 1, 'x'));
  EXPECT_FALSE(picture.loadFromStream(huge));
  EXPECT_EQ(picture.bytes(), bytes);
  picture.clear();
  EXPECT_FALSE(picture.hasPicture());
}

}  // namespace
