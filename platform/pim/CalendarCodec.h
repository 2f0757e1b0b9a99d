// Appointments as VEVENTs and tasks as VTODOs, and the service's Oid kept in each.
#pragma once

#include <libical/ical.h>

#include <string>
#include <string_view>

#include "platform/pim/AppointmentData.h"
#include "platform/pim/TaskData.h"

namespace platform::pim {

class CalendarCodec {
 public:
  static constexpr const char* kOidProperty = "X-PELLUCARD-OID";

  // Replaces every property the service manages; others (LOCATION, ATTENDEE ...) stay.
  static void writeAppointment(icalcomponent* event, const AppointmentData& data);
  static AppointmentData readAppointment(icalcomponent* event);
  static void writeTask(icalcomponent* todo, const TaskData& data);
  static TaskData readTask(icalcomponent* todo);

  // The Oid stored in the item; 0 when it has none or it is not a number.
  static LONG storedOid(icalcomponent* item);
  // The Oid written as that property value; 0 when it is no number of 1 to 2^32 - 1.
  static LONG oidFromText(std::string_view text);
  static std::string uid(icalcomponent* item);
};

}  // namespace platform::pim
