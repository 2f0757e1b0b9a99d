// Files and folders of the handheld on the host file system.
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "platform/base/DeviceConfig.h"
#include "platform/base/HostCalls.h"
#include "platform/base/TextCase.h"
#include "platform/base/Utf.h"
#include "platform/sys/DevicePath.h"
#include "platform/sys/FileObject.h"
#include "platform/sys/FindSearch.h"
#include "platform/sys/HostError.h"
#include "platform/sys/WinBase.h"

using namespace platform::sys;
using platform::HostCalls;

namespace {

constexpr DWORD kReadAccess = GENERIC_READ | GENERIC_ALL;
constexpr DWORD kWriteAccess = GENERIC_WRITE | GENERIC_ALL;

bool validPathArgument(LPCWSTR path) {
  if (!path) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  if (!*path) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return false;
  }
  return true;
}

std::string hostPathOf(LPCWSTR path) { return DevicePath::toHost(std::u16string_view(path)); }

// The host paths of a copy's or a move's source and target; nothing, with the error set, when
// either argument is missing or empty.
std::optional<std::pair<std::string, std::string>> hostPathsOf(LPCWSTR from, LPCWSTR to) {
  if (!from || !to) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  if (!validPathArgument(from) || !validPathArgument(to)) return std::nullopt;
  return std::pair{hostPathOf(from), hostPathOf(to)};
}

