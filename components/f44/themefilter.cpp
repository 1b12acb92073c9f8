#include "components/f44/themefilter.h"

#include "components/f44/themes.h"
#include "foundation/checked.h"

namespace {

// One theme: its label, its function and its constants as functions of the
// component's B and C (C after the floor of message 8):
// scale = scaleOverC / C + scaleB B + scaleConst, level = levelB B +
// levelConst, frequency = freqC C.
struct ThemeRow
{
  std::string_view label;
  KVComputeProc theme;
  double scaleOverC, scaleB, scaleConst;
  double levelB, levelConst;
  double freqC;
};

constexpr ThemeRow kThemes[kThemeCount] = {
    {"Gray Rocks # ", ThemeFilterRocks, 4, 0, 0, 1, -1.5, 0.02},
    {"White Rocks & Beach # ", ThemeFilterWhiteRocksBeach, 4, 0, 0, -65, 64, 0.02},
    {"Red Rocks & Beach  # ", ThemeFilterRedBeachRocks, 1.8, 0, 0, -65, 64, 0.02},
    {"Strata Rocks  A # ", ThemeFilterDensityA, 1, 0, 0, -65, 64, 0.03},
    {"Strata Rocks  B # ", ThemeFilterDensityB, 1, 0, 0, -65, 64, 0.01},
    {"Strata Rocks  C # ", ThemeFilterDensityC, 2, 0, 0, 64, -32, 0.01},
    {"Grass & Bushes # ", ThemeFilterVeggy, 1, 0, 0, 64, -32, 0.06},
    {"Pine Forest # ", ThemeFilterPineForest, 1.3, 0, 0, 64, -32, 0.08},
    {"Wide Beach, Dunes & Pebbles # ", ThemeFilterWideBeach, 0.5, 0, 0, 64, -32, 0.004},
    {"Erosion # ", ThemeFilterErosion, 0, 0.75, 0.25, 128, 0, 0.005},
};

constexpr double kLowestFrequency = 0.0625;
constexpr double kOtherThemeFrequency = 0.0375;

// The theme A names (A truncated toward zero), or -1 outside 0..9.
int themeOf(double a)
{
  int32_t theme;
  if (!kvnum::trunc_i32(a, theme) || theme < 0 || theme >= kThemeCount)
    return -1;
  return theme;
}

}  // namespace

void f44_ThemeFilter(gfunc* g)
{
  // A batch before any message 8 runs Gray Rocks: binding zeroes the area.
  const KVComputeProc stored = privateArea<ThemeFilterPrivate>(g).theme;
  const KVComputeProc theme = stored != nullptr ? stored : ThemeFilterRocks;
  g->compute = theme;
  theme(g);
}

int16_t f44_ThemeFilter_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF44_ThemeFilter, g, msg, a, b, c);
}

void f44_ThemeFilter_prepare(gfunc* g)
{
  // A C that is not a number counts as the lowest frequency too: it would
  // make every sample NaN.
  if (!(g->C >= kLowestFrequency))
    g->C = kLowestFrequency;
  const double C = g->C, B = g->B;
  ThemeFilterPrivate& p = privateArea<ThemeFilterPrivate>(g);
  const int theme = themeOf(g->A);
  if (theme < 0) {
    // Only a stored A can be out of range; it gets what a tree read from a
    // file has, not what an earlier preparation left.
    p = {0.0, 0.0, kOtherThemeFrequency * C, ThemeFilterRocks};
  } else {
    const ThemeRow& row = kThemes[theme];
    p.scale = (row.scaleOverC != 0 ? row.scaleOverC / C : 0.0) + row.scaleB * B + row.scaleConst;
    p.level = row.levelB * B + row.levelConst;
    p.frequency = row.freqC * C;
    p.theme = row.theme;
  }
  g->compute = p.theme;
}

std::string_view f44_ThemeFilter_label(const gfunc* g, int param)
{
  if (param != 0)
    return kF44_ThemeFilter.params[param].label;
  const int theme = themeOf(g->A);
  return theme < 0 ? std::string_view{} : kThemes[theme].label;
}
