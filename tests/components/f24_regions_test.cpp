// The f24 random region members (polygons, sticks, disks, stars) and the
// random meshes: empty and flat-topped polygons, sticks parallel to y, stars
// that add, the altitude-only pass, the gradient colour of the meshes and
// the bevel and dome of a regular mesh.
#include "components/f24/f24_regions.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>

#include "components/f24/f24_meshes.h"
#include "tests/components/member_harness.h"

namespace {

const KVgridView kView{48, 48, -3, 3, 3};

struct Outputs
{
  std::vector<double> v[4];
};

Outputs gridOf(KVmemberHarness& h, const KVgridView& view = kView)
{
  Outputs o;
  for (int k = 0; k < 4; ++k)
    o.v[k] = h.grid(view, k);
  return o;
}

// About a quarter of the polygon A regions (type 3) are empty: nothing at
// their centre nor anywhere in them. The others are drawn at their centre,
// no higher than their flat top.
TEST(F24Regions, PolygonATypeThreeRegionsAreEmpty)
{
  KVmemberHarness h;
  h.bind(kFamily24, 49);
  const KVtables* t = &h.doc()->tables;
  const double colours[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
  int empty = 0, total = 0;
  for (int64_t i = -20; i < 20; ++i)
    for (int64_t j = -20; j < 20; ++j, ++total) {
      dvector4d acc{};
      if (f2dregionPolyA(t, 0, 0, i, j, colours, &acc) == 0) {
        ++empty;
        for (double x : {-0.9, -0.3, 0.4, 0.8})
          for (double y : {-0.7, 0.2, 0.9})
            EXPECT_EQ(f2dregionPolyA(t, x, y, i, j, colours, &acc), 0);
        EXPECT_EQ(acc.w, 0);
      } else {
        EXPECT_GT(acc.w, 0);
        EXPECT_LE(acc.w, 0.625);
      }
    }
  EXPECT_GT(empty, total / 6);
  EXPECT_LT(empty, total / 3);
}

// The polygon tops are flat at (c + 2) / 8 (A) and (c + 3) / 8 (B) times
// the height factor: every level shows on many samples, none above the
// highest (B's smooth merge may lift a sample by at most 0.025).
TEST(F24Regions, PolygonTopsAreFlat)
{
  struct Case
  {
    int16_t id;
    double factor;
    int firstLevel;
    double lift;
  };
  for (const Case& c : {Case{49, 6.4, 2, 0}, Case{50, 4 * 1.3333333333333333, 3, 0.025}}) {
    SCOPED_TRACE(c.id);
    KVmemberHarness h;
    h.bind(kFamily24, c.id);
    h.setParams(1, 0.5, 2);
    h.prepare();
    const std::vector<double> heights = h.grid({96, 96, -6, 6, 6}, 3);
    std::map<int, int> atLevel;
    for (double v : heights) {
      EXPECT_LE(v, c.factor * ((c.firstLevel + 3) * 0.125 + c.lift) + 1e-12);
      for (int level = 0; level < 4; ++level)
        if (std::fabs(v - c.factor * (c.firstLevel + level) * 0.125) < 1e-12)
          ++atLevel[level];
    }
    for (int level = 0; level < 4; ++level)
      EXPECT_GT(atLevel[level], 20) << "level " << level;
  }
}

// With Orientation 0 both sticks of a region run parallel to y: the height
// over the dome w depends on x alone.
TEST(F24Regions, SticksWithOrientationZeroRunAlongY)
{
  KVmemberHarness h;
  h.bind(kFamily24, 36);
  fractalsinfos fi = h.doc()->fractal;
  fi.tables = &h.doc()->tables;
  regionrecord record;
  record.values[4] = 0;  // orientation
  int compared = 0;
  for (int32_t code = 0; code < 1024; code += 37)
    for (double x = -0.5; x <= 0.5; x += 0.0625) {
      double ratio = -1;
      for (double y : {-0.3, 0.0, 0.35}) {
        dvector4d acc{};
        f2dregionSticks(&fi, x, y, 0, code, &record, &acc);
        const double w = 1 - (x * x + y * y);
        if (acc.w < 0.1)  // a partial merge: not the shape's own height
          continue;
        if (ratio < 0) {
          ratio = acc.w / w;
        } else {
          EXPECT_NEAR(acc.w / w, ratio, 1e-12) << code << " " << x << " " << y;
          ++compared;
        }
      }
    }
  EXPECT_GT(compared, 20);
}

// Output 4 is (height - 0.25) x 4, -1 where nothing covers the sample.
// Away from the sticks each covering region adds only the faint floor of
// the sticks' smooth union through the merge's offset, so most samples lie
// well below 0 (near -0.7 at the defaults), and the sticks rise above it.
TEST(F24Regions, SticksRiseFromTheFloor)
{
  KVmemberHarness h;
  h.bind(kFamily24, 36);
  h.prepare();
  const Outputs o = gridOf(h);
  int floor = 0, sticks = 0;
  for (double v : o.v[3]) {
    EXPECT_GE(v, -1);
    floor += v < -0.5;
    sticks += v > 0;
  }
  EXPECT_GT(floor, int(o.v[3].size()) / 2);
  EXPECT_GT(sticks, int(o.v[3].size()) / 20);
}

// Stars add: a filled accumulator gains what an empty one would receive.
TEST(F24Regions, StarsAddRatherThanMerge)
{
  KVmemberHarness h;
  h.bind(kFamily24, 37);
  fractalsinfos fi = h.doc()->fractal;
  fi.tables = &h.doc()->tables;
  regionrecord record;
  record.values[0] = 50;
  record.values[1] = 25;
  int touched = 0;
  for (int32_t code = 0; code < 1024; code += 53)
    for (double x : {-0.6, -0.2, 0.0, 0.3})
      for (double y : {-0.4, 0.1, 0.5}) {
        dvector4d fresh{};
        const int32_t hit = f2dregionStars(&fi, x, y, 0, code, &record, &fresh);
        dvector4d filled{10, 20, 30, 1};
        EXPECT_EQ(f2dregionStars(&fi, x, y, 0, code, &record, &filled), hit);
        EXPECT_DOUBLE_EQ(filled.x, 10 + fresh.x);
        EXPECT_DOUBLE_EQ(filled.w, 1 + fresh.w);
        touched += hit;
        EXPECT_EQ(hit != 0, fresh.w > 0);
      }
  EXPECT_GT(touched, 10);
}

// In the altitude-only pass sticks, disks and stars stay black and give the
// same heights; the polygons do not read the flag.
TEST(F24Regions, AltitudeOnlyPass)
{
  for (int16_t id : {36, 37, 38, 49, 50}) {
    SCOPED_TRACE(id);
    KVmemberHarness h;
    h.bind(kFamily24, id);
    h.prepare();
    const Outputs full = gridOf(h);
    h.doc()->fractal.reliefPass = 1;
    const Outputs relief = gridOf(h);
    EXPECT_EQ(relief.v[3], full.v[3]);
    const bool readsFlag = id < 40;
    EXPECT_GT(*std::max_element(full.v[0].begin(), full.v[0].end()), 0);
    for (int k = 0; k < 3; ++k) {
      if (readsFlag)
        EXPECT_TRUE(
            std::all_of(relief.v[k].begin(), relief.v[k].end(), [](double v) { return v == 0; }));
      else
        EXPECT_EQ(relief.v[k], full.v[k]);
    }
  }
}

// A marked input 1 gives the marker on all four outputs.
TEST(F24Regions, MarkedInputOneGivesTheMarker)
{
  KVmemberHarness h;
  for (int16_t id : {19, 20, 36, 37, 38, 49, 50}) {
    h.bind(kFamily24, id);
    h.prepare();
    for (int out = 0; out < 4; ++out)
      EXPECT_EQ(h.at(gINFINITY, 0.5, out), gINFINITY) << id << " " << out;
  }
}

// ---- Meshes ----------------------------------------------------------------------

void setGradient(KVmemberHarness& h)
{
  cpalette& keys = h.doc()->tables.gradientKeys;
  keys.count = 3;
  keys.colors[0] = {255, 64, 96, 128};
  keys.colors[1] = {255, 200, 10, 30};
  keys.colors[2] = {255, 0, 250, 90};
}

// With Color variance 0 every triangle takes the gradient's first key; the
// circles also where they show no dome.
TEST(F24Meshes, FirstKeyWithoutVarianceAndOutsideTheCircles)
{
  struct Case
  {
    int16_t id;
    double b;
    double k0;
  };
  for (const Case& c : {Case{19, 0, 0.75 / 32}, Case{20, 0, 1.0 / 32}, Case{19, 0.5, 0.75 / 32}}) {
    SCOPED_TRACE(testing::Message() << c.id << " B " << c.b);
    KVmemberHarness h;
    h.bind(kFamily24, c.id);
    setGradient(h);
    h.setParams(1, c.b, 1);
    h.prepare();
    const Outputs o = gridOf(h);
    int firstKey = 0;
    for (size_t i = 0; i < o.v[0].size(); ++i) {
      if (c.b != 0 && o.v[3][i] != 0)
        continue;
      ++firstKey;
      EXPECT_DOUBLE_EQ(o.v[0][i], 64 * c.k0);
      EXPECT_DOUBLE_EQ(o.v[2][i], 128 * c.k0);
    }
    EXPECT_GT(firstKey, 100);
  }
}

// A regular mesh (no jitter): the bevel is 0 on an edge and largest, the
// inradius, at the incentre, where the dome is the full amplitude.
TEST(F24Meshes, RegularMeshBevelAndDome)
{
  KVmemberHarness h;
  h.bind(kFamily24, 20);
  auto tables = std::make_unique<KVtables>(h.doc()->tables);
  for (auto& g : tables->rndVec3D)
    g[0] = g[1] = g[2] = 0;
  // The sample at skewed (u, v) lies at (u - 0.5, v - 0.5) of the lattice.
  const auto xy = [](double u, double v) {
    const double y = v / 1.154701076758754;
    return std::pair{u + 0.577350538379377 * y, y};
  };
  const double inradius = 0.866025 / 3;
  const auto [cx, cy] = xy(0.5 + 1.0 / 3, 0.5 + 1.0 / 3);
  double t = -1;
  const double centre = RandomTrimesh(tables.get(), cx, cy, 1, &t);
  EXPECT_NEAR(centre, inradius, 1e-6);
  EXPECT_NEAR(t, 0.866025, 1e-9);
  for (double dx : {-0.05, 0.03})
    for (double dy : {-0.04, 0.05})
      EXPECT_LT(RandomTrimesh(tables.get(), cx + dx, cy + dy, 1, &t), centre);
  const auto [ex, ey] = xy(1.0, 0.5);
  EXPECT_NEAR(RandomTrimesh(tables.get(), ex, ey, 1, &t), 0, 1e-12);
  EXPECT_NEAR(RandomCirclemesh(tables.get(), cx, cy, 2, 3, &t), 3, 1e-6);
  EXPECT_NEAR(t, 2 * 0.866025, 1e-9);
  EXPECT_EQ(RandomCirclemesh(tables.get(), ex + 0.5, ey, 2, 3, &t), 0);
  EXPECT_EQ(t, 0);
}

// Corners on one line (the centre point of the cell moved onto the line of
// its two neighbours, the sample on it): no inscribed circle, 0 with t = 0
// and never NaN.
TEST(F24Meshes, CollinearCornersGiveZero)
{
  KVmemberHarness h;
  h.bind(kFamily24, 19);
  auto tables = std::make_unique<KVtables>(h.doc()->tables);
  for (auto& g : tables->rndVec3D)
    g[0] = g[1] = g[2] = 0;
  // The sample (0, 0) is in cell (0, 0); the centre point's entry of the
  // table is row 1 of column 0.
  const int h0 = (tables->perm[0] - 1) & 1023;
  tables->rndVec3D[h0 + 1][0] = tables->rndVec3D[h0 + 1][1] = -0.5 / 0.37;
  double t = -1;
  const double dome = RandomCirclemesh(tables.get(), 0, 0, 1, 1, &t);
  EXPECT_EQ(dome, 0);
  EXPECT_EQ(t, 0);
  for (double d : {1e-9, 1e-3}) {
    EXPECT_FALSE(std::isnan(RandomCirclemesh(tables.get(), d, 0, 1, 1, &t)));
    EXPECT_FALSE(std::isnan(t));
  }
}

// A negative whole u falls into the cell below it: the bevel is continuous
// across it.
TEST(F24Meshes, NegativeWholeCoordinateIsContinuous)
{
  KVmemberHarness h;
  h.bind(kFamily24, 20);
  const KVtables* t = &h.doc()->tables;
  double s = 0;
  for (double x : {-2.0, -5.0}) {
    const double at = RandomTrimesh(t, x, 0, 1, &s);
    EXPECT_NEAR(RandomTrimesh(t, x - 1e-9, 0, 1, &s), at, 1e-6);
    EXPECT_NEAR(RandomTrimesh(t, x + 1e-9, 0, 1, &s), at, 1e-6);
  }
}

}  // namespace
