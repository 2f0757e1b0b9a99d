// Every anniversary, owned for the whole run, kept in RecordId order. Adds and updates export the
// anniversary to the Calendar when automatic export is on; removal deletes the exported appointment.
#pragma once

#include <memory>

#include "store/AnniversariesTable.h"
#include "store/Anniversary.h"
#include "store/FriendItemCollection.h"

namespace pellucard {

class AnniversaryCollection final
    : public FriendItemCollection<Anniversary, AnniversariesTable, getAnniversariesTable> {
 public:
  enum SortMode { kSortById = 0, kSortByName = 1, kSortByDate = 2, kSortByDayOfYear = 3, kSortByFriend = 4 };
  // Filter selections: 2 every anniversary, 1 the nearest.
  static constexpr int kFilterAll = 2;
  static constexpr int kFilterNearest = 1;

  AnniversaryCollection() : FriendItemCollection(kSortById) {}

  // Nearest is judged against the current local time.
  void filter(List& list, int selection) const;
  void filter(List& list, int selection, const SYSTEMTIME& now) const;
  // A mode outside 0..4 uses the remembered one.
  void sort(List& list, int mode, bool ascending);

 private:
  void stored(Anniversary& item) override;
  void removing(Anniversary& item) override;
};

AnniversaryCollection& getAnniversaryCollection();
void deleteAnniversaryCollection();

}  // namespace pellucard
