// The Anniversaries page of the options: the automatic export and the reminder of anniversaries, exported to the
// calendar.
#pragma once

#include "views/ReminderOptionsPage.h"

namespace pellucard {

class AnniversaryOptionsPage : public ReminderOptionsPage {
 public:
  AnniversaryOptionsPage();

 protected:
  Values stored() const override;
  void storeAutoExport(bool value) override;
  void storeReminder(int days) override;
  void storeReminderTime(int packed) override;
};

}  // namespace pellucard
