// The forms that add and edit friends and items, as the screens open them. The program
// registers its forms at start; without a registration (screens tested alone) the commands that
// need a form do nothing.
#pragma once

#include "platform/base/WinTypes.h"
#include "store/RecordId.h"

namespace pellucard {

class Friend;

class FormLauncher {
 public:
  virtual ~FormLauncher() = default;
  // The friend form on an existing friend; true when it ended with Done.
  virtual bool editFriend(HWND owner, Friend& person) = 0;
  // The friend form for a new friend; the stored friend's id, or 0 after Cancel.
  virtual RecordId addFriend(HWND owner) = 0;
  // The form of an item kind (1 gift, 2 loan, 3 anniversary) on the record with that id, or
  // for a new record when the id is 0, with a friend preset (0: none). True when it ended
  // with Done.
  virtual bool runItemForm(HWND owner, int kind, RecordId record, LONG presetFriend) = 0;
};

// Not owned; null unregisters. The launcher must outlive its registration.
void setFormLauncher(FormLauncher* launcher);
FormLauncher* formLauncher();

}  // namespace pellucard
