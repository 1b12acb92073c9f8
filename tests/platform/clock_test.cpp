#include "platform/clock.h"

#include <gtest/gtest.h>

namespace {

struct ScriptedClock : testing::Test
{
  void SetUp() override { kvclock::useScripted(true, 600); }
  void TearDown() override { kvclock::useScripted(false); }
};

TEST_F(ScriptedClock, StandsStillUntilMovedAndSleepsMoveIt)
{
  EXPECT_EQ(kvclock::ticks(), 600u);
  EXPECT_EQ(kvclock::ticks(), 600u);
  EXPECT_DOUBLE_EQ(kvclock::milliseconds(), 10000.0);
  kvclock::sleepTicks(30);
  EXPECT_EQ(kvclock::ticks(), 630u);
  EXPECT_DOUBLE_EQ(kvclock::milliseconds(), 10500.0);
  kvclock::sleepMilliseconds(8);  // less than a tick: the counter stays
  EXPECT_EQ(kvclock::ticks(), 630u);
  kvclock::advanceTicks(1);  // lands on the next tick's start
  EXPECT_EQ(kvclock::ticks(), 631u);
  kvclock::sleepTicks(0);
  kvclock::sleepTicks(-5);
  EXPECT_EQ(kvclock::ticks(), 631u);
}

TEST(SteadyClock, TicksAndMillisecondsAgreeAndSleepWaits)
{
  ASSERT_FALSE(kvclock::isScripted());
  uint32_t t0 = kvclock::ticks();
  double m0 = kvclock::milliseconds();
  kvclock::sleepTicks(3);
  uint32_t t1 = kvclock::ticks();
  double m1 = kvclock::milliseconds();
  EXPECT_GE(t1 - t0, 3u);
  EXPECT_GE(m1 - m0, 2 * 1000.0 / 60);
  // The two clocks count from the same start.
  EXPECT_NEAR(double(t1), m1 * 60 / 1000, 2.0);
}

}  // namespace
