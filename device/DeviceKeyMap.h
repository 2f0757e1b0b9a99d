// On landscape Smartphones with a QWERTY keyboard the digit keys share keys with letters; the map
// turns "0".."9", "*" and "#" back into the letters of the known keyboards.
#pragma once

#include <string>
#include <string_view>

namespace pellucard {

class DeviceKeyMap {
 public:
  // Keyboard tables 1 to 4; 0 means none.
  static constexpr int kNoTable = 0;

  // Reads the platform name, OEM text, edition and orientation from the platform.
  DeviceKeyMap();
  // From given facts (names are compared upper-cased).
  DeviceKeyMap(std::u16string_view platformName, std::u16string_view oemInfo, bool pocketPc, int screenWidth,
               int screenHeight);

  // The first rule that holds: OEM "SGH" 4, platform "EXCALIBUR" 1, OEM "DASH" 4, platform "VOX" 2,
  // OEM "MOTOROLA" 3.
  static int chooseTable(std::u16string_view platformName, std::u16string_view oemInfo);

  // Only a landscape Smartphone applies the map; called again after each rotation.
  void retestOrientation();
  void retestOrientation(bool pocketPc, int screenWidth, int screenHeight);

  bool active() const { return active_; }
  int table() const { return table_; }

  char16_t mapKey(char16_t key) const;

 private:
  bool active_ = false;
  int table_ = kNoTable;
};

// Application-wide instance, created on first use.
DeviceKeyMap& getDeviceKeyMap();
void deleteDeviceKeyMap();

}  // namespace pellucard
