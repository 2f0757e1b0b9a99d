#include "device/DeviceFacts.h"

#include <vector>

#include "platform/sys/SysParams.h"
#include "platform/sys/WinReg.h"
#include "platform/win/WinUser.h"

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

// A text system parameter read into a buffer of 256 bytes, as the handheld's callers do.
std::optional<std::u16string> readTextParameter(UINT action) {
  WCHAR buffer[128] = {};
  if (!SystemParametersInfoW(action, sizeof buffer, buffer, 0)) return std::nullopt;
  buffer[127] = 0;
  return std::u16string(buffer);
}

}  // namespace

DeviceFacts DeviceFacts::fromPlatform() {
  DeviceFacts facts;
  facts.platformType = readTextParameter(SPI_GETPLATFORMTYPE);
  facts.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  facts.screenHeight = GetSystemMetrics(SM_CYSCREEN);
  facts.platformName = readPlatformName();
  facts.oemInfo = readTextParameter(SPI_GETOEMINFO).value_or(std::u16string());
  return facts;
}

}  // namespace pellucard
