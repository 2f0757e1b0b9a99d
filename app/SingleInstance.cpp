#include "app/SingleInstance.h"

#include "device/PrivateMessages.h"
#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"
#include "platform/sys/WinBase.h"
#include "platform/win/WinUser.h"
#include "resources/StringIds.h"

namespace pellucard {

HRESULT SingleInstance::check(HINSTANCE instance, Mode mode) {
  WCHAR title[MAX_PATH] = {};
  if (LoadStringW(instance, IDS_APP_TITLE, title, MAX_PATH) <= 0 || title[0] == 0) return E_FAIL;

  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, title);
    if (mutex == nullptr) return GetLastError() == ERROR_INVALID_HANDLE ? E_INVALIDARG : E_FAIL;
    // The handle of the first instance is never closed: it marks the instance for its life.
    if (GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    CloseHandle(mutex);

    const HWND other = FindWindowW(title, nullptr);
    if (other == nullptr) {
      // The other instance is still creating its window.
      Sleep(kRetryMs);
      continue;
    }
    if (mode == Mode::Activate) {
      // The low bit brings the windows it owns to the front with it.
      const HWND withOwned = reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(other) | 0x01);
      if (SetForegroundWindow(withOwned)) {
        PostMessageW(other, UM_ACTIVATEINSTANCE, kMainScreenId, 0);
        return 1;
      }
      continue;
    }
    PostMessageW(other, WM_QUIT, 0, 0);
    for (int countdown = kCloseCountdown; IsWindow(other);) {
      if (--countdown == 0) return 1;
      Sleep(kRetryMs);
    }
    return 0;
  }
  return 0;
}

}  // namespace pellucard
