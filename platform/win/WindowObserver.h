// Code outside the window manager that follows what the user sees in front, such as the shell's
// title bar or the host window: it hears when the active window changes and when a top-level
// window's text changes, after the fact.
#pragma once

#include "platform/base/WinTypes.h"

namespace platform {

class WindowObserver {
 public:
  virtual ~WindowObserver() = default;
  // active is nullptr when no window is active any more.
  virtual void activeWindowChanged(HWND /*previous*/, HWND /*active*/) {}
  virtual void topLevelTextChanged(HWND /*hwnd*/) {}
  // SetForegroundWindow succeeded on this top-level window, even if it was active already
  // (another instance asks for the program to come to the front).
  virtual void broughtToForeground(HWND /*top*/) {}
};

// Observers are not owned; adding one twice is refused. An observer may remove itself (or
// another) while it is told.
bool addWindowObserver(WindowObserver* observer);
bool removeWindowObserver(WindowObserver* observer);

// Called by the window manager.
void notifyActiveWindowChanged(HWND previous, HWND active);
void notifyTopLevelTextChanged(HWND hwnd);
void notifyBroughtToForeground(HWND top);

}  // namespace platform
