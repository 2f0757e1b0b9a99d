// The values of one appointment as the service stores them.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace platform::pim {

struct AppointmentData {
  LONG oid = 0;  // 0 until first saved
  std::string uid;
  DATE start = 0;             // local time
  LONG durationMinutes = 60;  // all-day events last whole days instead
  bool allDay = false;
  std::u16string subject;
  std::u16string body;
  std::u16string categories;  // comma-separated
  bool reminderSet = false;
  LONG reminderMinutesBeforeStart = 15;
  LONG busyStatus = 2;  // olBusy
  // Recurrence: -1 none; otherwise a recurrence type, of which the service writes yearly.
  LONG recurrenceType = -1;
  LONG monthOfYear = 0;
  LONG dayOfMonth = 0;
  bool noEndDate = true;
  bool recurrenceChanged = false;  // a recurrence read from the file is kept as written
};

}  // namespace platform::pim
