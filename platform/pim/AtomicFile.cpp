#include "platform/pim/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace platform::pim {

namespace {

std::string directoryOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool writeOnce(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Small pieces are gathered into larger writes: one system call per item would cost more than
// the copy.
bool writeAll(int fd, const std::vector<std::string_view>& pieces) {
  constexpr std::size_t kChunk = 256 * 1024;
  std::string buffer;
  buffer.reserve(kChunk);
  for (std::string_view piece : pieces) {
    if (buffer.size() + piece.size() > kChunk) {
      if (!writeOnce(fd, buffer)) return false;
      buffer.clear();
    }
    if (piece.size() >= kChunk) {
      if (!writeOnce(fd, piece)) return false;
    } else {
      buffer.append(piece);
    }
  }
  return writeOnce(fd, buffer);
}

AtomicFile::WriteHook& writeHook() {
  static AtomicFile::WriteHook hook;
  return hook;
}

}  // namespace

void AtomicFile::setWriteHook(WriteHook hook) { writeHook() = std::move(hook); }

bool AtomicFile::write(const std::string& path, std::string_view bytes) {
  return write(path, std::vector<std::string_view>{bytes});
}

bool AtomicFile::write(const std::string& path, const std::vector<std::string_view>& pieces) {
  if (writeHook() && !writeHook()(path)) return false;
  std::string temp = path + ".XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) return false;
  // Keep the mode of the file being replaced; a new file is private to the user.
  struct stat st {};
  mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0600;
  bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, pieces) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(name.data(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(name.data());
    return false;
  }
  int dir = ::open(directoryOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool AtomicFile::read(const std::string& path, std::string& bytes) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY);
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
