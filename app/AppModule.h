// The running module: its instance handle and the message loop of the main thread, which the
// main frame joins as a message filter.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/win/MessageLoop.h"

namespace pellucard {

class AppModule {
 public:
  static void init(HINSTANCE instance);
  static void term();
  static HINSTANCE instance();

  // The loop is not owned; one loop at a time.
  static void addMessageLoop(platform::MessageLoop* loop);
  static void removeMessageLoop();
  // The registered loop, or nullptr.
  static platform::MessageLoop* messageLoop();
};

}  // namespace pellucard
