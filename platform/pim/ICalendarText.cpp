#include "platform/pim/ICalendarText.h"

#include <algorithm>

#include "platform/pim/CalendarCodec.h"

namespace platform::pim {

namespace {

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

bool nameChar(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'; }

// One content line, unfolded: its name in capitals and its value. False when the line is no
// property ("NAME[;PARAM=...]:VALUE").
bool splitLine(std::string_view line, std::string& name, std::string_view& value) {
  std::size_t n = 0;
  while (n < line.size() && nameChar(line[n])) ++n;
  if (n == 0 || n == line.size() || (line[n] != ':' && line[n] != ';')) return false;
  std::size_t colon = n;
  bool quoted = false;
  for (; colon < line.size(); ++colon) {
    if (line[colon] == '"') quoted = !quoted;
    if (line[colon] == ':' && !quoted) break;
  }
  if (colon == line.size()) return false;
  name = upper(line.substr(0, n));
  value = line.substr(colon + 1);
  return true;
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return text;
}

std::string unescapeText(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    out += (next == 'n' || next == 'N') ? '\n' : next;
  }
  return out;
}

}  // namespace

bool ICalendarText::hasProperty(std::string_view name) const {
  return std::find(propertyNames_.begin(), propertyNames_.end(), name) != propertyNames_.end();
}

bool ICalendarText::read(std::string_view bytes) {
  properties_.clear();
  propertyNames_.clear();
  components_.clear();
  if (bytes.find('\0') != std::string_view::npos) return false;

  std::vector<std::string_view> physical;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!line.empty()) physical.push_back(line);
    start = end + 1;
  }

  std::vector<std::string> open;  // names of the components we are in, outermost first
  bool done = false;
  std::size_t componentStart = 0;
  Component current;
  std::string unfolded;
  std::string name;
  for (std::size_t i = 0; i < physical.size();) {
    if (physical[i].front() == ' ' || physical[i].front() == '\t') return false;  // folded onto nothing
    std::size_t next = i + 1;
    while (next < physical.size() && (physical[next].front() == ' ' || physical[next].front() == '\t')) ++next;
    std::string_view line = physical[i];
    if (next > i + 1) {
      unfolded.assign(physical[i]);
      for (std::size_t k = i + 1; k < next; ++k) unfolded.append(physical[k].substr(1));
      line = unfolded;
    }
    std::string_view value;
    if (done || !splitLine(line, name, value)) return false;

    if (name == "BEGIN" || name == "END") {
      const std::string what = upper(trimmed(value));
      if (what.empty()) return false;
      if (name == "BEGIN") {
        if (open.empty() && what != "VCALENDAR") return false;
        if (open.size() == 1) {
          componentStart = i;
          current = Component{};
          current.kind = what;
        }
        open.push_back(what);
      } else {
        if (open.empty() || open.back() != what) return false;
        open.pop_back();
        if (open.empty()) {
          done = true;
        } else if (open.size() == 1) {
          for (std::size_t k = componentStart; k < next; ++k) current.text.append(physical[k]).append("\r\n");
          components_.push_back(std::move(current));
        }
      }
    } else if (open.empty()) {
      return false;
    } else if (open.size() == 1) {
      for (std::size_t k = i; k < next; ++k) properties_.append(physical[k]).append("\r\n");
      propertyNames_.push_back(name);
    } else if (open.size() == 2) {
      if (name == "UID" && current.uid.empty()) current.uid = unescapeText(value);
      if (name == CalendarCodec::kOidProperty && current.oid.empty()) current.oid = std::string(trimmed(value));
    }
    i = next;
  }
  return done;
}

}  // namespace platform::pim
