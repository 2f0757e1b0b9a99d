// Every anniversary, owned for the whole run, kept in RecordId order. Adds and updates export the
// anniversary to the Calendar when automatic export is on; removal deletes the exported appointment.
#pragma once

#include <memory>

#include "store/Anniversary.h"
#include "store/ItemCollection.h"

namespace pellucard {

class AnniversaryCollection final : public ItemCollection<Anniversary> {
 public:
  enum SortMode { kSortById = 0, kSortByName = 1, kSortByDate = 2, kSortByDayOfYear = 3, kSortByFriend = 4 };
  // Filter selections: 2 every anniversary, 1 the nearest.
  static constexpr int kFilterAll = 2;
  static constexpr int kFilterNearest = 1;

  AnniversaryCollection() : ItemCollection(kSortById) {}

  bool load();
  bool add(std::unique_ptr<Anniversary> item);
  bool update(Anniversary& item);
  bool remove(RecordId id);

  List itemsOfFriend(LONG friendId) const;
  void removeAllOfFriend(LONG friendId);

  // Nearest is judged against the current local time.
  void filter(List& list, int selection) const;
  void filter(List& list, int selection, const SYSTEMTIME& now) const;
  // A mode outside 0..4 uses the remembered one.
  void sort(List& list, int mode, bool ascending);

 private:
  void sortStored();
  void autoExport(Anniversary& item);
};

AnniversaryCollection& getAnniversaryCollection();
void deleteAnniversaryCollection();

}  // namespace pellucard
