// The host window shows exactly the device's pixels, zoomed; without a display the test uses
// SDL's offscreen video driver.
#include <gtest/gtest.h>

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

TEST(SdlWindow, ShowsTheSamePixelsAsTheHeadlessScreen) {
  if (!std::getenv("DISPLAY")) setenv("SDL_VIDEODRIVER", "offscreen", 1);
  platform::WindowManager::instance().reset();
  platform::DeviceConfig config;
  config.scale = 2;
  platform::DeviceConfig::current() = config;
  platform::SdlBackend backend;
  std::string error;
  if (!backend.open(config, error)) GTEST_SKIP() << error;
  platform::setHost(&backend);
  platform::demo::DemoFrame frame;
  ASSERT_NE(frame.createFrame(SW_SHOW), nullptr);
  runUntilIdle();
  backend.present(platform::gdi::takeDirtyRect());

  std::vector<std::uint32_t> shown;
  int width = 0, height = 0;
  ASSERT_TRUE(backend.readWindowPixels(shown, width, height));
  ASSERT_EQ(width, 480);
  ASSERT_EQ(height, 640);
  const std::uint16_t* device = platform::gdi::screenPixels();
  int mismatches = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const std::uint32_t p = shown[static_cast<size_t>(y) * width + x];
      const std::uint16_t as565 = static_cast<std::uint16_t>((((p >> 16) & 0xFF) >> 3) << 11 |
                                                             (((p >> 8) & 0xFF) >> 2) << 5 | ((p & 0xFF) >> 3));
      if (as565 != device[(y / 2) * 240 + x / 2]) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
  if (const char* snapshot = std::getenv("PELLUCARD_SDL_SNAPSHOT")) {
    std::vector<std::uint16_t> back(shown.size());
    for (size_t i = 0; i < shown.size(); ++i) {
      const std::uint32_t p = shown[i];
      back[i] = static_cast<std::uint16_t>((((p >> 16) & 0xFF) >> 3) << 11 | (((p >> 8) & 0xFF) >> 2) << 5 |
                                           ((p & 0xFF) >> 3));
    }
    platform::gdi::writePng(snapshot, back.data(), width, height, width);
  }
  frame.destroyWindow();
  platform::setHost(nullptr);
  platform::WindowManager::instance().reset();
}
