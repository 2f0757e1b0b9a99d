#include "platform/pim/CalendarItemFile.h"

#include <cstdio>
#include <optional>
#include <random>
#include <utility>

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
    : file_(std::move(path)), kind_(kind), kindName_(icalcomponent_kind_to_string(kind)), tag_(tag) {}

LONG CalendarItemFile::derive(const std::string& key) const {
  return static_cast<LONG>((fnv1a(key) & ~kTagMask) | tag_);
}

LONG CalendarItemFile::freshOid(const std::string& key) const {
  LONG oid = derive(key);
  for (int attempt = 1; contains(oid); ++attempt) oid = derive(key + '#' + std::to_string(attempt));
  return oid;
}

void CalendarItemFile::append(std::string text, LONG oid) {
  if (oid != 0) index_[oid] = entries_.size();
  entries_.push_back(Entry{std::move(text), oid, false});
}

bool CalendarItemFile::load() {
  entries_.clear();
  index_.clear();
  removedCount_ = 0;
  timezones_.clear();
  editing_ = 0;
  edited_ = ParsedItem();
  changed_.clear();
  changedSet_.clear();
  std::vector<ICalendarText::Component> components;
  if (file_.load(components) == ICalendarFile::State::Unreadable) return false;
  entries_.reserve(components.size());
  std::vector<std::size_t> unnumbered;
  for (ICalendarText::Component& c : components) {
    if (c.kind == "VTIMEZONE") timezones_ += c.text;
    if (c.kind != kindName_) {
      append(std::move(c.text), 0);
      continue;
    }
    const LONG oid = CalendarCodec::oidFromText(c.oid);
    if (oid != 0 && owns(oid) && !contains(oid)) {
      append(std::move(c.text), oid);
    } else {
      unnumbered.push_back(entries_.size());
      append(std::move(c.text), 0);
    }
  }
  // Items written by other programs get an Oid from their UID, the same on every load.
  for (std::size_t i : unnumbered) {
    const std::string& uid = components[i].uid;
    const LONG oid = freshOid(uid.empty() ? entries_[i].text : uid);
    entries_[i].oid = oid;
    index_[oid] = i;
  }
  return true;
}

bool CalendarItemFile::refresh() {
  if (dirty() || file_.isCurrent()) return file_.state() != ICalendarFile::State::Unreadable;
  return load();
}

void CalendarItemFile::invalidate() {
  file_.invalidate();
  editing_ = 0;
  edited_ = ParsedItem();
  changed_.clear();
  changedSet_.clear();
}

void CalendarItemFile::touch(LONG oid) {
  if (changedSet_.insert(oid).second) changed_.push_back(oid);
}

void CalendarItemFile::finishEdit() {
  if (editing_ == 0) return;
  auto it = index_.find(editing_);
  if (it != index_.end()) entries_[it->second].text = edited_.text();
  editing_ = 0;
  edited_ = ParsedItem();
}

ParsedItem CalendarItemFile::read(LONG oid) {
  auto it = index_.find(oid);
  if (it == index_.end()) return ParsedItem();
  if (editing_ == oid) finishEdit();
  return ParsedItem::parse(entries_[it->second].text, timezones_, kind_);
}

icalcomponent* CalendarItemFile::edit(LONG oid) {
  if (editing_ == oid && edited_) return edited_.get();
  auto it = index_.find(oid);
  if (it == index_.end()) return nullptr;
  ParsedItem parsed = ParsedItem::parse(entries_[it->second].text, timezones_, kind_);
  if (!parsed.clean()) return nullptr;
  finishEdit();
  edited_ = std::move(parsed);
  editing_ = oid;
  touch(oid);
  return edited_.get();
}

icalcomponent* CalendarItemFile::add(LONG& oid, std::string& uid) {
  finishEdit();
  uid = newUid();
  oid = freshOid(uid);
  append(std::string(), oid);
  edited_ = ParsedItem::adopt(icalcomponent_new(kind_));
  editing_ = oid;
  touch(oid);
  return edited_.get();
}

bool CalendarItemFile::remove(LONG oid) {
  auto it = index_.find(oid);
  if (it == index_.end()) return false;
  if (editing_ == oid) {
    editing_ = 0;
    edited_ = ParsedItem();
  }
  Entry& entry = entries_[it->second];
  entry.removed = true;
  entry.text = std::string();
  index_.erase(it);
  ++removedCount_;
  touch(oid);
  // Removed entries are dropped once they are the greater part, so removing stays cheap.
  if (removedCount_ > 64 && removedCount_ * 2 > entries_.size()) compact();
  return true;
}

void CalendarItemFile::compact() {
  std::erase_if(entries_, [](const Entry& e) { return e.removed; });
  removedCount_ = 0;
  index_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].oid != 0) index_[entries_[i].oid] = i;
}

bool CalendarItemFile::mergeWithDisk() {
  // What was changed here: the item's new text, or nothing for an item removed.
  std::vector<std::pair<LONG, std::optional<std::string>>> mine;
  mine.reserve(changed_.size());
  for (LONG oid : changed_) {
    auto it = index_.find(oid);
    if (it == index_.end()) {
      mine.emplace_back(oid, std::nullopt);
    } else {
      mine.emplace_back(oid, std::move(entries_[it->second].text));
    }
  }
  if (!load()) return false;
  for (auto& [oid, text] : mine) {
    if (!text) {
      remove(oid);
    } else if (auto it = index_.find(oid); it != index_.end()) {
      entries_[it->second].text = std::move(*text);
    } else {
      append(std::move(*text), oid);
    }
    touch(oid);
  }
  return true;
}

bool CalendarItemFile::save() {
  finishEdit();
  if (!file_.isCurrent() && !mergeWithDisk()) return false;
  std::vector<std::string_view> texts;
  texts.reserve(entries_.size() - removedCount_);
  for (const Entry& e : entries_)
    if (!e.removed) texts.emplace_back(e.text);
  if (!file_.save(texts)) return false;
  changed_.clear();
  changedSet_.clear();
  return true;
}

}  // namespace platform::pim
