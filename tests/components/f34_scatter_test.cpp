// The f34 scattered features and strokes on their edge values: the disk
// tiles' background, the star field's empty space and phase, the strokes
// without a mark, the dots' canvas and centres, and the cellular texture's
// borders, flat colour and detail fade.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

#include "components/f34/f34_strokes.h"
#include "engine/palettelookups.h"
#include "noise/lattice.h"
#include "tests/components/member_harness.h"

namespace {

gfunc* bound(KVmemberHarness& h, int16_t id, double a, double b, double c)
{
  gfunc* g = h.bind(kFamily34, id);
  h.setParams(a, b, c);
  h.prepare();
  return g;
}

void expectSample(KVmemberHarness& h, double x, double y, const double want[4], double tol)
{
  for (int out = 0; out < 4; ++out)
    EXPECT_NEAR(h.at(x, y, out), want[out], tol) << "output " << out << " at " << x << ", " << y;
}

TEST(F34Scatter, DiskTilesBackgroundAndAltitudePass)
{
  KVmemberHarness h;
  bound(h, 24, 1.5, 0.444, 2);
  h.setInput(2, KVtestInput::fill(0.7));
  // The middle of a cell edge lies on the rim of all four nearest disks.
  const double background[4] = {20.0 / 32, 60.0 / 32, 100.0 / 32, -1.5};
  for (int n = -5; n < 5; ++n)
    expectSample(h, (n + 0.5) / 2, (3 - n) / 2.0, background, 1e-12);
  // In the altitude pass a disk raises w and leaves the background colour.
  h.doc()->fractal.reliefPass = 1;
  for (int n = -5; n < 5; ++n) {
    const double x = (n + 0.5) / 2, y = (3.5 - n) / 2;
    EXPECT_GT(h.at(x, y, 3), -1.5) << n;
    for (int out = 0; out < 3; ++out)
      EXPECT_EQ(h.at(x, y, out), background[out]) << n;
  }
}

TEST(F34Scatter, StarFieldIsDarkBetweenStarsAndMovesWithThePhase)
{
  KVmemberHarness h;
  KVgridView view;
  view.width = view.height = 32;
  bound(h, 32, 2, 0, 2);
  h.setInput(2, KVtestInput::fill(0.4));
  std::vector<double> w = h.grid(view, 3), r = h.grid(view, 0);
  int dark = 0;
  for (size_t i = 0; i < w.size(); ++i)
    if (w[i] == 0) {
      EXPECT_EQ(r[i], 0);
      ++dark;
    }
  EXPECT_GT(dark, 100);
  EXPECT_LT(dark, int(w.size()));
  // B + 1 moves the field by one lattice cell along x and z (1/C = 0.5).
  KVmemberHarness moved;
  bound(moved, 32, 2, 1, 2);
  for (int i = -20; i < 20; ++i) {
    const double x = i * 0.0625, y = 0.3 + i * 0.03125;
    h.setInput(2, KVtestInput::fill(0.375 - 0.5));
    moved.setInput(2, KVtestInput::fill(0.375));
    for (int out = 0; out < 4; ++out)
      EXPECT_NEAR(moved.at(x, y, out), h.at(x - 0.5, y, out), 1e-12) << i << " " << out;
  }
}

TEST(F34Scatter, StrokesWithoutAMark)
{
  KVmemberHarness h;
  h.bind(kFamily34, 23);
  const KVtables* t = &h.doc()->tables;
  // The layers leave no point of the plane unmarked (the four lattices of
  // the strokes interleave at spacing 0.5 and the jitter is at most 0.36;
  // the network's two nearly so): only a point beyond the lattice has none.
  const std::vector<std::pair<double, double>> empty = {{3e9, 0.5}, {-1e12, 7}};
  for (const auto& [X, Y] : empty) {
    SCOPED_TRACE(X);
    bound(h, 23, 1, 0.5, 2);
    h.setInput(2, KVtestInput::fill(1.1));
    const double zero[4] = {0, 0, 0, 0};
    expectSample(h, X * 2, Y * 2, zero, 0);
  }
  normalcolor four[16] = {};
  GetParam1DColorTable(four, 0.5, 4);
  const double scale = (1.0 / 4 + 0.75) / 32;
  for (const auto& [X, Y] : empty) {
    bound(h, 25, 1, 0.5, 2);
    h.setInput(2, KVtestInput::fill(1.1));
    const double strokes[4] = {0, 0, 0, -0.5};
    expectSample(h, X / 2, Y / 2, strokes, 1e-12);
    bound(h, 20, 1, 0.5, 2);
    h.setInput(2, KVtestInput::fill(1.1));
    const double canvas[4] = {scale * four[0].red / 2, scale * four[0].green / 2,
                              scale * four[0].blue / 2, -0.5};
    expectSample(h, X / 2, Y / 2, canvas, 1e-12);
  }
  // Every point of the plane has a mark of the four layers.
  for (int i = 0; i < 400; ++i) {
    F34mark marks[16];
    EXPECT_GT(f34_gatherMarks(t, -50 + 0.25 * i + 0.125, 0.375 - 0.1 * i, 4, marks), 0);
  }
}

TEST(F34Scatter, DotsCanvasAndCentres)
{
  KVmemberHarness h;
  KVgridView view;
  view.width = view.height = 24;
  // Where no dot rises the canvas shows: black for B = 1, white for B = 0.
  for (double b : {0.0, 1.0}) {
    bound(h, 27, 2, b, 2);
    h.setInput(2, KVtestInput::fill(0.3));
    const std::vector<double> w = h.grid(view, 3), g = h.grid(view, 1);
    int bare = 0;
    for (size_t i = 0; i < w.size(); ++i)
      if (w[i] == 0) {
        EXPECT_EQ(g[i], 8 - 8 * b);
        ++bare;
      }
    EXPECT_GT(bare, 0) << b;
  }
  // At a dot's centre the height is at least A, and exactly A where no other
  // dot comes near.
  bound(h, 27, 2, 0.5, 1);
  const KVtables* t = &h.doc()->tables;
  int exact = 0;
  for (int32_t ix = -8; ix < 8; ++ix) {
    const uint32_t row = kvnoise::hash3D(t, ix, 2, 0, 1023u);
    const double* V = t->rndVec3D[row];
    const double x = ix - 0.5 * V[0], y = 2 - 0.5 * V[1], z = -0.5 * V[2];
    h.setInput(2, KVtestInput::fill(z));
    const double w = h.at(x, y, 3);
    EXPECT_GE(w, 2 - 1e-9) << ix;
    exact += std::fabs(w - 2) < 1e-9;
  }
  EXPECT_GT(exact, 0);
}

class F34Cellular : public ::testing::Test
{
protected:
  void SetUp() override
  {
    bound(h_, 34, 2, 0.5, 2);
    const normalcolor light = h_.doc()->defaultColors[0];
    c2_[0] = light.red / 32.0;
    c2_[1] = light.green / 32.0;
    c2_[2] = light.blue / 32.0;
  }
  KVmemberHarness h_;
  double c2_[3] = {};
};

TEST_F(F34Cellular, BordersTakeTheLightColour)
{
  h_.doc()->defaultColors[0] = normalcolor{255, 200, 40, 10};
  // Unjittered features: the lattice corners and the cell centres (the
  // second lattice), equally far from (1/4, 1/4, 1/4).
  for (auto& v : h_.doc()->tables.rndVec3D)
    v[0] = v[1] = v[2] = 0;
  h_.prepare();
  const double light[3] = {200 / 32.0, 40 / 32.0, 10 / 32.0};
  // Just off the border e is nearly 0: the light colour, w nearly 0.
  h_.setInput(2, KVtestInput::fill(0.25));
  const double near[4] = {light[0], light[1], light[2], 0};
  expectSample(h_, 0.25 + 1e-7, 0.25, near, 1e-4);
  // Exactly on it the second distance must lie strictly above the first,
  // so the next feature, capped at 0.6, sets e.
  EXPECT_NEAR(h_.at(0.25, 0.25, 3), 4 * (0.6 - 0.1875), 1e-12);
}

TEST_F(F34Cellular, FlatColourPastTheDetailLimit)
{
  double c3[3];
  double cycle[9];
  GetTripleColorCycle(cycle, 0.5, true);
  for (int k = 0; k < 3; ++k) {
    const double c0 = cycle[k] / 32, c1 = cycle[3 + k] / 32;
    const double m = c0 + (c1 - c0) / 4;
    c3[k] = m + (c2_[k] - m) / 2;
  }
  // F = C / 2 = 1 lies beyond twice the limit 0.33 x 1.
  h_.doc()->yPixelScale = 1;
  const double flat[4] = {c3[0], c3[1], c3[2], 0.24 * 2};
  for (double x : {-1.3, 0.2, 2.9})
    expectSample(h_, x, 0.7, flat, 1e-12);
  // The altitude pass colours every sample c3.
  h_.doc()->yPixelScale = 1000;
  h_.doc()->fractal.reliefPass = 1;
  for (double x : {-1.3, 0.2, 2.9})
    for (int out = 0; out < 3; ++out)
      EXPECT_NEAR(h_.at(x, 0.7, out), c3[out], 1e-12);
  // Between 1 and 1.5 times the limit the cells fade toward c3.
  h_.doc()->fractal.reliefPass = 0;
  h_.doc()->yPixelScale = 1 / 0.33 / 1.25;  // limit near 0.8: r near 0.4
  const double r = (1 - 0.33 * h_.doc()->yPixelScale) / 0.5;
  const double x = 0.37, y = -1.1;
  const double faded = h_.at(x, y, 0), fadedW = h_.at(x, y, 3);
  h_.doc()->yPixelScale = 1000;
  const double sharp = h_.at(x, y, 0), sharpW = h_.at(x, y, 3);
  EXPECT_NEAR(faded, sharp + (c3[0] - sharp) * r, 1e-9);
  EXPECT_NEAR(fadedW, sharpW + (0.12 * 4 - sharpW) * r, 1e-9);
}

}  // namespace
