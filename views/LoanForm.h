// The form that adds a loan or edits one: the thing, whether it was borrowed from the friend or
// lent to the friend, the friend, the loan date, the optional return date and notes. Both dates
// are stored at the loans' reminder time of day, so that a loan is overdue from that time of its
// return day on.
#pragma once

#include "store/Loan.h"
#include "views/ItemForm.h"

namespace pellucard {

class LoanForm : public ItemForm {
 public:
  enum Row : UINT { kItemRow = 0, kDirectionRow = 1, kFriendRow = 2, kDateRow = 3, kReturnDateRow = 4, kNotesRow = 5 };

  // The loan to edit (it must outlive the form), or none to add one.
  explicit LoanForm(Loan* loan = nullptr) : loan_(loan) {}

  // The date at the reminder time (hour * 256 + minute), seconds 0; the day, the milliseconds
  // and a missing year (no date) stay as they are.
  static SYSTEMTIME atReminderTime(SYSTEMTIME date, int packedTime);

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;

 private:
  Loan* loan_;
};

}  // namespace pellucard
