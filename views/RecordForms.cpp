#include "views/RecordForms.h"

#include "views/FriendForm.h"
#include "views/ItemForms.h"

namespace pellucard {

bool RecordForms::editFriend(HWND owner, Friend& person) { return FriendForm::edit(owner, person); }

RecordId RecordForms::addFriend(HWND owner) { return FriendForm::add(owner); }

bool RecordForms::runItemForm(HWND owner, int kind, RecordId record, LONG presetFriend) {
  return ItemForms::runItemForm(owner, kind, record, presetFriend);
}

RecordForms& RecordForms::instance() {
  static RecordForms forms;
  return forms;
}

}  // namespace pellucard
