// The appointments of calendar.ics or the tasks of tasks.ics, each with its Oid.
#pragma once

#include <libical/ical.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/pim/ICalendarFile.h"

namespace platform::pim {

class CalendarItemFile {
 public:
  // Oids of appointments have the top bits 10, those of tasks 11; contacts keep the top bit 0.
  static constexpr std::uint32_t kAppointmentTag = 0x80000000u;
  static constexpr std::uint32_t kTaskTag = 0xC0000000u;
  static constexpr std::uint32_t kTagMask = 0xC0000000u;

  CalendarItemFile(std::string path, icalcomponent_kind kind, std::uint32_t tag);

  // false when the file exists but cannot be read or parsed.
  bool load();
  // Loads only when the file changed since it was last loaded or saved.
  bool refresh();
  void invalidate() { file_.invalidate(); }
  ICalendarFile::State state() const { return file_.state(); }
  icalcomponent* find(LONG oid) const;
  // A new component of the file's kind with a fresh UID and Oid, added to the calendar.
  icalcomponent* add(LONG& oid, std::string& uid);
  bool remove(LONG oid);
  bool save() { return file_.save(); }
  const std::vector<std::pair<LONG, icalcomponent*>>& items() const { return items_; }

  static std::string newUid();

  bool owns(LONG oid) const { return (static_cast<std::uint32_t>(oid) & kTagMask) == tag_; }

 private:
  LONG derive(const std::string& key) const;
  bool taken(LONG oid) const;

  ICalendarFile file_;
  icalcomponent_kind kind_;
  std::uint32_t tag_;
  std::vector<std::pair<LONG, icalcomponent*>> items_;
};

}  // namespace platform::pim