std::string parentOf(const std::string& hostPath) {
  const std::size_t slash = hostPath.find_last_of('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return hostPath.substr(0, slash);
}

std::string baseNameOf(const std::string& hostPath) {
  const std::size_t slash = hostPath.find_last_of('/');
  return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

FileObject* fileOf(HANDLE handle) {
  FileObject* file = HandleTable::instance().get<FileObject>(handle);
  if (!file) SetLastError(ERROR_INVALID_HANDLE);
  return file;
}

// Copies src into a fresh temporary file beside dst and renames it into place.
BOOL copyFileAtomically(const std::string& src, const std::string& dst, bool failIfExists) {
  const int in = HostCalls::open(src.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return failWithErrno(src);
  struct stat srcStat {};
  ::fstat(in, &srcStat);

  std::string temp = parentOf(dst) + "/." + baseNameOf(dst) + ".copy-XXXXXX";
  const int out = HostCalls::makeTemp(temp, O_CLOEXEC);
  if (out < 0) {
    const int error = errno;
    ::close(in);
    errno = error;
    return failWithErrno(dst);
  }

  bool ok = true;
  int error = 0;
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      error = errno;
      break;
    }
    if (n == 0) break;
    if (!HostCalls::writeAll(out, buffer.data(), static_cast<std::size_t>(n), temp.c_str())) {
      ok = false;
      error = errno;
      break;
    }
  }
  // A copy is private like every file the device makes (a backup restored from a shared folder
  // must not leave the database readable by others); only read-only-ness carries over.
  if (ok && ::fchmod(out, (srcStat.st_mode & S_IWUSR) ? 0600 : 0400) != 0) {
    ok = false;
    error = errno;
  }
  if (ok) {
    // The copy keeps the source's modification time, as the handheld's copy does.
    const timespec times[2] = {srcStat.st_atim, srcStat.st_mtim};
    ::futimens(out, times);
  }
  if (ok && HostCalls::sync(out, temp.c_str()) != 0) {
    ok = false;
    error = errno;
  }
  ::close(in);
  if (::close(out) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok) {
    if (failIfExists) {
      // link() refuses to replace, so a target that appeared meanwhile stays untouched.
      if (HostCalls::link(temp.c_str(), dst.c_str()) != 0) {
        ok = false;
        error = errno;
      }
      HostCalls::unlink(temp.c_str());
      if (!ok) {
        SetLastError(error == EEXIST ? ERROR_FILE_EXISTS : win32ErrorFromErrno(error, dst));
        return FALSE;
      }
    } else if (HostCalls::rename(temp.c_str(), dst.c_str()) != 0) {
      ok = false;
      error = errno;
    }
  }
  if (!ok) {
    HostCalls::unlink(temp.c_str());
    SetLastError(error == EFBIG ? ERROR_DISK_FULL : win32ErrorFromErrno(error, dst));
    return FALSE;
  }
  HostCalls::syncFolder(parentOf(dst));
  return TRUE;
}

DWORD attributesOf(const std::string& hostPath, const struct stat& st) {
  DWORD attributes = S_ISDIR(st.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE;
  const std::string name = baseNameOf(hostPath);
  if (!name.empty() && name[0] == '.' && hostPath != DevicePath::deviceRoot()) attributes |= FILE_ATTRIBUTE_HIDDEN;
  if (::access(hostPath.c_str(), W_OK) != 0) attributes |= FILE_ATTRIBUTE_READONLY;
  return attributes;
}

bool hasWildcards(std::u16string_view pattern) { return pattern.find_first_of(u"*?") != std::u16string_view::npos; }

}  // namespace

BOOL CloseHandle(HANDLE hObject) {
  KernelObject* object = HandleTable::instance().find(hObject);
  if (!object || !object->closableByCloseHandle()) return failWith(ERROR_INVALID_HANDLE);
  HandleTable::instance().remove(hObject);
  return TRUE;
}

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE) {
  if (!validPathArgument(lpFileName)) return INVALID_HANDLE_VALUE;
  const std::string path = hostPathOf(lpFileName);
  const bool wantRead = (dwDesiredAccess & kReadAccess) != 0;
  const bool wantWrite = (dwDesiredAccess & kWriteAccess) != 0;

  int flags = O_CLOEXEC;
  bool truncates = false;
  switch (dwCreationDisposition) {
    case CREATE_NEW:
      flags |= O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS:
      flags |= O_CREAT;
      truncates = true;
      break;
    case OPEN_EXISTING:
      break;
    case OPEN_ALWAYS:
      flags |= O_CREAT;
      break;
    case TRUNCATE_EXISTING:
      if (!wantWrite) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
      }
      truncates = true;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return INVALID_HANDLE_VALUE;
  }

  struct stat st {};
  const bool existed = ::stat(path.c_str(), &st) == 0;
  if (existed) {
    if (S_ISDIR(st.st_mode)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return INVALID_HANDLE_VALUE;
    }
    if (dwCreationDisposition == CREATE_NEW) {
      SetLastError(ERROR_FILE_EXISTS);
      return INVALID_HANDLE_VALUE;
    }
    if (!FileObject::shareAllows(st.st_dev, st.st_ino, dwDesiredAccess | (truncates ? GENERIC_WRITE : 0),
                                 dwShareMode)) {
      SetLastError(ERROR_SHARING_VIOLATION);
      return INVALID_HANDLE_VALUE;
    }
  }
  // Truncation needs a writable descriptor even when the handle itself only reads.
  flags |= (wantWrite || truncates) ? (wantRead || truncates ? O_RDWR : O_WRONLY) : O_RDONLY;
  // The device's files are the user's own: nobody else may read what the program creates.
  const mode_t mode = (dwFlagsAndAttributes & FILE_ATTRIBUTE_READONLY) ? 0400 : 0600;
  const int fd = HostCalls::open(path.c_str(), flags, mode);
  if (fd < 0) {
    if (errno == EEXIST)
      SetLastError(ERROR_FILE_EXISTS);
    else
      failWithErrno(path);
    return INVALID_HANDLE_VALUE;
  }
  if (truncates && HostCalls::truncate(fd, 0, path.c_str()) != 0) {
    failWithErrno(path);
    ::close(fd);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = HandleTable::instance().add(std::make_unique<FileObject>(fd, dwDesiredAccess, dwShareMode, path));
  const bool reportsExisting = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS;
  SetLastError(existed && reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead, LPOVERLAPPED) {
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = 0;
  FileObject* file = fileOf(hFile);
  if (!file) return FALSE;
  if (!file->canRead()) return failWith(ERROR_ACCESS_DENIED);
  if (!lpBuffer && nNumberOfBytesToRead) return failWith(ERROR_INVALID_PARAMETER);
  DWORD done = 0;
  auto* out = static_cast<char*>(lpBuffer);
  while (done < nNumberOfBytesToRead) {
    const ssize_t n = ::read(file->fd(), out + done, nNumberOfBytesToRead - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
      return failWithErrno();
    }
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  if (lpNumberOfBytesRead) *lpNumberOfBytesRead = done;
  return TRUE;
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED) {
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = 0;
  FileObject* file = fileOf(hFile);
  if (!file) return FALSE;
  if (!file->canWrite()) return failWith(ERROR_ACCESS_DENIED);
  if (!lpBuffer && nNumberOfBytesToWrite) return failWith(ERROR_INVALID_PARAMETER);
  std::size_t written = 0;
  const bool ok = HostCalls::writeAll(file->fd(), lpBuffer, nNumberOfBytesToWrite, file->hostPath().c_str(), &written);
  if (lpNumberOfBytesWritten) *lpNumberOfBytesWritten = static_cast<DWORD>(written);
  if (!ok) {
    SetLastError(errno == EFBIG || errno == ENOSPC ? ERROR_DISK_FULL : win32ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, LONG* lpDistanceToMoveHigh, DWORD dwMoveMethod) {
  FileObject* file = fileOf(hFile);
  if (!file) return INVALID_SET_FILE_POINTER;
  std::int64_t distance = lDistanceToMove;
  if (lpDistanceToMoveHigh)
    distance = static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32) |
                                         static_cast<DWORD>(lDistanceToMove));
  std::int64_t base = 0;
  switch (dwMoveMethod) {
    case FILE_BEGIN:
      break;
    case FILE_CURRENT:
      base = ::lseek(file->fd(), 0, SEEK_CUR);
      break;
    case FILE_END: {
      struct stat st {};
      if (::fstat(file->fd(), &st) != 0) {
        failWithErrno();
        return INVALID_SET_FILE_POINTER;
      }
      base = st.st_size;
      break;
    }
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return INVALID_SET_FILE_POINTER;
  }
  const std::int64_t target = base + distance;
  if (base < 0 || target < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  // Without a high part the position must fit 32 bits, as the caller cannot see more.
  if (!lpDistanceToMoveHigh && target > 0xFFFFFFFELL) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (::lseek(file->fd(), static_cast<off_t>(target), SEEK_SET) < 0) {
    failWithErrno();
    return INVALID_SET_FILE_POINTER;
  }
  if (lpDistanceToMoveHigh) *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<std::uint64_t>(target) >> 32);
  // A low part of 0xFFFFFFFF is a valid position; callers tell it apart by the last error.
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(static_cast<std::uint64_t>(target) & 0xFFFFFFFFu);
}

BOOL SetEndOfFile(HANDLE hFile) {
  FileObject* file = fileOf(hFile);
  if (!file) return FALSE;
  if (!file->canWrite()) return failWith(ERROR_ACCESS_DENIED);
  const off_t position = ::lseek(file->fd(), 0, SEEK_CUR);
  if (position < 0 || HostCalls::truncate(file->fd(), position, file->hostPath().c_str()) != 0) return failWithErrno();
  return TRUE;
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh) {
  FileObject* file = fileOf(hFile);
  if (!file) return INVALID_FILE_SIZE;
  struct stat st {};
  if (::fstat(file->fd(), &st) != 0) {
    failWithErrno();
    return INVALID_FILE_SIZE;
  }
  const auto size = static_cast<std::uint64_t>(st.st_size);
  if (lpFileSizeHigh) *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
  SetLastError(NO_ERROR);
  return static_cast<DWORD>(size & 0xFFFFFFFFu);
}

BOOL FlushFileBuffers(HANDLE hFile) {
  FileObject* file = fileOf(hFile);
  if (!file) return FALSE;
  if (!file->canWrite()) return failWith(ERROR_ACCESS_DENIED);
  if (HostCalls::sync(file->fd(), file->hostPath().c_str()) != 0) return failWithErrno();
  return TRUE;
}

BOOL GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime, LPFILETIME lpLastWriteTime) {
  FileObject* file = fileOf(hFile);
  if (!file) return FALSE;
  WIN32_FIND_DATAW data{};
  if (!FindSearch::describe(file->hostPath(), u"", data)) return failWithErrno();
  if (lpCreationTime) *lpCreationTime = data.ftCreationTime;
  if (lpLastAccessTime) *lpLastAccessTime = data.ftLastAccessTime;
  if (lpLastWriteTime) *lpLastWriteTime = data.ftLastWriteTime;
  return TRUE;
}

BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
  const auto paths = hostPathsOf(lpExistingFileName, lpNewFileName);
  if (!paths) return FALSE;
  const auto& [src, dst] = *paths;
  struct stat srcStat {};
  if (::stat(src.c_str(), &srcStat) != 0) return failWithErrno(src);
  if (S_ISDIR(srcStat.st_mode)) return failWith(ERROR_ACCESS_DENIED);
  if (!FileObject::shareAllows(srcStat.st_dev, srcStat.st_ino, GENERIC_READ, FILE_SHARE_READ))
    return failWith(ERROR_SHARING_VIOLATION);
  struct stat dstStat {};
  if (::stat(dst.c_str(), &dstStat) == 0) {
    if (bFailIfExists) return failWith(ERROR_FILE_EXISTS);
    if (S_ISDIR(dstStat.st_mode)) return failWith(ERROR_ACCESS_DENIED);
    if (dstStat.st_dev == srcStat.st_dev && dstStat.st_ino == srcStat.st_ino) return failWith(ERROR_SHARING_VIOLATION);
    if (!FileObject::writeAllowed(dst)) return failWith(ERROR_SHARING_VIOLATION);
    if (::access(dst.c_str(), W_OK) != 0) return failWith(ERROR_ACCESS_DENIED);
  } else if (errno != ENOENT) {
    return failWithErrno(dst);
  }
  struct stat parentStat {};
  if (::stat(parentOf(dst).c_str(), &parentStat) != 0 || !S_ISDIR(parentStat.st_mode))
    return failWith(ERROR_PATH_NOT_FOUND);
  return copyFileAtomically(src, dst, bFailIfExists != FALSE);
}

