#include "platform/sys/HostError.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/base/WinError.h"

namespace platform::sys {

namespace {
bool parentExists(const std::string& hostPath) {
  const std::size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos) return true;
  const std::string parent = slash == 0 ? "/" : hostPath.substr(0, slash);
  struct stat st {};
  return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
}  // namespace

DWORD win32ErrorFromErrno(int error, const std::string& hostPath) {
  switch (error) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return hostPath.empty() || parentExists(hostPath) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EROFS:
      return ERROR_WRITE_PROTECT;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case EIO:
      return ERROR_GEN_FAILURE;
    case ELOOP:
      return ERROR_BAD_PATHNAME;
    default:
      return ERROR_GEN_FAILURE;
  }
}

BOOL failWithErrno(const std::string& hostPath) {
  SetLastError(win32ErrorFromErrno(errno, hostPath));
  return FALSE;
}

BOOL failWith(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace platform::sys
