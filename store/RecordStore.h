// The four tables taken together: opening and closing them as one store, and the changes that
// span tables.
#pragma once

#include <string>

#include "store/LoadReport.h"
#include "store/RecordId.h"

namespace pellucard {

class RecordStore {
 public:
  // Destroys the tables and collections in the shutdown order (FriendsTable, FriendCollection,
  // GiftsTable, GiftCollection, LoansTable, LoanCollection, AnniversariesTable,
  // AnniversaryCollection). Every table unmounts, so the volume file can be copied or replaced.
  static void closeAll();
  // Opens each table of the volume file and loads its collection, friends first. A table that
  // fails to open stays inert with an empty collection; the result says whether all four opened
  // and loaded. What could not be read is in lastLoad(); when the volume could not be read
  // soundly, every table refuses to write until the next open.
  static bool openAndLoadAll(const std::u16string& databasePath);
  // What the last openAndLoadAll could and could not read.
  static const LoadReport& lastLoad();
  // Whether the tables take adds, updates and removals (open, and the volume read soundly).
  static bool acceptsWrites();
  // The volume file the store was last opened on; empty once it is closed.
  static const std::u16string& volumePath();

  // Whether any loan, gift or anniversary names the friend.
  static bool friendHasItems(RecordId friendId);
  // Removes the friend, then, when asked, its loans, anniversaries and gifts in that order, their
  // exported appointments and tasks deleted in one batch. False when there is no such friend or
  // its removal failed (nothing else is removed then), or when an item could not be removed.
  static bool removeFriend(RecordId friendId, bool withItems);
};

}  // namespace pellucard
