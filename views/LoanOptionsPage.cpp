#include "views/LoanOptionsPage.h"

#include "resources/StringIds.h"
#include "settings/Settings.h"

namespace pellucard {

LoanOptionsPage::LoanOptionsPage() : ReminderOptionsPage(IDS_PAGE_LOANS, IDS_AUTO_EXPORT_TASKS) {}

ReminderOptionsPage::Values LoanOptionsPage::stored() const {
  const Settings& settings = getSettings();
  return {settings.loansAutoExport(), settings.loansReminder(), settings.loansReminderTime()};
}

void LoanOptionsPage::storeAutoExport(bool value) { getSettings().setLoansAutoExport(value); }

void LoanOptionsPage::storeReminder(int days) { getSettings().setLoansReminder(days); }

void LoanOptionsPage::storeReminderTime(int packed) { getSettings().setLoansReminderTime(packed); }

}  // namespace pellucard
