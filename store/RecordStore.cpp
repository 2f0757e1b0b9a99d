#include "store/RecordStore.h"

#include "store/AnniversariesTable.h"
#include "store/AnniversaryCollection.h"
#include "store/ExportBatchScope.h"
#include "store/FriendCollection.h"
#include "store/FriendsTable.h"
#include "store/GiftCollection.h"
#include "store/GiftsTable.h"
#include "store/LoanCollection.h"
#include "store/LoansTable.h"

namespace pellucard {

namespace {
std::u16string& openVolume() {
  static auto* path = new std::u16string;
  return *path;
}
}  // namespace

const std::u16string& RecordStore::volumePath() { return openVolume(); }

void RecordStore::closeAll() {
  openVolume().clear();
  deleteFriendsTable();
  deleteFriendCollection();
  deleteGiftsTable();
  deleteGiftCollection();
  deleteLoansTable();
  deleteLoanCollection();
  deleteAnniversariesTable();
  deleteAnniversaryCollection();
}

bool RecordStore::openAndLoadAll(const std::u16string& databasePath) {
  openVolume() = databasePath;
  bool ok = getFriendsTable().open(databasePath);
  ok = getFriendCollection().load() && ok;
  ok = getGiftsTable().open(databasePath) && ok;
  ok = getGiftCollection().load() && ok;
  ok = getLoansTable().open(databasePath) && ok;
  ok = getLoanCollection().load() && ok;
  ok = getAnniversariesTable().open(databasePath) && ok;
  ok = getAnniversaryCollection().load() && ok;
  return ok;
}

bool RecordStore::friendHasItems(RecordId friendId) {
  const LONG id = static_cast<LONG>(friendId);
  return !getLoanCollection().itemsOfFriend(id).empty() || !getGiftCollection().itemsOfFriend(id).empty() ||
         !getAnniversaryCollection().itemsOfFriend(id).empty();
}

bool RecordStore::removeFriend(RecordId friendId, bool withItems) {
  FriendCollection& friends = getFriendCollection();
  if (!friends.find(friendId) || !friends.remove(friendId)) return false;
  if (withItems) {
    ExportBatchScope exports;
    const LONG id = static_cast<LONG>(friendId);
    getLoanCollection().removeAllOfFriend(id);
    getAnniversaryCollection().removeAllOfFriend(id);
    getGiftCollection().removeAllOfFriend(id);
  }
  return true;
}

}  // namespace pellucard
