// The form launcher the program runs with: the friend form and the gift, loan and anniversary
// forms, opened by the screens' Add and Edit commands.
#pragma once

#include "views/FormLauncher.h"

namespace pellucard {

class RecordForms final : public FormLauncher {
 public:
  bool editFriend(HWND owner, Friend& person) override;
  RecordId addFriend(HWND owner) override;
  bool runItemForm(HWND owner, int kind, RecordId record, LONG presetFriend) override;

  // The one the program registers at start.
  static RecordForms& instance();
};

}  // namespace pellucard
