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

void deleteExported(Loan& item) {
  if (ExportService* service = exportService()) service->deleteExportedTask(item);
}
}  // namespace

LoanCollection::LoanCollection() : ItemCollection(kSortById), labels_({{kLoanFrom, IDS_FROM}, {kLoanTo, IDS_TO}}) {}

bool LoanCollection::load() {
  std::vector<std::unique_ptr<Loan>> loaded;
  replaceAll({});
  const bool ok = getLoansTable().loadAll(&loaded);
  replaceAll(std::move(loaded));
  sortStored();
  return ok;
}

void LoanCollection::autoExport(Loan& item) {
  ExportService* service = exportService();
  if (service && getSettings().loansAutoExport()) service->exportLoan(item);
}

bool LoanCollection::add(std::unique_ptr<Loan> item) {
  if (!item) return false;
  const bool added = getLoansTable().add(*item);
  Loan* raw = append(std::move(item));
  autoExport(*raw);
  sortStored();
  return added;
}

bool LoanCollection::update(Loan& item) {
  const bool updated = getLoansTable().update(item);
  autoExport(item);
  sortStored();
  return updated;
}

bool LoanCollection::remove(RecordId id) {
  std::unique_ptr<Loan> item = take(id);
  if (!item) return false;
  deleteExported(*item);
  if (item->recordId() == 0) return true;
  return getLoansTable().remove(*item);
}

LoanCollection::List LoanCollection::itemsOfFriend(LONG friendId) const {
  List list;
  for (const auto& item : items())
    if (item->friendId() == friendId) list.push_back(item.get());
  return list;
}

void LoanCollection::removeAllOfFriend(LONG friendId) {
  auto taken = takeIf([&](const Loan& l) { return l.friendId() == friendId; });
  for (auto& item : taken) {
    deleteExported(*item);
    if (item->recordId() != 0) getLoansTable().remove(*item);
  }
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
      order = item_order::byText(list, [](const Loan& l) -> const std::u16string& { return l.item(); });
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

void LoanCollection::sortStored() { sortById(); }

LoanCollection& getLoanCollection() {
  auto& collection = slot();
  if (!collection) collection = std::make_unique<LoanCollection>();
  return *collection;
}

void deleteLoanCollection() { slot().reset(); }

}  // namespace pellucard
