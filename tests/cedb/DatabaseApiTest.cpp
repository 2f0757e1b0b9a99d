#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/cedb/BulkWrite.h"
#include "platform/cedb/RecordScan.h"
#include "platform/cedb/WinDb.h"
#include "platform/sys/WinBase.h"
#include "tests/cedb/VolumeFile.h"
#include "tests/cedb/VolumeFixture.h"

namespace {

CEDBASEINFOEX databaseInfo(const char16_t* name, DWORD type = 1235) {
  CEDBASEINFOEX info;
  std::memset(&info, 0, sizeof info);
  info.wVersion = CEDBASEINFOEX_VERSION;
  info.dwFlags = CEDB_VALIDCREATE;
  info.dwDbaseType = type;
  std::u16string_view n(name);
  std::copy(n.begin(), n.end(), info.szDbaseName);
  return info;
}

CEPROPVAL intProp(WORD number, LONG value) {
  CEPROPVAL v{};
  v.propid = PropIdFromTag(number, CEVT_I4);
  v.val.lVal = value;
  return v;
}

CEPROPVAL textProp(WORD number, const char16_t* text) {
  CEPROPVAL v{};
  v.propid = PropIdFromTag(number, CEVT_LPWSTR);
  v.val.lpwstr = const_cast<LPWSTR>(text);
  return v;
}

CEPROPVAL blobProp(WORD number, std::vector<BYTE>& bytes) {
  CEPROPVAL v{};
  v.propid = PropIdFromTag(number, CEVT_BLOB);
  v.val.blob.dwCount = static_cast<DWORD>(bytes.size());
  v.val.blob.lpb = bytes.empty() ? nullptr : bytes.data();
  return v;
}

// Reads every property of the current record into a fresh buffer.
struct Read {
  CEOID oid = 0;
  std::vector<CEPROPVAL> values;
  LPBYTE buffer = nullptr;
  DWORD size = 0;
  ~Read() { std::free(buffer); }
  const CEPROPVAL* find(CEPROPID id) const {
    for (const auto& v : values)
      if (v.propid == id) return &v;
    return nullptr;
  }
};

void readCurrent(HANDLE db, Read& read) {
  WORD count = 0;
  read.oid = CeReadRecordProps(db, CEDB_ALLOWREALLOC, &count, nullptr, &read.buffer, &read.size);
  read.values.clear();
  if (read.oid == 0) return;
  const auto* values = reinterpret_cast<const CEPROPVAL*>(read.buffer);
  read.values.assign(values, values + count);
}

class DatabaseApiTest : public VolumeFixture {
 protected:
  void TearDown() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    while (mounted_ > 0) {
      CeUnmountDBVol(&guid_);
      --mounted_;
    }
    VolumeFixture::TearDown();
  }

  void mountAndOpen(const char16_t* name = u"ThingsDB") {
    ASSERT_TRUE(CeMountDBVol(&guid_, path("v.cdb").c_str(), OPEN_ALWAYS));
    ++mounted_;
    CEDBASEINFOEX info = databaseInfo(name);
    ASSERT_NE(CeCreateDatabaseEx2(&guid_, &info), 0u);
    handle_ = CeOpenDatabaseEx2(&guid_, &oid_, name, nullptr, 0, nullptr);
    ASSERT_NE(handle_, INVALID_HANDLE_VALUE);
  }

  CEOID addInt(LONG value) {
    CEPROPVAL v = intProp(0, value);
    return CeWriteRecordProps(handle_, 0, 1, &v);
  }

  std::vector<LONG> enumerateInts() {
    std::vector<LONG> out;
    for (CEOID oid = CeSeekDatabase(handle_, CEDB_SEEK_BEGINNING, 0, nullptr); oid != 0;
         oid = CeSeekDatabase(handle_, CEDB_SEEK_CURRENT, 1, nullptr)) {
      Read r;
      readCurrent(handle_, r);
      if (r.oid == 0) continue;  // unreadable records are skipped
      EXPECT_EQ(r.oid, oid);
      out.push_back(r.values[0].val.lVal);
    }
    return out;
  }

