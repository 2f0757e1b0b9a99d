#include "platform/base/Clock.h"

#include <gtest/gtest.h>

using platform::Clock;

TEST(Clock, VirtualClockMovesOnlyWhenTold) {
  Clock& clock = Clock::instance();
  clock.useVirtual(1'000'000);
  EXPECT_EQ(clock.utcMilliseconds(), 1'000'000);
  EXPECT_EQ(clock.tickCount(), 0u);
  clock.advance(250);
  EXPECT_EQ(clock.utcMilliseconds(), 1'000'250);
  EXPECT_EQ(clock.tickCount(), 250u);
  clock.setUtcMilliseconds(5);
  EXPECT_EQ(clock.utcMilliseconds(), 5);
  EXPECT_EQ(clock.tickCount(), 250u) << "setting the wall time leaves the tick count alone";
  clock.advance(-10);
  EXPECT_EQ(clock.tickCount(), 250u);
  clock.useReal();
  EXPECT_FALSE(clock.isVirtual());
}

TEST(Clock, TickCountWrapsAt32Bits) {
  Clock& clock = Clock::instance();
  clock.useVirtual(0);
  clock.advance(0x1'0000'0005LL);
  EXPECT_EQ(clock.tickCount(), 5u);
  clock.useReal();
}
