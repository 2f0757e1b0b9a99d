#include "views/AnniversaryForm.h"

#include <string>

#include "platform/base/ResourceTable.h"
#include "resources/StringIds.h"
#include "store/AnniversaryCollection.h"

namespace pellucard {

void AnniversaryForm::createContent(HWND dialog) {
  FormBuilder& rows = builder();
  rows.begin(dialog);
  addNameRow(kNameRow, IDS_LABEL_NAME);
  addFriendRow(kFriendRow);
  rows.addDateRow(kDateRow, platform::loadString(IDS_LABEL_DATE), now());
  addNotesRow(kNotesRow);
  if (anniversary_ != nullptr) {
    rows.setText(kNameRow, std::u16string(anniversary_->name()));
    selectFriend(anniversary_->friendId());
    rows.setDate(kDateRow, anniversary_->date());
    rows.setText(kNotesRow, std::u16string(anniversary_->notes()));
  }
  rows.focus(kNameRow);
}

void AnniversaryForm::onDone() {
  const FormBuilder& rows = this->rows();
  const std::u16string name = rows.text(kNameRow);
  const LONG friendId = chosenFriend();
  const SYSTEMTIME date = rows.date(kDateRow);
  const std::u16string notes = rows.text(kNotesRow);
  // Assigning puts the date at noon.
  save(getAnniversaryCollection(), anniversary_,
       [&](Anniversary& anniversary) { anniversary.assign(name, friendId, date, notes); });
}

}  // namespace pellucard