  CEGUID guid_{};
  int mounted_ = 0;
  CEOID oid_ = 0;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

TEST_F(DatabaseApiTest, MountingCreatesOneFileWithItsFormatVersion) {
  ASSERT_TRUE(CeMountDBVol(&guid_, path("v.cdb").c_str(), OPEN_ALWAYS));
  ++mounted_;
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_FALSE(CHECK_INVALIDGUID(&guid_));
  struct stat st {};
  ASSERT_EQ(::stat(hostPath("v.cdb").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u) << "a volume is its user's private file";
  EXPECT_TRUE(CeUnmountDBVol(&guid_));
  --mounted_;

  EXPECT_EQ(platform::testing::VolumeFile(hostPath("v.cdb")).formatVersion(), 1);
}

TEST_F(DatabaseApiTest, MountingTwiceSharesTheVolumeUntilTheLastUnmount) {
  mountAndOpen();
  CEGUID second{};
  ASSERT_TRUE(CeMountDBVol(&second, path("v.cdb").c_str(), OPEN_ALWAYS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(std::memcmp(&second, &guid_, sizeof second), 0);
  EXPECT_NE(addInt(1), 0u);
  EXPECT_TRUE(CeUnmountDBVol(&second));
  // Still mounted once: the handle works.
  EXPECT_NE(addInt(2), 0u);
  EXPECT_TRUE(CeUnmountDBVol(&guid_));
  mounted_ = 0;
  // The volume is gone: the handle fails until it is closed.
  EXPECT_EQ(addInt(3), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(CeUnmountDBVol(&guid_));
  EXPECT_TRUE(CloseHandle(handle_));
  EXPECT_FALSE(CloseHandle(handle_));
  handle_ = INVALID_HANDLE_VALUE;
}

TEST_F(DatabaseApiTest, OpenAndCreateReportTheDocumentedErrors) {
  ASSERT_TRUE(CeMountDBVol(&guid_, path("v.cdb").c_str(), OPEN_ALWAYS));
  ++mounted_;
  CEOID oid = 0;
  EXPECT_EQ(CeOpenDatabaseEx2(&guid_, &oid, u"Missing", nullptr, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

  CEDBASEINFOEX info = databaseInfo(u"One");
  const CEOID created = CeCreateDatabaseEx2(&guid_, &info);
  ASSERT_NE(created, 0u);
  EXPECT_EQ(CeCreateDatabaseEx2(&guid_, &info), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DUP_NAME));

  HANDLE h = CeOpenDatabaseEx2(&guid_, &oid, u"One", nullptr, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(oid, created);
  CEDBASEINFOEX got;
  ASSERT_TRUE(CeGetDBInformationByHandle(h, &got));
  EXPECT_EQ(got.dwDbaseType, 1235u);
  EXPECT_EQ(got.wNumSortOrders, 0);
  EXPECT_EQ(std::u16string(got.szDbaseName), u"One");
  EXPECT_EQ(got.dwNumRecords, 0u);
  EXPECT_TRUE(CloseHandle(h));

  // Opening by id finds the same database.
  CEOID byId = created;
  h = CeOpenDatabaseEx2(&guid_, &byId, nullptr, nullptr, 0, nullptr);
  EXPECT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);

  CEGUID bogus{7, 7, 7, 7};
  EXPECT_EQ(CeOpenDatabaseEx2(&bogus, &oid, u"One", nullptr, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(CeSeekDatabase(reinterpret_cast<HANDLE>(0x1234), CEDB_SEEK_BEGINNING, 0, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(DatabaseApiTest, EveryTypeReadsBackAsWritten) {
  mountAndOpen();
  std::vector<BYTE> bytes = {0, 1, 2, 255};
  std::vector<BYTE> none;
  CEPROPVAL values[8] = {};
  values[0] = intProp(0, -5);
  values[1] = textProp(1, u"Łukasz Żółw");
  values[2].propid = PropIdFromTag(2, CEVT_FILETIME);
  values[2].val.filetime = {0x89ABCDEF, 0x01D00000};
  values[3] = blobProp(3, bytes);
  values[4] = blobProp(4, none);
  values[5].propid = PropIdFromTag(5, CEVT_R8);
  values[5].val.dblVal = 2.5;
  values[6].propid = PropIdFromTag(6, CEVT_I2);
  values[6].val.iVal = -3;
  values[7] = textProp(7, u"");
  const CEOID oid = CeWriteRecordProps(handle_, 0, 8, values);
  ASSERT_NE(oid, 0u);

  ASSERT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_CEOID, oid, nullptr), oid);
  Read r;
  readCurrent(handle_, r);
  ASSERT_EQ(r.oid, oid);
  ASSERT_EQ(r.values.size(), 8u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(r.values[i].propid, values[i].propid) << i;
  EXPECT_EQ(r.values[0].val.lVal, -5);
  EXPECT_EQ(std::u16string(r.values[1].val.lpwstr), u"Łukasz Żółw");
  EXPECT_EQ(r.values[2].val.filetime.dwLowDateTime, 0x89ABCDEFu);
  EXPECT_EQ(r.values[2].val.filetime.dwHighDateTime, 0x01D00000u);
  ASSERT_EQ(r.values[3].val.blob.dwCount, 4u);
  EXPECT_EQ(std::vector<BYTE>(r.values[3].val.blob.lpb, r.values[3].val.blob.lpb + 4), bytes);
  EXPECT_EQ(r.values[4].val.blob.dwCount, 0u);
  EXPECT_EQ(r.values[5].val.dblVal, 2.5);
  EXPECT_EQ(r.values[6].val.iVal, -3);
  EXPECT_EQ(std::u16string(r.values[7].val.lpwstr), u"");
}

TEST_F(DatabaseApiTest, RecordsEnumerateInWriteOrderWithIdsNeverReused) {
  mountAndOpen();
  CEDBASEINFOEX other = databaseInfo(u"OtherDB");
  ASSERT_NE(CeCreateDatabaseEx2(&guid_, &other), 0u);
  HANDLE h2 = CeOpenDatabaseEx2(&guid_, nullptr, u"OtherDB", nullptr, 0, nullptr);
  ASSERT_NE(h2, INVALID_HANDLE_VALUE);

  std::vector<CEOID> ids;
  for (int i = 0; i < 6; ++i) {
    ids.push_back(addInt(i));
    CEPROPVAL v = intProp(0, 100 + i);
    ids.push_back(CeWriteRecordProps(h2, 0, 1, &v));
  }
  std::vector<CEOID> sorted = ids;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  EXPECT_NE(sorted.front(), 0u);
  EXPECT_EQ(enumerateInts(), (std::vector<LONG>{0, 1, 2, 3, 4, 5}));

  // Deleting the newest record does not free its id, also not after remounting.
  const CEOID newest = ids[10];
  EXPECT_TRUE(CeDeleteRecord(handle_, newest));
  EXPECT_FALSE(CeDeleteRecord(handle_, newest));
  // A record of another database is not deleted through this handle.
  EXPECT_FALSE(CeDeleteRecord(handle_, ids[1]));
  CloseHandle(h2);
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  CeUnmountDBVol(&guid_);
  --mounted_;
  ASSERT_TRUE(CeMountDBVol(&guid_, path("v.cdb").c_str(), OPEN_EXISTING));
  ++mounted_;
  handle_ = CeOpenDatabaseEx2(&guid_, nullptr, u"ThingsDB", nullptr, 0, nullptr);
  ASSERT_NE(handle_, INVALID_HANDLE_VALUE);
  const CEOID fresh = addInt(6);
  EXPECT_GT(fresh, *std::max_element(ids.begin(), ids.end()));
  EXPECT_EQ(enumerateInts(), (std::vector<LONG>{0, 1, 2, 3, 4, 6}));
}

TEST_F(DatabaseApiTest, SeeksMoveByOffsetAndReportTheIndex) {
  mountAndOpen();
  std::vector<CEOID> ids;
  for (int i = 0; i < 5; ++i) ids.push_back(addInt(i));
  DWORD index = 99;
  EXPECT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_BEGINNING, 2, &index), ids[2]);
  EXPECT_EQ(index, 2u);
  EXPECT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_CURRENT, 2, &index), ids[4]);
  EXPECT_EQ(index, 4u);
  EXPECT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_CURRENT, static_cast<DWORD>(-3), &index), ids[1]);
  EXPECT_EQ(index, 1u);
  EXPECT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_END, 0, &index), ids[4]);
  EXPECT_EQ(index, 4u);
  EXPECT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_CEOID, ids[3], &index), ids[3]);
  EXPECT_EQ(index, 3u);
  // A failed seek leaves the position where it was.
  EXPECT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_CURRENT, 5, nullptr), 0u);
  EXPECT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_CEOID, 0xFFFFFF00u, nullptr), 0u);
  Read r;
  readCurrent(handle_, r);
  EXPECT_EQ(r.oid, ids[3]);
  EXPECT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_VALUEFIRSTEQUAL, 0, nullptr), 0u);
}

