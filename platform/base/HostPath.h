// Folders given on the command line, as a user types them: "~" is the home folder and a
// relative path is taken from the current folder (never from the device root), and a folder
// the device cannot use is refused with the reason in words.
#pragma once

#include <optional>
#include <string>

namespace platform {

class HostPath {
 public:
  // The absolute, normalised form of `text`: "~" and "~/..." start at `home`, anything else
  // that is not absolute starts at `currentFolder`. Empty text stays empty.
  static std::string resolve(const std::string& text, const std::string& home, const std::string& currentFolder);
  // The same with $HOME and the process's current folder.
  static std::string resolve(const std::string& text);

  // Why `path` cannot serve as a folder the program reads (mustExist) or also writes, or none
  // when it can. A folder that does not exist yet can serve for writing when the nearest
  // existing folder above it can be written to, since the program makes it.
  static std::optional<std::string> folderProblem(const std::string& path, bool mustExist, bool writable);
};

}  // namespace platform
