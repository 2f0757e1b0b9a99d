#include "app/DeviceFacts.h"

#include <vector>

#include "platform/sys/WinReg.h"
#include "platform/win/DeviceConfig.h"
#include "platform/win/Utf.h"

namespace pellucard {

namespace {

// The device's platform name: a string value that may be missing or of another type.
std::u16string readPlatformName() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"\\Platform", 0, 0, &key) != ERROR_SUCCESS) return std::u16string();
  std::u16string name;
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, u"Name", nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ &&
      size >= sizeof(WCHAR)) {
    std::vector<WCHAR> buffer(size / sizeof(WCHAR) + 1, 0);
    if (RegQueryValueExW(key, u"Name", nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS)
      name = buffer.data();
  }
  RegCloseKey(key);
  return name;
}

}  // namespace

DeviceFacts DeviceFacts::fromPlatform() {
  const platform::DeviceConfig& config = platform::DeviceConfig::current();
  DeviceFacts facts;
  facts.platformType = config.edition == platform::Edition::PocketPc ? u"PocketPC" : u"SmartPhone";
  facts.screenWidth = config.screenWidth;
  facts.screenHeight = config.screenHeight;
  facts.platformName = readPlatformName();
  facts.oemInfo = platform::toUtf16(config.oemInfo);
  return facts;
}

}  // namespace pellucard
