#include "store/LoanCollection.h"

#include "resources/StringIds.h"
#include "store/ExportService.h"
#include "store/ItemOrder.h"
#include "store/LoansTable.h"
#include "store/StorePreferences.h"

namespace pellucard {

namespace {
std::unique_ptr<LoanCollection>& slot() {
  static auto* collection = new std::unique_ptr<LoanCollection>;
  return *collection;
}
}  // namespace

LoanCollection::LoanCollection()
    : FriendItemCollection(kSortById), labels_({{kLoanFrom, IDS_FROM}, {kLoanTo, IDS_TO}}) {}

void LoanCollection::removing(Loan& item) {
  if (ExportService* service = exportService()) service->deleteExportedTask(item);
}

void LoanCollection::stored(Loan& item) {
  ExportService* service = exportService();
  if (service && preferAutoExportLoans()) service->exportLoan(item);
}

void LoanCollection::filter(List& list, int selection) const { filter(list, selection, localNow()); }

void LoanCollection::filter(List& list, int selection, const SYSTEMTIME& now) const {
  if (selection == kFilterAll) return;
  std::erase_if(list, [&](const Loan* l) {
    if (l->direction() == kLoanFrom && (selection & 1)) return false;
    if (l->direction() == kLoanTo && (selection & 2)) return false;
    if ((selection & 4) && l->isOverdue(now)) return false;
    return true;
  });
}

void LoanCollection::sort(List& list, int mode, bool ascending) {
  sortByMode(list, mode, kSortByFriend, ascending, [&](int by) {
    if (by == kSortByItem) return item_order::byText(list, [](const Loan& l) { return l.item(); });
    if (by == kSortByLoanDate)
      return item_order::byDate(list, [](const Loan& l) -> const SYSTEMTIME& { return l.loanDate(); });
    return item_order::byDate(list, [](const Loan& l) -> const SYSTEMTIME& { return l.returnDate(); });
  });
}

LoanCollection& getLoanCollection() {
  auto& collection = slot();
  if (!collection) collection = std::make_unique<LoanCollection>();
  return *collection;
}

void deleteLoanCollection() { slot().reset(); }

}  // namespace pellucard
