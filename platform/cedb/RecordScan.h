// Reads the records of an open database one after another in the enumeration order, straight from
// the volume's rows: no property buffer is built and no payload is copied. Loading a whole table
// goes through here; single reads keep using CeReadRecordProps.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/cedb/PropertyCodec.h"
#include "platform/cedb/WinDb.h"

namespace platform::cedb {

class RecordScan {
 public:
  // Starts before the first record of the database open as handle. The handle's own current
  // record is neither used nor moved.
  explicit RecordScan(HANDLE database) : handle_(database) {}

  // Moves to the next record whose stored bytes are well formed; malformed ones are passed over
  // and counted. False at the end or on failure, and from then on; error() tells which.
  bool next();

  CEOID oid() const { return oid_; }
  // The properties in stored order. Payloads point into the volume's row: they stay valid until the
  // next call of next() or the next change to the volume, and text payloads may be unaligned.
  const std::vector<StoredProperty>& properties() const { return properties_; }
  // ERROR_NO_MORE_ITEMS once every record was read, another code when the scan failed.
  DWORD error() const { return error_; }
  std::size_t skipped() const { return skipped_; }

 private:
  bool finish(DWORD error);

  HANDLE handle_;
  CEOID oid_ = 0;
  bool done_ = false;
  DWORD error_ = ERROR_SUCCESS;
  std::size_t skipped_ = 0;
  std::vector<StoredProperty> properties_;
};

}  // namespace platform::cedb
