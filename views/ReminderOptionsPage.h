// What the Anniversaries and Loans pages of the options share: whether a saved item is exported
// at once, how many days before it the reminder comes (or none) and at what time of day. Done
// stores the three values through the settings' setters. A value the page cannot show (a
// hand-edited settings file) stays as it is stored unless the user chooses another.
#pragma once

#include "forms/FormBuilder.h"
#include "forms/FormDialog.h"

namespace pellucard {

class ReminderOptionsPage : public FormDialog {
 public:
  enum Row : UINT { kAutoExportRow = 0, kReminderRow = 1, kReminderTimeRow = 2 };

  struct Values {
    bool autoExport = true;
    int reminder = 1;
    int reminderTime = 0;  // hour * 256 + minute
  };

  INT_PTR run(HWND parent);
  const FormBuilder& builder() const { return builder_; }

 protected:
  // The page's title, the Smartphone's longer label of the export row (string ids).
  ReminderOptionsPage(UINT titleId, UINT smartphoneExportLabelId);

  virtual Values stored() const = 0;
  virtual void storeAutoExport(bool value) = 0;
  virtual void storeReminder(int days) = 0;
  virtual void storeReminderTime(int packed) = 0;

  void createContent(HWND dialog) override;
  void onDone() override;

 private:
  UINT titleId_;
  UINT smartphoneExportLabelId_;
  FormBuilder builder_;
  // What the rows showed when the page opened, and whether that was the stored value.
  LPARAM shownReminder_ = 0;
  bool reminderShown_ = true;
  int shownTime_ = 0;
  bool timeShown_ = true;
};

}  // namespace pellucard
