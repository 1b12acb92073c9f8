// The f25 tilings, mirrors, polar tilings and twirls: names, labels and
// maps byte for byte, then the behaviours that matter per member (cell
// edges, mirrored cells, the colour table left as it was, held counts,
// parameters stored back, bounded inversion counts).
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <numbers>

#include "components/f25/f25_mirrors.h"
#include "tests/components/catalog_rows.h"
#include "tests/components/f25_test_support.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double M = gINFINITY;

TEST(F25Symmetry, NamesLabelsAndRangeEnds)
{
  const KVnameRow names[] = {
      {3, " Tiles", 3, {"Scale ", "Frequency ", "Scale Y "}},
      {6, " Mirror Tiles", 3, {"Scale ", "Frequency ", "Scale Y "}},
      {8, " Mirror", 3, {"Rotation ", "Offset x ", "Offset y "}},
      {10, " Multi Perlin random", 3, {"Amplitude ", "Octaves ", "Frequency "}},
      {11, " Mirror N", 3, {"Symmetries # ", "Offset x ", "Offset y "}},
      {12, " Spiral Polar Tile", 3, {"Size ", "Tile # ", "Phase "}},
      {17, " Outer Mirror N", 3, {"Rotation ", "Offset x ", "Mirrors number "}},
      {19, " Fractal Polar Tile", 3, {"Size ", "Tile # ", "Phase "}},
      {20, " Polar Space", 3, {"Radial steps # ", "Radial phase ", "Phase "}},
      {25, " Hexa Mirror Tiles", 3, {"Scale ", "Frequency ", "Phase "}},
      {26, " Disk Modulo X ", 3, {"Inversion Radius ", "Offset x ", "Offset y "}},
      {27, " Escher Disk Tile ", 3, {"Disk number ", "Rotation ", "Rotation "}},
      {28, " Rotate N ", 3, {"Rotation steps # ", "Phase ", "Scale "}},
      {29, " Random Twirls", 3, {"Amplitude ", "Phase ", "Frequency "}},
  };
  const KVrangeRow ranges[] = {
      {3, {1, 1, 1}, {0, 0, 0}, {16, 16, 2}},
      {6, {1, 1, 1}, {0, 0, 0}, {16, 16, 2}},
      {8, {0, 0, 0}, {-2 * kPi, -32, -32}, {2 * kPi, 32, 32}},
      {10, {1, 4, 2}, {0, 1, 0}, {4, 128, 16}},
      {11, {8, 0, 0}, {2, -32, -32}, {36, 32, 32}},
      {12, {1, 3, 0}, {0, 1, -32}, {1, 32, 32}},
      {17, {0, 2, 2}, {-2 * kPi, 0, 1}, {2 * kPi, 16, 12}},
      {19, {1, 3, 0}, {0, 2, -32}, {1, 24, 32}},
      {20, {4, 1, 0}, {2, -8, -8}, {32, 8, 8}},
      {25, {2, 1, 1}, {0, 0, 0}, {16, 16, 2}},
      {26, {1, 0, 0}, {0, -8, -8}, {8, 8, 8}},
      {27, {3, -kPi, 0}, {3, -2 * kPi, -2 * kPi}, {6, 2 * kPi, 2 * kPi}},
      {28, {3, 0, 1}, {3, -16, 1}, {16, 16, 8}},
      {29, {2, 0, 1}, {0, -32, 0}, {4, 32, 8}},
  };
  KVmemberHarness h;
  for (const KVnameRow& row : names)
    KV_expectNameAndLabels(h, kFamily25, row);
  for (const KVrangeRow& row : ranges)
    KV_expectDefaultsAndRangeEnds(h, kFamily25, row);
  // Multi Perlin random answers as the two-output member: fractal flag set.
  for (int16_t id : {int16_t(10), int16_t(29)})
    EXPECT_NE(h.bind(kFamily25, id)->freqFlag, 0) << id;
}

// Message 4 at 0.3 then 5: the truncating maps come back at their step.
TEST(F25Symmetry, TruncatingMapsInvert)
{
  struct Row
  {
    int16_t id;
    int param;
    double value;
    double back;
  };
  const Row rows[] = {{11, 0, 12, 10.0 / 34}, {17, 2, 4, 3.0 / 11}, {28, 0, 6, 3.0 / 13},
                      {12, 1, 10, 9.0 / 31},  {19, 1, 8, 6.0 / 22}, {27, 0, 3, 0}};
  KVmemberHarness h;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    gfunc* g = h.bind(kFamily25, row.id);
    double n[3] = {0.3, 0.3, 0.3};
    h.send(kMsgFromNormalized, &n[0], &n[1], &n[2]);
    const double values[3] = {g->A, g->B, g->C};
    EXPECT_DOUBLE_EQ(values[row.param], row.value);
    h.send(kMsgToNormalized, &n[0], &n[1], &n[2]);
    EXPECT_NEAR(n[row.param], row.back, 1e-12);
  }
}

