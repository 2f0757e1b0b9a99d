#include "views/LoanForm.h"

#include <string>
#include <vector>

#include "platform/base/ResourceTable.h"
#include "resources/StringIds.h"
#include "settings/Settings.h"
#include "store/LoanCollection.h"

namespace pellucard {

SYSTEMTIME LoanForm::atReminderTime(SYSTEMTIME date, int packedTime) {
  // A hand-edited settings file may hold a time no clock shows.
  const int time = Settings::reminderTimeInRange(packedTime);
  date.wHour = static_cast<WORD>((time >> 8) & 0xFF);
  date.wMinute = static_cast<WORD>(time & 0xFF);
  date.wSecond = 0;
  return date;
}

void LoanForm::createContent(HWND dialog) {
  FormBuilder& rows = builder();
  rows.begin(dialog);
  addNameRow(kItemRow, IDS_LABEL_ITEM);
  DirectionLabels& labels = getLoanCollection().directionLabels();
  rows.addChoiceRow(kDirectionRow, platform::loadString(IDS_LABEL_DIRECTION), {labels[kLoanFrom], labels[kLoanTo]},
                    {kLoanFrom, kLoanTo});
  addFriendRow(kFriendRow);
  rows.addDateRow(kDateRow, platform::loadString(IDS_LABEL_DATE), now());
  rows.addDateRow(kReturnDateRow, platform::loadString(IDS_LABEL_RETURN_DATE), SYSTEMTIME{}, true);
  addNotesRow(kNotesRow);
  if (loan_ != nullptr) {
    rows.setText(kItemRow, std::u16string(loan_->item()));
    rows.selectChoiceByValue(kDirectionRow, loan_->direction());
    selectFriend(loan_->friendId());
    rows.setDate(kDateRow, loan_->loanDate());
    rows.setDate(kReturnDateRow, loan_->returnDate());
    rows.setText(kNotesRow, std::u16string(loan_->notes()));
  }
  rows.focus(kItemRow);
}

void LoanForm::onDone() {
  const FormBuilder& rows = this->rows();
  const std::u16string item = rows.text(kItemRow);
  const auto direction = static_cast<LONG>(rows.choiceValue(kDirectionRow));
  const LONG friendId = chosenFriend();
  const int time = getSettings().loansReminderTime();
  const SYSTEMTIME loanDate = atReminderTime(rows.date(kDateRow), time);
  const SYSTEMTIME returnDate = atReminderTime(rows.date(kReturnDateRow), time);
  const std::u16string notes = rows.text(kNotesRow);
  save(getLoanCollection(), loan_, [&](Loan& loan) {
    loan.assign(item, direction < 0 ? kLoanFrom : direction, friendId, loanDate, returnDate, notes);
  });
}

}  // namespace pellucard
