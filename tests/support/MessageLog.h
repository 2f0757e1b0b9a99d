// Message-sequence recording for tests: windows of a logging class record what they receive,
// and a test compares the record with a table of what it expects.
#pragma once

#include <string>
#include <vector>

#include "platform/win/WinUser.h"

namespace platform::testing {

struct LoggedMessage {
  std::string window;  // the name the test gave the window
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool operator==(const LoggedMessage& o) const = default;
};

class MessageLog {
 public:
  static MessageLog& instance();

  // Registers the class "LogWindow" (CS_DBLCLKS, white background) whose windows record
  // messages under the name given with name(); the class procedure then calls DefWindowProc.
  static void registerLogClass();
  void name(HWND hwnd, const std::string& name);
  std::string nameOf(HWND hwnd) const;
  // The name the next unnamed window that receives a message gets.
  void namePending(const std::string& name) { pending_ = name; }

  // Which messages the log keeps: these, or everything when empty.
  void keepOnly(std::vector<UINT> messages) { filter_ = std::move(messages); }
  void record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void clear() { entries_.clear(); }
  const std::vector<LoggedMessage>& entries() const { return entries_; }
  // Entries as "window:MESSAGE" strings, the form tables are written in.
  std::vector<std::string> sequence() const;

 private:
  std::vector<std::pair<HWND, std::string>> names_;
  std::vector<UINT> filter_;
  std::string pending_;
  std::vector<LoggedMessage> entries_;
};

// A readable name for a message number ("WM_PAINT"), or its number.
std::string messageName(UINT message);

// Creates a window of the logging class.
HWND createLogWindow(const std::string& name, DWORD style, int x, int y, int width, int height, HWND parent = nullptr,
                     UINT id = 0, DWORD exStyle = 0);

}  // namespace platform::testing
