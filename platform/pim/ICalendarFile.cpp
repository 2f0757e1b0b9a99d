#include "platform/pim/ICalendarFile.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/pim/AtomicFile.h"

namespace platform::pim {

namespace {

bool blank(const std::string& s) {
  for (char c : s)
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
  return true;
}

void ensureNonFatalErrors() {
  // Malformed input must come back as a parse failure, never abort the program.
  static const bool once = [] {
    icalerror_set_errors_are_fatal(0);
    return true;
  }();
  (void)once;
}

}  // namespace

ICalendarFile::ICalendarFile(std::string path) : path_(std::move(path)) { ensureNonFatalErrors(); }

void ICalendarFile::makeEmpty() {
  root_.reset(icalcomponent_new_vcalendar());
  ensureHeader();
}

void ICalendarFile::ensureHeader() {
  icalcomponent* root = root_.get();
  if (!icalcomponent_get_first_property(root, ICAL_VERSION_PROPERTY))
    icalcomponent_add_property(root, icalproperty_new_version("2.0"));
  if (!icalcomponent_get_first_property(root, ICAL_PRODID_PROPERTY))
    icalcomponent_add_property(root, icalproperty_new_prodid(kProductId));
}

ICalendarFile::Signature ICalendarFile::signature() const {
  Signature sig;
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0) return sig;
  sig.exists = true;
  sig.device = st.st_dev;
  sig.inode = st.st_ino;
  sig.size = st.st_size;
  sig.modifiedNs = static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
  return sig;
}

bool ICalendarFile::isCurrent() const { return loaded_ && signature() == signature_; }

ICalendarFile::State ICalendarFile::load() {
  root_.reset();
  // Taken before reading: a change made while reading shows as a different signature next time.
  signature_ = signature();
  loaded_ = true;
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0 && errno == ENOENT) {
    makeEmpty();
    return state_ = State::Missing;
  }
  std::string bytes;
  if (!AtomicFile::read(path_, bytes)) return state_ = State::Unreadable;
  if (blank(bytes)) {
    makeEmpty();
    return state_ = State::Missing;
  }
  icalcomponent* parsed = icalparser_parse_string(bytes.c_str());
  if (!parsed) return state_ = State::Unreadable;
  root_.reset(parsed);
  // Anything libical could not understand would be lost by a rewrite: leave such a file alone.
  if (icalcomponent_isa(parsed) != ICAL_VCALENDAR_COMPONENT || icalcomponent_count_errors(parsed) > 0 ||
      bytes.find('\0') != std::string::npos) {
    root_.reset();
    return state_ = State::Unreadable;
  }
  return state_ = State::Loaded;
}

bool ICalendarFile::save() {
  if (state_ == State::Unreadable || !root_) return false;
  ensureHeader();
  char* text = icalcomponent_as_ical_string_r(root_.get());
  if (!text) return false;
  std::string bytes(text);
  icalmemory_free_buffer(text);
  if (!AtomicFile::write(path_, bytes)) {
    loaded_ = false;
    return false;
  }
  state_ = State::Loaded;
  signature_ = signature();
  return true;
}

}  // namespace platform::pim
