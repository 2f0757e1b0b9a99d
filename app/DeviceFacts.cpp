#include "app/DeviceFacts.h"

#include "platform/win/DeviceConfig.h"
#include "platform/win/Utf.h"

namespace pellucard {

DeviceFacts DeviceFacts::fromPlatform() {
  const platform::DeviceConfig& config = platform::DeviceConfig::current();
  DeviceFacts facts;
  facts.platformType = config.edition == platform::Edition::PocketPc ? u"PocketPC" : u"SmartPhone";
  facts.screenWidth = config.screenWidth;
  facts.screenHeight = config.screenHeight;
  facts.platformName = platform::toUtf16(config.platformName);
  facts.oemInfo = platform::toUtf16(config.oemInfo);
  return facts;
}

}  // namespace pellucard
