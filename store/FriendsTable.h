// The database "FriendsDB" of the volume and the stored form of a Friend.
#pragma once

#include <memory>

#include "store/Friend.h"
#include "store/ItemTable.h"

namespace pellucard {

class FriendsTable final : public ItemTable<Friend, FriendsTable> {
 public:
  FriendsTable();

  static void toRecord(const Friend& item, PropertyRecord& record);
  static Friend fromRecord(const RecordReader& record, ItemArena& arena);
};

// Application-wide instance: created on first access, deleted by the store's shutdown order.
FriendsTable& getFriendsTable();
void deleteFriendsTable();

}  // namespace pellucard
