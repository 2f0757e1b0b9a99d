#include "store/GiftCollection.h"

#include "resources/StringIds.h"
#include "store/GiftsTable.h"
#include "store/ItemOrder.h"

namespace pellucard {

namespace {
std::unique_ptr<GiftCollection>& slot() {
  static auto* collection = new std::unique_ptr<GiftCollection>;
  return *collection;
}
}  // namespace

GiftCollection::GiftCollection()
    : FriendItemCollection(kSortById), labels_({{kGiftFrom, IDS_FROM}, {kGiftFor, IDS_FOR}, {kGiftIdea, IDS_IDEAS}}) {}

void GiftCollection::filter(List& list, int selection) const {
  if (selection == kFilterAll) return;
  std::erase_if(list, [&](const Gift* g) {
    switch (g->direction()) {
      case kGiftFrom:
        return !(selection & 1);
      case kGiftFor:
        return !(selection & 2);
      case kGiftIdea:
        return !(selection & 4);
      default:
        return true;
    }
  });
}

void GiftCollection::sort(List& list, int mode, bool ascending) {
  sortByMode(list, mode, kSortByFriend, ascending, [&](int by) {
    if (by == kSortByName) return item_order::byText(list, [](const Gift& g) { return g.name(); });
    return item_order::byDate(list, [](const Gift& g) -> const SYSTEMTIME& { return g.date(); });
  });
}

GiftCollection& getGiftCollection() {
  auto& collection = slot();
  if (!collection) collection = std::make_unique<GiftCollection>();
  return *collection;
}

void deleteGiftCollection() { slot().reset(); }

}  // namespace pellucard
