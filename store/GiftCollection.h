// Every gift, owned for the whole run, kept in RecordId order.
#pragma once

#include <memory>

#include "store/DirectionLabels.h"
#include "store/Gift.h"
#include "store/ItemCollection.h"

namespace pellucard {

class GiftCollection final : public ItemCollection<Gift> {
 public:
  enum SortMode { kSortById = 0, kSortByName = 1, kSortByDate = 2, kSortByFriend = 3 };
  // Filter selections: bit 1 From, bit 2 For, bit 4 Ideas; 7 is every gift.
  static constexpr int kFilterAll = 7;

  GiftCollection();

  bool load();
  // Writes the gift and takes it over, also when the write failed (it then has RecordId 0).
  bool add(std::unique_ptr<Gift> item);
  bool update(Gift& item);
  // Deletes the first gift with that identifier and its record; false when there is none or the
  // record could not be deleted (the gift leaves the list all the same).
  bool remove(RecordId id);

  List itemsOfFriend(LONG friendId) const;
  void removeAllOfFriend(LONG friendId);

  void filter(List& list, int selection) const;
  // A mode outside 0..3 uses the remembered one.
  void sort(List& list, int mode, bool ascending);

  DirectionLabels& directionLabels() { return labels_; }

 private:
  void sortStored();
  DirectionLabels labels_;
};

GiftCollection& getGiftCollection();
void deleteGiftCollection();

}  // namespace pellucard