BOOL DeleteFileW(LPCWSTR lpFileName) {
  if (!validPathArgument(lpFileName)) return FALSE;
  const std::string path = hostPathOf(lpFileName);
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return failWithErrno(path);
  if (S_ISDIR(st.st_mode)) return failWith(ERROR_ACCESS_DENIED);
  if (!FileObject::deleteAllowed(st.st_dev, st.st_ino)) return failWith(ERROR_SHARING_VIOLATION);
  if (HostCalls::unlink(path.c_str()) != 0) return failWithErrno(path);
  return TRUE;
}

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName) {
  const auto paths = hostPathsOf(lpExistingFileName, lpNewFileName);
  if (!paths) return FALSE;
  const auto& [src, dst] = *paths;
  struct stat st {};
  if (::lstat(src.c_str(), &st) != 0) return failWithErrno(src);
  if (!S_ISDIR(st.st_mode) && !FileObject::deleteAllowed(st.st_dev, st.st_ino))
    return failWith(ERROR_SHARING_VIOLATION);
  struct stat dstStat {};
  const bool sameObject = ::lstat(dst.c_str(), &dstStat) == 0;
  if (sameObject && !(dstStat.st_dev == st.st_dev && dstStat.st_ino == st.st_ino))
    return failWith(ERROR_ALREADY_EXISTS);
  // A rename that refuses to replace, so a target created meanwhile is never lost.
  if (HostCalls::renameNoReplace(src.c_str(), dst.c_str()) == 0) {
    HostCalls::syncFolder(parentOf(dst));
    return TRUE;
  }
  if (errno == EEXIST) {
    // Only a change of letter case of the same file gets here.
    if (sameObject && HostCalls::rename(src.c_str(), dst.c_str()) == 0) return TRUE;
    return failWith(ERROR_ALREADY_EXISTS);
  }
  if (errno == EXDEV) {
    if (S_ISDIR(st.st_mode)) return failWith(ERROR_NOT_SAME_DEVICE);
    if (!copyFileAtomically(src, dst, true)) return FALSE;
    if (HostCalls::unlink(src.c_str()) != 0) return failWithErrno(src);
    return TRUE;
  }
  return failWithErrno(errno == ENOENT ? dst : src);
}

