// What the window manager needs from the machine it runs on: a place to show the screen and a
// source of input. The SDL window and the headless script runner are the two hosts.
#pragma once

#include "platform/base/WinTypes.h"

namespace platform {

class Host {
 public:
  virtual ~Host() = default;
  // Shows the screen area that changed (screen coordinates of the gdi framebuffer).
  virtual void present(const RECT& dirty) = 0;
  // Called when the thread has nothing left to do: deliver input (through platform/win/Input.h)
  // or let time pass, waiting at most timeoutMs (-1: no timer is pending). Returns false when
  // no input will ever come again; the message loops then receive WM_QUIT.
  virtual bool waitForInput(int timeoutMs) = 0;
  // Reads input that is already there, without waiting.
  virtual void pollInput() = 0;
};

// nullptr clears the host. The host is not owned.
void setHost(Host* host);
Host* host();

}  // namespace platform
