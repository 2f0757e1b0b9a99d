#include "store/StorePreferences.h"

namespace pellucard {

namespace {

StorePreferences& current() {
  static StorePreferences preferences;
  return preferences;
}

bool ask(const std::function<bool()>& choice) { return choice ? choice() : true; }

}  // namespace

void setStorePreferences(StorePreferences preferences) { current() = std::move(preferences); }

bool preferFirstNameFirst() { return ask(current().firstNameFirst); }
bool preferAutoExportAnniversaries() { return ask(current().autoExportAnniversaries); }
bool preferAutoExportLoans() { return ask(current().autoExportLoans); }

}  // namespace pellucard
