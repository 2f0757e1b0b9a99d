#include "platform/pim/CalendarCodec.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/base/Clock.h"
#include "platform/base/Utf.h"
#include "platform/pim/PimDates.h"
#include "platform/sys/TimeMath.h"

namespace platform::pim {

namespace {

// iCalendar lines end in LF inside values; the handheld's texts use CR LF.
std::string icalText(const std::u16string& text) {
  std::string utf8 = platform::toUtf8(text);
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (utf8[i] == '\r') {
      out += '\n';
      if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
    } else {
      out += utf8[i];
    }
  }
  return out;
}

std::u16string deviceText(const char* text) {
  if (!text) return {};
  std::u16string wide = platform::toUtf16(text);
  std::u16string out;
  for (std::size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] == u'\r') {
      out += u"\r\n";
      if (i + 1 < wide.size() && wide[i + 1] == u'\n') ++i;
    } else if (wide[i] == u'\n') {
      out += u"\r\n";
    } else {
      out += wide[i];
    }
  }
  return out;
}

void removeProperties(icalcomponent* c, icalproperty_kind kind) {
  std::vector<icalproperty*> doomed;
  for (icalproperty* p = icalcomponent_get_first_property(c, kind); p; p = icalcomponent_get_next_property(c, kind))
    doomed.push_back(p);
  for (icalproperty* p : doomed) {
    icalcomponent_remove_property(c, p);
    icalproperty_free(p);
  }
}

void removeX(icalcomponent* c, const char* name) {
  std::vector<icalproperty*> doomed;
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_X_PROPERTY); p;
       p = icalcomponent_get_next_property(c, ICAL_X_PROPERTY)) {
    const char* x = icalproperty_get_x_name(p);
    if (x && std::string(x) == name) doomed.push_back(p);
  }
  for (icalproperty* p : doomed) {
    icalcomponent_remove_property(c, p);
    icalproperty_free(p);
  }
}

void removeAlarms(icalcomponent* c) {
  std::vector<icalcomponent*> doomed;
  for (icalcomponent* a = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT); a;
       a = icalcomponent_get_next_component(c, ICAL_VALARM_COMPONENT))
    doomed.push_back(a);
  for (icalcomponent* a : doomed) {
    icalcomponent_remove_component(c, a);
    icalcomponent_free(a);
  }
}

icaltimetype localTime(DATE value, bool dateOnly) {
  icaltimetype t = icaltime_null_time();
  int y, m, d, s;
  if (!PimDates::split(value, y, m, d, s)) return t;
  t.year = y;
  t.month = m;
  t.day = d;
  t.is_date = dateOnly ? 1 : 0;
  if (!dateOnly) {
    t.hour = s / 3600;
    t.minute = s / 60 % 60;
    t.second = s % 60;
  }
  return t;
}

icaltimetype utcFromLocal(DATE value) {
  int y, m, d, s;
  if (!PimDates::split(value, y, m, d, s)) return icaltime_null_time();
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  std::int64_t localMs = platform::sys::systemTimeToUnixMs(st) + static_cast<std::int64_t>(s) * 1000;
  std::int64_t utcMs = localMs - platform::sys::localOffsetAtLocal(localMs);
  return icaltime_from_timet_with_zone(static_cast<time_t>(utcMs / 1000), 0, icaltimezone_get_utc_timezone());
}

// Any stored time as a local automation date: dates at midnight, floating times as they are,
// UTC and zoned times moved into the device's time zone.
DATE toLocal(icaltimetype t) {
  if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t)) return 0;
  if (t.is_date) return PimDates::make(t.year, t.month, t.day, 0);
  if (t.zone) {
    icaltimetype utc = icaltime_convert_to_zone(t, icaltimezone_get_utc_timezone());
    std::int64_t utcMs =
        static_cast<std::int64_t>(icaltime_as_timet_with_zone(utc, icaltimezone_get_utc_timezone())) * 1000;
    std::int64_t localMs = utcMs + platform::sys::localOffsetAtUtc(utcMs);
    SYSTEMTIME st = platform::sys::unixMsToSystemTime(localMs);
    return PimDates::make(st.wYear, st.wMonth, st.wDay, st.wHour * 3600 + st.wMinute * 60 + st.wSecond);
  }
  return PimDates::make(t.year, t.month, t.day, t.hour * 3600 + t.minute * 60 + t.second);
}

