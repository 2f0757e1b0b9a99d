#include "platform/win/SystemHooks.h"

#include "platform/sys/InstanceChannel.h"
#include "platform/sys/SysParams.h"
#include "platform/win/Screen.h"
#include "platform/win/WinUser.h"

namespace platform {

void installSystemHooks() {
  static const bool installed = [] {
    sys::setSettingChangeBroadcaster(&broadcastSettingChange);
    sys::InstanceChannel::LocalWindows local;
    local.find = [](LPCWSTR className, LPCWSTR windowName) { return ::FindWindowW(className, windowName); };
    local.isWindow = [](HWND hwnd) { return ::IsWindow(hwnd); };
    local.post = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
      return ::PostMessageW(hwnd, message, wParam, lParam);
    };
    local.setForeground = [](HWND hwnd) { return ::SetForegroundWindow(hwnd); };
    sys::InstanceChannel::installLocalWindows(std::move(local));
    return true;
  }();
  (void)installed;
}

}  // namespace platform
