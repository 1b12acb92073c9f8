#include <gtest/gtest.h>

#include "foundation/numbers.h"

namespace {

TEST(Clock, TicksAndMillisecondsCountTheSameTime)
{
  double before = GetMillisecondTime();
  uint32_t ticks = TickCount();
  double after = GetMillisecondTime();
  // A tick is 1/60 s: the tick count lies between the two readings.
  EXPECT_GE(double(ticks) + 1, before * 60 / 1000);
  EXPECT_LE(double(ticks), after * 60 / 1000);
}

TEST(Clock, DelayWaitsUntilTheTicksHaveAdvanced)
{
  for (int32_t ticks : {0, 1, 3}) {
    uint32_t start = TickCount();
    doDelay(ticks);
    EXPECT_GE(TickCount() - start, uint32_t(ticks));
  }
}

}  // namespace
