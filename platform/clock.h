// The program's clock: ticks of 1/60 second and milliseconds on the steady
// clock, counted from system start, and sleeping. Tests switch to a scripted
// clock that stands still until a script or a sleep moves it, so that timed
// loops run at once and give the same result every time.
//
// Any thread may read the clock; only the main thread (or a test) switches
// it.
#pragma once

#include <cstdint>

namespace kvclock {

// Ticks of 1/60 second.
uint32_t ticks();
// Milliseconds, with microsecond resolution.
double milliseconds();
// Sleeps for `ticks` ticks (nothing for 0 or less); on the scripted clock
// the clock advances by that much instead.
void sleepTicks(int32_t ticks);
// Sleeps for `ms` milliseconds, likewise.
void sleepMilliseconds(double ms);

// The scripted clock: on with a start time in ticks, off back to the steady
// clock.
void useScripted(bool on, uint32_t startTicks = 0);
bool isScripted();
// Moves the scripted clock on (nothing on the steady clock).
void advanceTicks(int32_t ticks);
void advanceMilliseconds(double ms);

}  // namespace kvclock
