#include "foundation/vectors.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

using V = std::vector<double>;

void expectNear(const V& got, const V& want, double tol = 1e-12)
{
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < got.size(); ++i)
    EXPECT_NEAR(got[i], want[i], tol) << "element " << i;
}

TEST(Vectors, ResampleInPlace)
{
  V x = {0, 1, 2, 3, 0, 0, 0, 0};
  dvector_resample(x.data(), x.data(), 4, 8);
  expectNear(x, {0, 0.5, 1, 1.5, 2, 2.5, 3, 3});

  V down = {0, 10, 20, 30, 40, 50};
  V out(3);
  dvector_resample(down.data(), out.data(), 6, 3);
  expectNear(out, {0, 20, 40});

  V one = {7};
  V many(4);
  dvector_resample(one.data(), many.data(), 1, 4);
  expectNear(many, {7, 7, 7, 7});
}

// Inputs that divide by zero or read outside the vector when taken literally.
TEST(Vectors, DegenerateCountsAndRanges)
{
  V zeros = {0, 0, 0};
  dvector_Normalize(zeros.data(), 3, 1);
  expectNear(zeros, {0, 0, 0});

  V one(1);
  dvector_RampAB(one.data(), 1, 2, 5);
  expectNear(one, {2});

  V env(1);
  const V breakpoints = {4, 8, 9};
  dvector_Envelope(env.data(), 1, breakpoints.data(), 3);
  expectNear(env, {4});

  const V x = {1, 2, 3};
  EXPECT_DOUBLE_EQ(dvector_getvalue(x.data(), 3, 5, 0), 1);
  EXPECT_DOUBLE_EQ(dvector_getvalue(x.data(), 1, 0.5, 1), 1);

  V q = {0.3, 0.7};
  dvector_Quantize(q.data(), 2, 0);
  expectNear(q, {0.3, 0.7});

  // A cross-fade longer than the vector is held to it.
  V fade = {10, 20, 30};
  dvector_AutoCrossFade(fade.data(), 3, 8);
  for (double v : fade)
    EXPECT_TRUE(std::isfinite(v));
}

TEST(Vectors, ScalingAndFitting)
{
  V n = {-4, 2, 1};
  dvector_Normalize(n.data(), 3, 1);
  expectNear(n, {-1, 0.5, 0.25});

  V fit = {0.25, 0.5, 0.75};
  dvector_fitToRange(fit.data(), 3, 0, 1);
  expectNear(fit, {0, 0.5, 1});

  // Values beyond -1..1 are fitted by their own minimum and maximum.
  V wide = {2, 3, 4};
  dvector_fitToRange(wide.data(), 3, 0, 1);
  expectNear(wide, {0, 0.5, 1});

  V already = {0, 0.5, 0.8};
  dvector_fitToRange(already.data(), 3, 0, 1);
  expectNear(already, {0, 0.5, 0.8});

  V clamp = {-2, 0.5, 9};
  dvector_MinMax(clamp.data(), 3, 0, 1);
  expectNear(clamp, {0, 0.5, 1});

  V ramp(5);
  dvector_RampAB(ramp.data(), 5, 1, 3);
  expectNear(ramp, {1, 1.5, 2, 2.5, 3});
}

