// Anniversaries as yearly all-day appointments of the calendar, with a reminder.
#pragma once

#include "platform/base/WinTypes.h"

namespace pellucard {

class Anniversary;
class OutlookConnection;

class CalendarExport {
 public:
  explicit CalendarExport(OutlookConnection& connection) : connection_(connection) {}

  // Adds the appointment, deletes the one exported before and keeps the new Oid in the record.
  // Fails, leaving the record and the earlier appointment alone, when the calendar cannot take it
  // or the record cannot be stored.
  // Outside a batch the calendar file is written once, at the end.
  bool exportAnniversary(Anniversary& anniversary);
  // Deletes the exported appointment when it still exists; the identifier is cleared in memory.
  void deleteExportedAppointment(Anniversary& anniversary);

  // Minutes before the start of the day for a reminder 'days' days before at the packed time
  // (hour * 256 + minute); 0 days means midnight at the start of the day. Values out of range
  // count as the nearest valid ones.
  static LONG reminderMinutes(int days, int packedTime);

 private:
  bool saveAppointment(Anniversary& anniversary);

  void deleteAppointment(LONG oid);

  OutlookConnection& connection_;
};

}  // namespace pellucard
