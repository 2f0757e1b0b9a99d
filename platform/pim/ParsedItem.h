// One appointment or task parsed with libical from its text, owning what it was parsed into.
#pragma once

#include <libical/ical.h>

#include <memory>
#include <string>

namespace platform::pim {

class ParsedItem {
 public:
  ParsedItem() = default;

  // Parses the text of one component of that kind. 'timezones' holds the VTIMEZONE components
  // of its file, which times in the item may name. Empty when the text holds no such component.
  static ParsedItem parse(const std::string& text, const std::string& timezones, icalcomponent_kind kind);
  // Takes over a new component that is no part of any other.
  static ParsedItem adopt(icalcomponent* item);

  icalcomponent* get() const { return item_; }
  explicit operator bool() const { return item_ != nullptr; }
  // Whether libical understood every line, so that writing the item back loses none.
  bool clean() const;
  // The item as iCalendar text, CR LF lines.
  std::string text() const;

 private:
  struct Free {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
  };
  std::unique_ptr<icalcomponent, Free> root_;
  icalcomponent* item_ = nullptr;
};

}  // namespace platform::pim
