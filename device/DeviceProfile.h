// Facts about the device the program runs on: edition, orientation, screen class and screen layout.
#pragma once

#include <optional>
#include <string>

#include "device/ScreenLayout.h"

namespace pellucard {

class DeviceProfile {
 public:
  // Screen classes the image cache tells apart.
  static constexpr int kClassPortrait = 0;
  static constexpr int kClassLandscape = 1;
  static constexpr int kClassSmallSmartphonePortrait = 3;
  static constexpr int kClassSmallSmartphoneLandscape = 4;

  // Asks the platform for its platform type and screen size.
  void compute();
  // The same from given facts; platformType is empty when the platform query failed.
  void computeFrom(const std::optional<std::u16string>& platformType, int screenWidth, int screenHeight);

  bool isPocketPc() const { return pocketPc_; }
  bool landscape() const { return landscape_; }
  bool smallSmartphone() const { return smallSmartphone_; }
  int screenClass() const;
  // The image metrics of this screen.
  const ScreenLayout& layout() const { return layout_; }

  // Exactly "PocketPC", ignoring case, is a Pocket PC; anything else, or no answer, a Smartphone.
  static bool isPocketPcPlatformType(const std::optional<std::u16string>& platformType);

 private:
  bool pocketPc_ = false;
  bool landscape_ = false;
  bool smallSmartphone_ = false;
  ScreenLayout layout_;
};

}  // namespace pellucard
