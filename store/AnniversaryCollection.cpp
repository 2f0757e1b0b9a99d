#include "store/AnniversaryCollection.h"

#include "settings/Settings.h"
#include "store/AnniversariesTable.h"
#include "store/ExportService.h"
#include "store/ItemOrder.h"

namespace pellucard {

namespace {
std::unique_ptr<AnniversaryCollection>& slot() {
  static auto* collection = new std::unique_ptr<AnniversaryCollection>;
  return *collection;
}

void deleteExported(Anniversary& item) {
  if (ExportService* service = exportService()) service->deleteExportedAppointment(item);
}
}  // namespace

bool AnniversaryCollection::load() {
  std::vector<std::unique_ptr<Anniversary>> loaded;
  replaceAll({});
  const bool ok = getAnniversariesTable().loadAll(&loaded);
  replaceAll(std::move(loaded));
  sortStored();
  return ok;
}

void AnniversaryCollection::autoExport(Anniversary& item) {
  ExportService* service = exportService();
  if (service && getSettings().anniversariesAutoExport()) service->exportAnniversary(item);
}

bool AnniversaryCollection::add(std::unique_ptr<Anniversary> item) {
  if (!item) return false;
  const bool added = getAnniversariesTable().add(*item);
  Anniversary* raw = append(std::move(item));
  autoExport(*raw);
  sortStored();
  return added;
}

bool AnniversaryCollection::update(Anniversary& item) {
  const bool updated = getAnniversariesTable().update(item);
  autoExport(item);
  sortStored();
  return updated;
}

bool AnniversaryCollection::remove(RecordId id) {
  std::unique_ptr<Anniversary> item = take(id);
  if (!item) return false;
  deleteExported(*item);
  if (item->recordId() == 0) return true;
  return getAnniversariesTable().remove(*item);
}

AnniversaryCollection::List AnniversaryCollection::itemsOfFriend(LONG friendId) const {
  List list;
  for (const auto& item : items())
    if (item->friendId() == friendId) list.push_back(item.get());
  return list;
}

void AnniversaryCollection::removeAllOfFriend(LONG friendId) {
  auto taken = takeIf([&](const Anniversary& a) { return a.friendId() == friendId; });
  for (auto& item : taken) {
    deleteExported(*item);
    if (item->recordId() != 0) getAnniversariesTable().remove(*item);
  }
}

void AnniversaryCollection::filter(List& list, int selection) const { filter(list, selection, localNow()); }

void AnniversaryCollection::filter(List& list, int selection, const SYSTEMTIME& now) const {
  if (selection == kFilterAll) return;
  std::erase_if(list, [&](const Anniversary* a) { return !a->isNearest(now); });
}

void AnniversaryCollection::sort(List& list, int mode, bool ascending) {
  if (mode < kSortById || mode > kSortByFriend) mode = sortMode_;
  sortMode_ = mode;
  std::vector<std::size_t> order;
  switch (mode) {
    case kSortByName:
      order = item_order::byText(list, [](const Anniversary& a) -> const std::u16string& { return a.name(); });
      break;
    case kSortByDate:
      order = item_order::byDate(list, [](const Anniversary& a) -> const SYSTEMTIME& { return a.date(); });
      break;
    case kSortByDayOfYear:
      order = item_order::byDayOfYear(list, [](const Anniversary& a) -> const SYSTEMTIME& { return a.date(); });
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

void AnniversaryCollection::sortStored() { sortById(); }

AnniversaryCollection& getAnniversaryCollection() {
  auto& collection = slot();
  if (!collection) collection = std::make_unique<AnniversaryCollection>();
  return *collection;
}

void deleteAnniversaryCollection() { slot().reset(); }

}  // namespace pellucard
