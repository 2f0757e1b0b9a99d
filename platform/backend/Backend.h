// The narrow interface between the device and the machine it runs on: open the screen and the
// clock, present what changed, deliver input (the Host part), and have the last word on the
// exit code. Only backend/sdl includes SDL.
#pragma once

#include <string>

#include "platform/base/DeviceConfig.h"
#include "platform/win/Host.h"

namespace platform {

class Backend : public Host {
 public:
  // Opens the screen at the configured size and sets up the clock. On failure returns false
  // with a reason.
  virtual bool open(const DeviceConfig& config, std::string& error) = 0;
  // Called once the program has returned; the value main returns.
  virtual int finish(int programExitCode) { return programExitCode; }
};

}  // namespace platform