TEST(F25Symmetry, TilesCellsAndEdges)
{
  F25bench bench;
  // C below 0.125 runs as 0.125.
  bench.bind(3, 1, 1, 0.05);
  const F25out low = bench.at(0.3, 0.7);
  bench.bind(3, 1, 1, 0.125);
  F25_expectSame(low, bench.at(0.3, 0.7));
  // u = -2 exactly: fraction 1, x' = 0.5 k1 on the edge, full background.
  bench.bind(3, 1, 2, 1);
  const F25out edge = bench.at(-2.5, 0.1);
  EXPECT_EQ(edge.x, 1.0);
  EXPECT_EQ(edge.r, 96 / 32.0);
  EXPECT_EQ(edge.g, 160 / 32.0);
  EXPECT_EQ(edge.b, 224 / 32.0);
  // Mirror Tiles: cells -1 and 1 are both odd and mirror alike.
  bench.bind(6, 1, 2, 1);
  const F25out minus = bench.at(-1.2, 0.2), plus = bench.at(0.8, 0.2);
  EXPECT_DOUBLE_EQ(minus.x, plus.x);
  EXPECT_NEAR(minus.x, 2 * (0.5 - 0.3), 1e-12);
  // A sample whose cell is beyond 32 bits gives the marker, 4 and 5 kept.
  const F25out far = bench.at(1e12, 0);
  EXPECT_EQ(far.x, M);
  EXPECT_EQ(far.r, M);
  EXPECT_EQ(far.g, -99);
}

TEST(F25Symmetry, HexaColoursAndDiskModulo)
{
  F25bench bench;
  bench.bind(25, 2, 1, 1);
  // Away from the edges the colour is one of the gradient's three keys.
  int seen[3] = {0, 0, 0};
  for (int i = 0; i < 400; ++i) {
    const F25out o = bench.at(-7 + 0.037 * i, 3 - 0.029 * i);
    const double full = 255 / 32.0;
    const F25rgb keys[3] = {{full, 0, 0}, {0, full, 0}, {0, 0, full}};
    for (int k = 0; k < 3; ++k)
      if (o.r == keys[k].r && o.g == keys[k].g && o.b == keys[k].b)
        ++seen[k];
  }
  for (int k = 0; k < 3; ++k)
    EXPECT_GT(seen[k], 0) << k;
  // Disk Modulo X: the rim is the background, far away the point returns.
  bench.bind(26, 1, 0, 0);
  const F25out rim = bench.at(0, 1);
  EXPECT_EQ(rim.r, 3);
  EXPECT_EQ(rim.g, 5);
  EXPECT_EQ(rim.b, 7);
  const F25out away = bench.at(0.3, 5);
  EXPECT_EQ(away.x, 0.3);
  EXPECT_EQ(away.y, 5);
  EXPECT_EQ(away.r + away.g + away.b, 0);
}

TEST(F25Symmetry, MirrorsKeepTheColourTableAndFoldAlike)
{
  F25bench bench;
  cpalette before;
  std::memcpy(&before, &bench.doc()->tables.gradientKeys, sizeof before);
  bench.bind(8, 0.4, 0, 0);
  const double c = std::cos(0.4), s = std::sin(0.4);
  // (c, -s) is the line's normal: points at +-d along it fold alike.
  const F25out a = bench.at(0.3 * c + 2 * s, -0.3 * s + 2 * c);
  const F25out b = bench.at(-0.3 * c + 2 * s, 0.3 * s + 2 * c);
  EXPECT_NEAR(a.x, b.x, 1e-12);
  EXPECT_NEAR(a.y, b.y, 1e-12);
  const F25out onLine = bench.at(2 * s, 2 * c);
  EXPECT_EQ(onLine.r, 3);
  EXPECT_EQ(onLine.g, 5);
  EXPECT_EQ(onLine.b, 7);
  EXPECT_EQ(std::memcmp(&before, &bench.doc()->tables.gradientKeys, sizeof before), 0);
  // Mirror N with an A the map never gives runs held to 1..36.
  for (double n : {0.0, -5.0, 1000.0, std::nan("")}) {
    bench.bind(11, n, 0, 0);
    const F25out o = bench.at(0.7, -0.4);
    EXPECT_TRUE(std::isfinite(o.x) && std::isfinite(o.y)) << n;
  }
  EXPECT_EQ(std::memcmp(&before, &bench.doc()->tables.gradientKeys, sizeof before), 0);
  bench.doc()->tables.gradientKeys.count = 0;
  bench.bind(11, 4, 0, 0);
  bench.at(0.7, -0.4);
  EXPECT_EQ(bench.doc()->tables.gradientKeys.count, 0);
}

