// Prints, for an oracle that recomputes them from the permutation:
//   # perm P0 ... P1023
//   # params BODY1 BODY2          (fi->paramA and fi->paramB of every call)
//   density N VALUE
//   redrocks I J K VALUE
//   redrocks2 I J K VALUE
//   saw X Y Z VALUE
//   body NAME X Y Z W AMPLITUDE OCTAVE CARRIED RESULT ACC -> FLAG CARRIED RESULT ACC
//   record NAME X Y Z W AMPLITUDE OCTAVE CARRIED -> FLAG CARRIED R0 R1 R2 R3
// CARRIED, RESULT and ACC before the arrow are what the body is handed (the
// carried value, the running result and the accumulator); after it, what it
// leaves. Values have 17 significant digits.
#include "tests/tools/contact_sheet_bodies.h"

#include <cstdio>

#include "components/f44/terrain.h"
#include "noise/multifractal.h"
#include "tests/components/member_harness.h"

namespace {

constexpr double kParam1 = 0.8, kParam2 = 0.3;
constexpr double kCarried = 0.7, kResult = 0.4, kAccumulator = 0.3;

// Negative, whole and fractional coordinates, cells on both sides of 0.
constexpr double kPoints[][3] = {
    {-3.0, -2.0, -1.0}, {-2.75, 0.5, 3.0}, {0.0, 0.0, 0.0},        {1.5, -4.25, 2.0},
    {7.0, 11.0, -13.0}, {-0.3, -0.6, 0.9}, {515.5, -1026.0, 2.25}, {-8.125, 6.0, 0.0625},
};

struct NamedScalar
{
  const char* name;
  TerrainScalarBody body;
};

constexpr NamedScalar kScalars[] = {
    {"fp1fracturedrocksB", fp1fracturedrocksB},
    {"fp1fracturedrocksC", fp1fracturedrocksC},
    {"fp1fracturedrocksD", fp1fracturedrocksD},
    {"fp1Erosion", fp1Erosion},
    {"fp1fractrocks", fp1fractrocks},
    {"fp1fracturedWrock", fp1fracturedWrock},
    {"fp1fracturedRedRock", fp1fracturedRedRock},
    {"fp1fractgrass", fp1fractgrass},
    {"fp1fractBushes", fp1fractBushes},
    {"fp1fractfoliage", fp1fractfoliage},
    {"fp1fractRockyBush", fp1fractRockyBush},
    {"fp1fractforest", fp1fractforest},
};

struct NamedRecord
{
  const char* name;
  FractalOctaveProcRecord4 body;
};

constexpr NamedRecord kRecords[] = {
    {"fp4fractStonesNoise", fp4fractStonesNoise},
    {"fp4fractCforest", fp4fractCforest},
    {"fp4fractfoliage", fp4fractfoliage},
};

void printLattice(const KVtables* t)
{
  for (int32_t n : {-100000, -4097, -1025, -5, -4, -1, 0, 1, 4, 5, 1023, 1024, 4100, 99999})
    std::printf("density %d %.17g\n", n, LABTXT_density(t, n));
  for (int32_t i : {-70000, -2049, -1, 0, 3, 2048, 123457})
    for (int32_t j : {-32, -5, 0, 7, 64, 100}) {
      std::printf("redrocks %d %d 0 %.17g\n", i, j, LABTXT_redrocks(t, i, j, 0));
      std::printf("redrocks2 %d %d 0 %.17g\n", i, j, LABTXT_redrocks2(t, i, j, 0));
    }
  for (const auto& p : kPoints)
    std::printf("saw %.17g %.17g %.17g %.17g\n", p[0], p[1], p[2],
                frandom3Dsaw(t, p[0], p[1], p[2]));
}

void printBodies(fractalsinfos fi)
{
  for (const NamedScalar& b : kScalars)
    for (const auto& p : kPoints)
      for (short octave = -1; octave <= 7; ++octave) {
        const double w = 1.3, amplitude = 0.6;
        double carried = kCarried, result = kResult;
        fi.accumulator = kAccumulator;
        const bool flag = b.body(&fi, p[0], p[1], p[2], w, &carried, amplitude, octave, &result);
        std::printf(
            "body %s %.17g %.17g %.17g %.17g %.17g %d %.17g %.17g %.17g -> %d %.17g %.17g "
            "%.17g\n",
            b.name, p[0], p[1], p[2], w, amplitude, octave, kCarried, kResult, kAccumulator,
            int(flag), carried, result, fi.accumulator);
      }
  for (const NamedRecord& b : kRecords)
    for (const auto& p : kPoints)
      for (short octave = -1; octave <= 7; ++octave) {
        const double w = 1.0, amplitude = 0.6;
        double carried = kCarried;
        dvector4d rec{1, 2, 3, 4};
        const bool flag = b.body(&fi, p[0], p[1], p[2], w, &carried, amplitude, octave, &rec);
        std::printf(
            "record %s %.17g %.17g %.17g %.17g %.17g %d %.17g -> %d %.17g %.17g %.17g "
            "%.17g %.17g\n",
            b.name, p[0], p[1], p[2], w, amplitude, octave, kCarried, int(flag), carried, rec.x,
            rec.y, rec.z, rec.w);
      }
}

}  // namespace

int printTerrainBodies()
{
  KVmemberHarness h;
  const KVtables* t = &h.doc()->tables;
  std::printf("# perm");
  for (int i = 0; i < 1024; ++i)
    std::printf(" %d", int(t->perm[i]));
  std::printf("\n# params %.17g %.17g\n", kParam1, kParam2);
  printLattice(t);
  fractalsinfos fi = h.doc()->fractal;
  fi.tables = &h.doc()->tables;
  fi.paramA = kParam1;
  fi.paramB = kParam2;
  printBodies(fi);
  return 0;
}