TEST(Vectors, ReorderingTable)
{
  struct Case
  {
    const char* name;
    void (*op)(V&);
    V in, want;
  };
  const Case cases[] = {
      {"offset +1", [](V& v) { dvector_Offset(v.data(), 4, 1); }, {1, 2, 3, 4}, {4, 1, 2, 3}},
      {"offset -5", [](V& v) { dvector_Offset(v.data(), 4, -5); }, {1, 2, 3, 4}, {2, 3, 4, 1}},
      {"reverse", [](V& v) { dvector_Reverse(v.data(), 4); }, {1, 2, 3, 4}, {4, 3, 2, 1}},
      {"sort", [](V& v) { dVector_Sort(v.data(), 5); }, {3, -1, 3, 0, 2}, {-1, 0, 2, 3, 3}},
      {"repeat x2", [](V& v) { dvector_repeat(v.data(), 4, 2); }, {1, 2, 3, 4}, {1, 3, 1, 3}},
      {"envelope",
       [](V& v) {
         const V b = {0, 10};
         dvector_Envelope(v.data(), 5, b.data(), 2);
       },
       {0, 0, 0, 0, 0},
       {0, 2.5, 5, 7.5, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    V v = c.in;
    c.op(v);
    expectNear(v, c.want);
  }

  V out(4);
  const V in = {1, 2, 3, 4};
  dvector_Offset2(in.data(), out.data(), 4, -1, 1);
  expectNear(out, {1, 2, 3, 0});
}

TEST(Vectors, Envelopes)
{
  V env(100);
  dvector_TimeEnvelope(env.data(), 100, 0.5, 1, 0.8);
  EXPECT_DOUBLE_EQ(env[0], 0);
  for (double v : env) {
    EXPECT_GE(v, 0);
    EXPECT_LE(v, 0.8);
  }
  EXPECT_DOUBLE_EQ(env[25], 0.8);  // the attack reaches the level
  EXPECT_LT(env[99], env[50]);     // and the decay falls

  V loop = {0, 10, 20, 30, 40, 50, 60, 70};
  dvector_AutoCrossFade(loop.data(), 8, 2);
  EXPECT_DOUBLE_EQ(loop[0], loop[6]);
  EXPECT_DOUBLE_EQ(loop[1], loop[7]);
}

TEST(Vectors, SmoothKeepsConstantsAndHiPassRemovesThem)
{
  for (bool wrap : {false, true})
    for (int w : {1, 4}) {
      V x(20, 3.0);
      dvector_Smooth(x.data(), 20, w, wrap);
      expectNear(x, V(20, 3.0));
      dvector_HiPass(x.data(), 20, w, wrap);
      expectNear(x, V(20, 0.0));
    }
}

TEST(Vectors, SixteenBitSamples)
{
  std::vector<int16_t> s = {32767, -32768, 5};
  sVector_Add(s.data(), 3, 1);
  EXPECT_EQ(s, (std::vector<int16_t>{-32768, -32767, 6}));

  std::vector<int16_t> peak = {100, -200, 50};
  sVector_Normalize(peak.data(), 3);
  EXPECT_EQ(peak, (std::vector<int16_t>{16383, -32767, 8191}));

  std::vector<int16_t> big = {30000};
  sVector_Scale(big.data(), 1, 2);
  EXPECT_EQ(big[0], 32767);  // held to 16 bits

  std::vector<int16_t> rot = {1, 2, 3, 4};
  sVector_Offset(rot.data(), 4, 2);
  EXPECT_EQ(rot, (std::vector<int16_t>{3, 4, 1, 2}));

  std::vector<int16_t> sorted = {5, -3, 5, 0};
  sVector_Sort(sorted.data(), 4);
  EXPECT_EQ(sorted, (std::vector<int16_t>{-3, 0, 5, 5}));

  const V curve = {0, 1};
  std::vector<int16_t> a = {0, 0, 0, 0}, b = {100, 100, 100, 100}, out(4);
  sVector_CurveBlend(a.data(), b.data(), out.data(), 4, curve.data(), 2);
  EXPECT_EQ(out, (std::vector<int16_t>{0, 25, 50, 75}));
}

TEST(Vectors, DrawVisitsSamplesAcrossTheRectangle)
{
  struct Point
  {
    int16_t h, v;
    bool move;
  };
  std::vector<Point> points;
  const std::vector<int16_t> s = {0, 16384, -16384, 0, 32767};
  const Rect r{0, 10, 100, 50};
  sVector_draw(
      s.data(), 5, r, normalcolor{255, 255, 0, 0},
      [](void* ctx, int16_t h, int16_t v, bool move) {
        static_cast<std::vector<Point>*>(ctx)->push_back({h, v, move});
      },
      &points);
  ASSERT_EQ(points.size(), 5u);
  EXPECT_TRUE(points[0].move);
  EXPECT_FALSE(points[1].move);
  EXPECT_EQ(points[0].h, 10);
  EXPECT_EQ(points[4].h, 50);
  EXPECT_EQ(points[1].v, 50);   // half way up
  EXPECT_EQ(points[2].v, 150);  // below the baseline for negative samples
}

}  // namespace

namespace {

TEST(Vectors, ReadingAtShiftedPositions)
{
  const V table = {0, 10, 20, 30};
  V out(4);
  struct Case
  {
    const char* name;
    double m, depth;
    bool centred;
    V want;
  };
  const Case cases[] = {
      {"no modulation", 0, 4, false, {0, 10, 20, 30}},
      {"centred half is no shift", 0.5, 4, true, {0, 10, 20, 30}},
      {"half a step on", 0.5, 1, false, {5, 15, 25, 15}},  // the last wraps to the first
      {"one step back", 0, 2, true, {30, 0, 10, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const V m(4, c.m);
    dvector_phasemod(table.data(), m.data(), out.data(), 4, c.depth, c.centred);
    expectNear(out, c.want);
  }

  // The smoothed repeat starts on the continuation past the end.
  V in(300), rep(300);
  for (int i = 0; i < 300; ++i)
    in[size_t(i)] = i;
  dvector_sdrepeat(in.data(), rep.data(), 300, 1.5, true);
  EXPECT_DOUBLE_EQ(rep[0], in[150]);
  EXPECT_DOUBLE_EQ(rep[100], in[150]);  // past the blend: trunc(150) mod 300

  // One octave only when the gain is 0 or the ratio 0.
  V noise(300);
  for (double ratio : {0.0, 2.0}) {
    dvector_ifnoise(in.data(), noise.data(), 300, ratio, 0);
    expectNear(noise, in);
  }
}

}  // namespace
