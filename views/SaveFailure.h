// What a form tells the user when the store did not take its record: why, in words, and that
// what was entered is still there; or, when the database could not be read at start, that
// Pellucard changes nothing in it.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace pellucard {

class SaveFailure {
 public:
  // The message for a write that failed with this last error.
  static std::u16string message(DWORD error);
  // A write error in words ("the storage is full").
  static std::u16string reason(DWORD error);
};

}  // namespace pellucard
