#include "platform/base/WinError.h"

namespace {
// Everything runs on the UI thread, but tests may start helper threads.
thread_local DWORD lastError = ERROR_SUCCESS;
}  // namespace

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD error) { lastError = error; }
