#include "platform/sys/NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/sys/HostError.h"
#include "platform/sys/RuntimeFolder.h"
#include "platform/sys/WinBase.h"

namespace platform::sys {

namespace {

std::mutex& registryMutex() {
  static std::mutex m;
  return m;
}

// Locks this process holds, by name, while any handle to them is open.
std::map<std::u16string, std::weak_ptr<NamedMutex::Lock>>& heldLocks() {
  static std::map<std::u16string, std::weak_ptr<NamedMutex::Lock>> locks;
  return locks;
}

// A file name for any mutex name: letters, digits, '.', '-' and '_' stay; the rest is hex.
std::string fileNameFor(const std::u16string& name) {
  std::string out = "mutex-";
  for (char16_t c : name) {
    if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' ||
        c == u'_') {
      out += static_cast<char>(c);
    } else {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "%%%04X", static_cast<unsigned>(c));
      out += buffer;
    }
  }
  return out + ".lock";
}

}  // namespace

NamedMutex::Lock::~Lock() {
  if (fd_ >= 0) ::close(fd_);  // closing drops the flock
}

bool NamedMutex::release() {
  if (ownerCount_ == 0) return false;
  --ownerCount_;
  return true;
}

std::unique_ptr<NamedMutex> NamedMutex::open(const std::u16string& name, bool initialOwner, bool& alreadyExisted) {
  alreadyExisted = false;
  if (name.empty()) return std::make_unique<NamedMutex>(nullptr, initialOwner);
  if (name.size() >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
  }
  std::lock_guard guard(registryMutex());
  auto& held = heldLocks();
  auto it = held.find(name);
  if (it != held.end()) {
    if (auto lock = it->second.lock()) {
      alreadyExisted = true;
      return std::make_unique<NamedMutex>(lock, false);
    }
    held.erase(it);
  }
  const auto folder = runtimeFolder();
  if (!folder) {
    failWithErrno();
    return nullptr;
  }
  const std::string path = *folder + "/" + fileNameFor(name);
  const int fd = ::open(path.c_str(), O_CREAT | O_RDWR | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    failWithErrno(path);
    return nullptr;
  }
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) {
      // Another process holds it: the handle names that process's mutex.
      alreadyExisted = true;
      return std::make_unique<NamedMutex>(nullptr, false);
    }
    errno = error;
    failWithErrno(path);
    return nullptr;
  }
  auto lock = std::make_shared<Lock>(fd);
  held[name] = lock;
  return std::make_unique<NamedMutex>(lock, initialOwner);
}

}  // namespace platform::sys
