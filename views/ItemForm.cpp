#include "views/ItemForm.h"

#include <vector>

#include "platform/base/ResourceTable.h"
#include "platform/controls/WinEdit.h"
#include "platform/controls/WinUpDown.h"
#include "platform/sys/WinBase.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "store/FriendCollection.h"
#include "views/ItemChooser.h"
#include "views/SaveFailure.h"

namespace pellucard {

ItemForm::ItemForm() : WindowImpl(IDR_FORM_BAR, true) {}

const platform::MessageMap<ItemForm>& ItemForm::messageMap() {
  using M = ItemForm;
  static const auto map =
      platform::MessageMap<M>().notify(UDN_EXPANDING, &M::onExpanding).chain(FormDialog::messageMap());
  return map;
}

INT_PTR ItemForm::run(HWND owner) { return FormDialog::run(owner, platform::loadString(IDS_APP_TITLE)); }

SYSTEMTIME ItemForm::now() {
  // The user's day: near midnight the UTC date is another one.
  SYSTEMTIME time{};
  GetLocalTime(&time);
  return time;
}

void ItemForm::addNameRow(UINT id, UINT labelId) {
  rows_.addTextRow(id, platform::loadString(labelId), u"");
  if (const FieldRow* row = rows_.row(id)) SendMessageW(row->field, EM_LIMITTEXT, kMaxText, 0);
}

void ItemForm::addNotesRow(UINT id) {
  rows_.addExpandableTextRow(id, platform::loadString(IDS_LABEL_NOTES), u"");
  // The full-screen editors take the limit from the field.
  if (const FieldRow* row = rows_.row(id)) SendMessageW(row->field, EM_LIMITTEXT, kMaxText, 0);
}

void ItemForm::addFriendRow(UINT id) {
  const FriendCollection& friends = getFriendCollection();
  std::vector<std::u16string> texts;
  std::vector<LPARAM> values;
  texts.reserve(friends.size() + 1);
  values.reserve(friends.size() + 1);
  texts.push_back(platform::loadString(IDS_NONE));
  values.push_back(0);
  for (const Friend* person : friends.snapshot()) {
    texts.push_back(person->displayName());
    values.push_back(static_cast<LPARAM>(person->recordId()));
  }
  rows_.addChoiceRow(id, platform::loadString(IDS_LABEL_FRIEND), texts, values);
  friendRow_ = id;
  hasFriendRow_ = true;
  if (presetFriend_ != 0) {
    rows_.selectChoiceByValue(id, static_cast<LPARAM>(static_cast<RecordId>(presetFriend_)));
    rows_.enable(id, false);
  }
}

LONG ItemForm::chosenFriend() const {
  if (!hasFriendRow_) return 0;
  const LPARAM value = rows_.choiceValue(friendRow_);
  return value > 0 ? static_cast<LONG>(static_cast<RecordId>(value)) : 0;
}

void ItemForm::selectFriend(LONG friendId) {
  if (hasFriendRow_) rows_.selectChoiceByValue(friendRow_, static_cast<LPARAM>(static_cast<RecordId>(friendId)));
}

LRESULT ItemForm::onExpanding(NMHDR& header) {
  const FieldRow* row = hasFriendRow_ ? rows_.row(friendRow_) : nullptr;
  // The Smartphone's Friend row opens whole; other fields expand as the platform has them.
  if (pocketPc() || row == nullptr || header.hwndFrom != row->companion) {
    passOn();
    return 0;
  }
  ItemChooser::chooseInListBox(hwnd(), row->field);
  if (IsWindow(row->field)) SetFocus(row->field);
  return TRUE;
}

void ItemForm::finishSave(bool stored, DWORD error) {
  if (stored) {
    end(IDOK);
    return;
  }
  SaveFailure::report(hwnd(), error);
}

}  // namespace pellucard
