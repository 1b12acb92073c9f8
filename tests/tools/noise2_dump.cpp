// Prints the permutation of a seeded table set, then Jitter_Voron and
// Jitter_Circle on a grid with negative coordinates, then MFPV2d_procptr runs
// with a small polynomial body, one value per line, for an independent
// python check (tests/noise/noise2_dump_check.py).
#include <cstdio>

#include "noise/cellular.h"
#include "noise/multifractal.h"
#include "noise/tables.h"

namespace {

// The record body the check recomputes: far value (0.25, -0.5) with state
// 0.125; octave 0 sets a linear record; later octaves add weighted terms.
bool toyBody(fractalsinfos*, double x, double y, double z, double, double* state, double weight,
             short octave, dvector2d* out)
{
  if (octave < 0) {
    *out = {0.25, -0.5};
    *state = 0.125;
  } else if (octave == 0) {
    *out = {0.5 * x - 0.25 * y + 0.1 * z, 0.01 * x * y};
    *state = 1.0;
  } else {
    out->x += weight * (0.3 * x - 0.2 * y);
    out->y += weight * (0.1 * y + 0.05 * z * octave);
    *state = 0.5 * *state + weight;
  }
  return false;
}

void printGrid(const KVtables* t)
{
  // Whole negative numbers lie in the cell below with fraction 1.
  const double extra[] = {-2.0, -1.0, -0.5, -0.0001, 0.0, 1.0, 2.9999};
  for (int a = -14; a <= 14; a++)
    for (int b = -14; b <= 14; b++) {
      double x = a * 0.23 - 0.05, y = b * 0.19 + 0.02;
      std::printf("voron %.17g %.17g %.17g\n", x, y, Jitter_Voron(t, x, y));
      std::printf("circle %.17g %.17g %.17g\n", x, y, Jitter_Circle(t, x, y));
    }
  for (double x : extra)
    for (double y : extra) {
      std::printf("voron %.17g %.17g %.17g\n", x, y, Jitter_Voron(t, x, y));
      std::printf("circle %.17g %.17g %.17g\n", x, y, Jitter_Circle(t, x, y));
    }
}

void printDriverRuns(KVtables* t)
{
  struct Band
  {
    short octaves;
    double f0, fmax;
  };
  // Inside the band with a faded last octave, stopped by the octave count,
  // blend of octave 0 with the far value, the far value alone, a long run.
  const Band bands[] = {{16, 1.0, 10.0},  {3, 1.0, 10.0},   {16, 12.0, 10.0},
                        {16, 30.0, 10.0}, {16, 0.7, 900.0}, {0, 1.0, 10.0}};
  const double xs[] = {-2.75, -1.0, -0.3, 0.6, 1.9};
  const double ys[] = {-1.5, -0.25, 0.8};
  const double zs[] = {-0.7, 0.4};
  for (const Band& band : bands)
    for (double x : xs)
      for (double y : ys)
        for (double z : zs) {
          fractalsinfos fi;
          fi.tables = t;
          fi.octaves = band.octaves;
          const double phase = 0.3, gain = 0.6;
          dvector2d out{};
          MFPV2d_procptr(&fi, toyBody, x, y, z, phase, 0.5, band.f0, band.fmax, gain, &out);
          std::printf("mfpv2d %d %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n",
                      band.octaves, x, y, z, phase, band.f0, band.fmax, gain, out.x, out.y,
                      fi.secondOutput);
        }
}

}  // namespace

int main()
{
  static KVtables tables;  // large: kept off the stack
  SetRndTempTables(&tables, 4242);
  std::printf("perm");
  for (int i = 0; i < 1024; i++)
    std::printf(" %d", tables.perm[i]);
  std::printf("\n");
  printGrid(&tables);
  printDriverRuns(&tables);
  return 0;
}
