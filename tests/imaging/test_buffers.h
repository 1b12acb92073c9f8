// Offscreen buffers made and released by the imaging tests.
#pragma once

#include <gtest/gtest.h>

#include "imaging/offworld.h"

// A buffer over `r` at `depth`; the creation is expected to succeed.
inline Offworld Make(Rect r, int16_t depth)
{
  Offworld w = nullptr;
  EXPECT_EQ(CreateOffworld(PackRectTopLeft(r), PackRectBottomRight(r), depth, &w), noErr);
  return w;
}

// Kills its buffer when the scope ends.
struct OffworldGuard
{
  Offworld w;
  ~OffworldGuard() { KillOffworld(&w); }
};
