// Fills the program's database volume, through the store's tables, with made-up but realistic
// friends, gifts, loans and anniversaries. The same options always give the same records.
#pragma once

#include <cstdint>
#include <string>

#include "platform/base/WinTypes.h"

namespace pellucard::tools {

class VolumeFiller {
 public:
  struct Options {
    int friends = 200;
    std::uint32_t seed = 1;
    // Dates are placed around this day (loans overdue before it, anniversaries after it...).
    SYSTEMTIME today{2026, 12, 0, 1, 12, 0, 0, 0};
  };
  struct Counts {
    int friends = 0;
    int pictures = 0;
    int gifts = 0;
    int loans = 0;
    int overdueLoans = 0;
    int anniversaries = 0;
  };

  // Gifts, loans and anniversaries come in proportion: 5, 2.5 and 2.5 per friend.
  static int giftsFor(int friends) { return friends * 5; }
  static int loansFor(int friends) { return friends * 5 / 2; }
  static int anniversariesFor(int friends) { return friends * 5 / 2; }

  // Adds the records to the volume of the application paths (the tables must not be open).
  // False when a table cannot be opened or a write fails; error then says why.
  static bool fill(const Options& options, Counts& counts, std::string& error);
};

}  // namespace pellucard::tools
