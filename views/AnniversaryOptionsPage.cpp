#include "views/AnniversaryOptionsPage.h"

#include "resources/StringIds.h"
#include "settings/Settings.h"

namespace pellucard {

AnniversaryOptionsPage::AnniversaryOptionsPage()
    : ReminderOptionsPage(IDS_PAGE_ANNIVERSARIES, IDS_AUTO_EXPORT_CALENDAR) {}

ReminderOptionsPage::Values AnniversaryOptionsPage::stored() const {
  const Settings& settings = getSettings();
  return {settings.anniversariesAutoExport(), settings.anniversariesReminder(), settings.anniversariesReminderTime()};
}

void AnniversaryOptionsPage::storeAutoExport(bool value) { getSettings().setAnniversariesAutoExport(value); }

void AnniversaryOptionsPage::storeReminder(int days) { getSettings().setAnniversariesReminder(days); }

void AnniversaryOptionsPage::storeReminderTime(int packed) { getSettings().setAnniversariesReminderTime(packed); }

}  // namespace pellucard
