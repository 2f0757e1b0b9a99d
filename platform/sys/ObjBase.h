// COM initialisation of the process and the task memory allocator.
#pragma once

#include "platform/base/WinTypes.h"

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define RPC_E_CHANGED_MODE (static_cast<HRESULT>(0x80010106L))
#define CO_E_NOTINITIALIZED (static_cast<HRESULT>(0x800401F0L))

// S_OK on the first call, S_FALSE on a nested one; RPC_E_CHANGED_MODE when another
// concurrency model is asked for while initialised. Nothing is loaded: the components
// the program uses are linked in.
HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
void CoUninitialize();

LPVOID CoTaskMemAlloc(ULONG cb);
LPVOID CoTaskMemRealloc(LPVOID pv, ULONG cb);
void CoTaskMemFree(LPVOID pv);

namespace platform::sys {
// How many CoInitializeEx calls are not yet balanced (tests).
int comInitialisationCount();
}  // namespace platform::sys
