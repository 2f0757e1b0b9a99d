#include "platform/cedb/VolumeVfs.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstddef>
#include <string>

#include "platform/base/FaultInjection.h"
#include "platform/base/HostCalls.h"

namespace platform::cedb {

namespace {

constexpr const char* kName = "pellucard-host";

// Our file object, with the host layer's own file object right behind it.
struct ShimFile {
  sqlite3_file base;
  const char* path;  // SQLite keeps the name it opened with valid until the file is closed
  sqlite3_file* real;
};

sqlite3_vfs* host() {
  static sqlite3_vfs* vfs = sqlite3_vfs_find(nullptr);
  return vfs;
}

ShimFile* shim(sqlite3_file* file) { return reinterpret_cast<ShimFile*>(file); }
sqlite3_file* real(sqlite3_file* file) { return shim(file)->real; }

FaultInjection::Verdict ask(FaultInjection::Operation operation, const char* path) {
  return FaultInjection::check(operation, path);
}

int shimClose(sqlite3_file* file) {
  sqlite3_file* r = real(file);
  const int rc = r->pMethods ? r->pMethods->xClose(r) : SQLITE_OK;
  file->pMethods = nullptr;
  return rc;
}

int shimRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
  return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}

int shimWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
  switch (ask(FaultInjection::kWrite, shim(file)->path)) {
    case FaultInjection::Verdict::Fail:
      return errno == ENOSPC ? SQLITE_FULL : SQLITE_IOERR_WRITE;
    case FaultInjection::Verdict::KillMidWrite:
      real(file)->pMethods->xWrite(real(file), buffer, amount / 2, offset);
      FaultInjection::killNow();
    case FaultInjection::Verdict::Proceed:
      break;
  }
  return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}

int shimTruncate(sqlite3_file* file, sqlite3_int64 size) {
  if (ask(FaultInjection::kTruncate, shim(file)->path) == FaultInjection::Verdict::Fail) return SQLITE_IOERR_TRUNCATE;
  return real(file)->pMethods->xTruncate(real(file), size);
}

int shimSync(sqlite3_file* file, int flags) {
  if (ask(FaultInjection::kSync, shim(file)->path) == FaultInjection::Verdict::Fail) return SQLITE_IOERR_FSYNC;
  if (FaultInjection::syncsElided()) return SQLITE_OK;
  return real(file)->pMethods->xSync(real(file), flags);
}

int shimFileSize(sqlite3_file* file, sqlite3_int64* size) { return real(file)->pMethods->xFileSize(real(file), size); }

int shimLock(sqlite3_file* file, int level) { return real(file)->pMethods->xLock(real(file), level); }
int shimUnlock(sqlite3_file* file, int level) { return real(file)->pMethods->xUnlock(real(file), level); }
int shimCheckReservedLock(sqlite3_file* file, int* out) {
  return real(file)->pMethods->xCheckReservedLock(real(file), out);
}
int shimFileControl(sqlite3_file* file, int op, void* arg) {
  return real(file)->pMethods->xFileControl(real(file), op, arg);
}
int shimSectorSize(sqlite3_file* file) { return real(file)->pMethods->xSectorSize(real(file)); }
int shimDeviceCharacteristics(sqlite3_file* file) { return real(file)->pMethods->xDeviceCharacteristics(real(file)); }

// Version 1: volumes use a rollback journal, never shared memory or memory mapping.
const sqlite3_io_methods kMethods = {
    .iVersion = 1,
    .xClose = shimClose,
    .xRead = shimRead,
    .xWrite = shimWrite,
    .xTruncate = shimTruncate,
    .xSync = shimSync,
    .xFileSize = shimFileSize,
    .xLock = shimLock,
    .xUnlock = shimUnlock,
    .xCheckReservedLock = shimCheckReservedLock,
    .xFileControl = shimFileControl,
    .xSectorSize = shimSectorSize,
    .xDeviceCharacteristics = shimDeviceCharacteristics,
    .xShmMap = nullptr,
    .xShmLock = nullptr,
    .xShmBarrier = nullptr,
    .xShmUnmap = nullptr,
    .xFetch = nullptr,
    .xUnfetch = nullptr,
};

int vfsOpen(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
  ShimFile* s = shim(file);
  s->path = name;
  s->real = reinterpret_cast<sqlite3_file*>(s + 1);
  s->real->pMethods = nullptr;
  file->pMethods = nullptr;
  if (ask(FaultInjection::kOpen, name) == FaultInjection::Verdict::Fail)
    return errno == EACCES ? SQLITE_PERM : SQLITE_CANTOPEN;
  const int rc = host()->xOpen(host(), name, s->real, flags, outFlags);
  // SQLite closes what xOpen leaves methods on, also after a failure.
  if (s->real->pMethods) file->pMethods = &kMethods;
  return rc;
}

int vfsDelete(sqlite3_vfs*, const char* name, int syncFolder) {
  if (ask(FaultInjection::kRemove, name) == FaultInjection::Verdict::Fail) return SQLITE_IOERR_DELETE;
  const int rc = host()->xDelete(host(), name, 0);
  if (rc == SQLITE_OK && syncFolder) {
    const std::string path(name);
    const std::size_t slash = path.find_last_of('/');
    HostCalls::syncFolder(slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash));
  }
  return rc;
}

int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* out) { return host()->xAccess(host(), name, flags, out); }
int vfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
  return host()->xFullPathname(host(), name, size, out);
}
void* vfsDlOpen(sqlite3_vfs*, const char* name) { return host()->xDlOpen(host(), name); }
void vfsDlError(sqlite3_vfs*, int size, char* out) { host()->xDlError(host(), size, out); }
void (*vfsDlSym(sqlite3_vfs*, void* handle, const char* symbol))(void) {
  return host()->xDlSym(host(), handle, symbol);
}
void vfsDlClose(sqlite3_vfs*, void* handle) { host()->xDlClose(host(), handle); }
int vfsRandomness(sqlite3_vfs*, int size, char* out) { return host()->xRandomness(host(), size, out); }
int vfsSleep(sqlite3_vfs*, int microseconds) { return host()->xSleep(host(), microseconds); }
int vfsCurrentTime(sqlite3_vfs*, double* out) { return host()->xCurrentTime(host(), out); }
int vfsGetLastError(sqlite3_vfs*, int size, char* out) { return host()->xGetLastError(host(), size, out); }
int vfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) { return host()->xCurrentTimeInt64(host(), out); }

sqlite3_vfs* registered() {
  static sqlite3_vfs* vfs = [] {
    sqlite3_initialize();
    auto* v = new sqlite3_vfs{};
    v->iVersion = 2;
    v->szOsFile = static_cast<int>(sizeof(ShimFile)) + host()->szOsFile;
    v->mxPathname = host()->mxPathname;
    v->zName = kName;
    v->xOpen = vfsOpen;
    v->xDelete = vfsDelete;
    v->xAccess = vfsAccess;
    v->xFullPathname = vfsFullPathname;
    v->xDlOpen = vfsDlOpen;
    v->xDlError = vfsDlError;
    v->xDlSym = vfsDlSym;
    v->xDlClose = vfsDlClose;
    v->xRandomness = vfsRandomness;
    v->xSleep = vfsSleep;
    v->xCurrentTime = vfsCurrentTime;
    v->xGetLastError = vfsGetLastError;
    v->xCurrentTimeInt64 = vfsCurrentTimeInt64;
    sqlite3_vfs_register(v, 0);
    return v;
  }();
  return vfs;
}

}  // namespace

const char* VolumeVfs::name() { return registered()->zName; }

}  // namespace platform::cedb
