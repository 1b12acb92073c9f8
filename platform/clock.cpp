#include "platform/clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace kvclock {

namespace {

using Steady = std::chrono::steady_clock;

std::atomic<bool> gScripted{false};
// The scripted time in microseconds.
std::atomic<int64_t> gScriptedMicros{0};

int64_t nowMicros()
{
  if (gScripted.load(std::memory_order_relaxed))
    return gScriptedMicros.load(std::memory_order_relaxed);
  auto since = Steady::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::microseconds>(since).count();
}

// Ticks from microseconds without drift: 60 ticks to the second exactly.
int64_t microsToTicks(int64_t micros)
{
  return micros * 60 / 1000000;
}

// The first microsecond of a tick (rounded up, so that it reads as that tick).
int64_t ticksToMicros(int64_t ticks)
{
  return (ticks * 1000000 + 59) / 60;
}

}  // namespace

uint32_t ticks()
{
  return uint32_t(microsToTicks(nowMicros()));
}

double milliseconds()
{
  return double(nowMicros()) / 1000.0;
}

void sleepTicks(int32_t n)
{
  if (n <= 0)
    return;
  if (gScripted.load()) {
    advanceTicks(n);
    return;
  }
  // Until the tick counter has advanced by n, as a wait on the counter would.
  int64_t target = ticksToMicros(microsToTicks(nowMicros()) + n);
  std::this_thread::sleep_until(Steady::time_point(std::chrono::microseconds(target)));
}

void sleepMilliseconds(double ms)
{
  if (!(ms > 0))
    return;
  if (gScripted.load()) {
    advanceMilliseconds(ms);
    return;
  }
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
}

void useScripted(bool on, uint32_t startTicks)
{
  if (on)
    gScriptedMicros.store(ticksToMicros(startTicks));
  gScripted.store(on);
}

bool isScripted()
{
  return gScripted.load();
}

void advanceTicks(int32_t n)
{
  if (n > 0 && gScripted.load()) {
    // Lands on the start of the tick n ticks on, so that the counter reads
    // exactly n more.
    gScriptedMicros.store(ticksToMicros(microsToTicks(gScriptedMicros.load()) + n));
  }
}

void advanceMilliseconds(double ms)
{
  if (ms > 0 && ms < 1e12 && gScripted.load())
    gScriptedMicros.fetch_add(int64_t(ms * 1000.0));
}

}  // namespace kvclock
