// A scratch folder for one test: made empty under the system's temporary folder, removed with
// everything in it when it goes, even where the test took its permissions away.
#pragma once

#include <filesystem>
#include <string>

namespace platform::testing {

class TempFolder {
 public:
  enum class Place {
    Temporary,  // the system's temporary folder
    // Memory-backed (/dev/shm) where the host has it, else the temporary folder: for tests that
    // make and remove thousands of files, where a disk's inode work would dominate.
    Memory,
  };

  // Throws std::system_error when no folder can be made.
  explicit TempFolder(Place place = Place::Temporary);
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
