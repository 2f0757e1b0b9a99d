// The Loans page of the options: the automatic export and the reminder of loans, exported to the task list.
#pragma once

#include "views/ReminderOptionsPage.h"

namespace pellucard {

class LoanOptionsPage : public ReminderOptionsPage {
 public:
  LoanOptionsPage();

 protected:
  Values stored() const override;
  void storeAutoExport(bool value) override;
  void storeReminder(int days) override;
  void storeReminderTime(int packed) override;
};

}  // namespace pellucard