void writeCommon(icalcomponent* c, LONG oid, const std::string& uid, const std::u16string& subject,
                 const std::u16string& body, const std::u16string& categories) {
  for (icalproperty_kind k : {ICAL_UID_PROPERTY, ICAL_DTSTAMP_PROPERTY, ICAL_SUMMARY_PROPERTY,
                              ICAL_DESCRIPTION_PROPERTY, ICAL_CATEGORIES_PROPERTY, ICAL_LASTMODIFIED_PROPERTY})
    removeProperties(c, k);
  removeX(c, CalendarCodec::kOidProperty);

  icalcomponent_add_property(c, icalproperty_new_uid(uid.c_str()));
  auto nowSeconds = static_cast<time_t>(platform::Clock::instance().utcMilliseconds() / 1000);
  icaltimetype now = icaltime_from_timet_with_zone(nowSeconds, 0, icaltimezone_get_utc_timezone());
  icalcomponent_add_property(c, icalproperty_new_dtstamp(now));
  icalcomponent_add_property(c, icalproperty_new_lastmodified(now));
  if (!subject.empty()) icalcomponent_add_property(c, icalproperty_new_summary(icalText(subject).c_str()));
  if (!body.empty()) icalcomponent_add_property(c, icalproperty_new_description(icalText(body).c_str()));
  // libical does not escape commas inside one CATEGORIES value: one property per category.
  std::string all = icalText(categories);
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t comma = all.find(',', start);
    if (comma == std::string::npos) comma = all.size();
    std::string one = all.substr(start, comma - start);
    std::size_t b = one.find_first_not_of(' ');
    std::size_t e = one.find_last_not_of(' ');
    if (b != std::string::npos)
      icalcomponent_add_property(c, icalproperty_new_categories(one.substr(b, e - b + 1).c_str()));
    start = comma + 1;
  }
  icalproperty* x = icalproperty_new_x(std::to_string(static_cast<std::uint32_t>(oid)).c_str());
  icalproperty_set_x_name(x, CalendarCodec::kOidProperty);
  icalcomponent_add_property(c, x);
}

std::u16string readCategories(icalcomponent* c) {
  std::u16string out;
  for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_CATEGORIES_PROPERTY); p;
       p = icalcomponent_get_next_property(c, ICAL_CATEGORIES_PROPERTY)) {
    const char* v = icalproperty_get_categories(p);
    if (!v || !*v) continue;
    if (!out.empty()) out += u',';
    out += deviceText(v);
  }
  return out;
}

icalcomponent* newAlarm(icaltriggertype trigger, const std::u16string& subject) {
  icalcomponent* alarm = icalcomponent_new_valarm();
  icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
  icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
  // DISPLAY alarms must carry a text.
  std::string text = subject.empty() ? std::string("Reminder") : icalText(subject);
  icalcomponent_add_property(alarm, icalproperty_new_description(text.c_str()));
  return alarm;
}

}  // namespace

LONG CalendarCodec::storedOid(icalcomponent* item) {
  for (icalproperty* p = icalcomponent_get_first_property(item, ICAL_X_PROPERTY); p;
       p = icalcomponent_get_next_property(item, ICAL_X_PROPERTY)) {
    const char* name = icalproperty_get_x_name(p);
    if (!name || std::string(name) != kOidProperty) continue;
    const char* v = icalproperty_get_x(p);
    return v ? oidFromText(v) : 0;
  }
  return 0;
}

LONG CalendarCodec::oidFromText(std::string_view text) {
  if (text.empty() || text.size() > 10) return 0;
  std::uint64_t n = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    n = n * 10 + static_cast<std::uint64_t>(c - '0');
  }
  if (n == 0 || n > 0xFFFFFFFFull) return 0;
  return static_cast<LONG>(static_cast<std::uint32_t>(n));
}

