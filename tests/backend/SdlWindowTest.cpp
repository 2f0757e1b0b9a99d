// The host window shows exactly the device's pixels, zoomed; without a display the test uses
// SDL's offscreen video driver.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include <SDL.h>

#include "platform/backend/demo/DemoFrame.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "platform/base/DeviceConfig.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/shell/AygShell.h"
#include "platform/win/WindowManager.h"

namespace {

// Returns whether WM_QUIT came by.
bool runUntilIdle() {
  MSG msg;
  bool quit = false;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) quit = true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return quit;
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
  if (mismatches) return std::min(mismatches, 200);

  // Ctrl+R rotates: the screen and the host window swap their sides and the frame hears of it.
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.sym = SDLK_r;
  key.key.keysym.mod = KMOD_LCTRL;
  SDL_PushEvent(&key);
  backend.waitForInput(0);
  runUntilIdle();
  if (GetSystemMetrics(SM_CXSCREEN) != 320) return 210;
  RECT r;
  GetWindowRect(frame.hwnd(), &r);
  if (r.right != 320 || r.bottom != 240) return 211;
  if (!backend.readWindowPixels(shown, width, height) || width != 640 || height != 480) return 212;

  // Shell back navigation with no earlier program to return to minimises the host window.
  if (backend.inBackground()) return 213;
  SHNavigateBack();
  if (!backend.inBackground()) return 214;
  // Another start brings the program to the front: the host window comes back.
  if (!SetForegroundWindow(frame.hwnd()) || backend.inBackground()) return 215;

  // Closing the host window asks the foreground window to close; the demo then quits.
  SDL_Event close{};
  close.type = SDL_QUIT;
  SDL_PushEvent(&close);
  backend.waitForInput(0);
  const bool quit = runUntilIdle();
  if (IsWindow(frame.hwnd())) return 220;
  if (!quit) return 221;
  platform::setHost(nullptr);
  return 0;
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
  // 1..200: mismatching pixels; 210..221: rotation, going to the background or closing went wrong.
  EXPECT_EQ(code, 0);
}
