#include "platform/base/HostCalls.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

#include "platform/base/FaultInjection.h"

namespace platform {

namespace {

bool refused(FaultInjection::Operation operation, const char* path) {
  return FaultInjection::check(operation, path) == FaultInjection::Verdict::Fail;
}

}  // namespace

int HostCalls::open(const char* path, int flags, mode_t mode) {
  if (refused(FaultInjection::kOpen, path)) return -1;
  return ::open(path, flags, mode);
}

int HostCalls::makeTemp(std::string& pathTemplate, int flags) {
  if (refused(FaultInjection::kOpen, pathTemplate.c_str())) return -1;
  return ::mkostemp(pathTemplate.data(), flags);
}

bool HostCalls::writeAll(int fd, const void* data, std::size_t size, const char* path, std::size_t* written) {
  const auto* bytes = static_cast<const char*>(data);
  std::size_t done = 0;
  auto report = [&](bool ok) {
    if (written) *written = done;
    return ok;
  };
  const FaultInjection::Verdict verdict = FaultInjection::check(FaultInjection::kWrite, path);
  if (verdict == FaultInjection::Verdict::Fail) return report(false);
  // A torn write: what a crash in the middle of the call leaves behind.
  const std::size_t limit = verdict == FaultInjection::Verdict::KillMidWrite ? size / 2 : size;
  while (done < limit) {
    const ssize_t n = ::write(fd, bytes + done, limit - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return report(false);
    }
    done += static_cast<std::size_t>(n);
  }
  if (verdict == FaultInjection::Verdict::KillMidWrite) FaultInjection::killNow();
  return report(true);
}

int HostCalls::sync(int fd, const char* path) {
  if (refused(FaultInjection::kSync, path)) return -1;
  if (FaultInjection::syncsElided()) return 0;
  return ::fsync(fd);
}

void HostCalls::syncFolder(const std::string& folder) {
  if (refused(FaultInjection::kSync, folder.c_str()) || FaultInjection::syncsElided()) return;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

int HostCalls::truncate(int fd, off_t size, const char* path) {
  if (refused(FaultInjection::kTruncate, path)) return -1;
  return ::ftruncate(fd, size);
}

int HostCalls::rename(const char* from, const char* to) {
  if (refused(FaultInjection::kRename, to)) return -1;
  return ::rename(from, to);
}

int HostCalls::renameNoReplace(const char* from, const char* to) {
  if (refused(FaultInjection::kRename, to)) return -1;
  return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}

int HostCalls::link(const char* from, const char* to) {
  if (refused(FaultInjection::kRename, to)) return -1;
  return ::link(from, to);
}

int HostCalls::unlink(const char* path) {
  if (refused(FaultInjection::kRemove, path)) return -1;
  return ::unlink(path);
}

}  // namespace platform
