// The headless device as a C++ test harness: a screen of a given edition and size on the
// virtual clock with the standard controls registered, input fed straight into the queue, the
// queue run until idle, and the dump, the texts drawn and the pixels read back. For code that
// runs its own modal loops (menus, message boxes, dialogs), script commands and steps can be
// queued: they run one at a time whenever such a loop has nothing to do.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend/headless/ScriptRunner.h"
#include "platform/base/DeviceConfig.h"
#include "platform/win/WinUser.h"

namespace platform::testing {

class TestDevice : public Host {
 public:
  // Resets the window manager, the system parameters and the message log, sets the virtual
  // clock to 2025-01-15 10:00:00 UTC and opens the screen; the device becomes the host of the
  // message loops. When it goes, the log is emptied again.
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
  // Queues a step: code run the next time a loop waits for input and no script command is
  // left, such as a look at an open menu or a tap on it. A step posts its input (postKey,
  // postTap...) and leaves it to the waiting loop. With neither left, the loops end.
  void addStep(std::function<void()> step);
  void clearSteps() { steps_.clear(); }

  // Input posted to the queue without running it, for steps.
  static void postKey(UINT vk);  // down and up
  static void postTap(int x, int y);
  // A tap on the middle of a text the window drew in its last paint.
  static void postTapOn(HWND hwnd, const std::u16string& text);
  void tapOn(HWND hwnd, const std::u16string& text);

  // The texts a window drew in its last paint, and where one of them lies on the screen (an
  // empty rectangle when it drew no such text).
  static std::vector<std::u16string> texts(HWND hwnd);
  static bool drew(HWND hwnd, const std::u16string& text);
  static RECT textRect(HWND hwnd, const std::u16string& text);

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
  std::deque<std::function<void()>> steps_;
  bool quitReceived_ = false;
  int quitCode_ = 0;
};

}  // namespace platform::testing
