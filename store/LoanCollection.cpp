#include "store/LoanCollection.h"

#include "resources/StringIds.h"
#include "settings/Settings.h"
#include "store/ExportService.h"
#include "store/ItemOrder.h"
#include "store/LoansTable.h"

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
  if (service && getSettings().loansAutoExport()) service->exportLoan(item);
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
  if (mode < kSortById || mode > kSortByFriend) mode = sortMode_;
  sortMode_ = mode;
  std::vector<std::size_t> order;
  switch (mode) {
    case kSortByItem:
      order = item_order::byText(list, [](const Loan& l) { return l.item(); });
      break;
    case kSortByLoanDate:
      order = item_order::byDate(list, [](const Loan& l) -> const SYSTEMTIME& { return l.loanDate(); });
      break;
    case kSortByReturnDate:
      order = item_order::byDate(list, [](const Loan& l) -> const SYSTEMTIME& { return l.returnDate(); });
      break;
    case kSortByFriend:
      order = item_order::byFriendName(list);
      break;
    default:
      order = item_order::byId(list);
      break;
  }
  item_order::apply(list, order, ascending);
}

LoanCollection& getLoanCollection() {
  auto& collection = slot();
  if (!collection) collection = std::make_unique<LoanCollection>();
  return *collection;
}

void deleteLoanCollection() { slot().reset(); }

}  // namespace pellucard
