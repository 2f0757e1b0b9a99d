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

}  // namespace

ICalendarFile::ICalendarFile(std::string path) : path_(std::move(path)) {}

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

ICalendarFile::State ICalendarFile::load(std::vector<ICalendarText::Component>& components) {
  components.clear();
  properties_.clear();
  // Taken before reading: a change made while reading shows as a different signature next time.
  signature_ = signature();
  loaded_ = true;
  struct stat st {};
  if (::stat(path_.c_str(), &st) != 0 && errno == ENOENT) return state_ = State::Missing;
  std::string bytes;
  if (!AtomicFile::read(path_, bytes)) return state_ = State::Unreadable;
  if (blank(bytes)) return state_ = State::Missing;
  ICalendarText outline;
  if (!outline.read(bytes)) return state_ = State::Unreadable;
  properties_ = outline.properties();
  // Written in this order when missing, as libical writes a new calendar's header.
  if (!outline.hasProperty("VERSION")) properties_ += "VERSION:2.0\r\n";
  if (!outline.hasProperty("PRODID")) properties_ += std::string("PRODID:") + kProductId + "\r\n";
  components = std::move(outline.components());
  return state_ = State::Loaded;
}

bool ICalendarFile::save(const std::vector<std::string_view>& componentTexts) {
  if (state_ == State::Unreadable) return false;
  if (properties_.empty()) properties_ = std::string("VERSION:2.0\r\nPRODID:") + kProductId + "\r\n";
  std::vector<std::string_view> pieces;
  pieces.reserve(componentTexts.size() + 3);
  pieces.emplace_back("BEGIN:VCALENDAR\r\n");
  pieces.emplace_back(properties_);
  pieces.insert(pieces.end(), componentTexts.begin(), componentTexts.end());
  pieces.emplace_back("END:VCALENDAR\r\n");
  if (!AtomicFile::write(path_, pieces)) return false;
  state_ = State::Loaded;
  signature_ = signature();
  return true;
}

}  // namespace platform::pim