TEST_F(DatabaseApiTest, WritingDuringAnEnumerationKeepsItConsistent) {
  mountAndOpen();
  for (int i = 0; i < 4; ++i) addInt(i);
  std::vector<LONG> seen;
  for (CEOID oid = CeSeekDatabase(handle_, CEDB_SEEK_BEGINNING, 0, nullptr); oid != 0;
       oid = CeSeekDatabase(handle_, CEDB_SEEK_CURRENT, 1, nullptr)) {
    Read r;
    readCurrent(handle_, r);
    seen.push_back(r.values[0].val.lVal);
    if (r.values[0].val.lVal == 1) {
      CEPROPVAL v = intProp(0, 10);
      ASSERT_NE(CeWriteRecordProps(handle_, oid, 1, &v), 0u);  // rewrite the current record
      addInt(4);                                               // and append one
    }
  }
  EXPECT_EQ(seen, (std::vector<LONG>{0, 1, 2, 3, 4}));
  EXPECT_EQ(enumerateInts(), (std::vector<LONG>{0, 10, 2, 3, 4}));
}

TEST_F(DatabaseApiTest, RewritingMergesReplacesAndDeletesProperties) {
  mountAndOpen();
  CEPROPVAL first[2] = {intProp(0, 1), textProp(1, u"one")};
  const CEOID oid = CeWriteRecordProps(handle_, 0, 2, first);
  CEPROPVAL second[3] = {textProp(1, u"uno"), intProp(2, 2), intProp(0, 0)};
  second[2].wFlags = CEDB_PROPDELETE;
  ASSERT_EQ(CeWriteRecordProps(handle_, oid, 3, second), oid);
  CeSeekDatabase(handle_, CEDB_SEEK_CEOID, oid, nullptr);
  Read r;
  readCurrent(handle_, r);
  ASSERT_EQ(r.values.size(), 2u);
  EXPECT_EQ(std::u16string(r.values[0].val.lpwstr), u"uno");
  EXPECT_EQ(r.values[1].val.lVal, 2);
  EXPECT_EQ(CeWriteRecordProps(handle_, 0xFFFFFFF0u, 1, first), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(DatabaseApiTest, ReadingChosenPropertiesAndBufferRules) {
  mountAndOpen();
  CEPROPVAL values[2] = {intProp(0, 7), textProp(1, u"seven")};
  const CEOID oid = CeWriteRecordProps(handle_, 0, 2, values);
  CeSeekDatabase(handle_, CEDB_SEEK_CEOID, oid, nullptr);

  CEPROPID wanted[2] = {PropIdFromTag(1, CEVT_LPWSTR), PropIdFromTag(9, CEVT_I4)};
  WORD count = 2;
  BYTE small[8];
  LPBYTE buffer = small;
  DWORD size = sizeof small;
  EXPECT_EQ(CeReadRecordProps(handle_, 0, &count, wanted, &buffer, &size), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_GT(size, sizeof small);

  std::vector<BYTE> fitting(size);
  buffer = fitting.data();
  count = 2;
  ASSERT_EQ(CeReadRecordProps(handle_, 0, &count, wanted, &buffer, &size), oid);
  ASSERT_EQ(count, 2);
  const auto* got = reinterpret_cast<const CEPROPVAL*>(buffer);
  EXPECT_EQ(std::u16string(got[0].val.lpwstr), u"seven");
  EXPECT_EQ(got[1].propid, wanted[1]);
  EXPECT_TRUE(got[1].wFlags & CEDB_PROPNOTFOUND);
}

TEST_F(DatabaseApiTest, BadWritesFailCleanly) {
  mountAndOpen();
  CEPROPVAL nullText = textProp(0, nullptr);
  EXPECT_EQ(CeWriteRecordProps(handle_, 0, 1, &nullText), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  CEPROPVAL unknown{};
  unknown.propid = PropIdFromTag(0, 99);
  EXPECT_EQ(CeWriteRecordProps(handle_, 0, 1, &unknown), 0u);
  std::vector<BYTE> huge(CEDB_MAXPROPDATASIZE + 1, 1);
  CEPROPVAL big = blobProp(0, huge);
  EXPECT_EQ(CeWriteRecordProps(handle_, 0, 1, &big), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(CeWriteRecordProps(handle_, 0, 0, &big), 0u);
  EXPECT_TRUE(enumerateInts().empty());
}

TEST_F(DatabaseApiTest, NoJournalIsLeftBesideTheVolumeBetweenCalls) {
  mountAndOpen();
  for (int i = 0; i < 20; ++i) {
    const CEOID oid = addInt(i);
    EXPECT_TRUE(strayFiles("v.cdb").empty());
    if (i % 3 == 0) {
      EXPECT_TRUE(CeDeleteRecord(handle_, oid));
    }
  }
  enumerateInts();
  EXPECT_TRUE(strayFiles("v.cdb").empty());
  // What a call wrote is visible to any other reader of the file at once.
  EXPECT_EQ(platform::testing::VolumeFile(hostPath("v.cdb")).recordCount(), 13);
}

TEST_F(DatabaseApiTest, ForeignFilesAreRefusedAndLeftAlone) {
  const std::string garbage = "this is a text file, not a volume\n";
  std::ofstream(hostPath("text.cdb")) << garbage;
  EXPECT_FALSE(CeMountDBVol(&guid_, path("text.cdb").c_str(), OPEN_ALWAYS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
  std::ifstream in(hostPath("text.cdb"));
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), garbage);

  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(hostPath("other.db").c_str(), &db), SQLITE_OK);
  sqlite3_exec(db, "CREATE TABLE notes(x); INSERT INTO notes VALUES(1);", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  EXPECT_FALSE(CeMountDBVol(&guid_, path("other.db").c_str(), OPEN_ALWAYS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));

  EXPECT_FALSE(CeMountDBVol(&guid_, path("missing/v.cdb").c_str(), OPEN_ALWAYS));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(CeMountDBVol(&guid_, path("absent.cdb").c_str(), OPEN_EXISTING));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(DatabaseApiTest, ACorruptRecordFailsAloneAndATruncatedVolumeDoesNotCrash) {
  mountAndOpen();
  addInt(1);
  const CEOID bad = addInt(2);
  addInt(3);
  ASSERT_TRUE(platform::testing::VolumeFile(hostPath("v.cdb")).spoilRecord(bad));
  std::vector<LONG> readable = enumerateInts();
  EXPECT_EQ(readable, (std::vector<LONG>{1, 3}));
  ASSERT_EQ(CeSeekDatabase(handle_, CEDB_SEEK_CEOID, bad, nullptr), bad);
  Read r;
  readCurrent(handle_, r);
  EXPECT_EQ(r.oid, 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));

  for (int i = 0; i < 300; ++i) addInt(i);
  CloseHandle(handle_);
  handle_ = INVALID_HANDLE_VALUE;
  CeUnmountDBVol(&guid_);
  mounted_ = 0;
  const auto size = std::filesystem::file_size(hostPath("v.cdb"));
  std::filesystem::resize_file(hostPath("v.cdb"), size / 2);
  if (CeMountDBVol(&guid_, path("v.cdb").c_str(), OPEN_ALWAYS)) {
    ++mounted_;
    handle_ = CeOpenDatabaseEx2(&guid_, nullptr, u"ThingsDB", nullptr, 0, nullptr);
    if (handle_ != INVALID_HANDLE_VALUE) {
      enumerateInts();
      addInt(1);
    }
  }
  EXPECT_GT(std::filesystem::file_size(hostPath("v.cdb")), 0u);
}

}  // namespace

namespace {

TEST_F(DatabaseApiTest, ABulkWriteKeepsEveryRecordOnceCommitted) {
  mountAndOpen();
  {
    platform::cedb::BulkWrite bulk(path("v.cdb"));
    ASSERT_TRUE(bulk.active());
    for (int i = 0; i < 200; ++i) ASSERT_NE(addInt(i), 0u);
    EXPECT_EQ(enumerateInts().size(), 200u);
    EXPECT_TRUE(bulk.commit());
  }
  EXPECT_TRUE(strayFiles("v.cdb").empty());
  CloseHandle(handle_);
  CeUnmountDBVol(&guid_);
  --mounted_;
  ASSERT_TRUE(CeMountDBVol(&guid_, path("v.cdb").c_str(), OPEN_EXISTING));
  ++mounted_;
  handle_ = CeOpenDatabaseEx2(&guid_, nullptr, u"ThingsDB", nullptr, 0, nullptr);
  EXPECT_EQ(enumerateInts().size(), 200u);
  // An unmounted volume has nothing to group.
  EXPECT_FALSE(platform::cedb::BulkWrite(path("other.cdb")).active());
}

}  // namespace

namespace {

TEST_F(DatabaseApiTest, AScanReadsWellFormedRecordsInOrderAndKeepsGoingAcrossWrites) {
  mountAndOpen();
  const CEOID first = addInt(1);
  const CEOID bad = addInt(2);
  std::vector<BYTE> bytes = {7, 8, 9};
  CEPROPVAL mixed[] = {blobProp(3, bytes), textProp(1, u"Ala ma kota"), intProp(0, 3)};
  const CEOID third = CeWriteRecordProps(handle_, 0, 3, mixed);
  ASSERT_NE(third, 0u);
  ASSERT_TRUE(platform::testing::VolumeFile(hostPath("v.cdb")).spoilRecord(bad));

  platform::cedb::RecordScan scan(handle_);
  ASSERT_TRUE(scan.next());
  EXPECT_EQ(scan.oid(), first);
  // A write in the middle of a scan neither breaks it nor makes it repeat a record.
  const CEOID added = addInt(4);
  ASSERT_TRUE(scan.next());
  EXPECT_EQ(scan.oid(), third);
  ASSERT_EQ(scan.properties().size(), 3u);
  EXPECT_EQ(scan.properties()[0].propid, PropIdFromTag(3, CEVT_BLOB));
  EXPECT_EQ(scan.properties()[0].size, 3u);
  EXPECT_EQ(scan.properties()[0].payload[2], 9);
  EXPECT_EQ(scan.properties()[1].size, 22u);
  EXPECT_EQ(std::memcmp(scan.properties()[1].payload, u"Ala ma kota", 22), 0);
  ASSERT_TRUE(scan.next());
  EXPECT_EQ(scan.oid(), added);
  EXPECT_FALSE(scan.next());
  EXPECT_EQ(scan.error(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
  EXPECT_EQ(scan.skipped(), 1u);
  EXPECT_FALSE(scan.next());

  platform::cedb::RecordScan closed(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(closed.next());
  EXPECT_EQ(closed.error(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
