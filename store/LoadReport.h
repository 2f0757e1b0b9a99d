// What the last open and load of the store could not read, table by table: a volume or database
// that would not open, records passed over because they do not decode, a scan stopped by an error
// before the end. Start-up tells the user from it; the store refuses to write to a volume it could
// not read soundly.
#pragma once

#include <array>
#include <cstddef>

#include "platform/base/WinTypes.h"

namespace pellucard {

class LoadReport {
 public:
  enum class Table { Friends = 0, Gifts = 1, Loans = 2, Anniversaries = 3 };
  static constexpr std::size_t kTables = 4;

  struct TableLoad {
    bool opened = false;
    DWORD openError = 0;      // why it did not open
    std::size_t loaded = 0;   // items read
    std::size_t skipped = 0;  // records that do not decode, left in the file as they are
    DWORD scanError = 0;      // nonzero: the scan stopped there and the rest could not be read
  };

  TableLoad& table(Table t) { return tables_[static_cast<std::size_t>(t)]; }
  const TableLoad& table(Table t) const { return tables_[static_cast<std::size_t>(t)]; }

  // Every table opened and read to its end, every record decoded.
  bool complete() const;
  // No table opened: the volume itself could not be read (or made).
  bool nothingRead() const;
  // A table did not open or its scan stopped: writing to the volume could lose more, so it is
  // left as it is. Records that merely do not decode do not stop writes: they are kept untouched.
  bool refusesWrites() const;
  // The first error of a table that did not open or stopped, in table order; 0 when none.
  DWORD firstError() const;

 private:
  std::array<TableLoad, kTables> tables_{};
};

}  // namespace pellucard
