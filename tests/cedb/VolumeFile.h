// A volume file reached beneath the database calls, as only damage, another program or a crash
// would reach it: the one place outside platform/cedb that knows how a volume lies in SQLite,
// so that the tests of the volume's users need not.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/cedb/WinDb.h"

struct sqlite3;

namespace platform::testing {

class VolumeFile {
 public:
  // Opens the file as it is; every call fails on a file that is not a volume.
  explicit VolumeFile(const std::string& hostPath);

  // The record's stored bytes replaced by bytes that do not read as a record.
  bool spoilRecord(CEOID oid);
  // A record whose bytes do not read as a record, added to the database of an existing one
  // with the next record id the volume would have given; that id, or 0.
  CEOID addSpoiltRecordBeside(CEOID oid);
  // The record's properties replaced by one text property holding exactly this text, nulls
  // included (a write through the database calls stops at the first null).
  bool storeText(CEOID oid, CEPROPID propid, std::u16string_view text);

  // The lowest record id of the named database, or 0 when it has none.
  CEOID firstRecordOf(const std::string& database);

  // The layout version the volume says it has, or -1.
  int formatVersion();
  // Records of every database in the volume, or -1.
  int recordCount();
  // SQLite's verdict on the file: "ok" when it is sound.
  std::string integrityCheck();

 private:
  bool replaceBytes(CEOID oid, const void* bytes, int size);
  long long queryNumber(const char* sql);

  struct Close {
    void operator()(sqlite3* db) const;
  };
  std::unique_ptr<sqlite3, Close> db_;
};

}  // namespace platform::testing
