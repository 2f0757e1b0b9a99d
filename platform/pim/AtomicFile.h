// Replaces a file's whole content so that readers see either the old or the new bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform::pim {

class AtomicFile {
 public:
  // Writes a temporary file beside 'path', flushes it to disk and renames it over 'path'.
  // On any failure the old file is untouched and the temporary file removed.
  static bool write(const std::string& path, std::string_view bytes);
  // The same with the content given in pieces, written one after the other.
  static bool write(const std::string& path, const std::vector<std::string_view>& pieces);
  // Whole content; false when the file cannot be opened or read.
  static bool read(const std::string& path, std::string& bytes);
};

}  // namespace platform::pim
