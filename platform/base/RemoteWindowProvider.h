// Windows of another Pellucard process, reached over the single-instance channel.
// The system services register the provider; the window manager asks it when a
// handle or a class name is not one of its own, and polls it from the message loop.
#pragma once

#include "platform/base/WinTypes.h"

namespace platform {

class RemoteWindowProvider {
 public:
  virtual ~RemoteWindowProvider() = default;
  // A handle standing for another process's top-level window, or nullptr.
  virtual HWND findWindow(LPCWSTR className, LPCWSTR windowName) = 0;
  virtual bool isRemote(HWND hwnd) const = 0;
  virtual BOOL isWindow(HWND hwnd) = 0;
  virtual BOOL postMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  virtual BOOL setForegroundWindow(HWND hwnd) = 0;
  // Serves requests that other processes sent to this one; called by the message loop.
  virtual void poll() = 0;
};

// nullptr clears the provider. The provider is not owned.
void setRemoteWindowProvider(RemoteWindowProvider* provider);
RemoteWindowProvider* remoteWindowProvider();

}  // namespace platform
