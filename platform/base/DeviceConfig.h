// The emulated device: the options the platform's main reads before the program starts.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

enum class Edition { PocketPc, Smartphone };

struct DeviceConfig {
  Edition edition = Edition::PocketPc;
  int screenWidth = 240;
  int screenHeight = 320;
  int scale = 0;  // window zoom on the host; 0 = the largest that fits the desktop
  std::string oemInfo;
  std::string platformName;
  std::string appDir;      // host folder; empty until resolved
  std::string deviceRoot;  // host folder that the device path "\" names
  std::string pimDir;      // host folder of contacts, calendar and tasks
  bool headless = false;
  std::string scriptPath;
  // Where SIGUSR1 makes the running device write its window dump (and its screen as ".png").
  std::string dumpFile;
  bool showVersion = false;
  bool showHelp = false;
  // Everything that is not a device option, passed to the program untouched.
  std::string commandLine;

  // The configuration the running device uses.
  static DeviceConfig& current();
};

struct DeviceOptionsResult {
  std::optional<DeviceConfig> config;
  std::string error;  // set when config is empty
};

// Parses argv (without the program name). Folders are host paths: "~" is the home folder and
// relative ones are resolved against the current folder. Defaults that depend on the
// environment (application folder, device root, PIM folder) are filled in.
DeviceOptionsResult parseDeviceOptions(const std::vector<std::string>& args);

// Fills empty folders from the environment: $XDG_DATA_HOME/Pellucard, $HOME, <app-dir>/pim.
void resolveDefaultFolders(DeviceConfig& config);

// Why the configured paths cannot serve (the option and the reason in one line), or none: the
// device root must be a readable folder; the application and PIM folders must be writable
// folders or folders the program can make; a dump file must be a file in a writable folder.
std::optional<std::string> deviceFoldersProblem(const DeviceConfig& config);

std::string deviceOptionsHelp();
std::string pellucardVersion();

}  // namespace platform
