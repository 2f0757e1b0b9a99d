#include "store/FriendsTable.h"

namespace pellucard {

namespace {
// Six properties of 8-byte headers behind the 4-byte count; two numbers, three texts, the picture.
constexpr std::size_t kLargestRecord =
    4 + 6 * 8 + 2 * 4 + 2 * (2 * Friend::kMaxNameLength + Friend::kMaxNotesLength) + FriendPicture::kMaxStoredBytes;
static_assert(kLargestRecord <= CEDB_MAXRECORDSIZE, "a friend the form takes must fit one record");

enum Property : WORD { kContactId = 0, kFirstName = 1, kLastName = 2, kNotes = 3, kPicture = 4, kAvatarIndex = 5 };

// Never destroyed at exit: the shutdown sequence empties it while the platform still runs.
std::unique_ptr<FriendsTable>& slot() {
  static auto* table = new std::unique_ptr<FriendsTable>;
  return *table;
}
}  // namespace

FriendsTable::FriendsTable() : ItemTable(u"FriendsDB") {}

void FriendsTable::toRecord(const Friend& item, PropertyRecord& record) {
  record.addInt(kContactId, item.contactId());
  record.addText(kFirstName, item.firstName());
  record.addText(kLastName, item.lastName());
  record.addText(kNotes, item.notes());
  record.addBlob(kPicture, item.picture().bytes());
  record.addInt(kAvatarIndex, item.avatarIndex());
}

Friend FriendsTable::fromRecord(const RecordReader& record, ItemArena& arena) {
  // The index goes in first: a stored picture survives even when the index is not -1.
  Friend item(record.arenaText(kFirstName, arena), record.arenaText(kLastName, arena), record.arenaText(kNotes, arena),
              record.intOr(kAvatarIndex, 0));
  item.setContactId(record.intOr(kContactId));
  const std::span<const BYTE> picture = record.blob(kPicture);
  if (!picture.empty()) item.picture().loadFromBytes(picture);
  return item;
}

FriendsTable& getFriendsTable() {
  auto& table = slot();
  if (!table) table = std::make_unique<FriendsTable>();
  return *table;
}

void deleteFriendsTable() { slot().reset(); }

}  // namespace pellucard
