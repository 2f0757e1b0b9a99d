// The message queue. What GetMessage/PeekMessage return, in this order:
//   1. posted messages (PostMessage, WM_CHAR from TranslateMessage, WM_HOTKEY), oldest first;
//   2. WM_QUIT, once no posted message is left;
//   3. input (stylus and keys), turned into window messages when read: the target is chosen
//      then (capture, window under the stylus, focus), not when the host delivered it;
//   4. WM_PAINT, while a window has something to paint (paint is a flag, see Paint.cpp);
//   5. WM_TIMER for the timer due first. Timers fire only from here, i.e. when the thread is
//      idle; a late timer fires once, and its next expiry counts from the moment it fired.
// Sent messages are plain calls (one thread). When nothing is left, GetMessage presents the
// screen and lets the host deliver input or advance time.
#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/base/Clock.h"
#include "platform/base/RemoteWindowProvider.h"
#include "platform/base/WinError.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/win/Host.h"
#include "platform/win/Input.h"
#include "platform/win/WindowManager.h"

using platform::inputState;
using platform::messageQueue;
using platform::QueueFilter;
using platform::timerTable;
using platform::Window;
using platform::WindowManager;
using platform::windowManager;
using platform::windowTree;

namespace {
platform::Host* g_host = nullptr;
constexpr int kRemotePollMs = 100;

MSG makeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return MSG{hwnd, message, wParam, lParam, platform::Clock::instance().tickCount(), inputState().cursorPos()};
}
}  // namespace

namespace platform {

void setHost(Host* host) { g_host = host; }
Host* host() { return g_host; }

bool WindowManager::nextMessage(MSG& msg, const QueueFilter& filter, bool remove) {
  if (queue_.takePosted(filter, remove, msg)) return true;
  if (queue_.quitPending() && filter.acceptsMessage(WM_QUIT)) {
    msg = makeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(queue_.quitCode()), 0);
    if (remove) queue_.clearQuit();
    return true;
  }
  while (const InputEvent* next = queue_.nextInput()) {
    MSG m{};
    const InputEvent event = *next;
    if (!readInput(event, m, false)) {
      // Input that becomes no message (a tap on nothing, scroll bar tracking) is used up here.
      queue_.popInput();
      readInput(event, m, true);
      continue;
    }
    if (!filter.accepts(m)) break;
    if (remove) {
      queue_.popInput();
      readInput(event, m, true);
    }
    msg = m;
    return true;
  }
  if (filter.acceptsMessage(WM_PAINT)) {
    if (HWND h = paint_.findWindowToPaint()) {
      MSG m = makeMsg(h, WM_PAINT, 0, 0);
      if (filter.accepts(m)) {
        msg = m;
        return true;
      }
    }
  }
  const Timer* due = timers_.firstDue([&](const Timer& t) {
    return filter.accepts(makeMsg(t.hwnd, WM_TIMER, t.id, reinterpret_cast<LPARAM>(t.proc)));
  });
  if (due) {
    msg = makeMsg(due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc));
    if (remove) timers_.rearm(*due);
    return true;
  }
  return false;
}

