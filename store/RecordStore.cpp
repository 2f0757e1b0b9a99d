#include "store/RecordStore.h"

#include "store/AnniversariesTable.h"
#include "store/AnniversaryCollection.h"
#include "store/FriendCollection.h"
#include "store/FriendsTable.h"
#include "store/GiftCollection.h"
#include "store/GiftsTable.h"
#include "store/LoanCollection.h"
#include "store/LoansTable.h"

namespace pellucard {

void RecordStore::closeAll() {
  deleteFriendsTable();
  deleteFriendCollection();
  deleteGiftsTable();
  deleteGiftCollection();
  deleteLoansTable();
  deleteLoanCollection();
  deleteAnniversariesTable();
  deleteAnniversaryCollection();
}

bool RecordStore::openAndLoadAll() {
  bool ok = getFriendsTable().open();
  ok = getFriendCollection().load() && ok;
  ok = getGiftsTable().open() && ok;
  ok = getGiftCollection().load() && ok;
  ok = getLoansTable().open() && ok;
  ok = getLoanCollection().load() && ok;
  ok = getAnniversariesTable().open() && ok;
  ok = getAnniversaryCollection().load() && ok;
  return ok;
}

}  // namespace pellucard
