// The theme filter (f44 id 17): its messages, the theme message 8 installs,
// what each theme leaves alone, and renders on one and four threads.
#include <cmath>
#include <gtest/gtest.h>
#include <string>

#include "components/f44/themefilter.h"
#include "components/f44/themes.h"
#include "tests/components/f11_tree_fixture.h"
#include "tests/components/member_harness.h"

namespace {

constexpr int16_t kThemeFilterId = 17;

struct ThemeBench
{
  KVmemberHarness h;
  gfunc* g = h.bind(kFamily44, kThemeFilterId);

  const ThemeFilterPrivate& consts() { return privateArea<ThemeFilterPrivate>(g); }

  // A colour and an altitude ramp from alt0 by dAlt per sample, at master x
  // and y spread over the plane.
  void feed(double alt0, double dAlt)
  {
    KVtestInput r, gr, b, alt;
    for (int i = 0; i < kBatchCapacity; ++i) {
      r.data[i] = 1 + 0.25 * i;
      gr.data[i] = 2 + 0.125 * i;
      b.data[i] = 3;
      alt.data[i] = alt0 + dAlt * i;
      h.doc()->master[0][i] = -40 + 5.3 * i;
      h.doc()->master[1][i] = 17 - 2.1 * i;
    }
    h.setInput(0, r);
    h.setInput(1, gr);
    h.setInput(2, b);
    h.setInput(3, alt);
  }

  std::array<KVbatch, 4> runAll()
  {
    std::array<KVbatch, 4> out;
    h.run();
    for (int k = 0; k < 4; ++k)
      std::copy_n(g->outputs[k], kBatchCapacity, out[k].begin());
    return out;
  }

  double input(int k, int i) { return g->inlets[k].data[i]; }
};

TEST(F44ThemeFilter, NamesLabelsAndMaps)
{
  ThemeBench t;
  EXPECT_EQ(t.h.displayName(), " ZQ Themes Filters #");
  EXPECT_EQ(t.g->A, 0.0);
  EXPECT_EQ(t.g->B, 0.5);
  EXPECT_EQ(t.g->C, 1.0);
  EXPECT_EQ(t.g->inputCode, 16);
  EXPECT_EQ(t.g->outputCode, 16);
  EXPECT_EQ(t.h.send(kMsgParamB), "Level ");
  EXPECT_EQ(t.h.send(kMsgParamC), "Frequency ");

  const struct
  {
    double a;
    std::string label;
  } labels[] = {{9.99, "Erosion # "},
                {-0.5, "Gray Rocks # "},
                {2, "Red Rocks & Beach  # "},
                {3, "Strata Rocks  A # "},
                {8, "Wide Beach, Dunes & Pebbles # "},
                {12, ""}};
  for (const auto& row : labels) {
    t.g->A = row.a;
    EXPECT_EQ(t.h.send(kMsgParamA), row.label) << row.a;
  }

  for (const auto& [a, theme] : {std::pair{1.0, 9.0}, std::pair{0.999, 8.0}}) {
    double na = a, nb = 0.25, nc = 0.5;
    t.h.send(kMsgFromNormalized, &na, &nb, &nc);
    EXPECT_EQ(t.g->A, theme);
    EXPECT_EQ(t.g->B, 0.25);
    EXPECT_EQ(t.g->C, 4.0);
  }
}

TEST(F44ThemeFilter, PreparationInstallsTheTheme)
{
  const struct
  {
    double a, b, c;
    KVComputeProc theme;
    double scale, level, frequency;
  } rows[] = {
      {0, 0.5, 2, ThemeFilterRocks, 2, -1, 0.04},
      {-0.5, 0.5, 2, ThemeFilterRocks, 2, -1, 0.04},
      {1, 0.5, 1, ThemeFilterWhiteRocksBeach, 4, 31.5, 0.02},
      {5, 0.25, 4, ThemeFilterDensityC, 0.5, -16, 0.04},
      {7.5, 1, 1, ThemeFilterPineForest, 1.3, 32, 0.08},
      {9.99, 0.5, 1, ThemeFilterErosion, 0.625, 64, 0.005},
      {9, 0.5, 8, ThemeFilterErosion, 0.625, 64, 0.04},  // scale does not follow C
      {0, 0.5, 0, ThemeFilterRocks, 64, -1, 0.00125},    // C raised to 0.0625
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.a);
    ThemeBench t;
    t.h.setParams(row.a, row.b, row.c);
    t.h.precompute();
    EXPECT_EQ(t.g->compute, row.theme);
    EXPECT_EQ(t.consts().theme, row.theme);
    EXPECT_DOUBLE_EQ(t.consts().scale, row.scale);
    EXPECT_DOUBLE_EQ(t.consts().level, row.level);
    EXPECT_DOUBLE_EQ(t.consts().frequency, row.frequency);
  }
}

TEST(F44ThemeFilter, FrequencyFloorAndThemesOutOfRange)
{
  ThemeBench t;
  for (double c : {0.0, -3.0, std::nan("")}) {
    t.h.setParams(1, 0.5, c);
    t.h.precompute();
    EXPECT_EQ(t.g->C, 0.0625);
  }
  double na = 0, nb = 0, nc = 0;
  t.h.send(kMsgToNormalized, &na, &nb, &nc);
  EXPECT_EQ(nc, 0.0078125);

  // A stored A of 12 after a preparation of theme 1: Gray Rocks with the
  // fallback frequency, scale and level cleared.
  t.h.setParams(12, 0.5, 2);
  t.h.precompute();
  EXPECT_EQ(t.g->compute, ThemeFilterRocks);
  EXPECT_DOUBLE_EQ(t.consts().frequency, 0.0375 * 2);
  EXPECT_EQ(t.consts().scale, 0.0);
  EXPECT_EQ(t.consts().level, 0.0);
}