std::string CalendarCodec::uid(icalcomponent* item) {
  const char* v = icalcomponent_get_uid(item);
  return v ? std::string(v) : std::string();
}

void CalendarCodec::writeAppointment(icalcomponent* e, const AppointmentData& d) {
  writeCommon(e, d.oid, d.uid, d.subject, d.body, d.categories);
  for (icalproperty_kind k : {ICAL_DTSTART_PROPERTY, ICAL_DTEND_PROPERTY, ICAL_DURATION_PROPERTY, ICAL_TRANSP_PROPERTY})
    removeProperties(e, k);
  if (d.allDay) {
    icaltimetype start = localTime(d.start, true);
    icaltimetype end = start;
    icaltime_adjust(&end, 1, 0, 0, 0);
    icalcomponent_add_property(e, icalproperty_new_dtstart(start));
    icalcomponent_add_property(e, icalproperty_new_dtend(end));
  } else {
    icaltimetype start = localTime(d.start, false);
    icaltimetype end = start;
    icaltime_adjust(&end, 0, 0, d.durationMinutes > 0 ? d.durationMinutes : 0, 0);
    icalcomponent_add_property(e, icalproperty_new_dtstart(start));
    icalcomponent_add_property(e, icalproperty_new_dtend(end));
  }
  icalcomponent_add_property(e,
                             icalproperty_new_transp(d.busyStatus == 0 ? ICAL_TRANSP_TRANSPARENT : ICAL_TRANSP_OPAQUE));

  if (d.recurrenceChanged) {
    removeProperties(e, ICAL_RRULE_PROPERTY);
    if (d.recurrenceType == 5) {
      icalrecurrencetype rule;
      icalrecurrencetype_clear(&rule);
      rule.freq = ICAL_YEARLY_RECURRENCE;
      rule.by_month[0] = static_cast<short>(d.monthOfYear);
      rule.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
      // 29 February comes round on the last day of February, as the program's own lists show it:
      // a rule naming day 29 would be skipped by every calendar three years in four.
      const bool leapDay = d.monthOfYear == 2 && d.dayOfMonth == 29;
      rule.by_month_day[0] = static_cast<short>(leapDay ? -1 : d.dayOfMonth);
      rule.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
      icalcomponent_add_property(e, icalproperty_new_rrule(rule));
    }
  }

  removeAlarms(e);
  if (d.reminderSet) {
    icaltriggertype trigger;
    trigger.time = icaltime_null_time();
    trigger.duration = icaldurationtype_from_int(-d.reminderMinutesBeforeStart * 60);
    icalcomponent_add_component(e, newAlarm(trigger, d.subject));
  }
}

