#include "platform/shell/FolderListing.h"

#include <algorithm>

#include "platform/base/TextCase.h"
#include "platform/shell/WinCommDlg.h"
#include "platform/sys/FindSearch.h"

namespace platform::shell {
namespace {

std::vector<WIN32_FIND_DATAW> findAll(std::u16string_view folder) {
  std::vector<WIN32_FIND_DATAW> out;
  const std::u16string pattern = FolderListing::join(folder, u"*");
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return out;
  do {
    const std::u16string_view name(data.cFileName);
    if (name == u"." || name == u".." || (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    // A host name with a backslash has no device path: it would name another file.
    if (name.find(u'\\') != std::u16string_view::npos) continue;
    out.push_back(data);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return out;
}

ULONGLONG fileTime(const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

bool nameLess(const std::u16string& a, const std::u16string& b) {
  const int c = compareIgnoringCase(a, b);
  return c != 0 ? c < 0 : a < b;
}

}  // namespace

std::vector<std::u16string> FolderListing::filterPatterns(const char16_t* filter, DWORD index) {
  std::vector<std::u16string> patterns;
  if (filter == nullptr || *filter == u'\0') return patterns;
  const DWORD wanted = index == 0 ? 1 : index;
  const char16_t* p = filter;
  for (DWORD entry = 1; *p != u'\0'; ++entry) {
    const std::u16string_view description(p);
    p += description.size() + 1;
    const std::u16string_view patternList(p);
    if (entry == wanted) {
      std::size_t start = 0;
      while (start <= patternList.size()) {
        std::size_t end = patternList.find(u';', start);
        if (end == std::u16string_view::npos) end = patternList.size();
        std::u16string piece(patternList.substr(start, end - start));
        piece.erase(0, piece.find_first_not_of(u' '));
        piece.erase(piece.find_last_not_of(u' ') + 1);
        if (!piece.empty()) patterns.push_back(std::move(piece));
        start = end + 1;
      }
      return patterns;
    }
    if (patternList.empty()) break;
    p += patternList.size() + 1;
  }
  // An index past the last entry takes the first one, as the chooser opens on it.
  return index > 1 ? filterPatterns(filter, 1) : patterns;
}

std::vector<FolderEntry> FolderListing::read(std::u16string_view folder, const std::vector<std::u16string>& patterns,
                                             DWORD sortOrder) {
  std::vector<FolderEntry> folders;
  std::vector<FolderEntry> files;
  for (const WIN32_FIND_DATAW& data : findAll(folder)) {
    FolderEntry entry;
    entry.name = data.cFileName;
    entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.modified = data.ftLastWriteTime;
    if (entry.folder) {
      folders.push_back(std::move(entry));
      continue;
    }
    const bool matches = patterns.empty() ||
                         std::any_of(patterns.begin(), patterns.end(),
                                     [&](const std::u16string& p) { return sys::FindSearch::matches(entry.name, p); });
    if (matches) files.push_back(std::move(entry));
  }
  const auto byName = [](const FolderEntry& a, const FolderEntry& b) { return nameLess(a.name, b.name); };
  std::sort(folders.begin(), folders.end(), byName);
  const bool ascending = (sortOrder & OFN_SORTORDER_ASCENDING) != 0;
  switch (sortOrder & ~static_cast<DWORD>(OFN_SORTORDER_ASCENDING)) {
    case OFN_SORTORDER_DATE:
      std::stable_sort(files.begin(), files.end(), [&](const FolderEntry& a, const FolderEntry& b) {
        if (fileTime(a.modified) == fileTime(b.modified)) return nameLess(a.name, b.name);
        return ascending ? fileTime(a.modified) < fileTime(b.modified) : fileTime(a.modified) > fileTime(b.modified);
      });
      break;
    case OFN_SORTORDER_SIZE:
      std::stable_sort(files.begin(), files.end(), [&](const FolderEntry& a, const FolderEntry& b) {
        if (a.size == b.size) return nameLess(a.name, b.name);
        return ascending ? a.size < b.size : a.size > b.size;
      });
      break;
    default:
      std::sort(files.begin(), files.end(), byName);
      break;
  }
  folders.insert(folders.end(), std::make_move_iterator(files.begin()), std::make_move_iterator(files.end()));
  return folders;
}

std::vector<std::u16string> FolderListing::subfolders(std::u16string_view folder) {
  std::vector<std::u16string> names;
  for (const WIN32_FIND_DATAW& data : findAll(folder)) {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) names.emplace_back(data.cFileName);
  }
  std::sort(names.begin(), names.end(), nameLess);
  return names;
}

bool FolderListing::isFolder(std::u16string_view devicePath) {
  const std::u16string path(devicePath);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FolderListing::isFile(std::u16string_view devicePath) {
  const std::u16string path(devicePath);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::u16string FolderListing::join(std::u16string_view folder, std::u16string_view name) {
  std::u16string out(folder);
  if (out.empty() || out.back() != u'\\') out += u'\\';
  out += name;
  return out;
}

std::u16string FolderListing::parent(std::u16string_view path) {
  const std::u16string plain = normalize(path);
  const std::size_t slash = plain.find_last_of(u'\\');
  if (slash == 0 || slash == std::u16string::npos) return u"\\";
  return plain.substr(0, slash);
}

std::u16string FolderListing::normalize(std::u16string_view path) {
  std::vector<std::u16string> parts;
  std::u16string piece;
  const auto flush = [&] {
    if (piece == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!piece.empty() && piece != u".") {
      parts.push_back(piece);
    }
    piece.clear();
  };
  for (char16_t c : path) {
    if (c == u'\\' || c == u'/') {
      flush();
    } else {
      piece += c;
    }
  }
  flush();
  std::u16string out;
  for (const std::u16string& p : parts) out += u"\\" + p;
  return out.empty() ? std::u16string(u"\\") : out;
}

}  // namespace platform::shell
