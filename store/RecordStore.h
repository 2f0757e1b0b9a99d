// The four tables taken together, and the two whole-store operations of backup and restore.
#pragma once

namespace pellucard {

class RecordStore {
 public:
  // Destroys the tables and collections in the shutdown order (FriendsTable, FriendCollection,
  // GiftsTable, GiftCollection, LoansTable, LoanCollection, AnniversariesTable,
  // AnniversaryCollection). Every table unmounts, so the volume file can be copied or replaced.
  static void closeAll();
  // Opens each table and loads its collection, friends first. A table that fails to open stays
  // inert with an empty collection; the result says whether all four opened and loaded.
  static bool openAndLoadAll();
};

}  // namespace pellucard
