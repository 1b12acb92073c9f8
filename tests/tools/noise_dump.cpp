// Prints the lookup tables made from a fixed seed and frandom2D and
// fPerlinNoise2D on a grid, for the independent python check of the noise
// library. One record per line: a name, then numbers in round-trip precision.
#include <cstdio>
#include <memory>

#include "noise/noises.h"
#include "noise/tables.h"

namespace {

void printTables(const KVtables& t)
{
  std::printf("perm");
  for (int i = 0; i < 1025; i++) std::printf(" %d", t.perm[i]);
  std::printf("\n");
  for (int i = 0; i < 1025; i++)
    std::printf("grad2D %d %.17g %.17g\n", i, t.grad2D[i][0], t.grad2D[i][1]);
  for (int i = 0; i < 256; i++)
    std::printf("unitDir2D %d %.17g %.17g\n", i, t.unitDir2D[i][0], t.unitDir2D[i][1]);
  for (int i = 0; i < 257; i++)
    std::printf("planeVec3D %d %.17g %.17g %.17g\n", i, t.planeVec3D[i][0],
                t.planeVec3D[i][1], t.planeVec3D[i][2]);
  for (int i = 0; i < 1026; i++)
    std::printf("rndVec3D %d %.17g %.17g %.17g\n", i, t.rndVec3D[i][0], t.rndVec3D[i][1],
                t.rndVec3D[i][2]);
}

void printNoise(const KVtables& t, double x, double y)
{
  std::printf("frandom2D %.17g %.17g %.17g\n", x, y, frandom2D(&t, x, y));
  std::printf("fPerlinNoise2D %.17g %.17g %.17g\n", x, y, fPerlinNoise2D(&t, x, y));
}

}  // namespace

int main()
{
  auto tables = std::make_unique<KVtables>();
  SetRndTempTables(tables.get(), 1234);
  printTables(*tables);

  // A grid across negative and positive cells, integers included.
  for (int i = -16; i <= 16; i++)
    for (int j = -6; j <= 6; j++) printNoise(*tables, i * 0.25, j * 0.5 + 0.125);
  // Far cells, where the column shift of the hash matters, and a fraction
  // that rounds to 1.
  const double far[][2] = {{-2.0, -1.5},          {1000.3, -70000.7},
                           {-65536.25, 300.5},    {123456.789, -987654.321},
                           {-1e-20, 0.5},         {2147483000.5, -2147483000.5},
                           {-256.0, -257.0},      {255.999, -0.001}};
  for (const auto& p : far) printNoise(*tables, p[0], p[1]);
  return 0;
}
