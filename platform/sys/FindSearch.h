// A FindFirstFileW search: the matching entries of one folder, read at once.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/sys/HandleTable.h"
#include "platform/sys/WinBase.h"

namespace platform::sys {

class FindSearch : public KernelObject {
 public:
  explicit FindSearch(std::vector<WIN32_FIND_DATAW> entries) : entries_(std::move(entries)) {}
  bool closableByCloseHandle() const override { return false; }

  // False at the end.
  bool next(WIN32_FIND_DATAW& data);

  // "*" any run, "?" one unit, case ignored; "*.*" matches every name.
  static bool matches(std::u16string_view name, std::u16string_view pattern);
  // Fills find data from a host file; false when it cannot be read or its name is too long.
  static bool describe(const std::string& hostPath, std::u16string_view name, WIN32_FIND_DATAW& data);

 private:
  std::vector<WIN32_FIND_DATAW> entries_;
  std::size_t position_ = 0;
};

}  // namespace platform::sys