BOOL MoveFileExW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, DWORD dwFlags) {
  if (!(dwFlags & MOVEFILE_REPLACE_EXISTING)) return MoveFileW(lpExistingFileName, lpNewFileName);
  const auto paths = hostPathsOf(lpExistingFileName, lpNewFileName);
  if (!paths) return FALSE;
  const auto& [src, dst] = *paths;
  struct stat st {};
  if (::lstat(src.c_str(), &st) != 0) return failWithErrno(src);
  if (S_ISDIR(st.st_mode)) return failWith(ERROR_ACCESS_DENIED);
  if (!FileObject::deleteAllowed(st.st_dev, st.st_ino)) return failWith(ERROR_SHARING_VIOLATION);
  struct stat dstStat {};
  if (::lstat(dst.c_str(), &dstStat) == 0) {
    if (S_ISDIR(dstStat.st_mode)) return failWith(ERROR_ACCESS_DENIED);
    if (dstStat.st_dev == st.st_dev && dstStat.st_ino == st.st_ino) return TRUE;
    if (!FileObject::deleteAllowed(dstStat.st_dev, dstStat.st_ino) || !FileObject::writeAllowed(dst))
      return failWith(ERROR_SHARING_VIOLATION);
  } else if (errno != ENOENT) {
    return failWithErrno(dst);
  }
  if (HostCalls::rename(src.c_str(), dst.c_str()) == 0) {
    HostCalls::syncFolder(parentOf(dst));
    return TRUE;
  }
  if (errno == EXDEV && (dwFlags & MOVEFILE_COPY_ALLOWED)) {
    if (!copyFileAtomically(src, dst, false)) return FALSE;
    if (HostCalls::unlink(src.c_str()) != 0) return failWithErrno(src);
    return TRUE;
  }
  return failWithErrno(errno == ENOENT ? dst : src);
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES) {
  if (!validPathArgument(lpPathName)) return FALSE;
  const std::string path = hostPathOf(lpPathName);
  if (::mkdir(path.c_str(), 0700) != 0) {
    if (errno == ENOENT) return failWith(ERROR_PATH_NOT_FOUND);
    return failWithErrno(path);
  }
  return TRUE;
}

