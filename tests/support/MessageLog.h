// Message-sequence recording for tests: windows of a logging class record what they receive,
// and a test compares the record with a table of what it expects. A log window answers what the
// test tells it to (a row height, a refused change) and hands everything else to DefWindowProc.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/win/WinUser.h"

namespace platform::testing {

struct LoggedMessage {
  std::string window;  // the name the test gave the window
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  // Read while lParam still points at them. WM_NOTIFY: the code, and for the list view's
  // notifications the item with its new, old and changed state, the key of LVN_KEYDOWN and the
  // rows of LVN_ODCACHEHINT; for the tree view's the item data (lParam) of the item concerned and
  // the key of TVN_KEYDOWN; for the up-down's the position (from) and the step (to). WM_DRAWITEM:
  // the item drawn.
  UINT code = 0;
  int item = -1;
  UINT newState = 0;
  UINT oldState = 0;
  UINT changed = 0;
  WORD key = 0;
  int from = -1;
  int to = -1;
  bool operator==(const LoggedMessage& o) const = default;
};

class MessageLog {
 public:
  // What a log window returns for a message instead of calling DefWindowProc.
  using Answer = std::function<LRESULT(HWND hwnd, WPARAM wParam, LPARAM lParam)>;

  static MessageLog& instance();

  // Registers the class "LogWindow" (CS_DBLCLKS, white background) whose windows record
  // messages under the name given with name(); the class procedure then answers them.
  static void registerLogClass();
  void name(HWND hwnd, const std::string& name);
  std::string nameOf(HWND hwnd) const;
  // The name the next unnamed window that receives a message gets.
  void namePending(const std::string& name) { pending_ = name; }

  // Which messages the log keeps: these, or everything when empty.
  void keepOnly(std::vector<UINT> messages) { filter_ = std::move(messages); }
  // Notifications (WM_NOTIFY codes) the log leaves out, such as cache hints between the steps.
  void skipNotifications(std::vector<UINT> codes) { skipped_ = std::move(codes); }
  // From now on log windows answer this message with answer(); an empty one forgets it.
  void answer(UINT message, Answer answer);
  void record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // The log window procedure's reply: the answer set for the message, else DefWindowProc.
  LRESULT reply(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) const;

  void clear() { entries_.clear(); }
  // Everything forgotten: entries, names, filters and answers (a new device does this).
  void reset();
  const std::vector<LoggedMessage>& entries() const { return entries_; }
  // The entries of one message, and the WM_NOTIFY entries of one code.
  std::vector<LoggedMessage> messages(UINT message) const;
  std::vector<LoggedMessage> notifications(UINT code) const;
  // Entries as "window:MESSAGE" strings, the form tables are written in; a notification is
  // named by its code ("parent:LVN_ITEMCHANGED").
  std::vector<std::string> sequence() const;

 private:
  std::vector<std::pair<HWND, std::string>> names_;
  std::vector<UINT> filter_;
  std::vector<UINT> skipped_;
  std::map<UINT, Answer> answers_;
  std::string pending_;
  std::vector<LoggedMessage> entries_;
};

// A readable name for a message number ("WM_PAINT"), or its number.
std::string messageName(UINT message);
// A readable name for a notification code ("LVN_ITEMCHANGED"), or its number.
std::string notificationName(UINT code);

// Creates a window of the logging class.
HWND createLogWindow(const std::string& name, DWORD style, int x, int y, int width, int height, HWND parent = nullptr,
                     UINT id = 0, DWORD exStyle = 0);

}  // namespace platform::testing
