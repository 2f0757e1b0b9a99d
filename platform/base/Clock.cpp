#include "platform/base/Clock.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {
std::int64_t monotonicMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
}  // namespace

Clock& Clock::instance() {
  static Clock clock;
  return clock;
}

Clock::Clock() : realStartMonotonic_(monotonicMilliseconds()) {}

std::int64_t Clock::utcMilliseconds() const {
  if (virtual_) return virtualUtc_;
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::uint32_t Clock::tickCount() const {
  const std::int64_t ticks = virtual_ ? virtualTicks_ : monotonicMilliseconds() - realStartMonotonic_;
  return static_cast<std::uint32_t>(ticks);
}

void Clock::useVirtual(std::int64_t utcMilliseconds) {
  virtual_ = true;
  virtualUtc_ = utcMilliseconds;
  virtualTicks_ = 0;
}

void Clock::useReal() { virtual_ = false; }

void Clock::advance(std::int64_t milliseconds) {
  if (milliseconds <= 0) return;
  if (virtual_) {
    virtualUtc_ += milliseconds;
    virtualTicks_ += milliseconds;
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

void Clock::setUtcMilliseconds(std::int64_t utcMilliseconds) {
  if (virtual_) virtualUtc_ = utcMilliseconds;
}

}  // namespace platform