BOOL RemoveDirectoryW(LPCWSTR lpPathName) {
  if (!validPathArgument(lpPathName)) return FALSE;
  const std::string path = hostPathOf(lpPathName);
  if (path == DevicePath::toHost(u"\\")) return failWith(ERROR_ACCESS_DENIED);
  if (::rmdir(path.c_str()) != 0) {
    if (errno == ENOTDIR) return failWith(ERROR_DIRECTORY);
    if (errno == EEXIST) return failWith(ERROR_DIR_NOT_EMPTY);
    return failWithErrno(path);
  }
  return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR lpFileName) {
  if (!validPathArgument(lpFileName)) return INVALID_FILE_ATTRIBUTES;
  const std::string path = hostPathOf(lpFileName);
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    failWithErrno(path);
    return INVALID_FILE_ATTRIBUTES;
  }
  return attributesOf(path, st);
}

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
  if (!lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  if (!validPathArgument(lpFileName)) return INVALID_HANDLE_VALUE;
  const std::u16string_view full(lpFileName);
  const std::size_t cut = full.find_last_of(u"\\/");
  const std::u16string_view pattern = cut == std::u16string_view::npos ? full : full.substr(cut + 1);
  const std::u16string folder(cut == std::u16string_view::npos ? std::u16string_view() : full.substr(0, cut + 1));
  if (pattern.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  const std::string hostFolder = folder.empty() ? DevicePath::deviceRoot() : DevicePath::toHost(folder);

  DIR* dir = ::opendir(hostFolder.c_str());
  if (!dir) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : win32ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  std::vector<WIN32_FIND_DATAW> entries;
  const bool wildcards = hasWildcards(pattern);
  while (dirent* entry = ::readdir(dir)) {
    const std::string name8 = entry->d_name;
    if (name8 == "." || name8 == "..") continue;
    const std::u16string name = platform::toUtf16(name8);
    // A name that is not valid UTF-8 could not be opened again by its UTF-16 form.
    if (platform::toUtf8(name) != name8) continue;
    const bool match = wildcards ? FindSearch::matches(name, pattern) : platform::equalsIgnoringCase(name, pattern);
    if (!match) continue;
    WIN32_FIND_DATAW data{};
    const std::string hostPath = (hostFolder == "/" ? "" : hostFolder) + "/" + name8;
    if (FindSearch::describe(hostPath, name, data)) entries.push_back(data);
  }
  ::closedir(dir);
  if (entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  // The host lists folders in no useful order; the handheld's file system lists them by name.
  std::sort(entries.begin(), entries.end(), [](const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
    return platform::compareIgnoringCase(a.cFileName, b.cFileName) < 0;
  });
  auto search = std::make_unique<FindSearch>(std::move(entries));
  search->next(*lpFindFileData);
  return HandleTable::instance().add(std::move(search));
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
  FindSearch* search = HandleTable::instance().get<FindSearch>(hFindFile);
  if (!search) return failWith(ERROR_INVALID_HANDLE);
  if (!lpFindFileData) return failWith(ERROR_INVALID_PARAMETER);
  if (!search->next(*lpFindFileData)) return failWith(ERROR_NO_MORE_FILES);
  return TRUE;
}

BOOL FindClose(HANDLE hFindFile) {
  if (!HandleTable::instance().get<FindSearch>(hFindFile)) return failWith(ERROR_INVALID_HANDLE);
  HandleTable::instance().remove(hFindFile);
  return TRUE;
}

DWORD GetModuleFileNameW(HMODULE, LPWSTR lpFilename, DWORD nSize) {
  platform::DeviceConfig config = platform::DeviceConfig::current();
  if (config.appDir.empty()) platform::resolveDefaultFolders(config);
  const std::u16string path = platform::toUtf16(config.appDir) + u"\\Pellucard.exe";
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= nSize) {
    std::memcpy(lpFilename, path.data(), (nSize - 1) * sizeof(WCHAR));
    lpFilename[nSize - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::memcpy(lpFilename, path.data(), path.size() * sizeof(WCHAR));
  lpFilename[path.size()] = 0;
  return static_cast<DWORD>(path.size());
}
