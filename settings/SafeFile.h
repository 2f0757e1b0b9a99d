// Whole-file reads and crash-safe replacement of files, through the platform's file calls.
// Paths are device paths ("\Folder\File") or host paths ("/folder\File").
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace pellucard {

class SafeFile {
 public:
  // The whole file, or nothing when it cannot be read or is larger than maxSize.
  static std::optional<std::string> read(const std::u16string& path, std::size_t maxSize);

  // Writes the bytes to a temporary file beside the path, flushes it and then replaces the path
  // with it in one step. Missing folders are created. On failure the old file is untouched.
  static bool writeAtomically(const std::u16string& path, std::string_view bytes);

  // Replaces target by the finished file temp in one step and removes temp (also on failure).
  static bool replace(const std::u16string& temp, const std::u16string& target);

  // The temporary name used beside a path.
  static std::u16string tempPathFor(const std::u16string& path);

  // Everything before the last separator ("\" or "/"); empty when there is none.
  static std::u16string folderOf(const std::u16string& path);

  // Creates every missing folder of the given folder path; false when it still does not exist.
  static bool createFolders(const std::u16string& folder);
};

}  // namespace pellucard
