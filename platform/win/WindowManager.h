// The window manager: the parts that keep the state of user32 (the window tree, the message
// queue, timers, input state, painting) and the rules that join them: which message a reader
// gets next, how host input becomes a message, focus and activation, and what goes when a
// window is destroyed. user32 calls (the *Api.cpp files) are thin checks over this. One thread
// owns all of it.
#pragma once

#include "platform/win/InputState.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/PaintScheduler.h"
#include "platform/win/TimerTable.h"
#include "platform/win/WindowTree.h"

namespace platform {

class WindowManager {
 public:
  static WindowManager& instance();

  WindowTree& tree() { return tree_; }
  MessageQueue& queue() { return queue_; }
  TimerTable& timers() { return timers_; }
  InputState& input() { return input_; }
  PaintScheduler& paint() { return paint_; }
  const WindowTree& tree() const { return tree_; }
  const TimerTable& timers() const { return timers_; }
  const InputState& input() const { return input_; }

  // The next message per the queue rules (Queue.cpp); false when there is none.
  bool nextMessage(MSG& msg, const QueueFilter& filter, bool remove);
  // Presents the screen and waits for the host (or lets time pass to the next timer).
  void idle();
  // Turns host input into a window message; with apply, also its effects (key state,
  // activation, scroll bar tracking). False when the input becomes no message (Input.cpp).
  bool readInput(const InputEvent& event, MSG& out, bool apply);

  // Focus and activation, with their messages (Input.cpp).
  void moveFocus(HWND hwnd);
  void activate(HWND hwnd, int how);
  void activateNextTopLevel(HWND leaving);
  // Raises a top-level window (and what it owns) and repaints it when the order changed.
  void bringToTop(HWND hwnd);

  // Shows or takes away the busy indicator that stands for the wait cursor.
  void showBusyIndicator();
  void hideBusyIndicator();

  // The last of a window is gone: its timers, hot keys, queued messages, input and paint state.
  void forgetWindow(HWND hwnd);

  // Destroys every window and forgets classes, timers, queue and input state (tests).
  void reset();

 private:
  WindowManager();

  WindowTree tree_;
  MessageQueue queue_;
  TimerTable timers_;
  InputState input_;
  PaintScheduler paint_;
};

// The window manager and its parts, as the user32 calls reach them.
inline WindowManager& windowManager() { return WindowManager::instance(); }
inline WindowTree& windowTree() { return WindowManager::instance().tree(); }
inline MessageQueue& messageQueue() { return WindowManager::instance().queue(); }
inline TimerTable& timerTable() { return WindowManager::instance().timers(); }
inline InputState& inputState() { return WindowManager::instance().input(); }
inline PaintScheduler& paintScheduler() { return WindowManager::instance().paint(); }

// Shared by SetWindowPos and ShowWindow (WindowPos.cpp).
BOOL setWindowPosition(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

}  // namespace platform
