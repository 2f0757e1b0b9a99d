#include "platform/pim/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/base/HostCalls.h"

namespace platform::pim {

namespace {

std::string directoryOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool writeOnce(int fd, std::string_view bytes, const std::string& path) {
  return platform::HostCalls::writeAll(fd, bytes.data(), bytes.size(), path.c_str());
}

// Small pieces are gathered into larger writes: one system call per item would cost more than
// the copy.
bool writeAll(int fd, const std::vector<std::string_view>& pieces, const std::string& path) {
  constexpr std::size_t kChunk = 256 * 1024;
  std::string buffer;
  buffer.reserve(kChunk);
  for (std::string_view piece : pieces) {
    if (buffer.size() + piece.size() > kChunk) {
      if (!writeOnce(fd, buffer, path)) return false;
      buffer.clear();
    }
    if (piece.size() >= kChunk) {
      if (!writeOnce(fd, piece, path)) return false;
    } else {
      buffer.append(piece);
    }
  }
  return writeOnce(fd, buffer, path);
}

}  // namespace

bool AtomicFile::write(const std::string& path, std::string_view bytes) {
  return write(path, std::vector<std::string_view>{bytes});
}

bool AtomicFile::write(const std::string& path, const std::vector<std::string_view>& pieces) {
  using platform::HostCalls;
  std::string temp = path + ".XXXXXX";
  const int fd = HostCalls::makeTemp(temp, O_CLOEXEC);
  if (fd < 0) return false;
  // Keep the mode of the file being replaced; a new file is private to the user.
  struct stat st {};
  const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0600;
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, pieces, temp) && HostCalls::sync(fd, temp.c_str()) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = HostCalls::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    HostCalls::unlink(temp.c_str());
    return false;
  }
  HostCalls::syncFolder(directoryOf(path));
  return true;
}

bool AtomicFile::read(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = platform::HostCalls::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ok = false;
      break;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ok;
}

}  // namespace platform::pim
