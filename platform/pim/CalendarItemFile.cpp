#include "platform/pim/CalendarItemFile.h"

#include <cstdio>
#include <random>

#include "platform/pim/CalendarCodec.h"

namespace platform::pim {

namespace {

std::uint32_t fnv1a(std::string_view text) {
  std::uint32_t h = 2166136261u;
  for (char c : text) {
    h ^= static_cast<unsigned char>(c);
    h *= 16777619u;
  }
  return h;
}

}  // namespace

std::string CalendarItemFile::newUid() {
  static std::mt19937_64 engine{std::random_device{}()};
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%016llx%016llx@pellucard", static_cast<unsigned long long>(engine()),
                static_cast<unsigned long long>(engine()));
  return buffer;
}

CalendarItemFile::CalendarItemFile(std::string path, icalcomponent_kind kind, std::uint32_t tag)
    : file_(std::move(path)), kind_(kind), tag_(tag) {}

LONG CalendarItemFile::derive(const std::string& key) const {
  return static_cast<LONG>((fnv1a(key) & ~kTagMask) | tag_);
}

bool CalendarItemFile::taken(LONG oid) const {
  for (const auto& [o, c] : items_)
    if (o == oid) return true;
  return false;
}

bool CalendarItemFile::load() {
  items_.clear();
  if (file_.load() == ICalendarFile::State::Unreadable) return false;
  icalcomponent* cal = file_.calendar();
  std::vector<icalcomponent*> unnumbered;
  for (icalcomponent* c = icalcomponent_get_first_component(cal, kind_); c;
       c = icalcomponent_get_next_component(cal, kind_)) {
    LONG oid = CalendarCodec::storedOid(c);
    if (oid != 0 && owns(oid) && !taken(oid))
      items_.emplace_back(oid, c);
    else
      unnumbered.push_back(c);
  }
  // Items written by other programs get an Oid from their UID, the same on every load.
  for (icalcomponent* c : unnumbered) {
    std::string key = CalendarCodec::uid(c);
    if (key.empty()) {
      char* text = icalcomponent_as_ical_string_r(c);
      key = text ? text : "";
      icalmemory_free_buffer(text);
    }
    LONG oid = derive(key);
    for (int attempt = 1; taken(oid); ++attempt) oid = derive(key + '#' + std::to_string(attempt));
    items_.emplace_back(oid, c);
  }
  return true;
}

bool CalendarItemFile::refresh() {
  if (file_.isCurrent()) return file_.state() != ICalendarFile::State::Unreadable;
  return load();
}

icalcomponent* CalendarItemFile::find(LONG oid) const {
  for (const auto& [o, c] : items_)
    if (o == oid) return c;
  return nullptr;
}

icalcomponent* CalendarItemFile::add(LONG& oid, std::string& uid) {
  uid = newUid();
  oid = derive(uid);
  for (int attempt = 1; taken(oid); ++attempt) oid = derive(uid + '#' + std::to_string(attempt));
  icalcomponent* c = icalcomponent_new(kind_);
  icalcomponent_add_component(file_.calendar(), c);
  items_.emplace_back(oid, c);
  return c;
}

bool CalendarItemFile::remove(LONG oid) {
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (it->first != oid) continue;
    icalcomponent_remove_component(file_.calendar(), it->second);
    icalcomponent_free(it->second);
    items_.erase(it);
    return true;
  }
  return false;
}

}  // namespace platform::pim
