// The one clock that GetTickCount, Sleep, window timers and local time read.
// The real clock follows the host; the virtual clock moves only when told to.
#pragma once

#include <cstdint>

namespace platform {

class Clock {
 public:
  static Clock& instance();

  // Milliseconds since 1970-01-01 00:00 UTC.
  std::int64_t utcMilliseconds() const;
  // Milliseconds since the clock started, wrapping at 2^32 as GetTickCount does.
  std::uint32_t tickCount() const;

  bool isVirtual() const { return virtual_; }
  // Switches to a virtual clock standing at the given time; ticks restart at 0.
  void useVirtual(std::int64_t utcMilliseconds);
  void useReal();

  // Virtual: moves the clock forward at once. Real: sleeps.
  void advance(std::int64_t milliseconds);
  // Virtual only: sets the wall time without touching the tick count.
  void setUtcMilliseconds(std::int64_t utcMilliseconds);

 private:
  Clock();
  bool virtual_ = false;
  std::int64_t virtualUtc_ = 0;
  std::int64_t virtualTicks_ = 0;
  std::int64_t realStartMonotonic_ = 0;
};

}  // namespace platform
