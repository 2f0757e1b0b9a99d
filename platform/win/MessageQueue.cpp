#include "platform/win/MessageQueue.h"

#include <algorithm>

namespace platform {

bool QueueFilter::accepts(const MSG& msg) const {
  if (hwnd == reinterpret_cast<HWND>(-1)) {
    if (msg.hwnd) return false;
  } else if (hwnd && msg.hwnd != hwnd && !IsChild(hwnd, msg.hwnd)) {
    return false;
  }
  return acceptsMessage(msg.message);
}

bool MessageQueue::takePosted(const QueueFilter& filter, bool remove, MSG& out) {
  for (auto it = posted_.begin(); it != posted_.end(); ++it) {
    if (!filter.accepts(*it)) continue;
    out = *it;
    if (remove) posted_.erase(it);
    return true;
  }
  return false;
}

void MessageQueue::removeFor(HWND hwnd) {
  std::erase_if(posted_, [&](const MSG& m) { return m.hwnd == hwnd; });
}

void MessageQueue::postQuit(int exitCode) {
  quitPosted_ = true;
  quitCode_ = exitCode;
}

void MessageQueue::finishHost() {
  hostFinished_ = true;
  quitPosted_ = true;
}

void MessageQueue::clear() {
  posted_.clear();
  input_.clear();
  quitPosted_ = false;
  quitCode_ = 0;
  hostFinished_ = false;
}

}  // namespace platform
