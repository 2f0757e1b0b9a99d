// A thing borrowed from or lent to a friend, with the loan date and an optional return date.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"
#include "store/ItemText.h"
#include "store/RecordId.h"

namespace pellucard {

enum LoanDirection : LONG { kLoanFrom = 0, kLoanTo = 1 };

class Loan {
 public:
  Loan() = default;
  Loan(ItemText item, LONG direction, LONG friendId, const SYSTEMTIME& loanDate, const SYSTEMTIME& returnDate,
       ItemText notes, LONG outlookItemId);

  // Keeps the identifier and the exported task's identifier.
  void assign(ItemText item, LONG direction, LONG friendId, const SYSTEMTIME& loanDate, const SYSTEMTIME& returnDate,
              ItemText notes);

  RecordId recordId() const { return recordId_; }
  void setRecordId(RecordId id) { recordId_ = id; }
  LONG friendId() const { return friend_; }
  std::u16string_view item() const { return item_; }
  std::u16string_view notes() const { return notes_; }
  LONG direction() const { return direction_; }
  const SYSTEMTIME& loanDate() const { return loanDate_; }
  // Year 0 means there is no return date.
  const SYSTEMTIME& returnDate() const { return returnDate_; }
  bool hasReturnDate() const { return returnDate_.wYear != 0; }
  LONG outlookItemId() const { return outlookItemId_; }
  void setOutlookItemId(LONG id) { outlookItemId_ = id; }

  // Due back strictly before now.
  bool isOverdue(const SYSTEMTIME& now) const;

 private:
  RecordId recordId_ = 0;
  LONG friend_ = 0;
  ItemText item_;
  ItemText notes_;
  LONG direction_ = kLoanFrom;
  SYSTEMTIME loanDate_{};
  SYSTEMTIME returnDate_{};
  LONG outlookItemId_ = 0;
};

}  // namespace pellucard
