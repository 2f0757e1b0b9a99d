// One iCalendar file of the PIM folder: read as an outline of component texts and written back
// whole, atomically.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/pim/ICalendarText.h"

namespace platform::pim {

class ICalendarFile {
 public:
  enum class State {
    Missing,     // no file (or an empty one): an empty calendar that saving creates
    Loaded,      // read without errors
    Unreadable,  // exists but cannot be read or outlined: never written over
  };

  static constexpr const char* kProductId = "-//Pellucard//Pellucard 1.0//EN";

  explicit ICalendarFile(std::string path);

  // Reads the file; its components go to the caller, the calendar's own properties stay here.
  State load(std::vector<ICalendarText::Component>& components);
  // Whether the file on disk is still the one last loaded or saved (same size, modification
  // time and inode), so that what was read from it can be used again.
  bool isCurrent() const;
  // Makes the next isCurrent() false, so that the file is read again.
  void invalidate() { loaded_ = false; }
  State state() const { return state_; }
  // Rewrites the file atomically with the calendar's properties (VERSION and PRODID added when
  // missing) and the given component texts in order; refused (false) when Unreadable.
  bool save(const std::vector<std::string_view>& componentTexts);

 private:
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
  std::string properties_;  // CR LF lines
};

}  // namespace platform::pim
