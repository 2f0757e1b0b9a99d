// Paths in the handheld's notation and where they live on the host.
// "\Folder\File" names a file under the device root (--device-root); each "\" is a "/".
// A path that starts with "/" is a host path (the application folder is one); the
// program joins its own names with "\" to it, so "\" separates there too.
#pragma once

#include <string>
#include <string_view>

namespace platform::sys {

class DevicePath {
 public:
  // The host path for a device or host path; an empty text is the device root.
  static std::string toHost(std::u16string_view path);
  static std::string toHost(std::u16string_view path, const std::string& deviceRoot);
  // The device root in use: DeviceConfig's, else $HOME, else "/".
  static std::string deviceRoot();
  // The last component of a path in either notation.
  static std::u16string fileName(std::u16string_view path);
};

}  // namespace platform::sys
