// The local heap's API; on the handheld the global-memory functions are the same calls.
#include "platform/sys/LocalHeap.h"
#include "platform/sys/WinBase.h"

HLOCAL LocalAlloc(UINT uFlags, UINT uBytes) { return platform::sys::LocalHeap::instance().allocate(uFlags, uBytes); }

HLOCAL LocalFree(HLOCAL hMem) {
  if (hMem == nullptr) return nullptr;
  return platform::sys::LocalHeap::instance().release(hMem) ? nullptr : hMem;
}

LPVOID LocalLock(HLOCAL hMem) { return platform::sys::LocalHeap::instance().lock(hMem); }

BOOL LocalUnlock(HLOCAL hMem) { return platform::sys::LocalHeap::instance().unlock(hMem) ? TRUE : FALSE; }

UINT LocalSize(HLOCAL hMem) { return static_cast<UINT>(platform::sys::LocalHeap::instance().size(hMem)); }
