// Shared by the f23 colour tests: a colour on the component scale, the table
// row of one member sampled at one point, and a fixture binding one member
// through the member harness and reading its three outputs at (x, y).
#pragma once

#include <cstdint>
#include <gtest/gtest.h>

#include "engine/catalog.h"
#include "engine/world.h"
#include "tests/components/member_harness.h"

namespace f23test {

struct Rgb
{
  double r, g, b;
};

// A colour's bytes on the component scale (a byte of 255 is 255 / 32).
inline Rgb onComponentScale(const normalcolor& c)
{
  return {c.red / 32.0, c.green / 32.0, c.blue / 32.0};
}

// a + (b - a) w per channel.
inline Rgb mix(const Rgb& a, const Rgb& b, double w)
{
  return {a.r + (b.r - a.r) * w, a.g + (b.g - a.g) * w, a.b + (b.b - a.b) * w};
}

// One member at parameters A, B, C, sampled at (x, y).
struct ColourCase
{
  const char* what;
  int16_t id;
  double A, B, C;
  double x, y;
  Rgb expected;
};

}  // namespace f23test

class F23MemberTest : public ::testing::Test
{
protected:
  // Binds member `id` of f23 with A, B, C and sends messages 7 and 8.
  void use(int16_t id, double a, double b, double c)
  {
    h_.bind(kFamily23, id);
    h_.setParams(a, b, c);
    h_.prepare();
  }

  f23test::Rgb at(double x, double y) { return {h_.at(x, y, 0), h_.at(x, y, 1), h_.at(x, y, 2)}; }

  KVmemberHarness h_;
};
