// The one door to the gift, loan and anniversary forms, as the screens' Add and Edit commands
// open them.
#pragma once

#include "platform/base/WinTypes.h"
#include "store/RecordId.h"

namespace pellucard {

class ItemForms {
 public:
  enum Kind : int { kGift = 1, kLoan = 2, kAnniversary = 3 };

  // The form of `kind` on the record with that id, or for a new record when the id is 0, with
  // the friend `presetFriend` fixed (0: none). True when it ended with Done and stored the
  // record; false after Cancel, and for an unknown kind or a record that is not there.
  static bool runItemForm(HWND owner, int kind, RecordId record, LONG presetFriend);
};

}  // namespace pellucard
