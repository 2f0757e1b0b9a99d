#include "settings/StoreWiring.h"

#include "settings/Settings.h"
#include "store/StorePreferences.h"

namespace pellucard {

void connectStoreToSettings() {
  setStorePreferences({
      .firstNameFirst = [] { return getSettings().fNameFirst(); },
      .autoExportAnniversaries = [] { return getSettings().anniversariesAutoExport(); },
      .autoExportLoans = [] { return getSettings().loansAutoExport(); },
  });
}

}  // namespace pellucard
