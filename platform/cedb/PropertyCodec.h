// The stored form of a record: a count followed by (property id, payload size, payload) triples.
// Payloads are little-endian; text is UTF-16 without its terminator.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/cedb/WinDb.h"

namespace platform::cedb {

// One property of a stored record, pointing into the stored bytes.
struct StoredProperty {
  CEPROPID propid;
  const BYTE* payload;
  DWORD size;
};

// Checks a property given to a write: a known type, data present and within the size limits.
// Returns the stored payload size, or fails with the last-error code in error.
bool payloadSize(const CEPROPVAL& value, DWORD& size, DWORD& error);

// Splits stored bytes into properties; false when the bytes are not a well-formed record.
bool parseRecord(const BYTE* bytes, std::size_t length, std::vector<StoredProperty>& out);

// Builds stored bytes from a mix of kept stored properties and new values.
class RecordEncoder {
 public:
  void addStored(const StoredProperty& property);
  // The value must have passed payloadSize().
  void addValue(const CEPROPVAL& value, DWORD size);
  std::size_t count() const { return count_; }
  // The finished record (count first).
  const std::vector<BYTE>& finish();

 private:
  void header(CEPROPID propid, DWORD size);
  std::vector<BYTE> bytes_ = std::vector<BYTE>(4, 0);
  std::size_t count_ = 0;
};

// Size of the buffer a read needs for these properties (CEPROPVAL array first, then the data).
std::size_t unpackedSize(const std::vector<StoredProperty>& properties);
// Writes the properties into buffer as CEPROPVALs whose text and blob pointers point into buffer.
// A property with payload null is written as not found (CEDB_PROPNOTFOUND).
void unpack(const std::vector<StoredProperty>& properties, BYTE* buffer);

}  // namespace platform::cedb
