// The one class that talks to the database volume: a named database of one table, its handle and
// its own mount of the volume. The four tables derive from it.
#pragma once

#include <string>

#include "platform/cedb/RecordScan.h"
#include "platform/cedb/WinDb.h"
#include "store/PropertyRecord.h"
#include "store/RecordId.h"
#include "store/RecordReader.h"

namespace pellucard {

class RecordTable {
 public:
  static constexpr DWORD kDatabaseType = 1235;

  explicit RecordTable(std::u16string name);
  // Closing is what destroying a table does.
  virtual ~RecordTable();
  RecordTable(const RecordTable&) = delete;
  RecordTable& operator=(const RecordTable&) = delete;

  // Mounts the volume file, opens the database and creates it first when it is missing (never
  // when the volume could not be read). Failure leaves the table inert.
  bool open(const std::u16string& volumePath);
  void close();
  bool isOpen() const { return opened_; }
  // The last error of the last failed open; 0 after one that succeeded.
  DWORD openError() const { return openError_; }

  // While refused, adds, updates and removals write nothing and fail with ERROR_WRITE_PROTECT:
  // the store sets this when the volume could not be read soundly.
  void refuseWrites(bool refuse) { writesRefused_ = refuse; }
  bool acceptsWrites() const { return opened_ && !writesRefused_; }

  // What the last load read besides its items: the records passed over because they do not
  // decode (they stay in the file), and the error that stopped the scan before the end (0 when
  // it reached the end).
  std::size_t skippedRecords() const { return skipped_; }
  DWORD scanError() const { return scanError_; }

  bool seekFirst();
  bool seekTo(RecordId id);
  bool seekNext();
  RecordId currentId() const { return current_; }

  // Replaces the record's content with the properties of the current record.
  bool readCurrent(PropertyRecord& record);

  enum class Target { NewRecord, CurrentRecord };
  // Returns the identifier written, 0 on failure (the last error tells why).
  RecordId write(const PropertyRecord& record, Target target);
  // Deletes the record with that identifier and clears it. An identifier of 0 deletes nothing.
  bool remove(RecordId& id);

  const std::u16string& name() const { return name_; }
  CEOID databaseId() const { return databaseId_; }

 protected:
  // The add and update rules every table shares: the record must not / must exist already.
  bool addRecord(const PropertyRecord& record, RecordId& id);
  bool updateRecord(const PropertyRecord& record, RecordId id);

  // Calls fn with a RecordReader for every readable record, in the volume's order, reading the
  // stored bytes in place. Unreadable records are skipped and counted. Leaves no current record.
  template <class Fn>
  bool forEachRecord(Fn&& fn) {
    skipped_ = 0;
    scanError_ = 0;
    if (!opened_) return false;
    platform::cedb::RecordScan scan(handle_);
    while (scan.next()) fn(RecordReader(scan.properties(), scan.oid()));
    skipped_ = scan.skipped();
    scanError_ = scan.error() == ERROR_NO_MORE_ITEMS ? 0 : scan.error();
    current_ = 0;
    return true;
  }

 private:
  bool createDatabase();
  void flush();
  // False (with ERROR_WRITE_PROTECT) while writes are refused.
  bool writable() const;

  CEOID databaseId_ = 0;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool opened_ = false;
  bool mounted_ = false;
  CEGUID volume_{};
  std::u16string name_;
  RecordId current_ = 0;
  DWORD openError_ = 0;
  bool writesRefused_ = false;
  std::size_t skipped_ = 0;
  DWORD scanError_ = 0;
};

}  // namespace pellucard
