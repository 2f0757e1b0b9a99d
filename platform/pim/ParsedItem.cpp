#include "platform/pim/ParsedItem.h"

namespace platform::pim {

namespace {

void ensureNonFatalErrors() {
  // Malformed input must come back as a parse failure, never abort the program.
  static const bool once = [] {
    icalerror_set_errors_are_fatal(0);
    return true;
  }();
  (void)once;
}

}  // namespace

ParsedItem ParsedItem::parse(const std::string& text, const std::string& timezones, icalcomponent_kind kind) {
  ensureNonFatalErrors();
  ParsedItem parsed;
  // With time zones the item is parsed inside a calendar that holds them, where libical looks
  // up the zones its times name.
  const std::string whole = timezones.empty() ? text : "BEGIN:VCALENDAR\r\n" + timezones + text + "END:VCALENDAR\r\n";
  parsed.root_.reset(icalparser_parse_string(whole.c_str()));
  icalcomponent* root = parsed.root_.get();
  if (!root) return ParsedItem();
  if (icalcomponent_isa(root) == kind) {
    parsed.item_ = root;
  } else {
    parsed.item_ = icalcomponent_get_first_component(root, kind);
  }
  if (!parsed.item_) return ParsedItem();
  return parsed;
}

ParsedItem ParsedItem::adopt(icalcomponent* item) {
  ParsedItem parsed;
  parsed.root_.reset(item);
  parsed.item_ = item;
  return parsed;
}

bool ParsedItem::clean() const { return item_ && icalcomponent_count_errors(item_) == 0; }

std::string ParsedItem::text() const {
  if (!item_) return {};
  char* text = icalcomponent_as_ical_string_r(item_);
  if (!text) return {};
  std::string out(text);
  icalmemory_free_buffer(text);
  return out;
}

}  // namespace platform::pim
