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

using platform::Window;
using platform::WindowManager;

namespace {
WindowManager& wm() { return WindowManager::instance(); }
platform::Host* g_host = nullptr;
constexpr int kRemotePollMs = 100;

bool matches(const MSG& m, HWND filter, UINT min, UINT max) {
  if (filter == reinterpret_cast<HWND>(-1)) {
    if (m.hwnd) return false;
  } else if (filter && m.hwnd != filter && !IsChild(filter, m.hwnd)) {
    return false;
  }
  if (min == 0 && max == 0) return true;
  return m.message >= min && m.message <= max;
}

MSG makeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG m{hwnd, message, wParam, lParam, platform::Clock::instance().tickCount(), wm().cursorPos};
  return m;
}
}  // namespace

namespace platform {

void setHost(Host* host) { g_host = host; }
Host* host() { return g_host; }

void WindowManager::removeMessagesFor(HWND hwnd) {
  posted.erase(std::remove_if(posted.begin(), posted.end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
               posted.end());
}

bool WindowManager::nextMessage(MSG& msg, HWND filter, UINT min, UINT max, bool remove) {
  for (auto it = posted.begin(); it != posted.end(); ++it) {
    if (!matches(*it, filter, min, max)) continue;
    msg = *it;
    if (remove) posted.erase(it);
    return true;
  }
  if (quitPosted && (min == 0 && max == 0 ? true : (WM_QUIT >= min && WM_QUIT <= max))) {
    msg = makeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(quitCode), 0);
    if (remove) quitPosted = false;
    return true;
  }
  while (!input.empty()) {
    MSG m{};
    const InputEvent event = input.front();
    if (!readInput(event, m, false)) {
      // Input that becomes no message (a tap on nothing, scroll bar tracking) is used up here.
      input.pop_front();
      readInput(event, m, true);
      continue;
    }
    if (!matches(m, filter, min, max)) break;
    if (remove) {
      input.pop_front();
      readInput(event, m, true);
    }
    msg = m;
    return true;
  }
  if (min == 0 && max == 0 ? true : (WM_PAINT >= min && WM_PAINT <= max)) {
    if (HWND h = findWindowToPaint()) {
      MSG m = makeMsg(h, WM_PAINT, 0, 0);
      if (matches(m, filter, min, max)) {
        msg = m;
        return true;
      }
    }
  }
  if (!timers.empty()) {
    const std::int64_t t = now();
    Timer* best = nullptr;
    for (Timer& timer : timers) {
      if (timer.due > t) continue;
      MSG m = makeMsg(timer.hwnd, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.proc));
      if (!matches(m, filter, min, max)) continue;
      if (!best || timer.due < best->due) best = &timer;
    }
    if (best) {
      msg = makeMsg(best->hwnd, WM_TIMER, best->id, reinterpret_cast<LPARAM>(best->proc));
      if (remove) best->due = t + best->interval;
      return true;
    }
  }
  return false;
}

void WindowManager::idle() {
  if (cursor && cursor == LoadCursorW(nullptr, IDC_WAIT)) drawWaitCursor();
  const RECT dirty = gdi::takeDirtyRect();
  if (g_host && !rectEmpty(dirty)) g_host->present(dirty);
  if (hostFinished) {
    quitPosted = true;
    return;
  }
  int timeout = msUntilNextTimer();
  if (g_host) {
    // Another process's requests (a second start looking for this one) are served from this
    // loop, so the host may not sleep longer than they can wait while a provider is set.
    if (platform::remoteWindowProvider() && (timeout < 0 || timeout > kRemotePollMs)) timeout = kRemotePollMs;
    if (!g_host->waitForInput(timeout)) {
      hostFinished = true;
      quitPosted = true;
    }
    return;
  }
  // No host: only timers can make progress.
  if (timeout >= 0) {
    platform::Clock::instance().advance(timeout);
    return;
  }
  std::fprintf(stderr, "pellucard: the message loop waits for input but no host delivers any\n");
  hostFinished = true;
  quitPosted = true;
}

}  // namespace platform

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    const std::vector<HWND> tops = wm().topLevels;
    for (HWND h : tops) {
      if (Window* w = wm().find(h)) platform::callWindow(*w, message, wParam, lParam);
    }
    return 0;
  }
  Window* w = wm().get(hwnd);
  if (!w) return 0;
  return platform::callWindow(*w, message, wParam, lParam);
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (hwnd == HWND_BROADCAST) {
    for (HWND h : wm().topLevels) wm().posted.push_back(makeMsg(h, message, wParam, lParam));
    return TRUE;
  }
  if (hwnd && !wm().find(hwnd)) {
    if (auto* remote = platform::remoteWindowProvider()) {
      if (remote->isRemote(hwnd)) return remote->postMessage(hwnd, message, wParam, lParam);
    }
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  wm().posted.push_back(makeMsg(hwnd, message, wParam, lParam));
  return TRUE;
}

