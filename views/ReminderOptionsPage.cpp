#include "views/ReminderOptionsPage.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/base/ResourceTable.h"
#include "platform/sys/WinBase.h"
#include "resources/CommandIds.h"
#include "resources/StringIds.h"
#include "settings/ReminderTime.h"

namespace pellucard {

namespace {

constexpr LPARAM kEnabled = 1;
constexpr LPARAM kDisabled = 0;
constexpr LPARAM kNoReminder = -1;

std::u16string text(UINT id) { return platform::loadString(id); }

// The reminder choices after "Disabled": a count and its unit, and the days they stand for.
struct ReminderChoice {
  int days;
  const char16_t* count;
  UINT unit;
};
constexpr ReminderChoice kReminders[] = {{1, u"1 ", IDS_DAY},  {2, u"2 ", IDS_DAYS}, {3, u"3 ", IDS_DAYS},
                                         {4, u"4 ", IDS_DAYS}, {7, u"1 ", IDS_WEEK}, {14, u"2 ", IDS_WEEKS}};

}  // namespace

ReminderOptionsPage::ReminderOptionsPage(UINT titleId, UINT smartphoneExportLabelId)
    : FormDialog(IDR_FORM_BAR, true), titleId_(titleId), smartphoneExportLabelId_(smartphoneExportLabelId) {}

INT_PTR ReminderOptionsPage::run(HWND parent) { return FormDialog::run(parent, text(titleId_)); }

void ReminderOptionsPage::createContent(HWND dialog) {
  const Values values = stored();
  builder_.begin(dialog);
  builder_.addChoiceRow(kAutoExportRow, text(pocketPc() ? IDS_AUTO_EXPORT : smartphoneExportLabelId_),
                        {text(IDS_ENABLED), text(IDS_DISABLED)}, {kEnabled, kDisabled});
  std::vector<std::u16string> texts{text(IDS_DISABLED)};
  std::vector<LPARAM> days{kNoReminder};
  for (const ReminderChoice& choice : kReminders) {
    texts.push_back(choice.count + text(choice.unit));
    days.push_back(choice.days);
  }
  builder_.addChoiceRow(kReminderRow, text(IDS_REMINDER), texts, days);

  SYSTEMTIME today{};
  GetLocalTime(&today);
  const std::optional<SYSTEMTIME> time = ReminderTime::onDay(values.reminderTime, today);
  timeShown_ = time.has_value();
  const SYSTEMTIME shown = time ? *time : *ReminderTime::onDay(ReminderTime::kNoon, today);
  shownTime_ = ReminderTime::pack(shown);
  builder_.addTimeRow(kReminderTimeRow, text(IDS_REMINDER_TIME), shown, ReminderTime::displayFormat());

  builder_.selectChoiceByValue(kAutoExportRow, values.autoExport ? kEnabled : kDisabled);
  builder_.selectChoiceByValue(kReminderRow, values.reminder);
  shownReminder_ = builder_.choiceValue(kReminderRow);
  reminderShown_ = shownReminder_ == values.reminder;
}

void ReminderOptionsPage::onDone() {
  const LPARAM autoExport = builder_.choiceValue(kAutoExportRow);
  if (autoExport == kEnabled || autoExport == kDisabled) storeAutoExport(autoExport == kEnabled);
  const LPARAM reminder = builder_.choiceValue(kReminderRow);
  if (reminderShown_ || reminder != shownReminder_) storeReminder(static_cast<int>(reminder));
  const SYSTEMTIME chosen = builder_.date(kReminderTimeRow);
  const int time = ReminderTime::pack(chosen);
  if (chosen.wYear != 0 && (timeShown_ || time != shownTime_)) storeReminderTime(time);
  end(IDOK);
}

}  // namespace pellucard
