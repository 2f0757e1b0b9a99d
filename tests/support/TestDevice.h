// The headless device as a C++ test harness: a screen of a given edition and size on the
// virtual clock, input fed straight into the queue, the queue run until idle, and the dump and
// pixels read back. Scripts (the headless script commands) can be queued for code that runs
// its own modal loops: they run whenever that loop has nothing to do.
#pragma once

#include <string>

#include "platform/backend/headless/ScriptRunner.h"
#include "platform/base/DeviceConfig.h"
#include "platform/win/WinUser.h"

namespace platform::testing {

class TestDevice : public Host {
 public:
  // Resets the window manager, sets the virtual clock to 2025-01-15 10:00:00 UTC and opens
  // the screen; the device becomes the host of the message loops.
  explicit TestDevice(Edition edition = Edition::PocketPc, int width = 240, int height = 320);
  ~TestDevice() override;
  TestDevice(const TestDevice&) = delete;
  TestDevice& operator=(const TestDevice&) = delete;

  // Dispatches everything waiting: posted messages, input, paints and due timers. Returns
  // false if it had to stop (a window that never stops painting, or WM_QUIT, see quitCode()).
  bool runUntilIdle();
  // Moves the virtual clock forward, firing the timers that fall due on the way.
  void advance(int ms);

  void key(UINT vk);  // down and up
  void keyDown(UINT vk, bool repeat = false);
  void keyUp(UINT vk);
  void type(const std::u16string& text);
  void tap(int x, int y);
  void stylusDown(int x, int y);
  void stylusMove(int x, int y);
  void stylusUp(int x, int y);
  void rotate();

  // Queues script commands for the next time a loop waits for input; false (with error) on a
  // syntax error.
  bool script(const std::string& text, std::string* error = nullptr);

  std::string dump() const;
  // Writes the screen as a PNG; false when the file cannot be written.
  bool screenshot(const std::string& path) const;
  COLORREF pixel(int x, int y) const;
  bool quitReceived() const { return quitReceived_; }
  int quitCode() const { return quitCode_; }

  // Host
  void present(const RECT&) override {}
  bool waitForInput(int timeoutMs) override;
  void pollInput() override {}

 private:
  Edition edition_;
  ScriptRunner runner_;
  bool quitReceived_ = false;
  int quitCode_ = 0;
};

}  // namespace platform::testing
