// The database volume API over Volume: mounted volumes by CEGUID, open databases by handle.
#include <sqlite3.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "platform/base/Utf.h"
#include "platform/cedb/BulkWrite.h"
#include "platform/cedb/PropertyCodec.h"
#include "platform/cedb/RecordScan.h"
#include "platform/cedb/Volume.h"
#include "platform/cedb/WinDb.h"
#include "platform/sys/DevicePath.h"
#include "platform/sys/HandleTable.h"

namespace platform::cedb {

// Marks our GUIDs so that a GUID from elsewhere is never mistaken for a mount.
constexpr DWORD kGuidTag = 0x0CEDB0A1;

class OpenDatabase;

struct Mount {
  std::unique_ptr<Volume> volume;  // null once unmounted: handles left open then fail
  std::string key;
  int count = 0;
  std::set<OpenDatabase*> open;
};

// The object behind a database HANDLE, kept in the kernel handle table so that CloseHandle closes it.
class OpenDatabase : public platform::sys::KernelObject {
 public:
  explicit OpenDatabase(std::shared_ptr<Mount> mount) : mount_(std::move(mount)) { mount_->open.insert(this); }
  ~OpenDatabase() override;
  Volume* volume() const { return mount_->volume.get(); }
  Mount& mount() const { return *mount_; }

  CEOID database = 0;
  DWORD flags = 0;
  CEOID current = 0;  // 0 = no current record
  bool indexKnown = false;
  DWORD index = 0;
  // Sequential reads step one statement instead of seeking for every record.
  Statement cursor;
  std::uint64_t cursorGeneration = 0;
  CEOID cursorOid = 0;  // row the cursor stands on; 0 when it stands on none

 private:
  std::shared_ptr<Mount> mount_;
};

namespace {

class Registry {
 public:
  std::map<DWORD, std::shared_ptr<Mount>> mounts;
  DWORD nextMountId = 1;

