// Windows of other Pellucard processes, reached over Unix-domain sockets in the runtime
// folder: each process listens on "window-<pid>.sock" and answers, from its message loop
// (poll), requests to find a top-level window by class, to test a window, to post to it
// and to bring it to the foreground. Sockets of processes that died are skipped and removed.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "platform/base/RemoteWindowProvider.h"

namespace platform::sys {

class InstanceChannel : public RemoteWindowProvider {
 public:
  // What this process offers the others: its own windows only.
  struct LocalWindows {
    std::function<HWND(LPCWSTR className, LPCWSTR windowName)> find;
    std::function<BOOL(HWND)> isWindow;
    std::function<BOOL(HWND, UINT, WPARAM, LPARAM)> post;
    std::function<BOOL(HWND)> setForeground;
  };
  // The window layer installs its FindWindowW, IsWindow, PostMessageW and SetForegroundWindow
  // here when it starts; a channel made without its own windows serves these, as they stand
  // when a request arrives (the channel may open before the first window exists).
  static void installLocalWindows(LocalWindows local);

  // folder: where the sockets live; empty = the runtime folder.
  explicit InstanceChannel(LocalWindows local = {}, std::string folder = {});
  ~InstanceChannel() override;
  InstanceChannel(const InstanceChannel&) = delete;
  InstanceChannel& operator=(const InstanceChannel&) = delete;

  bool listening() const { return listenFd_ >= 0; }

  HWND findWindow(LPCWSTR className, LPCWSTR windowName) override;
  bool isRemote(HWND hwnd) const override;
  BOOL isWindow(HWND hwnd) override;
  BOOL postMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL setForegroundWindow(HWND hwnd) override;
  void poll() override;

  // The process-wide channel, registered as the window manager's remote provider.
  // Called by the first CreateMutexW; later calls return the running channel.
  static InstanceChannel& start(LocalWindows local = {});
  static void stop();

  // How long a request waits for the other process's message loop.
  static constexpr int kReplyTimeoutMs = 1500;

 private:
  struct Remote {
    pid_t pid;
    std::uint64_t window;
  };
  struct Request;
  void listen();
  void closeListener(bool unlinkSocket);
  void serve(int fd);
  // Sends a request to one process; false when it does not answer.
  bool ask(pid_t pid, const Request& request, std::uint64_t& result) const;
  const Remote* remoteOf(HWND hwnd) const;
  const LocalWindows& local() const;

  LocalWindows local_;
  std::string folder_;
  int listenFd_ = -1;
  pid_t pid_ = 0;  // the process that opened the socket (a forked child makes its own)
  std::string socketPath_;
  bool serving_ = false;
  std::map<UINT_PTR, Remote> remotes_;
  UINT_PTR nextRemote_ = 0;
};

}  // namespace platform::sys
