#include "platform/sys/FindSearch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/base/TextCase.h"
#include "platform/sys/TimeMath.h"

namespace platform::sys {

namespace {

FILETIME fileTimeOf(const timespec& ts) {
  const std::int64_t units = static_cast<std::int64_t>(ts.tv_sec) * 10000000 + ts.tv_nsec / 100 + kFileTimeUnixEpoch;
  return makeFileTime(units < 0 ? 0 : static_cast<std::uint64_t>(units));
}

bool matchFrom(std::u16string_view name, std::u16string_view pattern) {
  // Iterative wildcard match with one backtrack point: linear in practice.
  std::size_t n = 0, p = 0, starP = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == u'?' || upperCase(pattern[p]) == upperCase(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool FindSearch::next(WIN32_FIND_DATAW& data) {
  if (position_ >= entries_.size()) return false;
  data = entries_[position_++];
  return true;
}

bool FindSearch::matches(std::u16string_view name, std::u16string_view pattern) {
  if (pattern == u"*.*" || pattern == u"*") return true;
  return matchFrom(name, pattern);
}

bool FindSearch::describe(const std::string& hostPath, std::u16string_view name, WIN32_FIND_DATAW& data) {
  if (name.size() >= MAX_PATH) return false;
  struct stat st {};
  if (::stat(hostPath.c_str(), &st) != 0) return false;
  std::memset(&data, 0, sizeof data);
  DWORD attributes = 0;
  if (S_ISDIR(st.st_mode))
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  else
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
  if (!name.empty() && name[0] == u'.') attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (::access(hostPath.c_str(), W_OK) != 0) attributes |= FILE_ATTRIBUTE_READONLY;
  data.dwFileAttributes = attributes;
  data.ftCreationTime = fileTimeOf(st.st_ctim);
  data.ftLastAccessTime = fileTimeOf(st.st_atim);
  data.ftLastWriteTime = fileTimeOf(st.st_mtim);
  if (!S_ISDIR(st.st_mode)) {
    const auto size = static_cast<std::uint64_t>(st.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
  }
  data.dwOID = static_cast<DWORD>(st.st_ino);
  std::memcpy(data.cFileName, name.data(), name.size() * sizeof(char16_t));
  data.cFileName[name.size()] = 0;
  return true;
}

}  // namespace platform::sys
