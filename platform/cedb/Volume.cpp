#include "platform/cedb/Volume.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/base/HostCalls.h"
#include "platform/cedb/VolumeVfs.h"

namespace platform::cedb {

namespace {

constexpr std::int64_t kLastOid = 0xFFFFFFFFLL;

// Statements used before the layout is known to exist are run one by one.
constexpr const char* kCreateLayout =
    "CREATE TABLE meta(key TEXT PRIMARY KEY, value INTEGER NOT NULL);"
    "CREATE TABLE databases(oid INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE COLLATE NOCASE,"
    " type INTEGER NOT NULL, flags INTEGER NOT NULL);"
    "CREATE TABLE records(db INTEGER NOT NULL, oid INTEGER NOT NULL, props BLOB NOT NULL,"
    " PRIMARY KEY(db, oid)) WITHOUT ROWID;"
    "INSERT INTO meta(key, value) VALUES('format_version', 1);"
    "INSERT INTO meta(key, value) VALUES('next_oid', 1);";

}  // namespace

Statement::Statement(sqlite3* db, const char* sql) {
  if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK) stmt_ = nullptr;
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement::Statement(Statement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

void Statement::reset() {
  if (!stmt_) return;
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

namespace {

// Resets the statement when the scope ends, whatever path leaves it.
class Use {
 public:
  explicit Use(Statement& s) : s_(s) {}
  ~Use() { s_.reset(); }
  Use(const Use&) = delete;
  Use& operator=(const Use&) = delete;
  sqlite3_stmt* operator*() const { return s_.get(); }

 private:
  Statement& s_;
};

}  // namespace

DWORD Volume::errorFromSqlite(int code) {
  switch (code & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW:
      return ERROR_SUCCESS;
    case SQLITE_FULL:
      return ERROR_DISK_FULL;
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
    case SQLITE_CANTOPEN:
      return ERROR_ACCESS_DENIED;
    case SQLITE_NOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case SQLITE_CORRUPT:
      return ERROR_INVALID_DATA;
    case SQLITE_NOTADB:
      return ERROR_BAD_FORMAT;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return ERROR_SHARING_VIOLATION;
    case SQLITE_IOERR:
      return code == SQLITE_IOERR_READ || code == SQLITE_IOERR_SHORT_READ ? ERROR_READ_FAULT : ERROR_WRITE_FAULT;
    case SQLITE_TOOBIG:
      return ERROR_INVALID_PARAMETER;
    default:
      return ERROR_GEN_FAILURE;
  }
}

std::unique_ptr<Volume> Volume::open(const std::string& hostPath, DWORD creation, DWORD& error) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path path(hostPath);
  if (hostPath.empty()) {
    error = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  const bool exists = fs::exists(path, ec);
  if (exists && fs::is_directory(path, ec)) {
    error = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  switch (creation) {
    case CREATE_NEW:
      if (exists) {
        error = ERROR_FILE_EXISTS;
        return nullptr;
      }
      break;
    case OPEN_EXISTING:
    case TRUNCATE_EXISTING:
      if (!exists) {
        error = ERROR_FILE_NOT_FOUND;
        return nullptr;
      }
      break;
    case CREATE_ALWAYS:
    case OPEN_ALWAYS:
      break;
    default:
      error = ERROR_INVALID_PARAMETER;
      return nullptr;
  }
  const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (!fs::is_directory(parent, ec)) {
    error = ERROR_PATH_NOT_FOUND;
    return nullptr;
  }
  // Emptying is asked for explicitly by the caller; it is the only way an existing file is replaced.
  if (exists && (creation == CREATE_ALWAYS || creation == TRUNCATE_EXISTING)) {
    if (!fs::remove(path, ec)) {
      error = ERROR_ACCESS_DENIED;
      return nullptr;
    }
  }

  // A new volume is the user's private file from its first byte; SQLite gives its journal the
  // same mode.
  bool made = false;
  if (creation != OPEN_EXISTING && !fs::exists(path, ec)) {
    const int fd = HostCalls::open(hostPath.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
      error = errno == EACCES || errno == EROFS    ? ERROR_ACCESS_DENIED
              : errno == ENOSPC || errno == EDQUOT ? ERROR_DISK_FULL
              : errno == EIO                       ? ERROR_WRITE_FAULT
                                                   : ERROR_PATH_NOT_FOUND;
      return nullptr;
    }
    ::close(fd);
    made = true;
  }
  sqlite3* raw = nullptr;
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (creation == OPEN_EXISTING ? 0 : SQLITE_OPEN_CREATE);
  const int rc = sqlite3_open_v2(hostPath.c_str(), &raw, flags, VolumeVfs::name());
  std::unique_ptr<Volume> volume(new Volume(raw));  // owns raw from here, also on failure
  if (rc != SQLITE_OK) {
    error = errorFromSqlite(rc);
    volume.reset();
    if (made) fs::remove(path, ec);
    return nullptr;
  }
  sqlite3_extended_result_codes(raw, 1);
  sqlite3_busy_timeout(raw, 5000);

  // Reading the schema is the first access to the file: a file that is not a database fails here,
  // before anything could be written to it.
  int tables = -1;
  {
    Statement count(raw, "SELECT count(*) FROM sqlite_master");
    if (!count.valid()) {
      const int code = sqlite3_extended_errcode(raw);
      error =
          (code & 0xFF) == SQLITE_NOTADB || (code & 0xFF) == SQLITE_CORRUPT ? ERROR_BAD_FORMAT : errorFromSqlite(code);
      return nullptr;
    }
    const int step = sqlite3_step(count.get());
    if (step != SQLITE_ROW) {
      error =
          (step & 0xFF) == SQLITE_NOTADB || (step & 0xFF) == SQLITE_CORRUPT ? ERROR_BAD_FORMAT : errorFromSqlite(step);
      return nullptr;
    }
    tables = sqlite3_column_int(count.get(), 0);
  }
  if (!volume->exec("PRAGMA journal_mode=DELETE", error) || !volume->exec("PRAGMA synchronous=FULL", error)) {
    return nullptr;
  }
  if (tables == 0) {
    if (!volume->begin(error)) return nullptr;
    if (!volume->exec(kCreateLayout, error) || !volume->commit(error)) {
      volume->rollback();
      return nullptr;
    }
  } else {
    Statement version(raw, "SELECT value FROM meta WHERE key='format_version'");
    if (!version.valid() || sqlite3_step(version.get()) != SQLITE_ROW ||
        sqlite3_column_int64(version.get(), 0) > kFormatVersion || sqlite3_column_int64(version.get(), 0) < 1) {
      error = ERROR_BAD_FORMAT;
      return nullptr;
    }
  }
  if (!volume->prepareStatements(error)) return nullptr;
  return volume;
}

Volume::~Volume() = default;

void Volume::CloseConnection::operator()(sqlite3* db) const { sqlite3_close_v2(db); }

bool Volume::exec(const char* sql, DWORD& error) {
  const int rc = sqlite3_exec(db_.get(), sql, nullptr, nullptr, nullptr);
  if (rc == SQLITE_OK) return true;
  error = errorFromSqlite(sqlite3_extended_errcode(db_.get()));
  return false;
}

bool Volume::prepareStatements(DWORD& error) {
  begin_ = Statement(db_.get(), "BEGIN IMMEDIATE");
  commit_ = Statement(db_.get(), "COMMIT");
  rollback_ = Statement(db_.get(), "ROLLBACK");
  nextOid_ = Statement(db_.get(), "SELECT value FROM meta WHERE key='next_oid'");
  setNextOid_ = Statement(db_.get(), "UPDATE meta SET value=?1 WHERE key='next_oid'");
  findByName_ = Statement(db_.get(), "SELECT oid, name, type, flags FROM databases WHERE name=?1");
  findByOid_ = Statement(db_.get(), "SELECT oid, name, type, flags FROM databases WHERE oid=?1");
  insertDatabase_ = Statement(db_.get(), "INSERT INTO databases(oid, name, type, flags) VALUES(?1, ?2, ?3, ?4)");
  deleteDatabase_ = Statement(db_.get(), "DELETE FROM databases WHERE oid=?1");
  deleteDatabaseRecords_ = Statement(db_.get(), "DELETE FROM records WHERE db=?1");
  statistics_ = Statement(db_.get(), "SELECT count(*), coalesce(sum(length(props)), 0) FROM records WHERE db=?1");
  insertRecord_ = Statement(db_.get(), "INSERT INTO records(db, oid, props) VALUES(?1, ?2, ?3)");
  replaceRecord_ = Statement(db_.get(), "UPDATE records SET props=?3 WHERE db=?1 AND oid=?2");
  deleteRecord_ = Statement(db_.get(), "DELETE FROM records WHERE db=?1 AND oid=?2");
  readRecord_ = Statement(db_.get(), "SELECT props FROM records WHERE db=?1 AND oid=?2");
  existsRecord_ = Statement(db_.get(), "SELECT 1 FROM records WHERE db=?1 AND oid=?2");
  after_ = Statement(db_.get(), "SELECT oid FROM records WHERE db=?1 AND oid>?2 ORDER BY oid LIMIT 1 OFFSET ?3");
  before_ = Statement(db_.get(), "SELECT oid FROM records WHERE db=?1 AND oid<?2 ORDER BY oid DESC LIMIT 1 OFFSET ?3");
  countBelow_ = Statement(db_.get(), "SELECT count(*) FROM records WHERE db=?1 AND oid<?2");
  for (const Statement* s :
       {&begin_, &commit_, &rollback_, &nextOid_, &setNextOid_, &findByName_, &findByOid_, &insertDatabase_,
        &deleteDatabase_, &deleteDatabaseRecords_, &statistics_, &insertRecord_, &replaceRecord_, &deleteRecord_,
        &readRecord_, &existsRecord_, &after_, &before_, &countBelow_}) {
    if (!s->valid()) {
      // A database of someone else's making (tables missing or shaped differently).
      error = ERROR_BAD_FORMAT;
      return false;
    }
  }
  return true;
}

bool Volume::beginBulk(DWORD& error) {
  if (bulk_) return true;
  if (!begin(error)) return false;
  bulk_ = true;
  return true;
}

bool Volume::endBulk(DWORD& error) {
  if (!bulk_) return true;
  bulk_ = false;
  // A full disk or an I/O error may already have rolled the whole transaction back.
  if (sqlite3_get_autocommit(db_.get())) {
    error = ERROR_WRITE_FAULT;
    return false;
  }
  return commit(error);
}

bool Volume::begin(DWORD& error) {
  if (bulk_) return true;
  if (begin_.valid()) {
    Use use(begin_);
    const int rc = sqlite3_step(*use);
    if (rc == SQLITE_DONE) return true;
    error = errorFromSqlite(rc);
    return false;
  }
  return exec("BEGIN IMMEDIATE", error);
}

bool Volume::commit(DWORD& error) {
  if (bulk_) {
    ++generation_;
    return true;
  }
  int rc;
  if (commit_.valid()) {
    Use use(commit_);
    rc = sqlite3_step(*use);
  } else {
    rc = sqlite3_exec(db_.get(), "COMMIT", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = SQLITE_DONE;
  }
  if (rc == SQLITE_DONE) {
    ++generation_;
    return true;
  }
  error = errorFromSqlite(rc);
  rollback();
  return false;
}

void Volume::rollback() {
  // Inside a bulk write a failed statement undoes only itself.
  if (bulk_ || sqlite3_get_autocommit(db_.get())) return;
  if (rollback_.valid()) {
    Use use(rollback_);
    sqlite3_step(*use);
  } else {
    sqlite3_exec(db_.get(), "ROLLBACK", nullptr, nullptr, nullptr);
  }
}

std::optional<DatabaseInfo> Volume::readDatabaseRow(Statement& s, DWORD& error) {
  const int rc = sqlite3_step(s.get());
  if (rc == SQLITE_DONE) {
    error = ERROR_FILE_NOT_FOUND;
    return std::nullopt;
  }
  if (rc != SQLITE_ROW) {
    error = errorFromSqlite(rc);
    return std::nullopt;
  }
  DatabaseInfo info;
  info.oid = static_cast<CEOID>(sqlite3_column_int64(s.get(), 0));
  const auto* name = static_cast<const char16_t*>(sqlite3_column_text16(s.get(), 1));
  const int bytes = sqlite3_column_bytes16(s.get(), 1);
  if (name) info.name.assign(name, static_cast<std::size_t>(bytes) / 2);
  info.type = static_cast<DWORD>(sqlite3_column_int64(s.get(), 2));
  info.flags = static_cast<DWORD>(sqlite3_column_int64(s.get(), 3));
  return info;
}

std::optional<DatabaseInfo> Volume::findDatabase(std::u16string_view name, DWORD& error) {
  Use use(findByName_);
  sqlite3_bind_text16(*use, 1, name.data(), static_cast<int>(name.size() * 2), SQLITE_TRANSIENT);
  return readDatabaseRow(findByName_, error);
}

std::optional<DatabaseInfo> Volume::findDatabase(CEOID oid, DWORD& error) {
  Use use(findByOid_);
  sqlite3_bind_int64(*use, 1, oid);
  return readDatabaseRow(findByOid_, error);
}

CEOID Volume::createDatabase(const DatabaseInfo& info, DWORD& error) {
  if (!begin(error)) return 0;
  auto fail = [&](DWORD code) -> CEOID {
    error = code;
    rollback();
    return 0;
  };
  DWORD lookup = 0;
  if (findDatabase(info.name, lookup)) return fail(ERROR_DUP_NAME);
  if (lookup != ERROR_FILE_NOT_FOUND) return fail(lookup);
  std::int64_t oid = 0;
  {
    Use use(nextOid_);
    const int rc = sqlite3_step(*use);
    if (rc != SQLITE_ROW) return fail(rc == SQLITE_DONE ? ERROR_INVALID_DATA : errorFromSqlite(rc));
    oid = sqlite3_column_int64(*use, 0);
  }
  if (oid < 1 || oid > kLastOid) return fail(ERROR_DATABASE_FULL);
  {
    Use use(insertDatabase_);
    sqlite3_bind_int64(*use, 1, oid);
    sqlite3_bind_text16(*use, 2, info.name.data(), static_cast<int>(info.name.size() * 2), SQLITE_TRANSIENT);
    sqlite3_bind_int64(*use, 3, info.type);
    sqlite3_bind_int64(*use, 4, info.flags);
    const int rc = sqlite3_step(*use);
    if (rc != SQLITE_DONE) return fail(errorFromSqlite(rc));
  }
  {
    Use use(setNextOid_);
    sqlite3_bind_int64(*use, 1, oid + 1);
    const int rc = sqlite3_step(*use);
    if (rc != SQLITE_DONE) return fail(errorFromSqlite(rc));
  }
  if (!commit(error)) return 0;
  return static_cast<CEOID>(oid);
}

bool Volume::deleteDatabase(CEOID oid, DWORD& error) {
  if (!begin(error)) return false;
  {
    Use use(deleteDatabase_);
    sqlite3_bind_int64(*use, 1, oid);
    const int rc = sqlite3_step(*use);
    if (rc != SQLITE_DONE || sqlite3_changes(db_.get()) == 0) {
      error = rc != SQLITE_DONE ? errorFromSqlite(rc) : ERROR_INVALID_PARAMETER;
      rollback();
      return false;
    }
  }
  {
    Use use(deleteDatabaseRecords_);
    sqlite3_bind_int64(*use, 1, oid);
    const int rc = sqlite3_step(*use);
    if (rc != SQLITE_DONE) {
      error = errorFromSqlite(rc);
      rollback();
      return false;
    }
  }
  return commit(error);
}

bool Volume::databaseStatistics(CEOID oid, DWORD& records, DWORD& bytes, DWORD& error) {
  Use use(statistics_);
  sqlite3_bind_int64(*use, 1, oid);
  const int rc = sqlite3_step(*use);
  if (rc != SQLITE_ROW) {
    error = errorFromSqlite(rc);
    return false;
  }
  records = static_cast<DWORD>(sqlite3_column_int64(*use, 0));
  bytes = static_cast<DWORD>(sqlite3_column_int64(*use, 1));
  return true;
}

CEOID Volume::insertRecord(CEOID database, const std::vector<BYTE>& bytes, DWORD& error) {
  if (!begin(error)) return 0;
  auto fail = [&](DWORD code) -> CEOID {
    error = code;
    rollback();
    return 0;
  };
  std::int64_t oid = 0;
  {
    Use use(nextOid_);
    const int rc = sqlite3_step(*use);
    if (rc != SQLITE_ROW) return fail(rc == SQLITE_DONE ? ERROR_INVALID_DATA : errorFromSqlite(rc));
    oid = sqlite3_column_int64(*use, 0);
  }
  if (oid < 1 || oid > kLastOid) return fail(ERROR_DATABASE_FULL);
  {
    Use use(insertRecord_);
    sqlite3_bind_int64(*use, 1, database);
    sqlite3_bind_int64(*use, 2, oid);
    sqlite3_bind_blob(*use, 3, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
    const int rc = sqlite3_step(*use);
    if (rc != SQLITE_DONE) return fail(errorFromSqlite(rc));
  }
  {
    Use use(setNextOid_);
    sqlite3_bind_int64(*use, 1, oid + 1);
    const int rc = sqlite3_step(*use);
    if (rc != SQLITE_DONE) return fail(errorFromSqlite(rc));
  }
  if (!commit(error)) return 0;
  return static_cast<CEOID>(oid);
}

bool Volume::replaceRecord(CEOID database, CEOID oid, const std::vector<BYTE>& bytes, DWORD& error) {
  Use use(replaceRecord_);
  sqlite3_bind_int64(*use, 1, database);
  sqlite3_bind_int64(*use, 2, oid);
  sqlite3_bind_blob(*use, 3, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
  const int rc = sqlite3_step(*use);
  if (rc != SQLITE_DONE) {
    error = errorFromSqlite(rc);
    return false;
  }
  ++generation_;
  if (sqlite3_changes(db_.get()) == 0) {
    error = ERROR_INVALID_PARAMETER;
    return false;
  }
  return true;
}

bool Volume::deleteRecord(CEOID database, CEOID oid, DWORD& error) {
  Use use(deleteRecord_);
  sqlite3_bind_int64(*use, 1, database);
  sqlite3_bind_int64(*use, 2, oid);
  const int rc = sqlite3_step(*use);
  if (rc != SQLITE_DONE) {
    error = errorFromSqlite(rc);
    return false;
  }
  ++generation_;
  if (sqlite3_changes(db_.get()) == 0) {
    error = ERROR_INVALID_PARAMETER;
    return false;
  }
  return true;
}

bool Volume::readRecord(CEOID database, CEOID oid, std::vector<BYTE>& bytes, DWORD& error) {
  Use use(readRecord_);
  sqlite3_bind_int64(*use, 1, database);
  sqlite3_bind_int64(*use, 2, oid);
  const int rc = sqlite3_step(*use);
  if (rc != SQLITE_ROW) {
    error = rc == SQLITE_DONE ? ERROR_INVALID_PARAMETER : errorFromSqlite(rc);
    return false;
  }
  const auto* data = static_cast<const BYTE*>(sqlite3_column_blob(*use, 0));
  const int size = sqlite3_column_bytes(*use, 0);
  bytes.assign(data, data + (data ? size : 0));
  return true;
}

bool Volume::recordExists(CEOID database, CEOID oid, DWORD& error) {
  Use use(existsRecord_);
  sqlite3_bind_int64(*use, 1, database);
  sqlite3_bind_int64(*use, 2, oid);
  const int rc = sqlite3_step(*use);
  if (rc == SQLITE_ROW) return true;
  error = rc == SQLITE_DONE ? ERROR_INVALID_PARAMETER : errorFromSqlite(rc);
  return false;
}

CEOID Volume::neighbour(CEOID database, CEOID from, bool backwards, DWORD skip, DWORD& error) {
  Statement& s = backwards ? before_ : after_;
  Use use(s);
  sqlite3_bind_int64(*use, 1, database);
  sqlite3_bind_int64(*use, 2, backwards && from == 0 ? kLastOid + 1 : static_cast<std::int64_t>(from));
  sqlite3_bind_int64(*use, 3, skip);
  const int rc = sqlite3_step(*use);
  if (rc == SQLITE_ROW) return static_cast<CEOID>(sqlite3_column_int64(*use, 0));
  error = rc == SQLITE_DONE ? ERROR_NO_MORE_ITEMS : errorFromSqlite(rc);
  return 0;
}

bool Volume::countBelow(CEOID database, CEOID oid, DWORD& count, DWORD& error) {
  Use use(countBelow_);
  sqlite3_bind_int64(*use, 1, database);
  sqlite3_bind_int64(*use, 2, oid);
  const int rc = sqlite3_step(*use);
  if (rc != SQLITE_ROW) {
    error = errorFromSqlite(rc);
    return false;
  }
  count = static_cast<DWORD>(sqlite3_column_int64(*use, 0));
  return true;
}

}  // namespace platform::cedb
