#include "store/GiftsTable.h"

#include "store/LocalDate.h"

namespace pellucard {

namespace {
enum Property : WORD { kName = 0, kDirection = 1, kFriend = 2, kDate = 3, kNotes = 4 };

// Never destroyed at exit: the shutdown sequence empties it while the platform still runs.
std::unique_ptr<GiftsTable>& slot() {
  static auto* table = new std::unique_ptr<GiftsTable>;
  return *table;
}
}  // namespace

GiftsTable::GiftsTable() : ItemTable(u"GiftsDB") {}

void GiftsTable::toRecord(const Gift& item, PropertyRecord& record) {
  record.addText(kName, item.name());
  record.addInt(kDirection, item.direction());
  record.addInt(kFriend, item.friendId());
  record.addFileTime(kDate, toFileTimeOrZero(item.date()));
  record.addText(kNotes, item.notes());
}

Gift GiftsTable::fromRecord(const RecordReader& record, ItemArena& arena) {
  const SYSTEMTIME date = fromFileTime(record.fileTime(kDate).value_or(FILETIME{}));
  return Gift(record.arenaText(kName, arena), record.intOr(kDirection), record.intOr(kFriend), date,
              record.arenaText(kNotes, arena));
}

GiftsTable& getGiftsTable() {
  auto& table = slot();
  if (!table) table = std::make_unique<GiftsTable>();
  return *table;
}

void deleteGiftsTable() { slot().reset(); }

}  // namespace pellucard
