#include "platform/win/TimerTable.h"

#include <algorithm>

#include "platform/base/Clock.h"

namespace platform {

std::int64_t TimerTable::now() const {
  const std::uint32_t raw = Clock::instance().tickCount();
  if (!ticksStarted_) {
    ticksStarted_ = true;
    lastRawTicks_ = raw;
    lastTicks_ = raw;
    return lastTicks_;
  }
  const std::uint32_t delta = raw - lastRawTicks_;
  // A clock switched or restarted (tests) shows up as a huge jump; treat it as a new start.
  if (delta > 0x80000000u) {
    lastRawTicks_ = raw;
    return lastTicks_;
  }
  lastRawTicks_ = raw;
  lastTicks_ += delta;
  return lastTicks_;
}

// Intervals below 10 ms are raised to 10 ms, as USER_TIMER_MINIMUM does.
UINT_PTR TimerTable::set(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc) {
  if (!hwnd) {
    const bool known =
        id != 0 && std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return !t.hwnd && t.id == id; });
    if (!known) id = nextThreadId_++;
  }
  const UINT interval = std::clamp<UINT>(elapseMs, 10u, 0x7FFFFFFFu);
  const std::int64_t due = now() + interval;
  for (Timer& t : timers_) {
    if (t.hwnd == hwnd && t.id == id) {
      t.interval = interval;
      t.due = due;
      t.proc = proc;
      return id ? id : 1;
    }
  }
  timers_.push_back(Timer{hwnd, id, interval, due, proc});
  return id ? id : 1;
}

bool TimerTable::kill(HWND hwnd, UINT_PTR id) {
  auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
  if (it == timers_.end()) return false;
  timers_.erase(it);
  return true;
}

void TimerTable::removeFor(HWND hwnd) {
  std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd; });
}

bool TimerTable::isSet(HWND hwnd, UINT_PTR id, TIMERPROC proc) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const Timer& t) { return t.hwnd == hwnd && t.id == id && t.proc == proc; });
}

int TimerTable::msUntilNext() const {
  if (timers_.empty()) return -1;
  const std::int64_t t = now();
  std::int64_t best = timers_.front().due;
  for (const Timer& timer : timers_) best = std::min(best, timer.due);
  if (best <= t) return 0;
  return static_cast<int>(std::min<std::int64_t>(best - t, 0x7FFFFFFF));
}

void TimerTable::rearm(const Timer& timer) {
  for (Timer& t : timers_) {
    if (&t == &timer) t.due = now() + t.interval;
  }
}

void TimerTable::clear() {
  timers_.clear();
  ticksStarted_ = false;
}

}  // namespace platform
