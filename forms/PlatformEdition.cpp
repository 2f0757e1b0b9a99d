#include "forms/PlatformEdition.h"

#include <optional>
#include <string>

#include "device/DeviceProfile.h"
#include "platform/gdi/WinGdi.h"
#include "platform/sys/SysParams.h"
#include "platform/win/WinUser.h"

namespace pellucard {

bool onPocketPc() {
  WCHAR buffer[64] = {};
  std::optional<std::u16string> type;
  if (SystemParametersInfoW(SPI_GETPLATFORMTYPE, sizeof buffer, buffer, 0)) {
    buffer[63] = 0;
    type = std::u16string(buffer);
  }
  return DeviceProfile::isPocketPcPlatformType(type);
}

int formScale() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi >= 192 ? 2 : 1;
}

}  // namespace pellucard
