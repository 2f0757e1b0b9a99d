// The outline of one iCalendar object: the calendar's own properties and its components, each
// kept as the text it was written with. Reading the outline is a scan of the lines; a component
// is parsed only when it is read or changed, so a calendar of tens of thousands of events opens
// at once and what the service does not touch is written back as it came.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::pim {

class ICalendarText {
 public:
  struct Component {
    std::string kind;  // the BEGIN value in capitals: VEVENT, VTODO, VTIMEZONE...
    std::string text;  // BEGIN to END, every line ending in CR LF
    std::string uid;   // its own UID, unescaped; empty when it has none
    std::string oid;   // its own value of the service's Oid property, as written
  };

  // False unless the bytes are exactly one VCALENDAR object of well-formed content lines with
  // matching BEGIN and END lines (a file cut short, or with lines that are no properties, is
  // refused). Line endings become CR LF; blank lines are dropped.
  bool read(std::string_view bytes);

  // The calendar's own property lines, CR LF each, in the order written.
  const std::string& properties() const { return properties_; }
  // Whether the calendar has a property of that name (in capitals).
  bool hasProperty(std::string_view name) const;
  std::vector<Component>& components() { return components_; }

 private:
  std::string properties_;
  std::vector<std::string> propertyNames_;
  std::vector<Component> components_;
};

}  // namespace platform::pim