AppointmentData CalendarCodec::readAppointment(icalcomponent* e) {
  AppointmentData d;
  d.oid = storedOid(e);
  d.uid = uid(e);
  d.subject = deviceText(icalcomponent_get_summary(e));
  d.body = deviceText(icalcomponent_get_description(e));
  d.categories = readCategories(e);
  icaltimetype start = icalcomponent_get_dtstart(e);
  d.allDay = start.is_date != 0;
  d.start = toLocal(start);
  icaltimetype end = icalcomponent_get_dtend(e);
  if (!d.allDay && !icaltime_is_null_time(end)) {
    DATE endDate = toLocal(end);
    d.durationMinutes = static_cast<LONG>(std::llround((endDate - d.start) * 1440.0));
    if (d.durationMinutes < 0) d.durationMinutes = 0;
  }
  icalproperty* transp = icalcomponent_get_first_property(e, ICAL_TRANSP_PROPERTY);
  d.busyStatus = transp && icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT ? 0 : 2;

  if (icalproperty* rrule = icalcomponent_get_first_property(e, ICAL_RRULE_PROPERTY)) {
    icalrecurrencetype rule = icalproperty_get_rrule(rrule);
    switch (rule.freq) {
      case ICAL_DAILY_RECURRENCE:
        d.recurrenceType = 0;
        break;
      case ICAL_WEEKLY_RECURRENCE:
        d.recurrenceType = 1;
        break;
      case ICAL_MONTHLY_RECURRENCE:
        d.recurrenceType = 2;
        break;
      case ICAL_YEARLY_RECURRENCE:
        d.recurrenceType = 5;
        break;
      default:
        d.recurrenceType = -1;
        break;
    }
    if (d.recurrenceType == 5) {
      d.monthOfYear = rule.by_month[0] != ICAL_RECURRENCE_ARRAY_MAX ? rule.by_month[0] : start.month;
      d.dayOfMonth = rule.by_month_day[0] != ICAL_RECURRENCE_ARRAY_MAX ? rule.by_month_day[0] : start.day;
      // Days counted from the month's end, in the longest form of the month (29 February).
      if (d.dayOfMonth < 0 && d.monthOfYear >= 1 && d.monthOfYear <= 12) {
        static constexpr int kLongest[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        d.dayOfMonth += kLongest[d.monthOfYear - 1] + 1;
        if (d.dayOfMonth < 1) d.dayOfMonth = start.day;
      }
    }
    d.noEndDate = rule.count == 0 && icaltime_is_null_time(rule.until);
  }

  if (icalcomponent* alarm = icalcomponent_get_first_component(e, ICAL_VALARM_COMPONENT)) {
    if (icalproperty* p = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY)) {
      icaltriggertype trigger = icalproperty_get_trigger(p);
      d.reminderSet = true;
      if (icaltime_is_null_time(trigger.time))
        d.reminderMinutesBeforeStart = -icaldurationtype_as_int(trigger.duration) / 60;
      else
        d.reminderMinutesBeforeStart = static_cast<LONG>(std::llround((d.start - toLocal(trigger.time)) * 1440.0));
    }
  }
  return d;
}

void CalendarCodec::writeTask(icalcomponent* t, const TaskData& d) {
  writeCommon(t, d.oid, d.uid, d.subject, d.body, d.categories);
  removeProperties(t, ICAL_DUE_PROPERTY);
  if (d.dueDate != 0) {
    int y, m, day, s;
    bool dateOnly = PimDates::split(d.dueDate, y, m, day, s) && s == 0;
    icalcomponent_add_property(t, icalproperty_new_due(localTime(d.dueDate, dateOnly)));
  }
  removeAlarms(t);
  if (d.reminderSet) {
    icaltriggertype trigger;
    trigger.time = utcFromLocal(d.reminderTime);
    trigger.duration = icaldurationtype_null_duration();
    icalcomponent_add_component(t, newAlarm(trigger, d.subject));
  }
}

TaskData CalendarCodec::readTask(icalcomponent* t) {
  TaskData d;
  d.oid = storedOid(t);
  d.uid = uid(t);
  d.subject = deviceText(icalcomponent_get_summary(t));
  d.body = deviceText(icalcomponent_get_description(t));
  d.categories = readCategories(t);
  if (icalproperty* due = icalcomponent_get_first_property(t, ICAL_DUE_PROPERTY)) {
    icaltimetype when = icalproperty_get_due(due);
    if (when.zone == nullptr) {
      if (const char* tzid = icalproperty_get_parameter_as_string(due, "TZID")) {
        icalcomponent* parent = icalcomponent_get_parent(t);
        if (icaltimezone* zone = parent ? icalcomponent_get_timezone(parent, tzid) : nullptr) when.zone = zone;
      }
    }
    d.dueDate = toLocal(when);
  }
  if (icalcomponent* alarm = icalcomponent_get_first_component(t, ICAL_VALARM_COMPONENT)) {
    if (icalproperty* p = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY)) {
      icaltriggertype trigger = icalproperty_get_trigger(p);
      if (!icaltime_is_null_time(trigger.time)) {
        d.reminderSet = true;
        d.reminderTime = toLocal(trigger.time);
      } else if (d.dueDate != 0) {
        d.reminderSet = true;
        d.reminderTime = d.dueDate + icaldurationtype_as_int(trigger.duration) / 86400.0;
      }
    }
  }
  return d;
}

}  // namespace platform::pim
