// The narrow interface between the device and the machine it runs on: open the screen and the
// clock, present what changed, deliver input (the Host part), and have the last word on the
// exit code. Only backend/sdl includes SDL.
#pragma once

#include <string>

#include "platform/backend/DumpRequest.h"
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

  // Dumps asked for from outside are written whenever the device is idle (not owned; nullptr:
  // none are asked for).
  void setDumpRequest(DumpRequest* request) { dumpRequest_ = request; }

 protected:
  // Called when the device is idle: writes a dump that was asked for. Returns the longest the
  // host may then wait for input, so that the next request is not kept waiting.
  int serveDumpRequest(int timeoutMs);

 private:
  DumpRequest* dumpRequest_ = nullptr;
};

}  // namespace platform
