// The thread's message queue: posted messages, WM_QUIT, and host input waiting to become window
// messages. Sent messages are plain calls and never wait here. The order in which a reader
// takes them (with paint and timers in between) is the window manager's (Queue.cpp).
#pragma once

#include <deque>

#include "platform/win/WinUser.h"

namespace platform {

// Host input waiting to become window messages; its target is chosen when it is read.
struct InputEvent {
  enum class Kind { StylusDown, StylusMove, StylusUp, KeyDown, KeyUp };
  Kind kind = Kind::KeyDown;
  POINT pt{};
  UINT vk = 0;
  WCHAR ch = 0;  // for VK_PACKET
  bool repeat = false;
  DWORD time = 0;
};

// What GetMessage and PeekMessage ask for: a window (and its children; -1 for thread messages
// only) and a range of messages (0, 0 for all).
struct QueueFilter {
  HWND hwnd = nullptr;
  UINT min = 0;
  UINT max = 0;

  bool accepts(const MSG& msg) const;
  bool acceptsMessage(UINT message) const { return (min == 0 && max == 0) || (message >= min && message <= max); }
};

class MessageQueue {
 public:
  void post(const MSG& msg) { posted_.push_back(msg); }
  // The oldest posted message the filter accepts; removed with `remove`.
  bool takePosted(const QueueFilter& filter, bool remove, MSG& out);
  void removeFor(HWND hwnd);

  void postQuit(int exitCode);
  bool quitPending() const { return quitPosted_; }
  int quitCode() const { return quitCode_; }
  void clearQuit() { quitPosted_ = false; }

  void pushInput(const InputEvent& event) { input_.push_back(event); }
  const InputEvent* nextInput() const { return input_.empty() ? nullptr : &input_.front(); }
  void popInput() { input_.pop_front(); }

  // Anything posted, a quit or input waiting (paint and timers aside).
  bool pending() const { return !posted_.empty() || !input_.empty() || quitPosted_; }

  // The host said no input will ever come again: every loop receives WM_QUIT from now on.
  void finishHost();
  bool hostFinished() const { return hostFinished_; }

  // The message GetMessage or PeekMessage returned last (GetMessagePos, GetMessageTime).
  const MSG& lastMessage() const { return lastMsg_; }
  void setLastMessage(const MSG& msg) { lastMsg_ = msg; }

  void clear();

 private:
  std::deque<MSG> posted_;
  std::deque<InputEvent> input_;
  bool quitPosted_ = false;
  int quitCode_ = 0;
  bool hostFinished_ = false;
  MSG lastMsg_{};
};

}  // namespace platform
