#include "tests/support/TestDevice.h"

#include <algorithm>

#include "platform/backend/WindowDump.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/base/Clock.h"
#include "platform/base/Utf.h"
#include "platform/controls/CommonControls.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/sys/SysParams.h"
#include "platform/win/Input.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowManager.h"
#include "platform/win/WindowView.h"
#include "tests/support/MessageLog.h"

namespace platform::testing {

TestDevice::TestDevice(Edition edition, int width, int height) : edition_(edition), runner_(edition) {
  WindowManager::instance().reset();
  sys::resetSystemParameters();
  MessageLog::instance().reset();
  DeviceConfig& config = DeviceConfig::current();
  config.edition = edition;
  config.screenWidth = width;
  config.screenHeight = height;
  config.headless = true;
  Clock::instance().useVirtual(HeadlessBackend::kStartUtcMs);
  openScreen(width, height);
  gdi::takeDirtyRect();
  controls::registerControlClasses();
  setHost(this);
}

TestDevice::~TestDevice() {
  WindowManager::instance().reset();
  if (host() == this) setHost(nullptr);
  sys::resetSystemParameters();
  // Answers may point into the test that set them.
  MessageLog::instance().reset();
}

bool TestDevice::runUntilIdle() {
  MSG msg;
  // A window that never validates its update area would repaint forever.
  for (int budget = 100000; budget > 0; --budget) {
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      gdi::takeDirtyRect();
      return true;
    }
    if (msg.message == WM_QUIT) {
      quitReceived_ = true;
      quitCode_ = static_cast<int>(msg.wParam);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return false;
}

void TestDevice::advance(int ms) {
  const WindowView view;
  const std::int64_t end = view.ticks() + ms;
  runUntilIdle();
  for (;;) {
    const int next = view.msUntilNextTimer();
    const std::int64_t now = view.ticks();
    if (next < 0 || now + next > end) {
      Clock::instance().advance(end - now);
      runUntilIdle();
      return;
    }
    Clock::instance().advance(next);
    runUntilIdle();
  }
}

void TestDevice::key(UINT vk) {
  postKey(vk);
  runUntilIdle();
}

void TestDevice::keyDown(UINT vk, bool repeat) {
  postKeyDown(vk, repeat);
  runUntilIdle();
}

void TestDevice::keyUp(UINT vk) {
  postKeyUp(vk);
  runUntilIdle();
}

void TestDevice::type(const std::u16string& text) {
  std::string error;
  ScriptRunner typing(edition_);
  // The script runner knows how text becomes keys; run its single command here.
  typing.load("type " + toUtf8(text), error);
  typing.waitForInput(-1);
  runUntilIdle();
}

void TestDevice::tap(int x, int y) {
  postTap(x, y);
  runUntilIdle();
}

void TestDevice::stylusDown(int x, int y) {
  postStylusDown(POINT{x, y});
  runUntilIdle();
}

void TestDevice::stylusMove(int x, int y) {
  postStylusMove(POINT{x, y});
  runUntilIdle();
}

void TestDevice::stylusUp(int x, int y) {
  postStylusUp(POINT{x, y});
  runUntilIdle();
}

void TestDevice::rotate() {
  rotateScreen();
  runUntilIdle();
}

bool TestDevice::script(const std::string& text, std::string* error) {
  std::string reason;
  const bool ok = runner_.load(text, reason);
  if (!ok && error) *error = reason;
  return ok;
}

void TestDevice::addStep(std::function<void()> step) { steps_.push_back(std::move(step)); }

void TestDevice::postKey(UINT vk) {
  postKeyDown(vk);
  postKeyUp(vk);
}

void TestDevice::postTap(int x, int y) {
  postStylusDown(POINT{x, y});
  postStylusUp(POINT{x, y});
}

void TestDevice::postTapOn(HWND hwnd, const std::u16string& text) {
  const RECT r = textRect(hwnd, text);
  postTap((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void TestDevice::tapOn(HWND hwnd, const std::u16string& text) {
  postTapOn(hwnd, text);
  runUntilIdle();
}

std::vector<std::u16string> TestDevice::texts(HWND hwnd) {
  std::vector<std::u16string> out;
  for (const auto& t : gdi::capturedTexts(hwnd)) out.push_back(t.text);
  return out;
}

bool TestDevice::drew(HWND hwnd, const std::u16string& text) {
  const std::vector<std::u16string> all = texts(hwnd);
  return std::find(all.begin(), all.end(), text) != all.end();
}

RECT TestDevice::textRect(HWND hwnd, const std::u16string& text) {
  for (const auto& t : gdi::capturedTexts(hwnd)) {
    if (t.text == text) return t.screenRect;
  }
  return RECT{};
}

bool TestDevice::waitForInput(int timeoutMs) {
  if (runner_.finished() && !steps_.empty()) {
    const std::function<void()> step = std::move(steps_.front());
    steps_.pop_front();
    step();
    return true;
  }
  return runner_.waitForInput(timeoutMs);
}

std::string TestDevice::dump() const { return dumpWindows(); }

bool TestDevice::screenshot(const std::string& path) const {
  std::string error;
  return writeScreenshot(path, error);
}

COLORREF TestDevice::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= gdi::screenWidth() || y >= gdi::screenHeight()) return CLR_INVALID;
  const std::uint16_t p = gdi::screenPixels()[y * gdi::screenWidth() + x];
  const BYTE r = static_cast<BYTE>(((p >> 11) & 0x1F) * 255 / 31);
  const BYTE g = static_cast<BYTE>(((p >> 5) & 0x3F) * 255 / 63);
  const BYTE b = static_cast<BYTE>((p & 0x1F) * 255 / 31);
  return RGB(r, g, b);
}

}  // namespace platform::testing
