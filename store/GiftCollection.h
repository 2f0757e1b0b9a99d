// Every gift, owned for the whole run, kept in RecordId order.
#pragma once

#include <memory>

#include "store/DirectionLabels.h"
#include "store/FriendItemCollection.h"
#include "store/Gift.h"
#include "store/GiftsTable.h"

namespace pellucard {

class GiftCollection final : public FriendItemCollection<Gift, GiftsTable, getGiftsTable> {
 public:
  enum SortMode { kSortById = 0, kSortByName = 1, kSortByDate = 2, kSortByFriend = 3 };
  // Filter selections: bit 1 From, bit 2 For, bit 4 Ideas; 7 is every gift.
  static constexpr int kFilterAll = 7;

  GiftCollection();

  void filter(List& list, int selection) const;
  // A mode outside 0..3 uses the remembered one.
  void sort(List& list, int mode, bool ascending);

  DirectionLabels& directionLabels() { return labels_; }

 private:
  DirectionLabels labels_;
};

GiftCollection& getGiftCollection();
void deleteGiftCollection();

}  // namespace pellucard
