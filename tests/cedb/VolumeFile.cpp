#include "tests/cedb/VolumeFile.h"

#include <sqlite3.h>

#include "platform/cedb/PropertyCodec.h"

namespace platform::testing {

namespace {

// Nine properties announced and none there.
constexpr unsigned char kSpoilt[] = {0x09, 0x00};

struct Finalize {
  void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, Finalize>;

Statement prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* s = nullptr;
  if (db == nullptr || sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) return nullptr;
  return Statement(s);
}

}  // namespace

VolumeFile::VolumeFile(const std::string& hostPath) {
  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(hostPath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  db_.reset(db);
  if (rc != SQLITE_OK) db_.reset();
}

void VolumeFile::Close::operator()(sqlite3* db) const { sqlite3_close(db); }

bool VolumeFile::spoilRecord(CEOID oid) { return replaceBytes(oid, kSpoilt, sizeof kSpoilt); }

CEOID VolumeFile::addSpoiltRecordBeside(CEOID oid) {
  const long long next = queryNumber("SELECT value FROM meta WHERE key='next_oid'");
  if (next <= 0) return 0;
  Statement insert =
      prepare(db_.get(), "INSERT INTO records(db, oid, props) SELECT db, ?1, ?2 FROM records WHERE oid=?3");
  Statement advance = prepare(db_.get(), "UPDATE meta SET value=?1 WHERE key='next_oid'");
  if (!insert || !advance) return 0;
  sqlite3_bind_int64(insert.get(), 1, next);
  sqlite3_bind_blob(insert.get(), 2, kSpoilt, sizeof kSpoilt, SQLITE_STATIC);
  sqlite3_bind_int64(insert.get(), 3, oid);
  if (sqlite3_step(insert.get()) != SQLITE_DONE || sqlite3_changes(db_.get()) != 1) return 0;
  sqlite3_bind_int64(advance.get(), 1, next + 1);
  if (sqlite3_step(advance.get()) != SQLITE_DONE) return 0;
  return static_cast<CEOID>(next);
}

bool VolumeFile::storeText(CEOID oid, CEPROPID propid, std::u16string_view text) {
  if (TypeFromPropID(propid) != CEVT_LPWSTR) return false;
  CEPROPVAL value{};
  value.propid = propid;
  value.val.lpwstr = const_cast<LPWSTR>(text.data());
  cedb::RecordEncoder encoder;
  encoder.addValue(value, static_cast<DWORD>(text.size() * sizeof(char16_t)));
  const auto& bytes = encoder.finish();
  return replaceBytes(oid, bytes.data(), static_cast<int>(bytes.size()));
}

CEOID VolumeFile::firstRecordOf(const std::string& database) {
  Statement first =
      prepare(db_.get(), "SELECT min(r.oid) FROM records r JOIN databases d ON r.db = d.oid WHERE d.name = ?1");
  if (!first) return 0;
  sqlite3_bind_text(first.get(), 1, database.c_str(), -1, SQLITE_TRANSIENT);
  if (sqlite3_step(first.get()) != SQLITE_ROW) return 0;
  return static_cast<CEOID>(sqlite3_column_int64(first.get(), 0));
}

int VolumeFile::formatVersion() {
  return static_cast<int>(queryNumber("SELECT value FROM meta WHERE key='format_version'"));
}

int VolumeFile::recordCount() { return static_cast<int>(queryNumber("SELECT count(*) FROM records")); }

std::string VolumeFile::integrityCheck() {
  Statement check = prepare(db_.get(), "PRAGMA integrity_check");
  if (!check) return "cannot open";
  if (sqlite3_step(check.get()) != SQLITE_ROW) return "cannot check";
  return reinterpret_cast<const char*>(sqlite3_column_text(check.get(), 0));
}

bool VolumeFile::replaceBytes(CEOID oid, const void* bytes, int size) {
  Statement update = prepare(db_.get(), "UPDATE records SET props=?1 WHERE oid=?2");
  if (!update) return false;
  sqlite3_bind_blob(update.get(), 1, bytes, size, SQLITE_TRANSIENT);
  sqlite3_bind_int64(update.get(), 2, oid);
  return sqlite3_step(update.get()) == SQLITE_DONE && sqlite3_changes(db_.get()) == 1;
}

long long VolumeFile::queryNumber(const char* sql) {
  Statement query = prepare(db_.get(), sql);
  if (!query || sqlite3_step(query.get()) != SQLITE_ROW) return -1;
  return sqlite3_column_int64(query.get(), 0);
}

}  // namespace platform::testing