void PostQuitMessage(int exitCode) {
  wm().quitPosted = true;
  wm().quitCode = exitCode;
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  if (hwnd && !wm().find(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return -1;
  }
  for (;;) {
    if (auto* remote = platform::remoteWindowProvider()) remote->poll();
    if (platform::host()) platform::host()->pollInput();
    if (wm().nextMessage(*msg, hwnd, filterMin, filterMax, true)) {
      wm().lastMsg = *msg;
      return msg->message == WM_QUIT ? FALSE : TRUE;
    }
    wm().idle();
  }
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (!msg) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (auto* remote = platform::remoteWindowProvider()) remote->poll();
  if (platform::host()) platform::host()->pollInput();
  if (!wm().nextMessage(*msg, hwnd, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0)) return FALSE;
  wm().lastMsg = *msg;
  return TRUE;
}

BOOL WaitMessage() {
  MSG m;
  for (;;) {
    if (auto* remote = platform::remoteWindowProvider()) remote->poll();
    if (wm().nextMessage(m, nullptr, 0, 0, false)) return TRUE;
    wm().idle();
  }
}

DWORD GetQueueStatus(UINT) {
  const bool any = !wm().posted.empty() || !wm().input.empty() || wm().quitPosted;
  return any ? 0x00FF00FF : 0;
}

DWORD GetMessagePos() {
  return static_cast<DWORD>(MAKELONG(static_cast<WORD>(wm().lastMsg.pt.x), static_cast<WORD>(wm().lastMsg.pt.y)));
}

LONG GetMessageTime() { return static_cast<LONG>(wm().lastMsg.time); }

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
    for (const platform::Timer& t : wm().timers) {
      if (t.hwnd == msg->hwnd && t.id == msg->wParam && reinterpret_cast<LPARAM>(t.proc) == msg->lParam) {
        t.proc(msg->hwnd, WM_TIMER, msg->wParam, platform::Clock::instance().tickCount());
        return 0;
      }
    }
    return 0;
  }
  if (!msg->hwnd) return 0;
  Window* w = wm().get(msg->hwnd);
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

// Intervals below 10 ms are raised to 10 ms, as USER_TIMER_MINIMUM does.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  if (hwnd && !wm().get(hwnd)) return 0;
  auto& timers = wm().timers;
  // A thread timer keeps its id when set again; a new one gets a fresh id.
  if (!hwnd) {
    const bool known = std::any_of(timers.begin(), timers.end(),
                                   [&](const platform::Timer& t) { return !t.hwnd && t.id == id && id != 0; });
    if (!known) id = wm().nextTimerId++;
  }
  const UINT interval = std::clamp<UINT>(elapse, 10u, 0x7FFFFFFFu);
  const std::int64_t due = wm().now() + interval;
  for (platform::Timer& t : timers) {
    if (t.hwnd == hwnd && t.id == id) {
      t.interval = interval;
      t.due = due;
      t.proc = proc;
      return id ? id : 1;
    }
  }
  timers.push_back(platform::Timer{hwnd, id, interval, due, proc});
  return id ? id : 1;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
  auto& timers = wm().timers;
  auto it = std::find_if(timers.begin(), timers.end(),
                         [&](const platform::Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers.end()) {
    SetLastError(hwnd && !wm().find(hwnd) ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  timers.erase(it);
  return TRUE;
}
