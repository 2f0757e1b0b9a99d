#include "platform/sys/InstanceChannel.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/base/WinError.h"
#include "platform/sys/RuntimeFolder.h"

namespace platform::sys {

namespace {

constexpr std::uint32_t kMagic = 0x504C4344;
constexpr std::uint32_t kMaxText = 1024;
constexpr UINT_PTR kRemoteBase = 0x7E000000;

enum Operation : std::uint32_t { kFind = 1, kIsWindow = 2, kPost = 3, kForeground = 4 };

#pragma pack(push, 1)
struct WireHeader {
  std::uint32_t magic;
  std::uint32_t op;
  std::uint64_t window;
  std::uint32_t message;
  std::uint32_t flags;  // 1: class name given, 2: window name given
  std::uint64_t wParam;
  std::int64_t lParam;
  std::uint32_t classLength;
  std::uint32_t nameLength;
};
struct WireReply {
  std::uint32_t magic;
  std::uint64_t result;
};
#pragma pack(pop)

using Clock = std::chrono::steady_clock;

// Waits for the socket to become ready; false on timeout or error.
bool waitFor(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int n = ::poll(&p, 1, static_cast<int>(left));
    if (n > 0) return (p.revents & (events | POLLHUP)) != 0;
    if (n < 0 && errno != EINTR) return false;
  }
}

bool sendAll(int fd, const void* data, std::size_t size, Clock::time_point deadline) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = ::send(fd, p, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0) {
      p += n;
      size -= static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (!waitFor(fd, POLLOUT, deadline)) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool receiveAll(int fd, void* data, std::size_t size, Clock::time_point deadline) {
  char* p = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::recv(fd, p, size, MSG_DONTWAIT);
    if (n > 0) {
      p += n;
      size -= static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
      if (!waitFor(fd, POLLIN, deadline)) return false;
    } else {
      return false;
    }
  }
  return true;
}

bool socketAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

std::string socketName(pid_t pid) { return "window-" + std::to_string(pid) + ".sock"; }

std::unique_ptr<InstanceChannel>& processChannel() {
  static std::unique_ptr<InstanceChannel> channel;
  return channel;
}

}  // namespace

struct InstanceChannel::Request {
  WireHeader header{};
  std::u16string className;
  std::u16string windowName;
};

namespace {

InstanceChannel::LocalWindows& installedLocalWindows() {
  static InstanceChannel::LocalWindows local;
  return local;
}

}  // namespace

void InstanceChannel::installLocalWindows(LocalWindows local) { installedLocalWindows() = std::move(local); }

const InstanceChannel::LocalWindows& InstanceChannel::local() const {
  return local_.find ? local_ : installedLocalWindows();
}

InstanceChannel::InstanceChannel(LocalWindows local, std::string folder)
    : local_(std::move(local)), folder_(std::move(folder)) {
  if (folder_.empty()) folder_ = runtimeFolder().value_or("");
  listen();
}

InstanceChannel::~InstanceChannel() { closeListener(true); }

void InstanceChannel::listen() {
  pid_ = ::getpid();
  if (folder_.empty()) return;
  socketPath_ = folder_ + "/" + socketName(pid_);
  sockaddr_un address{};
  if (!socketAddress(socketPath_, address)) return;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return;
  // A socket of this number can only be left by a dead process that had the same id.
  ::unlink(socketPath_.c_str());
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0) {
    ::close(fd);
    return;
  }
  listenFd_ = fd;
}

void InstanceChannel::closeListener(bool unlinkSocket) {
  if (listenFd_ >= 0) ::close(listenFd_);
  listenFd_ = -1;
  if (unlinkSocket && pid_ == ::getpid() && !socketPath_.empty()) ::unlink(socketPath_.c_str());
}

const InstanceChannel::Remote* InstanceChannel::remoteOf(HWND hwnd) const {
  const UINT_PTR value = reinterpret_cast<UINT_PTR>(hwnd) & ~static_cast<UINT_PTR>(1);
  auto it = remotes_.find(value);
  return it == remotes_.end() ? nullptr : &it->second;
}

bool InstanceChannel::isRemote(HWND hwnd) const { return remoteOf(hwnd) != nullptr; }

bool InstanceChannel::ask(pid_t pid, const Request& request, std::uint64_t& result) const {
  const std::string path = folder_ + "/" + socketName(pid);
  sockaddr_un address{};
  if (!socketAddress(path, address)) return false;
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    const int error = errno;
    ::close(fd);
    // Nobody listens: the process died. Its socket goes, so it is not asked again.
    if ((error == ECONNREFUSED || error == ENOENT) && ::kill(pid, 0) != 0 && errno == ESRCH) ::unlink(path.c_str());
    return false;
  }
  const auto deadline = Clock::now() + std::chrono::milliseconds(kReplyTimeoutMs);
  std::vector<char> message(sizeof(WireHeader));
  std::memcpy(message.data(), &request.header, sizeof(WireHeader));
  for (const std::u16string* text : {&request.className, &request.windowName}) {
    const char* bytes = reinterpret_cast<const char*>(text->data());
    message.insert(message.end(), bytes, bytes + text->size() * sizeof(char16_t));
  }
  WireReply reply{};
  const bool ok = sendAll(fd, message.data(), message.size(), deadline) &&
                  receiveAll(fd, &reply, sizeof reply, deadline) && reply.magic == kMagic;
  ::close(fd);
  if (ok) result = reply.result;
  return ok;
}

