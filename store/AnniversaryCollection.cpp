#include "store/AnniversaryCollection.h"

#include "store/AnniversariesTable.h"
#include "store/ExportService.h"
#include "store/ItemOrder.h"
#include "store/StorePreferences.h"

namespace pellucard {

namespace {
std::unique_ptr<AnniversaryCollection>& slot() {
  static auto* collection = new std::unique_ptr<AnniversaryCollection>;
  return *collection;
}
}  // namespace

void AnniversaryCollection::removing(Anniversary& item) {
  if (ExportService* service = exportService()) service->deleteExportedAppointment(item);
}

void AnniversaryCollection::stored(Anniversary& item) {
  ExportService* service = exportService();
  if (service && preferAutoExportAnniversaries()) service->exportAnniversary(item);
}

void AnniversaryCollection::filter(List& list, int selection) const { filter(list, selection, localNow()); }

void AnniversaryCollection::filter(List& list, int selection, const SYSTEMTIME& now) const {
  if (selection == kFilterAll) return;
  std::erase_if(list, [&](const Anniversary* a) { return !a->isNearest(now); });
}

void AnniversaryCollection::sort(List& list, int mode, bool ascending) {
  sortByMode(list, mode, kSortByFriend, ascending, [&](int by) {
    if (by == kSortByName) return item_order::byText(list, [](const Anniversary& a) { return a.name(); });
    if (by == kSortByDate)
      return item_order::byDate(list, [](const Anniversary& a) -> const SYSTEMTIME& { return a.date(); });
    return item_order::byDayOfYear(list, [](const Anniversary& a) -> const SYSTEMTIME& { return a.date(); });
  });
}

AnniversaryCollection& getAnniversaryCollection() {
  auto& collection = slot();
  if (!collection) collection = std::make_unique<AnniversaryCollection>();
  return *collection;
}

void deleteAnniversaryCollection() { slot().reset(); }

}  // namespace pellucard
