// What the file chooser lists of one device folder: its subfolders, then the files that match
// the filter, in the order asked for. Hidden entries are left out; a folder that cannot be
// read lists nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/sys/WinBase.h"

namespace platform::shell {

struct FolderEntry {
  std::u16string name;
  bool folder = false;
  ULONGLONG size = 0;
  FILETIME modified{};
};

class FolderListing {
 public:
  // The patterns of entry `index` (1-based; 0 is the first) of an OPENFILENAME filter: pairs of
  // "description\0pattern;pattern\0" ended by an empty string. None (every file) without one.
  static std::vector<std::u16string> filterPatterns(const char16_t* filter, DWORD index);

  // sortOrder: OFN_SORTORDER_* (name ascending, date and size newest and largest first unless
  // OFN_SORTORDER_ASCENDING). Folders always come first, by name.
  static std::vector<FolderEntry> read(std::u16string_view folder, const std::vector<std::u16string>& patterns,
                                       DWORD sortOrder);
  // Only the subfolders, by name.
  static std::vector<std::u16string> subfolders(std::u16string_view folder);

  static bool isFolder(std::u16string_view devicePath);
  static bool isFile(std::u16string_view devicePath);
  // "\" joined with a name gives "\name"; other folders take "\" between.
  static std::u16string join(std::u16string_view folder, std::u16string_view name);
  // The folder holding a path; "\" for "\" itself.
  static std::u16string parent(std::u16string_view path);
  // A device path in its plain form: rooted, single backslashes, no "." or ".." (which stop at
  // the root), no trailing backslash. "/" separators count as "\".
  static std::u16string normalize(std::u16string_view path);
};

}  // namespace platform::shell