  Mount* mount(const CEGUID* guid) {
    if (!guid || guid->Data2 != kGuidTag || guid->Data3 != 0 || guid->Data4 != 0) return nullptr;
    auto it = mounts.find(guid->Data1);
    return it == mounts.end() ? nullptr : it->second.get();
  }
};

// Lives for the whole process: tables may still unmount from static destructors.
Registry& registry() {
  static Registry* instance = new Registry;
  return *instance;
}

// An open database whose volume is still mounted, or null.
// Enumerations call with the same handle for every record; the last lookup is remembered.
struct LastLookup {
  HANDLE handle = nullptr;
  OpenDatabase* db = nullptr;
};
LastLookup& lastLookup() {
  static LastLookup last;
  return last;
}

OpenDatabase* openDatabase(HANDLE h) {
  LastLookup& last = lastLookup();
  OpenDatabase* db =
      last.handle == h && last.db ? last.db : platform::sys::HandleTable::instance().get<OpenDatabase>(h);
  if (db) last = {h, db};
  return db && db->volume() ? db : nullptr;
}

// Pending reads would hold the file and delay commits: every cursor of the volume stops first.
void stopCursors(Mount& mount) {
  for (OpenDatabase* db : mount.open) {
    db->cursor.reset();
    db->cursorOid = 0;
  }
}

BOOL fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

CEOID failOid(DWORD error) {
  SetLastError(error);
  return 0;
}

std::string volumeKey(const std::string& path) {
  std::error_code ec;
  const std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
  return ec ? path : canonical.string();
}

// Moves the cursor to the first record after `after` and returns its id (0 at the end).
CEOID stepCursor(Volume& volume, OpenDatabase& db, CEOID after, bool continueFromCurrent, DWORD& error) {
  const bool usable = db.cursor.valid() && db.cursorGeneration == volume.generation() && db.cursorOid != 0 &&
                      continueFromCurrent && db.cursorOid == after;
  if (!usable) {
    if (!db.cursor.valid())
      db.cursor = Statement(volume.connection(), "SELECT oid, props FROM records WHERE db=?1 AND oid>?2 ORDER BY oid");
    if (!db.cursor.valid()) {
      error = ERROR_GEN_FAILURE;
      return 0;
    }
    db.cursor.reset();
    sqlite3_bind_int64(db.cursor.get(), 1, db.database);
    sqlite3_bind_int64(db.cursor.get(), 2, after);
    db.cursorGeneration = volume.generation();
  }
  const int rc = sqlite3_step(db.cursor.get());
  if (rc == SQLITE_ROW) {
    db.cursorOid = static_cast<CEOID>(sqlite3_column_int64(db.cursor.get(), 0));
    return db.cursorOid;
  }
  db.cursor.reset();
  db.cursorOid = 0;
  error = rc == SQLITE_DONE ? ERROR_NO_MORE_ITEMS : Volume::errorFromSqlite(rc);
  return 0;
}

bool cursorOnCurrent(const Volume& volume, const OpenDatabase& db) {
  return db.current != 0 && db.cursor.valid() && db.cursorOid == db.current &&
         db.cursorGeneration == volume.generation();
}

}  // namespace

OpenDatabase::~OpenDatabase() {
  cursor = Statement();
  mount_->open.erase(this);
  if (lastLookup().db == this) lastLookup() = {};
}

BulkWrite::BulkWrite(std::u16string_view volumePath) {
  const std::string key = volumeKey(platform::sys::DevicePath::toHost(volumePath));
  for (auto& [id, mount] : registry().mounts) {
    if (mount->key != key || !mount->volume) continue;
    stopCursors(*mount);
    DWORD error = 0;
    if (mount->volume->beginBulk(error)) {
      mount_ = mount;
    } else {
      SetLastError(error);
    }
    return;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
}

BulkWrite::~BulkWrite() { commit(); }

bool BulkWrite::commit() {
  if (!mount_) return true;
  std::shared_ptr<Mount> mount = std::move(mount_);
  if (!mount->volume) return false;
  stopCursors(*mount);
  DWORD error = 0;
  if (mount->volume->endBulk(error)) return true;
  SetLastError(error);
  return false;
}

bool RecordScan::finish(DWORD error) {
  done_ = true;
  error_ = error;
  properties_.clear();
  return false;
}

bool RecordScan::next() {
  if (done_) return false;
  OpenDatabase* db = openDatabase(handle_);
  if (!db) return finish(ERROR_INVALID_HANDLE);
  Volume& volume = *db->volume();
  for (;;) {
    // Steps the handle's cursor; a change to the volume in between makes it re-query after oid_.
    DWORD error = ERROR_NO_MORE_ITEMS;
    const CEOID found = stepCursor(volume, *db, oid_, oid_ != 0, error);
    if (found == 0) return finish(error);
    oid_ = found;
    const auto* bytes = static_cast<const BYTE*>(sqlite3_column_blob(db->cursor.get(), 1));
    const auto length = static_cast<std::size_t>(sqlite3_column_bytes(db->cursor.get(), 1));
    if (parseRecord(bytes, length, properties_)) return true;
    ++skipped_;
  }
}

bool isDatabaseHandle(HANDLE handle) { return platform::sys::HandleTable::instance().get<OpenDatabase>(handle); }

}  // namespace platform::cedb

using platform::cedb::fail;
using platform::cedb::failOid;
using platform::cedb::openDatabase;
using platform::cedb::OpenDatabase;
using platform::cedb::registry;
using platform::cedb::Volume;

BOOL CeMountDBVol(PCEGUID pceguid, LPCWSTR lpszVol, DWORD dwFlags) {
  if (!pceguid || !lpszVol || !*lpszVol) return fail(ERROR_INVALID_PARAMETER);
  auto& reg = registry();
  // Volume names are paths in the handheld's notation, or host paths.
  const std::string path = platform::sys::DevicePath::toHost(lpszVol);
  const std::string key = platform::cedb::volumeKey(path);
  for (auto& [id, mount] : reg.mounts) {
    if (mount->key == key) {
      ++mount->count;
      *pceguid = CEGUID{id, platform::cedb::kGuidTag, 0, 0};
      SetLastError(ERROR_ALREADY_EXISTS);
      return TRUE;
    }
  }
  std::error_code ec;
  const bool existed = std::filesystem::exists(path, ec);
  DWORD error = ERROR_GEN_FAILURE;
  std::unique_ptr<Volume> volume = Volume::open(path, dwFlags, error);
  if (!volume) {
    CREATE_INVALIDGUID(pceguid);
    return fail(error);
  }
  const DWORD id = reg.nextMountId++;
  auto mount = std::make_shared<platform::cedb::Mount>();
  mount->volume = std::move(volume);
  mount->key = key;
  mount->count = 1;
  reg.mounts[id] = std::move(mount);
  *pceguid = CEGUID{id, platform::cedb::kGuidTag, 0, 0};
  SetLastError(existed && (dwFlags == OPEN_ALWAYS || dwFlags == CREATE_ALWAYS) ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return TRUE;
}

BOOL CeUnmountDBVol(PCEGUID pceguid) {
  auto& reg = registry();
  platform::cedb::Mount* mount = reg.mount(pceguid);
  if (!mount) return fail(ERROR_INVALID_PARAMETER);
  if (--mount->count > 0) return TRUE;
  // Handles left open on the volume stay in the handle table but fail from now on.
  platform::cedb::stopCursors(*mount);
  for (OpenDatabase* db : mount->open) db->cursor = platform::cedb::Statement();
  mount->volume.reset();
  reg.mounts.erase(pceguid->Data1);
  return TRUE;
}

BOOL CeFlushDBVol(PCEGUID pceguid) {
  if (!registry().mount(pceguid)) return fail(ERROR_INVALID_PARAMETER);
  return TRUE;
}

CEOID CeCreateDatabaseEx2(PCEGUID pceguid, CEDBASEINFOEX* lpCEDBInfo) {
  platform::cedb::Mount* mount = registry().mount(pceguid);
  if (!mount || !lpCEDBInfo || lpCEDBInfo->wVersion != CEDBASEINFOEX_VERSION) return failOid(ERROR_INVALID_PARAMETER);
  const CEDBASEINFOEX& info = *lpCEDBInfo;
  if (!(info.dwFlags & CEDB_VALIDNAME)) return failOid(ERROR_INVALID_PARAMETER);
  std::size_t length = 0;
  while (length < CEDB_MAXDBASENAMELEN && info.szDbaseName[length] != 0) ++length;
  if (length == 0 || length == CEDB_MAXDBASENAMELEN) return failOid(ERROR_INVALID_PARAMETER);
  if (info.dwFlags & CEDB_VALIDSORTSPEC) {
    if (info.wNumSortOrders > CEDB_MAXSORTORDER) return failOid(ERROR_INVALID_PARAMETER);
    // Records are always enumerated by id; sort orders are not kept.
    if (info.wNumSortOrders > 0) return failOid(ERROR_NOT_SUPPORTED);
  }
  platform::cedb::DatabaseInfo create;
  create.name.assign(info.szDbaseName, length);
  create.type = (info.dwFlags & CEDB_VALIDTYPE) ? info.dwDbaseType : 0;
  create.flags = (info.dwFlags & CEDB_VALIDDBFLAGS) ? (info.dwFlags & 0xFFFF0000u) : 0;
  platform::cedb::stopCursors(*mount);
  DWORD error = ERROR_GEN_FAILURE;
  const CEOID oid = mount->volume->createDatabase(create, error);
  if (!oid) return failOid(error);
  return oid;
}

HANDLE CeOpenDatabaseEx2(PCEGUID pceguid, PCEOID poid, LPCWSTR lpszName, SORTORDERSPECEX* pSort, DWORD dwFlags,
                         CENOTIFYREQUEST* pRequest) {
  auto& reg = registry();
  platform::cedb::Mount* mount = reg.mount(pceguid);
  auto invalid = [](DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
  };
  if (!mount || (!lpszName && !poid)) return invalid(ERROR_INVALID_PARAMETER);
  if (dwFlags & ~static_cast<DWORD>(CEDB_AUTOINCREMENT)) return invalid(ERROR_INVALID_PARAMETER);
  if (pSort && pSort->wNumProps > 0) return invalid(ERROR_INVALID_PARAMETER);
  if (pRequest) return invalid(ERROR_NOT_SUPPORTED);
  DWORD error = ERROR_FILE_NOT_FOUND;
  std::optional<platform::cedb::DatabaseInfo> info;
  if (lpszName) {
    const std::u16string_view name(lpszName);
    if (name.empty() || name.size() >= CEDB_MAXDBASENAMELEN) return invalid(ERROR_INVALID_PARAMETER);
    info = mount->volume->findDatabase(name, error);
  } else {
    info = mount->volume->findDatabase(*poid, error);
  }
  if (!info) return invalid(error);
  if (poid) *poid = info->oid;
  auto db = std::make_unique<OpenDatabase>(registry().mounts[pceguid->Data1]);
  db->database = info->oid;
  db->flags = dwFlags;
  // A fresh handle stands on the first record.
  DWORD seekError = 0;
  db->current = mount->volume->neighbour(db->database, 0, false, 0, seekError);
  db->indexKnown = true;
  db->index = 0;
  HANDLE handle = platform::sys::HandleTable::instance().add(std::move(db));
  SetLastError(ERROR_SUCCESS);
  return handle;
}

BOOL CeDeleteDatabaseEx(PCEGUID pceguid, CEOID oid) {
  auto& reg = registry();
  platform::cedb::Mount* mount = reg.mount(pceguid);
  if (!mount || oid == 0) return fail(ERROR_INVALID_PARAMETER);
  for (const OpenDatabase* db : mount->open)
    if (db->database == oid) return fail(ERROR_SHARING_VIOLATION);
  platform::cedb::stopCursors(*mount);
  DWORD error = ERROR_GEN_FAILURE;
  if (!mount->volume->deleteDatabase(oid, error)) return fail(error);
  return TRUE;
}

BOOL CeGetDBInformationByHandle(HANDLE hDbase, CEDBASEINFOEX* pInfo) {
  OpenDatabase* db = openDatabase(hDbase);
  if (!db) return fail(ERROR_INVALID_HANDLE);
  Volume* volume = db->volume();
  if (!pInfo) return fail(ERROR_INVALID_PARAMETER);
  DWORD error = ERROR_GEN_FAILURE;
  const auto info = volume->findDatabase(db->database, error);
  DWORD records = 0, bytes = 0;
  if (!info || !volume->databaseStatistics(db->database, records, bytes, error)) return fail(error);
  std::memset(pInfo, 0, sizeof *pInfo);
  pInfo->wVersion = CEDBASEINFOEX_VERSION;
  pInfo->dwFlags = info->flags;
  const std::size_t n = std::min<std::size_t>(info->name.size(), CEDB_MAXDBASENAMELEN - 1);
  std::memcpy(pInfo->szDbaseName, info->name.data(), n * sizeof(WCHAR));
  pInfo->dwDbaseType = info->type;
  pInfo->dwNumRecords = records;
  pInfo->dwSize = bytes;
  return TRUE;
}

CEOID CeSeekDatabaseEx(HANDLE hDatabase, DWORD dwSeekType, DWORD dwValue, WORD wNumVals, LPDWORD lpdwIndex) {
  (void)wNumVals;
  OpenDatabase* db = openDatabase(hDatabase);
  if (!db) return failOid(ERROR_INVALID_HANDLE);
  Volume* volume = db->volume();
  DWORD error = ERROR_NO_MORE_ITEMS;
  CEOID found = 0;
  bool indexKnown = false;
  DWORD index = 0;
  switch (dwSeekType) {
    case CEDB_SEEK_CEOID:
      if (dwValue != 0 && volume->recordExists(db->database, dwValue, error)) found = dwValue;
      if (!found && error == ERROR_INVALID_PARAMETER) error = ERROR_NO_MORE_ITEMS;
      break;
    case CEDB_SEEK_BEGINNING:
      if (dwValue == 0)
        found = platform::cedb::stepCursor(*volume, *db, 0, false, error);
      else
        found = volume->neighbour(db->database, 0, false, dwValue, error);
      indexKnown = found != 0;
      index = dwValue;
      break;
    case CEDB_SEEK_END: {
      const LONG offset = static_cast<LONG>(dwValue);
      if (offset > 0) break;
      found = volume->neighbour(db->database, 0, true, static_cast<DWORD>(-static_cast<std::int64_t>(offset)), error);
      break;
    }
    case CEDB_SEEK_CURRENT: {
      const LONG offset = static_cast<LONG>(dwValue);
      if (db->current == 0) break;
      if (offset == 0) {
        if (volume->recordExists(db->database, db->current, error)) found = db->current;
      } else if (offset == 1) {
        found = platform::cedb::stepCursor(*volume, *db, db->current, true, error);
      } else if (offset > 0) {
        found = volume->neighbour(db->database, db->current, false, static_cast<DWORD>(offset - 1), error);
      } else {
        found = volume->neighbour(db->database, db->current, true,
                                  static_cast<DWORD>(-static_cast<std::int64_t>(offset) - 1), error);
      }
      if (found && db->indexKnown) {
        indexKnown = true;
        index = static_cast<DWORD>(static_cast<std::int64_t>(db->index) + offset);
      }
      break;
    }
    case CEDB_SEEK_VALUESMALLER:
    case CEDB_SEEK_VALUEFIRSTEQUAL:
    case CEDB_SEEK_VALUEGREATER:
    case CEDB_SEEK_VALUENEXTEQUAL:
      // Value seeks need a sort order, and databases here have none.
      return failOid(ERROR_INVALID_PARAMETER);
    default:
      return failOid(ERROR_INVALID_PARAMETER);
  }
  if (!found) return failOid(error);
  db->current = found;
  db->indexKnown = indexKnown;
  db->index = index;
  if (lpdwIndex) {
    if (!db->indexKnown) {
      DWORD count = 0;
      if (volume->countBelow(db->database, found, count, error)) {
        db->indexKnown = true;
        db->index = count;
      }
    }
    *lpdwIndex = db->index;
  }
  SetLastError(ERROR_SUCCESS);
  return found;
}

CEOID CeSeekDatabase(HANDLE hDatabase, DWORD dwSeekType, DWORD dwValue, LPDWORD lpdwIndex) {
  return CeSeekDatabaseEx(hDatabase, dwSeekType, dwValue, 0, lpdwIndex);
}

CEOID CeReadRecordPropsEx(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID, LPBYTE* lplpBuffer,
                          LPDWORD lpcbBuffer, HANDLE hHeap) {
  (void)hHeap;
  OpenDatabase* db = openDatabase(hDbase);
  if (!db) return failOid(ERROR_INVALID_HANDLE);
  Volume* volume = db->volume();
  if (!lpcPropID || !lplpBuffer || !lpcbBuffer || (dwFlags & ~static_cast<DWORD>(CEDB_ALLOWREALLOC)))
    return failOid(ERROR_INVALID_PARAMETER);
  if (db->current == 0) return failOid(ERROR_NO_MORE_ITEMS);
  const CEOID oid = db->current;

  std::vector<BYTE> copy;
  const BYTE* bytes = nullptr;
  std::size_t length = 0;
  DWORD error = ERROR_GEN_FAILURE;
  if (platform::cedb::cursorOnCurrent(*volume, *db)) {
    bytes = static_cast<const BYTE*>(sqlite3_column_blob(db->cursor.get(), 1));
    length = static_cast<std::size_t>(sqlite3_column_bytes(db->cursor.get(), 1));
  } else {
    if (!volume->readRecord(db->database, oid, copy, error)) return failOid(error);
    bytes = copy.data();
    length = copy.size();
  }
  auto advance = [&] {
    if (db->flags & CEDB_AUTOINCREMENT) CeSeekDatabaseEx(hDbase, CEDB_SEEK_CURRENT, 1, 0, nullptr);
  };

  // Reused from call to call: reading is the hot path of loading a whole volume.
  static std::vector<platform::cedb::StoredProperty> stored;
  static std::vector<platform::cedb::StoredProperty> selected;
  if (!platform::cedb::parseRecord(bytes, length, stored)) {
    advance();
    return failOid(ERROR_INVALID_DATA);
  }
  const std::vector<platform::cedb::StoredProperty>* chosen = &stored;
  if (rgPropID) {
    selected.clear();
    chosen = &selected;
    for (WORD i = 0; i < *lpcPropID; ++i) {
      platform::cedb::StoredProperty match{rgPropID[i], nullptr, 0};
      for (const auto& p : stored) {
        if (p.propid == rgPropID[i]) {
          match = p;
          break;
        }
      }
      selected.push_back(match);
    }
  }
  const std::size_t needed = platform::cedb::unpackedSize(*chosen);
  if (needed > 0xFFFFFFFFu) return failOid(ERROR_NOT_ENOUGH_MEMORY);
  if (!*lplpBuffer || *lpcbBuffer < needed) {
    if (!(dwFlags & CEDB_ALLOWREALLOC)) {
      *lpcbBuffer = static_cast<DWORD>(needed);
      return failOid(ERROR_INSUFFICIENT_BUFFER);
    }
    void* grown = std::realloc(*lplpBuffer, needed > 0 ? needed : 1);
    if (!grown) return failOid(ERROR_NOT_ENOUGH_MEMORY);
    *lplpBuffer = static_cast<LPBYTE>(grown);
    *lpcbBuffer = static_cast<DWORD>(needed);
  }
  platform::cedb::unpack(*chosen, *lplpBuffer);
  *lpcPropID = static_cast<WORD>(chosen->size());
  advance();
  SetLastError(ERROR_SUCCESS);
  return oid;
}

CEOID CeReadRecordProps(HANDLE hDbase, DWORD dwFlags, LPWORD lpcPropID, CEPROPID* rgPropID, LPBYTE* lplpBuffer,
                        LPDWORD lpcbBuffer) {
  return CeReadRecordPropsEx(hDbase, dwFlags, lpcPropID, rgPropID, lplpBuffer, lpcbBuffer, nullptr);
}

CEOID CeWriteRecordProps(HANDLE hDbase, CEOID oidRecord, WORD cPropID, CEPROPVAL* rgPropVal) {
  OpenDatabase* db = openDatabase(hDbase);
  if (!db) return failOid(ERROR_INVALID_HANDLE);
  Volume* volume = db->volume();
  if (cPropID == 0 || !rgPropVal) return failOid(ERROR_INVALID_PARAMETER);

  std::vector<DWORD> sizes(cPropID, 0);
  DWORD error = ERROR_INVALID_PARAMETER;
  for (WORD i = 0; i < cPropID; ++i) {
    if (rgPropVal[i].wFlags & CEDB_PROPDELETE) continue;
    if (!platform::cedb::payloadSize(rgPropVal[i], sizes[i], error)) return failOid(error);
  }
  platform::cedb::stopCursors(db->mount());

  platform::cedb::RecordEncoder encoder;
  std::vector<BYTE> old;
  std::vector<platform::cedb::StoredProperty> stored;
  if (oidRecord != 0) {
    if (!volume->readRecord(db->database, oidRecord, old, error)) return failOid(error);
    // An unreadable old record is replaced whole by what is written now.
    if (!platform::cedb::parseRecord(old.data(), old.size(), stored)) stored.clear();
  }
  // Replace in place, delete, or append, keeping the order of the record's properties.
  std::vector<bool> used(cPropID, false);
  for (const auto& p : stored) {
    bool keep = true;
    for (WORD i = 0; i < cPropID && keep; ++i) {
      if (rgPropVal[i].propid != p.propid) continue;
      if (rgPropVal[i].wFlags & CEDB_PROPDELETE) {
        keep = false;
        used[i] = true;
      } else if (!used[i]) {
        // A later value for the same id wins, as if the values were applied in order.
        WORD last = i;
        for (WORD j = i + 1; j < cPropID; ++j)
          if (rgPropVal[j].propid == p.propid && !(rgPropVal[j].wFlags & CEDB_PROPDELETE)) last = j;
        for (WORD j = i; j < cPropID; ++j)
          if (rgPropVal[j].propid == p.propid) used[j] = true;
        encoder.addValue(rgPropVal[last], sizes[last]);
        keep = false;
      }
    }
    if (keep) {
      encoder.addStored(p);
    }
  }
  for (WORD i = 0; i < cPropID; ++i) {
    if (used[i] || (rgPropVal[i].wFlags & CEDB_PROPDELETE)) continue;
    WORD last = i;
    for (WORD j = i + 1; j < cPropID; ++j)
      if (rgPropVal[j].propid == rgPropVal[i].propid && !(rgPropVal[j].wFlags & CEDB_PROPDELETE)) last = j;
    for (WORD j = i; j < cPropID; ++j)
      if (rgPropVal[j].propid == rgPropVal[i].propid) used[j] = true;
    encoder.addValue(rgPropVal[last], sizes[last]);
  }
  const std::vector<BYTE>& bytes = encoder.finish();
  if (bytes.size() > CEDB_MAXRECORDSIZE || encoder.count() > CEDB_MAXPROPS) return failOid(ERROR_INVALID_PARAMETER);

  if (oidRecord == 0) {
    const CEOID oid = volume->insertRecord(db->database, bytes, error);
    if (!oid) return failOid(error);
    SetLastError(ERROR_SUCCESS);
    return oid;
  }
  if (!volume->replaceRecord(db->database, oidRecord, bytes, error)) return failOid(error);
  SetLastError(ERROR_SUCCESS);
  return oidRecord;
}

BOOL CeDeleteRecord(HANDLE hDatabase, CEOID oidRecord) {
  OpenDatabase* db = openDatabase(hDatabase);
  if (!db) return fail(ERROR_INVALID_HANDLE);
  Volume* volume = db->volume();
  if (oidRecord == 0) return fail(ERROR_INVALID_PARAMETER);
  platform::cedb::stopCursors(db->mount());
  DWORD error = ERROR_GEN_FAILURE;
  if (!volume->deleteRecord(db->database, oidRecord, error)) return fail(error);
  if (db->current == oidRecord) {
    DWORD ignored = 0;
    db->current = volume->neighbour(db->database, oidRecord, false, 0, ignored);
  }
  db->indexKnown = false;
  return TRUE;
}
