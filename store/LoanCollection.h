// Every loan, owned for the whole run, kept in RecordId order. Adds and updates export the loan
// to Tasks when automatic export is on; removal deletes the exported task.
#pragma once

#include <memory>

#include "store/DirectionLabels.h"
#include "store/FriendItemCollection.h"
#include "store/Loan.h"
#include "store/LoansTable.h"

namespace pellucard {

class LoanCollection final : public FriendItemCollection<Loan, LoansTable, getLoansTable> {
 public:
  enum SortMode { kSortById = 0, kSortByItem = 1, kSortByLoanDate = 2, kSortByReturnDate = 3, kSortByFriend = 4 };
  // Filter selections: bit 1 borrowed, bit 2 lent, bit 4 overdue; 3 is every loan.
  static constexpr int kFilterAll = 3;

  LoanCollection();

  // Overdue is judged against the current local time.
  void filter(List& list, int selection) const;
  void filter(List& list, int selection, const SYSTEMTIME& now) const;
  // A mode outside 0..4 uses the remembered one.
  void sort(List& list, int mode, bool ascending);

  DirectionLabels& directionLabels() { return labels_; }

 private:
  void stored(Loan& item) override;
  void removing(Loan& item) override;
  DirectionLabels labels_;
};

LoanCollection& getLoanCollection();
void deleteLoanCollection();

}  // namespace pellucard
