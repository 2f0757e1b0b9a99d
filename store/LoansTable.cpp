#include "store/LoansTable.h"

#include "store/LocalDate.h"

namespace pellucard {

namespace {
enum Property : WORD {
  kItem = 0,
  kDirection = 1,
  kFriend = 2,
  kLoanDate = 3,
  kReturnDate = 4,
  kNotes = 5,
  kOutlookItemId = 6
};

// Never destroyed at exit: the shutdown sequence empties it while the platform still runs.
std::unique_ptr<LoansTable>& slot() {
  static auto* table = new std::unique_ptr<LoansTable>;
  return *table;
}
}  // namespace

LoansTable::LoansTable() : ItemTable(u"LoansDB") {}

void LoansTable::toRecord(const Loan& item, PropertyRecord& record) {
  record.addText(kItem, item.item());
  record.addInt(kDirection, item.direction());
  record.addInt(kFriend, item.friendId());
  record.addFileTime(kLoanDate, toFileTimeOrZero(item.loanDate()));
  // No return date (year 0) does not convert and is stored as file time 0.
  record.addFileTime(kReturnDate, toFileTimeOrZero(item.returnDate()));
  record.addText(kNotes, item.notes());
  record.addInt(kOutlookItemId, item.outlookItemId());
}

Loan LoansTable::fromRecord(const RecordReader& record, ItemArena& arena) {
  const SYSTEMTIME loanDate = fromFileTime(record.fileTime(kLoanDate).value_or(FILETIME{}));
  SYSTEMTIME returnDate{};
  const FILETIME stored = record.fileTime(kReturnDate).value_or(FILETIME{});
  if (stored.dwLowDateTime != 0 || stored.dwHighDateTime != 0) returnDate = fromFileTime(stored);
  return Loan(record.arenaText(kItem, arena), record.intOr(kDirection), record.intOr(kFriend), loanDate, returnDate,
              record.arenaText(kNotes, arena), record.intOr(kOutlookItemId));
}

LoansTable& getLoansTable() {
  auto& table = slot();
  if (!table) table = std::make_unique<LoansTable>();
  return *table;
}

void deleteLoansTable() { slot().reset(); }

}  // namespace pellucard