void WindowManager::idle() {
  if (input_.cursor() && input_.cursor() == LoadCursorW(nullptr, IDC_WAIT)) showBusyIndicator();
  const RECT dirty = gdi::takeDirtyRect();
  if (g_host && !rectEmpty(dirty)) g_host->present(dirty);
  if (queue_.hostFinished()) {
    queue_.finishHost();
    return;
  }
  int timeout = timers_.msUntilNext();
  if (g_host) {
    // Another process's requests (a second start looking for this one) are served from this
    // loop, so the host may not sleep longer than they can wait while a provider is set.
    if (platform::remoteWindowProvider() && (timeout < 0 || timeout > kRemotePollMs)) timeout = kRemotePollMs;
    if (!g_host->waitForInput(timeout)) queue_.finishHost();
    return;
  }
  // No host: only timers can make progress.
  if (timeout >= 0) {
    platform::Clock::instance().advance(timeout);
    return;
  }
  std::fprintf(stderr, "pellucard: the message loop waits for input but no host delivers any\n");
  queue_.finishHost();
}

}  // namespace platform

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    const std::vector<HWND> tops = windowTree().topLevels();
    for (HWND h : tops) {
      if (Window* w = windowTree().find(h)) platform::callWindow(*w, message, wParam, lParam);
    }
    return 0;
  }
  Window* w = windowTree().get(hwnd);
  if (!w) return 0;
  return platform::callWindow(*w, message, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (HWND h : windowTree().topLevels()) messageQueue().post(makeMsg(h, message, wParam, lParam));
    return TRUE;
  }
  if (hwnd && !windowTree().find(hwnd)) {
    if (auto* remote = platform::remoteWindowProvider()) {
      if (remote->isRemote(hwnd)) return remote->postMessage(hwnd, message, wParam, lParam);
    }
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  messageQueue().post(makeMsg(hwnd, message, wParam, lParam));
  return TRUE;
}

void PostQuitMessage(int exitCode) { messageQueue().postQuit(exitCode); }

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (hwnd && !windowTree().find(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  for (;;) {
    if (auto* remote = platform::remoteWindowProvider()) remote->poll();
    if (platform::host()) platform::host()->pollInput();
    if (windowManager().nextMessage(*msg, QueueFilter{hwnd, filterMin, filterMax}, true)) {
      messageQueue().setLastMessage(*msg);
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    windowManager().idle();
  }
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (auto* remote = platform::remoteWindowProvider()) remote->poll();
  if (platform::host()) platform::host()->pollInput();
  if (!windowManager().nextMessage(*msg, QueueFilter{hwnd, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0))
    return FALSE;
  messageQueue().setLastMessage(*msg);
  return TRUE;
}

BOOL WaitMessage() {
  MSG m;
  for (;;) {
    if (auto* remote = platform::remoteWindowProvider()) remote->poll();
    if (windowManager().nextMessage(m, QueueFilter{}, false)) return TRUE;
    windowManager().idle();
  }
}

DWORD GetQueueStatus(UINT) { return messageQueue().pending() ? 0x00FF00FF : 0; }

DWORD GetMessagePos() {
  const POINT pt = messageQueue().lastMessage().pt;
  return static_cast<DWORD>(MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
}

LONG GetMessageTime() { return static_cast<LONG>(messageQueue().lastMessage().time); }

BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN && msg->message != WM_KEYUP &&
      msg->message != WM_SYSKEYUP)
    return FALSE;
  if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
    const WCHAR ch = platform::characterForKey(msg->wParam);
    if (ch) {
      PostMessageW(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, ch, msg->lParam);
    }
  }
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (msg->message == WM_TIMER && msg->lParam) {
    // Only a timer still set with that callback runs it.
    const auto proc = reinterpret_cast<TIMERPROC>(msg->lParam);
    if (timerTable().isSet(msg->hwnd, msg->wParam, proc)) {
      proc(msg->hwnd, WM_TIMER, msg->wParam, platform::Clock::instance().tickCount());
    }
    return 0;
  }
  if (!msg->hwnd) return 0;
  Window* w = windowTree().get(msg->hwnd);
  if (!w) return 0;
  return platform::callWindow(*w, msg->message, msg->wParam, msg->lParam);
}

UINT RegisterWindowMessageW(LPCWSTR name) {
  static std::map<std::u16string, UINT> registered;
  if (!name || !name[0]) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string key(name);
  for (auto& c : key)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  auto it = registered.find(key);
  if (it != registered.end()) return it->second;
  const UINT id = 0xC000 + static_cast<UINT>(registered.size());
  registered[key] = id;
  return id;
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !windowTree().get(hwnd)) return 0;
  return timerTable().set(hwnd, id, elapse, proc);
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  if (!timerTable().kill(hwnd, id)) {
    SetLastError(hwnd && !windowTree().find(hwnd) ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
