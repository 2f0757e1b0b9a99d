#include "outlook/CalendarExport.h"

#include "outlook/ExportBatch.h"
#include "outlook/LinkSavedItem.h"
#include "outlook/OutlookConnection.h"
#include "platform/base/ResourceTable.h"
#include "platform/sys/OleAuto.h"
#include "resources/StringIds.h"
#include "settings/Settings.h"
#include "store/AnniversariesTable.h"
#include "store/Anniversary.h"
#include "store/FriendCollection.h"

namespace pellucard {

namespace pim = platform::pim;

LONG CalendarExport::reminderMinutes(int days, int packedTime) {
  days = Settings::reminderDaysInRange(days);
  if (days <= 0) return 0;
  packedTime = Settings::reminderTimeInRange(packedTime);
  // Seconds from the start of the day to the reminder time on the anniversary's own day.
  const LONG seconds = (packedTime / 256) * 3600 + (packedTime % 256) * 60;
  return (days - 1) * 1440 + (86400 - seconds) / 60;
}

bool CalendarExport::exportAnniversary(Anniversary& a) {
  ExportBatch batch(connection_);
  const bool saved = saveAppointment(a);
  return batch.end() && saved;
}

bool CalendarExport::saveAppointment(Anniversary& a) {
  auto appointment = std::dynamic_pointer_cast<pim::Appointment>(connection_.newItem(olAppointmentItem));
  if (!appointment) return false;

  const Friend* owner = friendOf(a.friendId());
  std::u16string subject = owner ? owner->displayName() + u": " : std::u16string();
  subject.append(a.name());

  const Settings& settings = getSettings();
  const int days = Settings::reminderDaysInRange(settings.anniversariesReminder());
  SYSTEMTIME start = a.date();
  start.wHour = 0;
  start.wMinute = 0;
  start.wSecond = 0;
  DATE startDate = 0;
  if (!::SystemTimeToVariantTime(&start, &startDate) || FAILED(appointment->SetStart(startDate))) return false;
  appointment->SetAllDayEvent(true);
  appointment->SetSubject(subject);
  appointment->SetBody(std::u16string(a.notes()));
  appointment->SetCategories(platform::loadString(IDS_APP_TITLE));
  if (days == Settings::kNoReminder) {
    appointment->SetReminderSet(false);
  } else {
    appointment->SetReminderSet(true);
    appointment->SetReminderMinutesBeforeStart(reminderMinutes(days, settings.anniversariesReminderTime()));
  }
  appointment->SetBusyStatus(olFree);
  if (FAILED(appointment->Save())) return false;

  std::shared_ptr<pim::RecurrencePattern> pattern;
  bool repeats = SUCCEEDED(appointment->GetRecurrencePattern(pattern)) &&
                 SUCCEEDED(pattern->SetRecurrenceType(olRecursYearly)) &&
                 SUCCEEDED(pattern->SetMonthOfYear(a.date().wMonth)) &&
                 SUCCEEDED(pattern->SetDayOfMonth(a.date().wDay)) && SUCCEEDED(pattern->SetNoEndDate(true));
  if (!repeats || FAILED(appointment->Save())) {
    // The first save already stored a one-off appointment; do not leave it behind.
    appointment->Delete();
    return false;
  }

  return linkSavedItem(connection_, a, getAnniversariesTable(), *appointment,
                       [this](LONG previous) { deleteAppointment(previous); });
}

void CalendarExport::deleteExportedAppointment(Anniversary& a) {
  deleteAppointment(a.outlookItemId());
  a.setOutlookItemId(0);
}

void CalendarExport::deleteAppointment(LONG oid) {
  if (auto item = connection_.itemFromOid(oid); item && item->ItemType() == olAppointmentItem) item->Delete();
}

}  // namespace pellucard
