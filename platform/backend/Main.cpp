// The platform owns main, as the handheld's loader did: it reads the device options, opens the
// backend (a host window, or headless with a script) and runs the program's WinMain with the
// rest of the command line, returning its exit code.
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend/DumpRequest.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/base/WinMain.h"
#include "platform/win/Host.h"
#include "platform/win/WinUser.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  auto parsed = platform::parseDeviceOptions(args);
  if (!parsed.config) {
    std::fprintf(stderr, "pellucard: %s\n%s", parsed.error.c_str(), platform::deviceOptionsHelp().c_str());
    return 2;
  }
  platform::DeviceConfig& config = platform::DeviceConfig::current();
  config = *parsed.config;
  if (config.showHelp) {
    std::fputs(platform::deviceOptionsHelp().c_str(), stdout);
    return 0;
  }
  if (config.showVersion) {
    std::printf("%s\n", platform::pellucardVersion().c_str());
    return 0;
  }
  if (const auto problem = platform::deviceFoldersProblem(config)) {
    std::fprintf(stderr, "pellucard: %s\n", problem->c_str());
    return 2;
  }
  // Declared before the backend, which holds it, so that it outlives it.
  std::optional<platform::DumpRequest> dumpRequest;
  std::unique_ptr<platform::Backend> backend;
  std::string error;
  if (config.headless) {
    auto headless = std::make_unique<platform::HeadlessBackend>(config.edition);
    if (!config.scriptPath.empty() && !headless->loadScript(config.scriptPath, error)) {
      std::fprintf(stderr, "pellucard: %s\n", error.c_str());
      return 2;
    }
    backend = std::move(headless);
  } else {
    if (!config.scriptPath.empty()) {
      std::fprintf(stderr, "pellucard: --script needs --headless\n");
      return 2;
    }
    backend = std::make_unique<platform::SdlBackend>();
  }
  if (!config.dumpFile.empty()) {
    dumpRequest.emplace(config.dumpFile);
    backend->setDumpRequest(&*dumpRequest);
  }
  if (!backend->open(config, error)) {
    std::fprintf(stderr, "pellucard: %s\n", error.c_str());
    return 1;
  }
  platform::setHost(backend.get());
  std::u16string commandLine = platform::toUtf16(config.commandLine);
  // Any non-null value names the program itself; there is one module.
  const auto instance = reinterpret_cast<HINSTANCE>(static_cast<UINT_PTR>(0x00010000));
  const int rc = WinMain(instance, nullptr, commandLine.data(), SW_SHOW);
  const int exitCode = backend->finish(rc);
  platform::setHost(nullptr);
  return exitCode;
}
