#include <cstdlib>
#include <mutex>

#include "platform/base/WinError.h"
#include "platform/sys/InitCommonControls.h"
#include "platform/sys/ObjBase.h"

namespace {

struct ComState {
  std::mutex mutex;
  int count = 0;
  DWORD model = 0;
};

ComState& comState() {
  static ComState state;
  return state;
}

}  // namespace

HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
  if (pvReserved) return E_INVALIDARG;
  const DWORD model = dwCoInit & COINIT_APARTMENTTHREADED;
  ComState& s = comState();
  std::lock_guard lock(s.mutex);
  if (s.count > 0) {
    if (s.model != model) return RPC_E_CHANGED_MODE;
    ++s.count;
    return S_FALSE;
  }
  s.model = model;
  s.count = 1;
  return S_OK;
}

void CoUninitialize() {
  ComState& s = comState();
  std::lock_guard lock(s.mutex);
  if (s.count > 0) --s.count;
}

LPVOID CoTaskMemAlloc(ULONG cb) { return std::malloc(cb ? cb : 1); }

LPVOID CoTaskMemRealloc(LPVOID pv, ULONG cb) { return std::realloc(pv, cb ? cb : 1); }

void CoTaskMemFree(LPVOID pv) { std::free(pv); }

namespace platform::sys {
int comInitialisationCount() {
  std::lock_guard lock(comState().mutex);
  return comState().count;
}
}  // namespace platform::sys

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* lpInitCtrls) {
  if (!lpInitCtrls || lpInitCtrls->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
