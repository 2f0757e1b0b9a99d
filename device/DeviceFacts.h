// What the program asks the platform about the device it runs on.
#pragma once

#include <optional>
#include <string>

namespace pellucard {

struct DeviceFacts {
  // Empty when the platform-type query failed.
  std::optional<std::u16string> platformType;
  int screenWidth = 0;
  int screenHeight = 0;
  // Empty when the registry value or the OEM text is missing.
  std::u16string platformName;
  std::u16string oemInfo;

  static DeviceFacts fromPlatform();
};

}  // namespace pellucard
