// The device without a window: the virtual clock, the screen in memory and a script as input.
#pragma once

#include "platform/backend/Backend.h"
#include "platform/backend/headless/ScriptRunner.h"

namespace platform {

class HeadlessBackend : public Backend {
 public:
  // Virtual clock start when no script sets it: 2025-01-15 10:00:00 UTC.
  static constexpr std::int64_t kStartUtcMs = 1736935200000;

  explicit HeadlessBackend(Edition edition) : runner_(edition) {}

  // Reads the script (none: the program runs until it first waits for input).
  bool loadScript(const std::string& path, std::string& error);
  bool open(const DeviceConfig& config, std::string& error) override;
  void present(const RECT&) override {}
  bool waitForInput(int timeoutMs) override {
    // Time here is the virtual clock's, so a request needs no shorter wait.
    serveDumpRequest(timeoutMs);
    return runner_.waitForInput(timeoutMs);
  }
  void pollInput() override {}
  // 2 when a script command failed, else the program's own code.
  int finish(int programExitCode) override;

 private:
  ScriptRunner runner_;
  std::string scriptPath_;
};

}  // namespace platform
