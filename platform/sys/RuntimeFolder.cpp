#include "platform/sys/RuntimeFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform::sys {

namespace {
bool ensurePrivateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  // Someone else's folder (a planted one under /tmp, say) must not take our locks.
  if (st.st_uid != ::getuid() || (st.st_mode & 077) != 0) {
    errno = EACCES;
    return false;
  }
  return true;
}
}  // namespace

std::optional<std::string> runtimeFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::string folder;
  if (runtime && *runtime == '/') {
    folder = std::string(runtime) + "/pellucard";
  } else {
    folder = "/tmp/pellucard-" + std::to_string(::getuid());
  }
  if (!ensurePrivateFolder(folder)) {
    // The locks that keep a second instance away live here; without them the program cannot
    // start, so say why on the terminal, where a desktop session's log keeps it too.
    std::fprintf(stderr,
                 "pellucard: the runtime folder %s cannot be used (%s); it must be a folder of yours that only "
                 "you can read (set XDG_RUNTIME_DIR to one)\n",
                 folder.c_str(), std::strerror(errno));
    return std::nullopt;
  }
  return folder;
}

}  // namespace platform::sys
