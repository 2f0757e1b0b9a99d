#include "tests/desktop/RunningDevice.h"

#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

#include "tests/desktop/ShellCommand.h"
#include "tests/desktop/XwdImage.h"
#include "tests/support/FileBytes.h"

namespace pellucard::testing {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Generous, so that a slow machine (the sanitizer build, a busy host) never fails by luck.
constexpr auto kDumpTimeout = std::chrono::seconds(30);
constexpr auto kExitTimeout = std::chrono::seconds(30);
constexpr auto kPoll = std::chrono::milliseconds(10);

int valueOf(const std::string& shell, const std::string& name) {
  const auto at = shell.find(name + "=");
  return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + name.size() + 1);
}

}  // namespace

RunningDevice::RunningDevice(const std::string& exe, const std::vector<std::string>& options,
                             const std::string& display, const fs::path& folder)
    : display_(display), folder_(folder), dumpFile_(folder / "dump.txt") {
  fs::create_directories(folder / "run");
  fs::create_directories(folder / "config");
  std::vector<std::string> args = {exe};
  args.insert(args.end(), options.begin(), options.end());
  args.insert(args.end(), {"--dump-file", dumpFile_.string()});
  const std::string output = (folder / "output.txt").string();
  pid_ = ::fork();
  if (pid_ == 0) {
    const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(out, 1);
    ::dup2(out, 2);
    ::setenv("DISPLAY", display.c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
    ::setenv("SDL_VIDEODRIVER", "x11", 1);
    ::setenv("XDG_RUNTIME_DIR", (folder / "run").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    ::setenv("HOME", folder.c_str(), 1);
    // The X and SDL libraries keep some memory until the process ends; the leak checker is for
    // our code, which the other tests cover.
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (pid_ < 0) {
    problem_ = "cannot start " + exe;
    return;
  }
  // The window comes once the device is up, and with it the handler of the dump signal.
  const std::string id = x("timeout 30 xdotool search --sync --onlyvisible --pid " + std::to_string(pid_));
  std::istringstream ids(id);
  ids >> window_;
  if (window_.empty() || window_.find_first_not_of("0123456789") != std::string::npos) {
    problem_ = "no window appeared (" + id + ")";
    window_.clear();
    return;
  }
  // No window manager gives it the keyboard: the test does, and puts the pointer over it.
  x("xdotool windowfocus " + window_ + " mousemove --window " + window_ + " 0 0");
}

RunningDevice::~RunningDevice() {
  if (pid_ <= 0 || exitCode_ != -1) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

std::string RunningDevice::problem() const {
  return problem_ + "\nthe program wrote:\n" + platform::testing::readBytes(folder_ / "output.txt");
}

std::string RunningDevice::x(const std::string& command) const {
  return runShell("DISPLAY=" + display_ + " " + command).output;
}

std::string RunningDevice::waitForDump(const std::function<bool(const std::string&)>& wanted, const std::string& what) {
  std::string last;
  const auto deadline = Clock::now() + kDumpTimeout;
  while (Clock::now() < deadline) {
    std::error_code ec;
    fs::remove(dumpFile_, ec);
    if (::kill(pid_, SIGUSR1) != 0) break;
    // The device writes it the next time it is idle, at once or within its poll.
    while (!fs::exists(dumpFile_) && Clock::now() < deadline) {
      int status = 0;
      if (::waitpid(pid_, &status, WNOHANG) == pid_) {
        exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        ADD_FAILURE() << "the program ended (" << exitCode_ << ") while waiting for " << what << problem();
        return last;
      }
      std::this_thread::sleep_for(kPoll);
    }
    const std::string dump = platform::testing::readBytes(dumpFile_);
    if (dump.empty()) continue;
    last = dump;
    if (wanted(last)) return last;
  }
  ADD_FAILURE() << "timed out waiting for " << what << "; the last dump:\n" << last;
  return last;
}

DeviceScreen RunningDevice::lastScreen() const {
  DeviceScreen screen;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  const std::string path = dumpFile_.string() + ".png";
  if (!png_image_begin_read_from_file(&image, path.c_str())) return screen;
  image.format = PNG_FORMAT_RGB;
  std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return screen;
  screen.width = static_cast<int>(image.width);
  screen.height = static_cast<int>(image.height);
  screen.pixels.resize(static_cast<size_t>(screen.width) * screen.height);
  for (size_t i = 0; i < screen.pixels.size(); ++i)
    screen.pixels[i] = std::uint32_t{rgb[i * 3]} << 16 | std::uint32_t{rgb[i * 3 + 1]} << 8 | rgb[i * 3 + 2];
  return screen;
}

void RunningDevice::key(const std::string& keys) { x("xdotool key --clearmodifiers " + keys); }

void RunningDevice::type(const std::string& text) { x("xdotool type --delay 20 -- " + shellQuoted(text)); }

void RunningDevice::click(int deviceX, int deviceY) {
  // The middle of the device pixel's square on the display.
  const int z = geometry().width / std::max(1, lastScreen().width);
  const int hx = deviceX * z + z / 2;
  const int hy = deviceY * z + z / 2;
  x("xdotool mousemove --window " + window_ + " " + std::to_string(hx) + " " + std::to_string(hy) + " click 1");
}

HostGeometry RunningDevice::geometry() const {
  const std::string shell = x("xdotool getwindowgeometry --shell " + window_);
  return HostGeometry{valueOf(shell, "X"), valueOf(shell, "Y"), valueOf(shell, "WIDTH"), valueOf(shell, "HEIGHT")};
}

std::string RunningDevice::windowProperty(const std::string& name) const {
  return x("xprop -id " + window_ + " " + name);
}

int RunningDevice::waitForExit() {
  if (exitCode_ != -1) return exitCode_;
  const auto deadline = Clock::now() + kExitTimeout;
  while (Clock::now() < deadline) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      return exitCode_;
    }
    std::this_thread::sleep_for(kPoll);
  }
  return -1;
}

std::vector<std::uint32_t> displayPixels(const std::string& display, int& width, std::string& error) {
  const ShellOutcome shot = runShell("DISPLAY=" + display + " xwd -root -silent");
  XwdImage image;
  if (shot.exitCode != 0 || !image.read(shot.output, error)) {
    if (shot.exitCode != 0) error = "xwd failed: " + shot.output.substr(0, 200);
    return {};
  }
  width = image.width();
  std::vector<std::uint32_t> pixels(static_cast<size_t>(image.width()) * image.height());
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) pixels[static_cast<size_t>(y) * width + x] = image.pixel(x, y);
  return pixels;
}

}  // namespace pellucard::testing
