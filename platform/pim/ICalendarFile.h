// One iCalendar file of the PIM folder, parsed with libical and written back whole.
#pragma once

#include <libical/ical.h>

#include <memory>
#include <string>

namespace platform::pim {

class ICalendarFile {
 public:
  enum class State {
    Missing,     // no file (or an empty one): an empty calendar that saving creates
    Loaded,      // parsed without errors
    Unreadable,  // exists but cannot be read or parsed: never written over
  };

  static constexpr const char* kProductId = "-//Pellucard//Pellucard 1.0//EN";

  explicit ICalendarFile(std::string path);

  State load();
  // Whether the file on disk is still the one last loaded or saved, so that the parsed
  // calendar can be used again instead of reading the file anew.
  bool isCurrent() const;
  // Forgets the parsed calendar (after changes that could not be saved).
  void invalidate() { loaded_ = false; }
  State state() const { return state_; }
  // The VCALENDAR component; null only when Unreadable.
  icalcomponent* calendar() { return root_.get(); }
  // Rewrites the file atomically; refused (false) when the file was Unreadable.
  bool save();

 private:
  struct Free {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
  };
  void makeEmpty();
  void ensureHeader();

  struct Signature {
    bool exists = false;
    unsigned long long device = 0;
    unsigned long long inode = 0;
    long long size = 0;
    long long modifiedNs = 0;
    bool operator==(const Signature&) const = default;
  };
  Signature signature() const;

  std::string path_;
  State state_ = State::Missing;
  bool loaded_ = false;
  Signature signature_;
  std::unique_ptr<icalcomponent, Free> root_;
};

}  // namespace platform::pim
