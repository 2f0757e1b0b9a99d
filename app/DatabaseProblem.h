// What start-up tells the user, in one message, when the database could not be read whole: the
// file, the reason in words, what could not be read of each list, that the file was left as it is
// and that Backup > Restore can put a backup in its place.
#pragma once

#include <optional>
#include <string>

#include "platform/base/WinTypes.h"
#include "store/LoadReport.h"

namespace pellucard {

class DatabaseProblem {
 public:
  // The message for the load, or none when everything was read.
  static std::optional<std::u16string> message(const LoadReport& load, const std::u16string& databasePath);
  // A last-error code of the volume in words ("the storage is full").
  static std::u16string reason(DWORD error);
  // The string with each "%s" replaced by the next value, in order.
  static std::u16string format(UINT stringId, std::initializer_list<std::u16string> values);
};

}  // namespace pellucard
