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

LoadReport& report() {
  static auto* last = new LoadReport;
  return *last;
}

template <class Table, class Collection>
void note(LoadReport::TableLoad& load, const Table& table, const Collection& collection) {
  load.opened = table.isOpen();
  load.openError = table.openError();
  load.loaded = collection.size();
  load.skipped = table.skippedRecords();
  load.scanError = table.scanError();
}
}  // namespace

const LoadReport& RecordStore::lastLoad() { return report(); }

bool RecordStore::acceptsWrites() {
  return getFriendsTable().acceptsWrites() && getGiftsTable().acceptsWrites() && getLoansTable().acceptsWrites() &&
         getAnniversariesTable().acceptsWrites();
}

const std::u16string& RecordStore::volumePath() { return openVolume(); }

void RecordStore::closeAll() {
  openVolume().clear();
  report() = LoadReport();
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

  LoadReport loaded;
  note(loaded.table(LoadReport::Table::Friends), getFriendsTable(), getFriendCollection());
  note(loaded.table(LoadReport::Table::Gifts), getGiftsTable(), getGiftCollection());
  note(loaded.table(LoadReport::Table::Loans), getLoansTable(), getLoanCollection());
  note(loaded.table(LoadReport::Table::Anniversaries), getAnniversariesTable(), getAnniversaryCollection());
  report() = loaded;
  const bool refuse = loaded.refusesWrites();
  getFriendsTable().refuseWrites(refuse);
  getGiftsTable().refuseWrites(refuse);
  getLoansTable().refuseWrites(refuse);
  getAnniversariesTable().refuseWrites(refuse);
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
  if (!withItems) return true;
  ExportBatchScope exports;
  const LONG id = static_cast<LONG>(friendId);
  bool all = getLoanCollection().removeAllOfFriend(id);
  all = getAnniversaryCollection().removeAllOfFriend(id) && all;
  return getGiftCollection().removeAllOfFriend(id) && all;
}

}  // namespace pellucard
