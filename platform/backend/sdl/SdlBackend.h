// The device in a host window: the screen zoomed by the scale option, the host's mouse as the
// stylus and its keyboard as the handheld's keys. Ctrl+R rotates the screen; closing the host
// window asks the program's foreground window to close (WM_CLOSE).
#pragma once

#include <memory>

#include "platform/backend/Backend.h"

namespace platform {

class SdlBackend : public Backend {
 public:
  SdlBackend();
  ~SdlBackend() override;

  bool open(const DeviceConfig& config, std::string& error) override;
  void present(const RECT& dirty) override;
  bool waitForInput(int timeoutMs) override;
  void pollInput() override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
