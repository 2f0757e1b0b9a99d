// One mounted volume file: the SQLite connection and the statements every call uses.
// Each change is one transaction with synchronous=FULL and a rollback journal that is deleted
// at commit, so between calls the volume is exactly one file.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/cedb/WinDb.h"

struct sqlite3;
struct sqlite3_stmt;

namespace platform::cedb {

inline constexpr std::int64_t kFormatVersion = 1;

struct DatabaseInfo {
  CEOID oid = 0;
  std::u16string name;
  DWORD type = 0;
  DWORD flags = 0;
};

// A prepared statement, reset and unbound when the guard leaves scope.
class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* db, const char* sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;

  sqlite3_stmt* get() const { return stmt_; }
  bool valid() const { return stmt_ != nullptr; }
  void reset();

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

class Volume {
 public:
  // Opens (and for a new file creates the layout of) the volume. creation is a CreateFile
  // disposition. On failure returns null and sets error; the file is never rewritten then.
  static std::unique_ptr<Volume> open(const std::string& hostPath, DWORD creation, DWORD& error);
  ~Volume();
  Volume(const Volume&) = delete;
  Volume& operator=(const Volume&) = delete;

  sqlite3* connection() const { return db_.get(); }
  // Bumped by every change, so cursors know when to re-query.
  std::uint64_t generation() const { return generation_; }

  std::optional<DatabaseInfo> findDatabase(std::u16string_view name, DWORD& error);
  std::optional<DatabaseInfo> findDatabase(CEOID oid, DWORD& error);
  CEOID createDatabase(const DatabaseInfo& info, DWORD& error);
  bool deleteDatabase(CEOID oid, DWORD& error);
  bool databaseStatistics(CEOID oid, DWORD& records, DWORD& bytes, DWORD& error);

  // A new record gets the next id of the volume; ids are never handed out twice.
  CEOID insertRecord(CEOID database, const std::vector<BYTE>& bytes, DWORD& error);
  bool replaceRecord(CEOID database, CEOID oid, const std::vector<BYTE>& bytes, DWORD& error);
  bool deleteRecord(CEOID database, CEOID oid, DWORD& error);
  // The stored bytes of one record; false with ERROR_... when missing or unreadable.
  bool readRecord(CEOID database, CEOID oid, std::vector<BYTE>& bytes, DWORD& error);
  bool recordExists(CEOID database, CEOID oid, DWORD& error);
  // The id of the n-th record after (or before, when backwards) the given id; 0 when none.
  CEOID neighbour(CEOID database, CEOID from, bool backwards, DWORD skip, DWORD& error);
  // Number of records whose id is below oid.
  bool countBelow(CEOID database, CEOID oid, DWORD& count, DWORD& error);

  // Groups every following write into one transaction until endBulk (tools filling large volumes).
  bool beginBulk(DWORD& error);
  bool endBulk(DWORD& error);
  bool inBulk() const { return bulk_; }

  static DWORD errorFromSqlite(int code);

 private:
  explicit Volume(sqlite3* db) : db_(db) {}
  struct CloseConnection {
    void operator()(sqlite3* db) const;
  };
  bool exec(const char* sql, DWORD& error);
  bool prepareStatements(DWORD& error);
  bool begin(DWORD& error);
  bool commit(DWORD& error);
  void rollback();
  std::optional<DatabaseInfo> readDatabaseRow(Statement& s, DWORD& error);

  // Declared first so that the statements are finalized before the connection closes.
  std::unique_ptr<sqlite3, CloseConnection> db_;
  std::uint64_t generation_ = 1;
  bool bulk_ = false;
  Statement begin_, commit_, rollback_;
  Statement nextOid_, setNextOid_;
  Statement findByName_, findByOid_, insertDatabase_, deleteDatabase_, deleteDatabaseRecords_, statistics_;
  Statement insertRecord_, replaceRecord_, deleteRecord_, readRecord_, existsRecord_;
  Statement after_, before_, countBelow_;
};

}  // namespace platform::cedb