HWND InstanceChannel::findWindow(LPCWSTR className, LPCWSTR windowName) {
  // While serving another process only this process's own windows count.
  if (serving_ || folder_.empty()) return nullptr;
  if (pid_ != ::getpid()) {
    closeListener(false);
    listen();
  }
  Request request;
  request.header.magic = kMagic;
  request.header.op = kFind;
  if (className) {
    // A class given as an atom cannot be named to another process.
    if (IS_INTRESOURCE(className)) return nullptr;
    request.className = className;
    request.header.flags |= 1;
  }
  if (windowName) {
    request.windowName = windowName;
    request.header.flags |= 2;
  }
  if (request.className.size() > kMaxText || request.windowName.size() > kMaxText) return nullptr;
  request.header.classLength = static_cast<std::uint32_t>(request.className.size());
  request.header.nameLength = static_cast<std::uint32_t>(request.windowName.size());

  std::vector<pid_t> pids;
  if (DIR* dir = ::opendir(folder_.c_str())) {
    while (dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name.rfind("window-", 0) != 0 || name.size() < 13 || name.compare(name.size() - 5, 5, ".sock") != 0) continue;
      const std::string number = name.substr(7, name.size() - 12);
      if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos || number.size() > 9) continue;
      const pid_t pid = static_cast<pid_t>(std::stol(number));
      if (pid != ::getpid()) pids.push_back(pid);
    }
    ::closedir(dir);
  }
  std::sort(pids.begin(), pids.end());
  for (pid_t pid : pids) {
    std::uint64_t window = 0;
    if (!ask(pid, request, window) || window == 0) continue;
    for (const auto& [handle, remote] : remotes_)
      if (remote.pid == pid && remote.window == window) return reinterpret_cast<HWND>(handle);
    nextRemote_ += 4;
    const UINT_PTR handle = kRemoteBase + nextRemote_;
    remotes_[handle] = Remote{pid, window};
    return reinterpret_cast<HWND>(handle);
  }
  return nullptr;
}

BOOL InstanceChannel::isWindow(HWND hwnd) {
  const Remote* remote = remoteOf(hwnd);
  if (!remote) return FALSE;
  Request request;
  request.header.magic = kMagic;
  request.header.op = kIsWindow;
  request.header.window = remote->window;
  std::uint64_t result = 0;
  return ask(remote->pid, request, result) && result ? TRUE : FALSE;
}

BOOL InstanceChannel::postMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const Remote* remote = remoteOf(hwnd);
  if (!remote) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Request request;
  request.header.magic = kMagic;
  request.header.op = kPost;
  request.header.window = remote->window;
  request.header.message = message;
  request.header.wParam = wParam;
  request.header.lParam = lParam;
  std::uint64_t result = 0;
  if (!ask(remote->pid, request, result) || !result) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

BOOL InstanceChannel::setForegroundWindow(HWND hwnd) {
  const Remote* remote = remoteOf(hwnd);
  if (!remote) return FALSE;
  Request request;
  request.header.magic = kMagic;
  request.header.op = kForeground;
  request.header.window = remote->window;
  std::uint64_t result = 0;
  return ask(remote->pid, request, result) && result ? TRUE : FALSE;
}

void InstanceChannel::poll() {
  if (pid_ != ::getpid()) {
    // A forked child must not answer on its parent's socket.
    closeListener(false);
    listen();
  }
  if (listenFd_ < 0 || serving_) return;
  for (;;) {
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      if (errno == EINTR) continue;
      break;
    }
    serve(fd);
    ::close(fd);
  }
}

void InstanceChannel::serve(int fd) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(500);
  Request request;
  WireHeader& h = request.header;
  if (!receiveAll(fd, &h, sizeof h, deadline) || h.magic != kMagic) return;
  if (h.classLength > kMaxText || h.nameLength > kMaxText) return;
  request.className.resize(h.classLength);
  request.windowName.resize(h.nameLength);
  if (!receiveAll(fd, request.className.data(), h.classLength * sizeof(char16_t), deadline) ||
      !receiveAll(fd, request.windowName.data(), h.nameLength * sizeof(char16_t), deadline))
    return;
  // A client that gave up waiting must not have its request carried out late.
  pollfd p{fd, POLLRDHUP, 0};
  if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP | POLLERR))) return;
  const HWND window = reinterpret_cast<HWND>(static_cast<UINT_PTR>(h.window));
  std::uint64_t result = 0;
  serving_ = true;
  switch (h.op) {
    case kFind:
      if (local().find) {
        const HWND found = local().find((h.flags & 1) ? request.className.c_str() : nullptr,
                                        (h.flags & 2) ? request.windowName.c_str() : nullptr);
        result = reinterpret_cast<UINT_PTR>(found);
      }
      break;
    case kIsWindow:
      result = local().isWindow && window && local().isWindow(window) ? 1 : 0;
      break;
    case kPost:
      result = local().post && window &&
                       local().post(window, h.message, static_cast<WPARAM>(h.wParam), static_cast<LPARAM>(h.lParam))
                   ? 1
                   : 0;
      break;
    case kForeground:
      result = local().setForeground && window && local().setForeground(window) ? 1 : 0;
      break;
    default:
      break;
  }
  serving_ = false;
  const WireReply reply{kMagic, result};
  sendAll(fd, &reply, sizeof reply, deadline);
}

InstanceChannel& InstanceChannel::start(LocalWindows local) {
  auto& channel = processChannel();
  if (!channel) {
    channel = std::make_unique<InstanceChannel>(std::move(local));
    setRemoteWindowProvider(channel.get());
  }
  return *channel;
}

void InstanceChannel::stop() {
  auto& channel = processChannel();
  if (!channel) return;
  if (remoteWindowProvider() == channel.get()) setRemoteWindowProvider(nullptr);
  channel.reset();
}

}  // namespace platform::sys
