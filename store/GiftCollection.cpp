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
    : ItemCollection(kSortById), labels_({{kGiftFrom, IDS_FROM}, {kGiftFor, IDS_FOR}, {kGiftIdea, IDS_IDEAS}}) {}

bool GiftCollection::load() {
  std::vector<std::unique_ptr<Gift>> loaded;
  replaceAll({});
  const bool ok = getGiftsTable().loadAll(&loaded);
  replaceAll(std::move(loaded));
  sortStored();
  return ok;
}

bool GiftCollection::add(std::unique_ptr<Gift> item) {
  if (!item) return false;
  const bool added = getGiftsTable().add(*item);
  append(std::move(item));
  sortStored();
  return added;
}

bool GiftCollection::update(Gift& item) {
  const bool updated = getGiftsTable().update(item);
  sortStored();
  return updated;
}

bool GiftCollection::remove(RecordId id) {
  std::unique_ptr<Gift> item = take(id);
  if (!item) return false;
  if (item->recordId() == 0) return true;
  return getGiftsTable().remove(*item);
}

GiftCollection::List GiftCollection::itemsOfFriend(LONG friendId) const {
  List list;
  for (const auto& item : items())
    if (item->friendId() == friendId) list.push_back(item.get());
  return list;
}

void GiftCollection::removeAllOfFriend(LONG friendId) {
  auto taken = takeIf([&](const Gift& g) { return g.friendId() == friendId; });
  for (auto& item : taken)
    if (item->recordId() != 0) getGiftsTable().remove(*item);
}

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
  if (mode < kSortById || mode > kSortByFriend) mode = sortMode_;
  sortMode_ = mode;
  std::vector<std::size_t> order;
  switch (mode) {
    case kSortByName:
      order = item_order::byText(list, [](const Gift& g) -> const std::u16string& { return g.name(); });
      break;
    case kSortByDate:
      order = item_order::byDate(list, [](const Gift& g) -> const SYSTEMTIME& { return g.date(); });
      break;
    case kSortByFriend:
      order = item_order::byFriendName(list);
      break;
    default:
      order = item_order::byId(list);
      break;
  }
  item_order::apply(list, order, ascending);
}

void GiftCollection::sortStored() { sortById(); }

GiftCollection& getGiftCollection() {
  auto& collection = slot();
  if (!collection) collection = std::make_unique<GiftCollection>();
  return *collection;
}

void deleteGiftCollection() { slot().reset(); }

}  // namespace pellucard