TEST(F44ThemeFilter, BatchBeforePreparationRunsGrayRocks)
{
  ThemeBench t;
  t.h.setParams(4, 0.5, 1);  // no message 8 yet
  t.feed(0, 1);
  t.runAll();
  EXPECT_EQ(t.g->compute, ThemeFilterRocks);
}

TEST(F44ThemeFilter, SamplesOutsideAZonePassUnchanged)
{
  // Gray Rocks below e = -1; Erosion at and outside 0 < t < 1 (L = 164), NaN
  // included.
  const struct
  {
    double a, alt0, dAlt;
  } rows[] = {{0, -300, -10}, {9, -150, 10}, {9, 164, 10}, {9, std::nan(""), 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.alt0);
    ThemeBench t;
    t.h.setParams(row.a, 0.5, 1);
    t.h.precompute();
    t.feed(row.alt0, row.dAlt);
    const auto out = t.runAll();
    for (int i = 0; i < kBatchCapacity; ++i) {
      for (int k = 0; k < 4; ++k) {
        const double in = t.input(k, i);
        if (std::isnan(in))
          EXPECT_TRUE(std::isnan(out[k][i]));
        else
          EXPECT_EQ(out[k][i], in) << "output " << k << " sample " << i;
      }
    }
  }
}

TEST(F44ThemeFilter, ErosionWearsTheBandBetweenItsEnds)
{
  ThemeBench t;
  t.h.setParams(9, 0.5, 1);
  t.h.precompute();
  t.feed(20, 8);  // 20 .. 140, inside 0 < alt < 164
  const auto out = t.runAll();
  int changed = 0;
  for (int i = 0; i < kBatchCapacity; ++i)
    changed += out[3][i] != t.input(3, i);
  EXPECT_GT(changed, 0);
}

TEST(F44ThemeFilter, ReliefPassChangesOnlyTheAltitude)
{
  for (int theme = 0; theme < kThemeCount; ++theme) {
    SCOPED_TRACE(theme);
    ThemeBench t;
    t.h.setParams(theme, 0.5, 1);
    t.h.precompute();
    t.h.doc()->fractal.reliefPass = 1;
    t.feed(-20, 9);
    const auto out = t.runAll();
    for (int i = 0; i < kBatchCapacity; ++i)
      for (int k = 0; k < 3; ++k)
        EXPECT_EQ(out[k][i], t.input(k, i));
  }
}

TEST(F44ThemeFilter, ThemesLeaveTheDocumentsFractalSettingsAlone)
{
  for (int theme = 0; theme < kThemeCount; ++theme) {
    SCOPED_TRACE(theme);
    ThemeBench t;
    fractalsinfos& fi = t.h.doc()->fractal;
    fi.octaves = 9;
    fi.phaseFactor = 1.1;
    fi.rotSin = 0.3;
    fi.rotCos = 0.4;
    fi.paramA = 0.123;
    fi.paramB = 0.456;
    fi.paramC = 0.789;
    fi.accumulator = 7;
    fi.secondOutput = 8;
    const fractalsinfos before = fi;
    t.h.setParams(theme, 0.5, 1);
    t.h.precompute();
    t.feed(-20, 9);
    t.runAll();
    EXPECT_EQ(fi.reliefPass, before.reliefPass);
    EXPECT_EQ(fi.octaves, before.octaves);
    for (auto field : {&fractalsinfos::phaseFactor, &fractalsinfos::rotSin, &fractalsinfos::rotCos,
                       &fractalsinfos::paramA, &fractalsinfos::paramB, &fractalsinfos::paramC,
                       &fractalsinfos::accumulator, &fractalsinfos::secondOutput,
                       &fractalsinfos::lacunarity, &fractalsinfos::fade})
      EXPECT_EQ(fi.*field, before.*field);
  }
}

// Each theme over a colour field and an altitude ramp (f21 " Ax+By+C"
// components feed the four inputs) draws the same bytes on one thread and
// on four, and changes the picture the ramp alone draws.
using F44ThemeRender = KVsmallTreeTest;

TEST_F(F44ThemeRender, EveryThemeIsThreadIndependent)
{
  constexpr int16_t kAffine = 0;
  for (int theme = 0; theme < kThemeCount; ++theme) {
    SCOPED_TRACE(theme);
    add(kFamily21, kAffine, 0, {}, 0, 40, 30);  // altitude -95 .. 155
    add(kFamily21, kAffine, 0, {}, 0.5, 0, 4);  // red
    add(kFamily21, kAffine, 0, {}, 0, 0.5, 4);  // green
    add(kFamily21, kAffine, 0, {}, 0, 0, 4);    // blue
    add(kFamily44, kThemeFilterId, 1, {1, 2, 3, 0}, theme, 0.5, 1);
    arb_ServiceChanges(doc_, false);
    const std::vector<uint8_t> one = render(1);
    const std::vector<uint8_t> four = render(4);
    EXPECT_TRUE(one == four);
    arb_Clear(doc_, true, true);
  }
}

}  // namespace
