// The device in a host window: the screen zoomed by the scale option, the host's mouse as the
// stylus and its keyboard as the handheld's keys. Ctrl+R rotates the screen; closing the host
// window asks the program's foreground window to close (WM_CLOSE).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

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

  // What the host window shows, read back as 0xAARRGGBB pixels of the zoomed window (for
  // checking that the window shows exactly the device's pixels).
  bool readWindowPixels(std::vector<std::uint32_t>& pixels, int& width, int& height);
  // True from the moment the program was sent to the background (the host window minimised)
  // until the host window is restored or focused again.
  bool inBackground() const;

 private:
  // The shell's background handler carries no context; there is one host window per process.
  static void minimiseShownWindow();
  static SdlBackend* shown_;

  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
