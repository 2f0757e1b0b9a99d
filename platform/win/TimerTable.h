// Window and thread timers, on a tick counter that does not wrap. Timers only fall due here;
// the queue turns the one due first into WM_TIMER when the thread is idle.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win/WinUser.h"

namespace platform {

struct Timer {
  HWND hwnd = nullptr;
  UINT_PTR id = 0;
  UINT interval = 0;
  std::int64_t due = 0;
  TIMERPROC proc = nullptr;
};

class TimerTable {
 public:
  // Ticks of the platform clock, unwrapped to 64 bits.
  std::int64_t now() const;

  // SetTimer: a thread timer (no window) set with an unknown id gets a fresh one. Returns the id.
  UINT_PTR set(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
  bool kill(HWND hwnd, UINT_PTR id);
  void removeFor(HWND hwnd);
  // Whether the timer is still set with that callback (a WM_TIMER read earlier may be stale).
  bool isSet(HWND hwnd, UINT_PTR id, TIMERPROC proc) const;

  // Milliseconds until the next timer is due, 0 if one is due, -1 if there is none.
  int msUntilNext() const;
  // The timer due first among those `wanted` accepts, or null.
  template <class Wanted>
  const Timer* firstDue(Wanted wanted) const;
  // The timer fired: its next expiry counts from now.
  void rearm(const Timer& timer);

  void clear();

 private:
  std::vector<Timer> timers_;
  UINT_PTR nextThreadId_ = 1;
  // The clock's tick count wraps at 2^32; these unwrap it.
  mutable std::int64_t lastTicks_ = 0;
  mutable std::uint32_t lastRawTicks_ = 0;
  mutable bool ticksStarted_ = false;
};

template <class Wanted>
const Timer* TimerTable::firstDue(Wanted wanted) const {
  if (timers_.empty()) return nullptr;
  const std::int64_t t = now();
  const Timer* best = nullptr;
  for (const Timer& timer : timers_) {
    if (timer.due > t || !wanted(timer)) continue;
    if (!best || timer.due < best->due) best = &timer;
  }
  return best;
}

}  // namespace platform
