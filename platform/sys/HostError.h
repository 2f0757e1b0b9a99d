// Host errno values as the handheld's last-error codes.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace platform::sys {

// ENOENT becomes ERROR_PATH_NOT_FOUND when the folder of hostPath is missing too.
DWORD win32ErrorFromErrno(int error, const std::string& hostPath = {});
// Sets the last error from errno and returns FALSE, for the common failure path.
BOOL failWithErrno(const std::string& hostPath = {});
BOOL failWith(DWORD error);

}  // namespace platform::sys
