// Where the program's own files live: everything derives from the application folder.
#pragma once

#include <string>

namespace pellucard {

class AppPaths {
 public:
  // The application folder is a host folder (the device's --app-dir); the file names are joined to it.
  explicit AppPaths(std::u16string applicationFolder);

  // Builds from the running device's application folder.
  static AppPaths fromDevice();

  const std::u16string& applicationFolder() const { return applicationFolder_; }
  const std::u16string& settingsPath() const { return settingsPath_; }
  const std::u16string& databasePath() const { return databasePath_; }
  const std::u16string& helpPath() const { return helpPath_; }
  const std::u16string& skinsFolder() const { return skinsFolder_; }

 private:
  std::u16string applicationFolder_;
  std::u16string settingsPath_;
  std::u16string databasePath_;
  std::u16string helpPath_;
  std::u16string skinsFolder_;
};

// Application-wide instance: built on first use, deleted by the shutdown sequence.
AppPaths& getAppPaths();
void deleteAppPaths();

}  // namespace pellucard
