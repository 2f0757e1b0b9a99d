#include "store/AnniversariesTable.h"

#include "store/LocalDate.h"

namespace pellucard {

namespace {
enum Property : WORD { kName = 0, kFriend = 1, kDate = 2, kNotes = 3, kOutlookItemId = 4 };

// Never destroyed at exit: the shutdown sequence empties it while the platform still runs.
std::unique_ptr<AnniversariesTable>& slot() {
  static auto* table = new std::unique_ptr<AnniversariesTable>;
  return *table;
}
}  // namespace

AnniversariesTable::AnniversariesTable() : ItemTable(u"AnniversariesDB") {}

void AnniversariesTable::toRecord(const Anniversary& item, PropertyRecord& record) {
  record.addText(kName, item.name());
  record.addInt(kFriend, item.friendId());
  record.addFileTime(kDate, toFileTimeOrZero(item.date()));
  record.addText(kNotes, item.notes());
  record.addInt(kOutlookItemId, item.outlookItemId());
}

Anniversary AnniversariesTable::fromRecord(const RecordReader& record, ItemArena& arena) {
  const SYSTEMTIME date = fromFileTime(record.fileTime(kDate).value_or(FILETIME{}));
  return Anniversary(record.arenaText(kName, arena), record.intOr(kFriend), date, record.arenaText(kNotes, arena),
                     record.intOr(kOutlookItemId));
}

AnniversariesTable& getAnniversariesTable() {
  auto& table = slot();
  if (!table) table = std::make_unique<AnniversariesTable>();
  return *table;
}

void deleteAnniversariesTable() { slot().reset(); }

}  // namespace pellucard
