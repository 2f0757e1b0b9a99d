#include "store/Loan.h"

#include "store/LocalDate.h"

namespace pellucard {

Loan::Loan(ItemText item, LONG direction, LONG friendId, const SYSTEMTIME& loanDate, const SYSTEMTIME& returnDate,
           ItemText notes, LONG outlookItemId)
    : outlookItemId_(outlookItemId) {
  assign(std::move(item), direction, friendId, loanDate, returnDate, std::move(notes));
}

void Loan::assign(ItemText item, LONG direction, LONG friendId, const SYSTEMTIME& loanDate,
                  const SYSTEMTIME& returnDate, ItemText notes) {
  item_ = std::move(item);
  direction_ = direction;
  friend_ = friendId;
  loanDate_ = loanDate;
  returnDate_ = returnDate;
  notes_ = std::move(notes);
}

bool Loan::isOverdue(const SYSTEMTIME& now) const {
  if (!hasReturnDate()) return false;
  const auto due = fileTimeOf(returnDate_);
  const auto current = fileTimeOf(now);
  return due && current && *due < *current;
}

}  // namespace pellucard
