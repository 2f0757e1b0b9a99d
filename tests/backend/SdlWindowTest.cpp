// The host window shows exactly the device's pixels, zoomed; without a display the test uses
// SDL's offscreen video driver.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "platform/backend/demo/DemoFrame.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/win/DeviceConfig.h"
#include "platform/win/WindowManager.h"

namespace {

void runUntilIdle() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace

// The host libraries keep allocations past SDL_Quit that the leak checker would report, so the
// window lives in a child process that hands back the number of mismatching pixels.
int countMismatchesInHostWindow() {
  platform::WindowManager::instance().reset();
  platform::DeviceConfig config;
  config.scale = 2;
  platform::DeviceConfig::current() = config;
  platform::SdlBackend backend;
  std::string error;
  if (!backend.open(config, error)) return -2;
  platform::setHost(&backend);
  platform::demo::DemoFrame frame;
  if (!frame.createFrame(SW_SHOW)) return -3;
  runUntilIdle();
  backend.present(platform::gdi::takeDirtyRect());
  std::vector<std::uint32_t> shown;
  int width = 0, height = 0;
  if (!backend.readWindowPixels(shown, width, height) || width != 480 || height != 640) return -4;
  const std::uint16_t* device = platform::gdi::screenPixels();
  std::vector<std::uint16_t> back(shown.size());
  int mismatches = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = shown[static_cast<size_t>(y) * width + x];
      const auto as565 = static_cast<std::uint16_t>((((p >> 16) & 0xFF) >> 3) << 11 | (((p >> 8) & 0xFF) >> 2) << 5 |
                                                    ((p & 0xFF) >> 3));
      back[static_cast<size_t>(y) * width + x] = as565;
      if (as565 != device[(y / 2) * 240 + x / 2]) ++mismatches;
    }
  }
  if (const char* snapshot = std::getenv("PELLUCARD_SDL_SNAPSHOT")) {
    platform::gdi::writePng(snapshot, back.data(), width, height, width);
  }
  frame.destroyWindow();
  platform::setHost(nullptr);
  return std::min(mismatches, 250);
}

TEST(SdlWindow, ShowsTheSamePixelsAsTheHeadlessScreen) {
  if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    const int result = countMismatchesInHostWindow();
    _exit(result < 0 ? 250 + (-result) : result);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  const int code = WEXITSTATUS(status);
  if (code == 252) GTEST_SKIP() << "no host window could be opened";
  EXPECT_EQ(code, 0) << "mismatching pixels (or failure code above 250)";
}
