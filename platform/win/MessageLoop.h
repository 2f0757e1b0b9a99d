// The thread's message loop as an object: message filters see every message before it is
// translated and dispatched (the frame translates its accelerators there), idle handlers run
// when the queue has run dry.
#pragma once

#include <vector>

#include "platform/win/WinUser.h"

namespace platform {

class MessageFilter {
 public:
  virtual ~MessageFilter() = default;
  // TRUE when the message was handled and must not be dispatched.
  virtual BOOL preTranslateMessage(MSG* msg) = 0;
};

class IdleHandler {
 public:
  virtual ~IdleHandler() = default;
  // Returns FALSE when there is no more idle work until the next message arrives.
  virtual BOOL onIdle() = 0;
};

class MessageLoop {
 public:
  MessageLoop() = default;
  MessageLoop(const MessageLoop&) = delete;
  MessageLoop& operator=(const MessageLoop&) = delete;

  // Filters and handlers are not owned; adding one twice is refused.
  bool addMessageFilter(MessageFilter* filter);
  bool removeMessageFilter(MessageFilter* filter);
  bool addIdleHandler(IdleHandler* handler);
  bool removeIdleHandler(IdleHandler* handler);

  // Runs until WM_QUIT and returns its exit code.
  int run();
  // Offers the message to the filters, the most recently added first.
  bool preTranslateMessage(MSG* msg);

  // The loop running innermost on this thread, or nullptr.
  static MessageLoop* current();

 private:
  bool runIdleHandlers();
  std::vector<MessageFilter*> filters_;
  std::vector<IdleHandler*> idleHandlers_;
};

}  // namespace platform
