#include "platform/backend/headless/HeadlessBackend.h"

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/base/Clock.h"
#include "platform/win/Screen.h"

namespace platform {

bool HeadlessBackend::loadScript(const std::string& path, std::string& error) {
  scriptPath_ = path;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot read the script";
    return false;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::string reason;
  if (!runner_.load(text.str(), reason)) {
    error = path + ":" + reason;
    return false;
  }
  return true;
}

bool HeadlessBackend::open(const DeviceConfig& config, std::string&) {
  Clock::instance().useVirtual(kStartUtcMs);
  openScreen(config.screenWidth, config.screenHeight);
  return true;
}

int HeadlessBackend::finish(int programExitCode) {
  if (runner_.failed()) {
    std::fprintf(stderr, "pellucard: %s:%s\n", scriptPath_.c_str(), runner_.failure().c_str());
    return 2;
  }
  if (runner_.remaining() > 0) {
    std::fprintf(stderr, "pellucard: the program ended with %zu script command(s) not run\n", runner_.remaining());
  }
  return programExitCode;
}

}  // namespace platform
