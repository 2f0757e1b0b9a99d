// What a form tells the user when the database did not take the record it stores: why, as far
// as the store's state and the error of the failed write tell, and that what was typed is still
// there. The store itself never shows a message.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace pellucard {

class SaveFailure {
 public:
  // The text for a write that failed with this last error.
  static std::u16string message(DWORD error);
  // Shows it over the form, with the exclamation icon and the application title.
  static void report(HWND owner, DWORD error);
};

}  // namespace pellucard