TEST(F25Symmetry, OuterMirrorAndRotateN)
{
  F25bench bench;
  // One mirror at rotation 0: p = x + B; only x < -B is reflected, blue 0.5.
  bench.bind(17, 0, 1, 1);
  const F25out beyond = bench.at(-3, 0.5), inside = bench.at(-0.5, 0.5);
  EXPECT_DOUBLE_EQ(beyond.x, 1);
  EXPECT_EQ(beyond.b, 0.5);
  EXPECT_EQ(inside.x, -0.5);
  EXPECT_EQ(inside.b, 0);
  // The alternative compute reflects in the same line, coloured by its index.
  gfunc* outer = bench.component();
  outer->compute = f25_outermirrorNreal;
  const F25out real = bench.at(-3, 0.5);
  EXPECT_DOUBLE_EQ(real.x, 1);
  EXPECT_DOUBLE_EQ(real.y, beyond.y);
  EXPECT_EQ(real.r, 255 / 32.0);
  EXPECT_EQ(bench.at(-0.5, 0.5).r, 0);
  // C above 12 runs with 12 mirrors; each reflection adds 0.5.
  bench.bind(17, 0, 1, 40);
  const F25out many = bench.at(9, 4);
  EXPECT_TRUE(std::isfinite(many.x));
  EXPECT_EQ(std::fmod(many.r * 2, 1.0), 0);
  // Rotate N: A above 16 and the origin stay inside the sector table.
  for (double a : {1.0, 40.0}) {
    bench.bind(28, a, 0, 1);
    const F25out origin = bench.at(0, 0);
    EXPECT_TRUE(std::isfinite(origin.r)) << a;
    bench.at(1e-300, -1);  // an angle of about 2 pi
  }
  // With no sector table the compute writes nothing.
  gfunc* g = bench.bind(28, 5, 0, 1);
  std::free(g->auxMemory);
  g->auxMemory = nullptr;
  const F25out none = bench.at(1, 1);
  EXPECT_EQ(none.x, -99);
  EXPECT_EQ(none.b, -99);
}

TEST(F25Symmetry, ParametersStoredBack)
{
  F25bench bench;
  gfunc* g = bench.bind(20, 1, 0, 0);
  EXPECT_EQ(g->A, 2);
  g = bench.bind(12, 1, 2.7, 0);
  EXPECT_EQ(g->B, 2);
  g = bench.bind(27, 2, -kPi, 0);
  EXPECT_EQ(g->A, 3);
  // Polar Space: x' from the angle, y' = ln r times 2/pi.
  g = bench.bind(20, 1, 0, 0);
  const F25out p = bench.at(0, -std::exp(1.0));
  EXPECT_NEAR(p.x, -kPi * 0.6366197723675814, 1e-12);
  EXPECT_NEAR(p.y, 0.6366197723675814, 1e-12);
}

TEST(F25Symmetry, SpiralGapAndEscherOutside)
{
  F25bench bench;
  bench.bind(12, 1, 3, 0);
  int gaps = 0;
  for (int i = 0; i < 200; ++i) {
    const F25out o = bench.at(0.13 * i - 13, 0.07 * i - 5);
    if (o.x * o.x + o.y * o.y >= 1) {
      ++gaps;
      EXPECT_EQ(o.r + o.g + o.b, 0);
    }
  }
  EXPECT_GT(gaps, 0);
  bench.bind(27, 3, 0, 0);
  const F25out out = bench.at(3.2, 0);
  EXPECT_EQ(out.x, M);
  EXPECT_EQ(out.y, M);
  EXPECT_EQ(out.r + out.g + out.b, 0);
  // A count of 0 inverts nothing; any count ends (32767 runs as 256).
  for (int16_t octaves : {int16_t(0), int16_t(32767), int16_t(-4)}) {
    bench.doc()->fractal.octaves = octaves;
    bench.bind(27, 9, 0.3, 0.1);
    const F25out e = bench.at(0.5, 1.2);
    if (octaves <= 0) {
      EXPECT_EQ(e.r, 0);
      EXPECT_EQ(e.b, 0);
    }
    bench.bind(19, 1, 3, 0);
    const F25out f = bench.at(0.21, 0.93);
    EXPECT_TRUE(std::isfinite(f.x) || f.x == M) << octaves;
  }
}

TEST(F25Symmetry, TwirlsAndMultiPerlin)
{
  F25bench bench;
  gfunc* g = bench.bind(29, 0, 0, 1);
  for (double x : {0.3, -2.1, 5.7}) {
    const F25out o = bench.at(x, 0.9);
    EXPECT_NEAR(o.x, x, 1e-9);
    EXPECT_NEAR(o.y, 0.9, 1e-9);
    EXPECT_NEAR(o.r, 0, 1e-6);
    EXPECT_GE(o.b, 0);
    EXPECT_LE(o.b, 16);
  }
  g = bench.bind(29, 2, 0, 0);
  EXPECT_EQ(f25_k(g).k[2], 99999.99999999999);
  // Start frequency at or above 2.0943951024 times the limit: no displacement.
  g = bench.bind(10, 1, 4, 2);
  g->doc->yPixelScale = 0.01;
  const F25out still = bench.at(0.37, -1.3);
  EXPECT_EQ(still.x, 0.37);
  EXPECT_EQ(still.y, -1.3);
  EXPECT_EQ(still.r + still.g + still.b, 0);
}

}  // namespace
