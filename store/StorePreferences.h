// The user's choices the store follows: the order of a friend's names and whether saved loans
// and anniversaries go to Tasks and the Calendar at once. The store does not read the settings
// itself; start-up hands it these, read afresh each time they are asked.
#pragma once

#include <functional>

namespace pellucard {

struct StorePreferences {
  // "First Last" rather than "Last, First".
  std::function<bool()> firstNameFirst;
  std::function<bool()> autoExportAnniversaries;
  std::function<bool()> autoExportLoans;
};

// Replaces the preferences; an empty function answers as a fresh install would (first name
// first, automatic export on).
void setStorePreferences(StorePreferences preferences);

bool preferFirstNameFirst();
bool preferAutoExportAnniversaries();
bool preferAutoExportLoans();

}  // namespace pellucard
