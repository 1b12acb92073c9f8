// Prints the permutation made from a fixed seed, then for a hundred sample
// points every region callback call of fregionOverlap (two and four layers)
// and fregionJitterOverlap8, for the independent python check of the region
// drivers. One record per line: a name, then numbers in round-trip precision.
#include <cstdio>
#include <memory>

#include "noise/regions.h"
#include "noise/tables.h"

namespace {

int32_t printCall(fractalsinfos*, double u, double v, double, int32_t code, regionrecord*,
                  dvector4d*)
{
  std::printf("call %d %.17g %.17g\n", code, u, v);
  return 1;
}

// Sample points: a spread over negative and positive coordinates, some on
// half and whole cell fractions where the layer thresholds sit.
double samplePoint(int n, int axis)
{
  unsigned s = unsigned(n) * 2654435761u + unsigned(axis) * 40503u + 12345u;
  s ^= s >> 13;
  s *= 0x5bd1e995u;
  s ^= s >> 15;
  double v = (s % 2000000u) / 10000.0 - 100.0;
  if (n % 10 == 3)
    return double(int(v)) + 0.5;
  if (n % 10 == 7)
    return double(int(v));
  return v;
}

}  // namespace

int main()
{
  auto tables = std::make_unique<KVtables>();
  SetRndTempTables(tables.get(), 4242);
  std::printf("perm");
  for (int i = 0; i < 1025; i++)
    std::printf(" %d", tables->perm[i]);
  std::printf("\n");

  fractalsinfos fi;
  fi.tables = tables.get();
  regionrecord record;
  dvector4d acc;
  for (int n = 0; n < 100; n++) {
    double x = samplePoint(n, 0), y = samplePoint(n, 1);
    std::printf("point %.17g %.17g\n", x, y);
    for (int16_t mode : {int16_t(1), int16_t(4)}) {
      std::printf("overlap %d\n", mode);
      fregionOverlap(&fi, x, y, 0.0, printCall, &record, &acc, mode);
    }
    std::printf("jitter8\n");
    fregionJitterOverlap8(&fi, x, y, 0.0, printCall, &record, &acc);
  }
  return 0;
}
