#include "device/DeviceProfile.h"

#include <algorithm>

#include "device/DeviceFacts.h"

namespace pellucard {

namespace {

char16_t upper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c; }

}  // namespace

bool DeviceProfile::isPocketPcPlatformType(const std::optional<std::u16string>& platformType) {
  if (!platformType) return false;
  constexpr std::u16string_view kPocketPc = u"POCKETPC";
  if (platformType->size() != kPocketPc.size()) return false;
  for (std::size_t i = 0; i < kPocketPc.size(); ++i) {
    if (upper((*platformType)[i]) != kPocketPc[i]) return false;
  }
  return true;
}

void DeviceProfile::compute() {
  const DeviceFacts facts = DeviceFacts::fromPlatform();
  computeFrom(facts.platformType, facts.screenWidth, facts.screenHeight);
}

void DeviceProfile::computeFrom(const std::optional<std::u16string>& platformType, int screenWidth, int screenHeight) {
  pocketPc_ = isPocketPcPlatformType(platformType);
  landscape_ = screenWidth > screenHeight;
  const int shortSide = std::min(screenWidth, screenHeight);
  const int longSide = std::max(screenWidth, screenHeight);
  smallSmartphone_ = false;
  if (shortSide == 240) {
    if (pocketPc_) {
      if (longSide == 240) {
        layout_ = ScreenLayout(LayoutKind::PocketPc240Square);
      } else {
        layout_ = ScreenLayout(landscape_ ? LayoutKind::PocketPc240Landscape : LayoutKind::PocketPc240Portrait);
      }
      return;
    }
    smallSmartphone_ = true;
  }
  layout_ = ScreenLayout(landscape_ ? LayoutKind::Landscape : LayoutKind::Portrait);
}

int DeviceProfile::screenClass() const {
  if (smallSmartphone_) return landscape_ ? kClassSmallSmartphoneLandscape : kClassSmallSmartphonePortrait;
  return landscape_ ? kClassLandscape : kClassPortrait;
}

}  // namespace pellucard
