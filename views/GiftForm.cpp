#include "views/GiftForm.h"

#include <string>
#include <vector>

#include "platform/base/ResourceTable.h"
#include "resources/StringIds.h"
#include "store/GiftCollection.h"

namespace pellucard {

void GiftForm::createContent(HWND dialog) {
  FormBuilder& rows = builder();
  rows.begin(dialog);
  addNameRow(kNameRow, IDS_LABEL_NAME);
  DirectionLabels& labels = getGiftCollection().directionLabels();
  const std::vector<LONG> codes{kGiftFrom, kGiftFor, kGiftIdea};
  std::vector<std::u16string> texts;
  std::vector<LPARAM> values;
  for (LONG code : codes) {
    texts.push_back(labels[code]);
    values.push_back(code);
  }
  rows.addChoiceRow(kCategoryRow, platform::loadString(IDS_LABEL_CATEGORY), texts, values);
  addFriendRow(kFriendRow);
  rows.addDateRow(kDateRow, platform::loadString(IDS_LABEL_DATE), now());
  addNotesRow(kNotesRow);
  if (gift_ != nullptr) {
    rows.setText(kNameRow, std::u16string(gift_->name()));
    rows.selectChoiceByValue(kCategoryRow, gift_->direction());
    selectFriend(gift_->friendId());
    rows.setDate(kDateRow, gift_->date());
    rows.setText(kNotesRow, std::u16string(gift_->notes()));
  }
  rows.focus(kNameRow);
}

void GiftForm::onDone() {
  const FormBuilder& rows = this->rows();
  const std::u16string name = rows.text(kNameRow);
  const auto direction = static_cast<LONG>(rows.choiceValue(kCategoryRow));
  const LONG friendId = chosenFriend();
  const SYSTEMTIME date = rows.date(kDateRow);
  const std::u16string notes = rows.text(kNotesRow);
  save(getGiftCollection(), gift_,
       [&](Gift& gift) { gift.assign(name, direction < 0 ? kGiftFrom : direction, friendId, date, notes); });
}

}  // namespace pellucard
