// The device executable running with its SDL window on an X display, as a user starts it, with
// the X tools as its user's hands: keys and clicks through xdotool (real input events), the
// clipboard through xclip, and its window dump and screen asked for with SIGUSR1.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pellucard::testing {

// The device's screen, read back from the PNG it wrote (0xRRGGBB).
struct DeviceScreen {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

// Where the device window lies on the X display.
struct HostGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class RunningDevice {
 public:
  // Starts `exe` with `options` and --dump-file in `folder`, on `display`, and waits for its
  // window. running() says whether it came.
  RunningDevice(const std::string& exe, const std::vector<std::string>& options, const std::string& display,
                const std::filesystem::path& folder);
  ~RunningDevice();
  RunningDevice(const RunningDevice&) = delete;
  RunningDevice& operator=(const RunningDevice&) = delete;

  bool running() const { return !window_.empty(); }
  // What went wrong, with the program's own output.
  std::string problem() const;

  // Waits until the dump satisfies `wanted` (asking for a new one each time) and returns it;
  // after a generous timeout the test fails, naming `what`, and the last dump is returned.
  std::string waitForDump(const std::function<bool(const std::string&)>& wanted, const std::string& what);
  // The screen as the last dump wrote it.
  DeviceScreen lastScreen() const;

  // xdotool: keys ("F1", "ctrl+r"), text, and a click at a device pixel through the window's zoom.
  void key(const std::string& keys);
  void type(const std::string& text);
  void click(int deviceX, int deviceY);
  HostGeometry geometry() const;
  // A property of the window as xprop prints it ("_NET_WM_NAME(UTF8_STRING) = \"...\"").
  std::string windowProperty(const std::string& name) const;
  // The window's zoom, from its width on the display and the device screen's width.
  int zoom(int screenWidth) const { return geometry().width / screenWidth; }

  // Waits for the program to end by itself; its exit code, or -1 when it did not end in time.
  int waitForExit();

 private:
  std::string x(const std::string& command) const;  // runs an X tool on the display

  std::string display_;
  std::filesystem::path folder_;
  std::filesystem::path dumpFile_;
  pid_t pid_ = -1;
  int exitCode_ = -1;
  std::string window_;  // the X window id
  std::string problem_;
};

// The display's pixels (xwd -root), 0xRRGGBB, and its width; empty when they cannot be read.
std::vector<std::uint32_t> displayPixels(const std::string& display, int& width, std::string& error);

}  // namespace pellucard::testing
