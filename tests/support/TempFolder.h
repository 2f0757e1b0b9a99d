// A scratch folder for one test: made empty under the system's temporary folder, removed with
// everything in it when it goes, even where the test took its permissions away.
#pragma once

#include <filesystem>
#include <string>

namespace platform::testing {

class TempFolder {
 public:
  // Throws std::system_error when no folder can be made.
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The host path of something inside the folder ("a/b.txt" names a file in a subfolder).
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace platform::testing
