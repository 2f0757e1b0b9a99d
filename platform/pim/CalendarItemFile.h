// The appointments of calendar.ics or the tasks of tasks.ics, each with its Oid.
//
// The file is kept in memory as the texts of its components, found by Oid through an index; an
// item is parsed only while it is read or changed. Changes collect until save(), which writes the
// file once; when another program changed the file meanwhile, its new content is read first and
// the changes made here are applied to it, so that nothing either side wrote is lost.
#pragma once

#include <libical/ical.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/base/WinTypes.h"
#include "platform/pim/ICalendarFile.h"
#include "platform/pim/ParsedItem.h"

namespace platform::pim {

class CalendarItemFile {
 public:
  // Oids of appointments have the top bits 10, those of tasks 11; contacts keep the top bit 0.
  static constexpr std::uint32_t kAppointmentTag = 0x80000000u;
  static constexpr std::uint32_t kTaskTag = 0xC0000000u;
  static constexpr std::uint32_t kTagMask = 0xC0000000u;

  CalendarItemFile(std::string path, icalcomponent_kind kind, std::uint32_t tag);

  // Reads the file, dropping changes not yet saved; false when it exists but cannot be read.
  bool load();
  // Reads the file again when it changed on disk since it was last loaded or saved, unless
  // changes wait to be saved (save() then merges them into the new content).
  bool refresh();
  // Drops the changes not yet saved; the next refresh() reads the file.
  void invalidate();
  ICalendarFile::State state() const { return file_.state(); }

  bool contains(LONG oid) const { return index_.count(oid) != 0; }
  std::size_t size() const { return index_.size(); }
  // A parsed copy of the item, to read from; empty when there is none.
  ParsedItem read(LONG oid);
  // The item to change in place. It stays parsed until another item is changed or the file is
  // saved. Null when there is none, or when libical cannot read all of it (a rewrite would lose
  // lines).
  icalcomponent* edit(LONG oid);
  // A new, empty component of the file's kind with a fresh UID and Oid, to change in place.
  icalcomponent* add(LONG& oid, std::string& uid);
  bool remove(LONG oid);
  // Whether changes wait to be saved.
  bool dirty() const { return !changed_.empty(); }
  // Writes the file once with every change since the last load or save. On failure the file on
  // disk is untouched and the changes are kept (invalidate() drops them).
  bool save();

  static std::string newUid();

  bool owns(LONG oid) const { return (static_cast<std::uint32_t>(oid) & kTagMask) == tag_; }

 private:
  struct Entry {
    std::string text;
    LONG oid = 0;  // 0 for components of another kind (time zones, other programs' entries)
    bool removed = false;
  };

  LONG derive(const std::string& key) const;
  LONG freshOid(const std::string& key) const;
  void append(std::string text, LONG oid);
  void touch(LONG oid);
  // Writes the item being edited back into its text.
  void finishEdit();
  void compact();
  bool mergeWithDisk();

  ICalendarFile file_;
  icalcomponent_kind kind_;
  std::string kindName_;
  std::uint32_t tag_;
  std::vector<Entry> entries_;  // in file order; removed ones until the next compaction
  std::size_t removedCount_ = 0;
  std::unordered_map<LONG, std::size_t> index_;
  std::string timezones_;  // the file's VTIMEZONE components, for parsing items that name them
  LONG editing_ = 0;
  ParsedItem edited_;
  // Items added, changed or removed since the last load or save, in the order first touched.
  std::vector<LONG> changed_;
  std::unordered_set<LONG> changedSet_;
};

}  // namespace platform::pim
