#include "store/RecordTable.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "platform/sys/WinBase.h"

namespace pellucard {

RecordTable::RecordTable(std::u16string name) : name_(std::move(name)) {}

RecordTable::~RecordTable() { close(); }

bool RecordTable::open(const std::u16string& volumePath) {
  if (opened_) return true;
  auto fail = [this] {
    openError_ = GetLastError();
    if (openError_ == ERROR_SUCCESS) openError_ = ERROR_GEN_FAILURE;
    return false;
  };
  if (!mounted_) {
    if (!CeMountDBVol(&volume_, volumePath.c_str(), OPEN_ALWAYS) && GetLastError() != ERROR_ALREADY_EXISTS) {
      CREATE_SYSTEMGUID(&volume_);
      return fail();
    }
    mounted_ = true;
  }
  handle_ = CeOpenDatabaseEx2(&volume_, &databaseId_, name_.c_str(), nullptr, 0, nullptr);
  if (handle_ == INVALID_HANDLE_VALUE) {
    // Only a database that is not there is made; one that could not be read is left alone.
    if (GetLastError() != ERROR_FILE_NOT_FOUND || !createDatabase()) return fail();
    flush();
    handle_ = CeOpenDatabaseEx2(&volume_, &databaseId_, name_.c_str(), nullptr, 0, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE) return fail();
  }
  opened_ = true;
  openError_ = 0;
  current_ = 0;
  return true;
}

bool RecordTable::createDatabase() {
  CEDBASEINFOEX info;
  std::memset(&info, 0, sizeof info);
  info.wVersion = CEDBASEINFOEX_VERSION;
  info.wNumSortOrders = 0;
  info.dwFlags = CEDB_VALIDCREATE;
  info.dwDbaseType = kDatabaseType;
  const std::size_t n = std::min<std::size_t>(name_.size(), CEDB_MAXDBASENAMELEN - 1);
  std::copy_n(name_.data(), n, info.szDbaseName);
  databaseId_ = CeCreateDatabaseEx2(&volume_, &info);
  return databaseId_ != 0;
}

void RecordTable::flush() {
  if (mounted_) CeFlushDBVol(&volume_);
}

void RecordTable::close() {
  writesRefused_ = false;
  if (handle_ != INVALID_HANDLE_VALUE) {
    CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }
  if (mounted_) {
    flush();
    CeUnmountDBVol(&volume_);
    mounted_ = false;
    CREATE_SYSTEMGUID(&volume_);
  }
  opened_ = false;
  current_ = 0;
}

bool RecordTable::seekFirst() {
  if (!opened_) return false;
  current_ = CeSeekDatabase(handle_, CEDB_SEEK_BEGINNING, 0, nullptr);
  return current_ != 0;
}

bool RecordTable::seekTo(RecordId id) {
  if (!opened_ || id == 0) return false;
  const CEOID found = CeSeekDatabase(handle_, CEDB_SEEK_CEOID, id, nullptr);
  if (found == 0) return false;
  current_ = found;
  return true;
}

bool RecordTable::seekNext() {
  if (!opened_ || current_ == 0) return false;
  const CEOID found = CeSeekDatabase(handle_, CEDB_SEEK_CURRENT, 1, nullptr);
  current_ = found;
  return found != 0;
}

bool RecordTable::readCurrent(PropertyRecord& record) {
  record.clearProperties();
  if (!opened_ || current_ == 0) return false;
  WORD count = 0;
  const CEOID oid =
      CeReadRecordProps(handle_, CEDB_ALLOWREALLOC, &count, nullptr, &record.readBuffer(), &record.readBufferSize());
  if (oid == 0) return false;
  const auto* values = reinterpret_cast<const CEPROPVAL*>(record.readBuffer());
  for (WORD i = 0; i < count; ++i) record.appendBorrowed(values[i]);
  record.setRecordId(oid);
  return true;
}

RecordId RecordTable::write(const PropertyRecord& record, Target target) {
  if (!opened_ || !writable()) return 0;
  const std::size_t count = record.size();
  if (count == 0 || count > CEDB_MAXPROPS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::unique_ptr<CEPROPVAL[]> values(new (std::nothrow) CEPROPVAL[count]);
  if (!values) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  for (std::size_t i = 0; i < count; ++i) values[i] = record.values()[i].toPlatform();
  const CEOID into = target == Target::CurrentRecord ? current_ : 0;
  if (target == Target::CurrentRecord && into == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return CeWriteRecordProps(handle_, into, static_cast<WORD>(count), values.get());
}

bool RecordTable::writable() const {
  if (!writesRefused_) return true;
  SetLastError(ERROR_WRITE_PROTECT);
  return false;
}

bool RecordTable::remove(RecordId& id) {
  if (!opened_ || !writable()) return false;
  // An item that was never stored has no record; 0 must not reach the store.
  if (id == 0) return false;
  const BOOL deleted = CeDeleteRecord(handle_, id);
  // A record that is still there keeps its item's identifier.
  if (deleted) id = 0;
  flush();
  return deleted != FALSE;
}

bool RecordTable::addRecord(const PropertyRecord& record, RecordId& id) {
  if (!opened_ || !writable()) return false;
  if (id != 0 && seekTo(id)) return false;
  const RecordId written = write(record, Target::NewRecord);
  id = written;
  flush();
  return written != 0;
}

bool RecordTable::updateRecord(const PropertyRecord& record, RecordId id) {
  if (!opened_ || !writable() || !seekTo(id)) return false;
  const RecordId written = write(record, Target::CurrentRecord);
  flush();
  return written != 0;
}

}  // namespace pellucard
