// Where the program's own files live: everything derives from the folder of the program file.
#pragma once

#include <string>

namespace pellucard {

class AppPaths {
 public:
  // The application folder is the module path up to its last backslash (the whole path when it has
  // none); the file names are joined to it with a backslash.
  explicit AppPaths(std::u16string modulePath);

  // Builds from the program file the platform reports for the running module.
  static AppPaths build();

  const std::u16string& modulePath() const { return modulePath_; }
  const std::u16string& applicationFolder() const { return applicationFolder_; }
  const std::u16string& settingsPath() const { return settingsPath_; }
  const std::u16string& databasePath() const { return databasePath_; }
  const std::u16string& helpPath() const { return helpPath_; }
  const std::u16string& skinsFolder() const { return skinsFolder_; }

 private:
  std::u16string modulePath_;
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
