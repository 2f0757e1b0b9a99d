#include "platform/base/DeviceConfig.h"

#include <charconv>
#include <cstdlib>
#include <filesystem>

#include "platform/base/HostPath.h"

namespace platform {

namespace {

bool parsePositive(const std::string& text, int& out, int max) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || value <= 0 || value > max) return false;
  out = value;
  return true;
}

bool parseScreen(const std::string& text, int& width, int& height) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  return parsePositive(text.substr(0, x), width, 4096) && parsePositive(text.substr(x + 1), height, 4096);
}

std::string envOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::string(value) : fallback;
}

void appendWord(std::string& line, const std::string& word) {
  if (!line.empty()) line += ' ';
  line += word;
}

}  // namespace

DeviceConfig& DeviceConfig::current() {
  static DeviceConfig config;
  return config;
}

void resolveDefaultFolders(DeviceConfig& config) {
  const std::string home = envOr("HOME", "/tmp");
  if (config.appDir.empty()) config.appDir = envOr("XDG_DATA_HOME", home + "/.local/share") + "/Pellucard";
  if (config.deviceRoot.empty()) config.deviceRoot = home;
  if (config.pimDir.empty()) config.pimDir = config.appDir + "/pim";
}

DeviceOptionsResult parseDeviceOptions(const std::vector<std::string>& args) {
  DeviceConfig config;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) return false;
      out = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--version") {
      config.showVersion = true;
    } else if (arg == "--help" || arg == "-h") {
      config.showHelp = true;
    } else if (arg == "--headless") {
      config.headless = true;
    } else if (arg == "--edition") {
      if (!value(text)) return {std::nullopt, "--edition needs pocketpc or smartphone"};
      if (text == "pocketpc") {
        config.edition = Edition::PocketPc;
      } else if (text == "smartphone") {
        config.edition = Edition::Smartphone;
      } else {
        return {std::nullopt, "--edition must be pocketpc or smartphone, not '" + text + "'"};
      }
    } else if (arg == "--screen") {
      if (!value(text) || !parseScreen(text, config.screenWidth, config.screenHeight))
        return {std::nullopt, "--screen needs a size such as 240x320"};
    } else if (arg == "--scale") {
      if (!value(text) || !parsePositive(text, config.scale, 8))
        return {std::nullopt, "--scale needs a zoom from 1 to 8"};
    } else if (arg == "--oem") {
      if (!value(config.oemInfo)) return {std::nullopt, "--oem needs a text"};
    } else if (arg == "--platform-name") {
      if (!value(config.platformName)) return {std::nullopt, "--platform-name needs a text"};
    } else if (arg == "--app-dir") {
      if (!value(config.appDir) || config.appDir.empty()) return {std::nullopt, "--app-dir needs a folder"};
      config.appDir = HostPath::resolve(config.appDir);
    } else if (arg == "--device-root") {
      if (!value(config.deviceRoot) || config.deviceRoot.empty()) return {std::nullopt, "--device-root needs a folder"};
      config.deviceRoot = HostPath::resolve(config.deviceRoot);
    } else if (arg == "--pim-dir") {
      if (!value(config.pimDir) || config.pimDir.empty()) return {std::nullopt, "--pim-dir needs a folder"};
      config.pimDir = HostPath::resolve(config.pimDir);
    } else if (arg == "--dump-file") {
      if (!value(config.dumpFile) || config.dumpFile.empty()) return {std::nullopt, "--dump-file needs a file"};
      config.dumpFile = HostPath::resolve(config.dumpFile);
    } else if (arg == "--script") {
      if (!value(config.scriptPath) || config.scriptPath.empty()) return {std::nullopt, "--script needs a file"};
    } else {
      appendWord(config.commandLine, arg);
    }
  }
  if (!config.scriptPath.empty() && !config.headless) return {std::nullopt, "--script needs --headless"};
  resolveDefaultFolders(config);
  return {config, {}};
}

std::optional<std::string> deviceFoldersProblem(const DeviceConfig& config) {
  if (auto problem = HostPath::folderProblem(config.deviceRoot, true, false)) return "--device-root: " + *problem;
  if (auto problem = HostPath::folderProblem(config.appDir, false, true)) return "--app-dir: " + *problem;
  if (auto problem = HostPath::folderProblem(config.pimDir, false, true)) return "--pim-dir: " + *problem;
  if (!config.dumpFile.empty()) {
    const std::filesystem::path file(config.dumpFile);
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) return "--dump-file: " + config.dumpFile + " is a folder";
    if (auto problem = HostPath::folderProblem(file.parent_path().string(), true, true))
      return "--dump-file: " + *problem;
  }
  return std::nullopt;
}

std::string pellucardVersion() { return "Pellucard 0.1.0"; }

std::string deviceOptionsHelp() {
  return "Usage: pellucard [device options] [uninstall | reinstall]\n"
         "\n"
         "Pellucard keeps the gifts, loans and anniversaries of your friends.\n"
         "\n"
         "Device options:\n"
         "  --edition pocketpc|smartphone  platform edition (default pocketpc)\n"
         "  --screen WxH                   screen size in device pixels (default 240x320)\n"
         "  --scale N                      window zoom on the host (default: the largest that fits)\n"
         "  --oem TEXT                     OEM information of the device\n"
         "  --platform-name TEXT           platform name in the registry\n"
         "  --app-dir DIR                  application folder (default $XDG_DATA_HOME/Pellucard)\n"
         "  --device-root DIR              host folder that the device path \\ names (default $HOME)\n"
         "  --pim-dir DIR                  contacts, calendar and tasks (default <app-dir>/pim)\n"
         "                                 (folders are host paths: relative to the current folder, ~ is home)\n"
         "  --headless                     run without a window\n"
         "  --script FILE                  with --headless, run a script of input commands\n"
         "  --dump-file FILE               on SIGUSR1, write the window dump to FILE and the screen to FILE.png\n"
         "  --version                      print the version and exit\n"
         "  --help                         print this help and exit\n";
}

}  // namespace platform
