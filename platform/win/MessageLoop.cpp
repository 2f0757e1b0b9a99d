#include "platform/win/MessageLoop.h"

#include <algorithm>

namespace platform {

namespace {
std::vector<MessageLoop*>& running() {
  static std::vector<MessageLoop*> loops;
  return loops;
}

// Messages after which idle work is worth doing again; mouse moves and timers are not.
bool isIdleMessage(const MSG& msg) {
  return msg.message != WM_MOUSEMOVE && msg.message != WM_PAINT && msg.message != WM_TIMER && msg.message != WM_NULL;
}

template <class T>
bool addOnce(std::vector<T*>& list, T* item) {
  if (!item || std::find(list.begin(), list.end(), item) != list.end()) return false;
  list.push_back(item);
  return true;
}

template <class T>
bool removeItem(std::vector<T*>& list, T* item) {
  auto it = std::find(list.begin(), list.end(), item);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}
}  // namespace

bool MessageLoop::addMessageFilter(MessageFilter* filter) { return addOnce(filters_, filter); }
bool MessageLoop::removeMessageFilter(MessageFilter* filter) { return removeItem(filters_, filter); }
bool MessageLoop::addIdleHandler(IdleHandler* handler) { return addOnce(idleHandlers_, handler); }
bool MessageLoop::removeIdleHandler(IdleHandler* handler) { return removeItem(idleHandlers_, handler); }

MessageLoop* MessageLoop::current() { return running().empty() ? nullptr : running().back(); }

bool MessageLoop::preTranslateMessage(MSG* msg) {
  // A filter may remove itself (or others) while it runs.
  const std::vector<MessageFilter*> snapshot = filters_;
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it) {
    if (std::find(filters_.begin(), filters_.end(), *it) == filters_.end()) continue;
    if ((*it)->preTranslateMessage(msg)) return true;
  }
  return false;
}

bool MessageLoop::runIdleHandlers() {
  bool more = false;
  const std::vector<IdleHandler*> snapshot = idleHandlers_;
  for (IdleHandler* h : snapshot) {
    if (std::find(idleHandlers_.begin(), idleHandlers_.end(), h) == idleHandlers_.end()) continue;
    if (h->onIdle()) more = true;
  }
  return more;
}

int MessageLoop::run() {
  running().push_back(this);
  MSG msg{};
  bool doIdle = true;
  int code = 0;
  for (;;) {
    while (doIdle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!runIdleHandlers()) doIdle = false;
    }
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) continue;
    if (!got) {
      code = static_cast<int>(msg.wParam);
      break;
    }
    if (!preTranslateMessage(&msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (isIdleMessage(msg)) doIdle = true;
  }
  running().erase(std::find(running().begin(), running().end(), this));
  return code;
}

}  // namespace platform
