// Prints the lookup tables made from a fixed seed, frandom2D and
// fPerlinNoise2D on a grid, and every lattice noise at points inside cells,
// for the independent python check of the noise library. One record per
// line: a name, then numbers in round-trip precision.
#include <cstdio>
#include <memory>

#include "noise/noises.h"
#include "noise/tables.h"

namespace {

void printTables(const KVtables& t)
{
  std::printf("perm");
  for (int i = 0; i < 1025; i++)
    std::printf(" %d", t.perm[i]);
  std::printf("\n");
  for (int i = 0; i < 1025; i++)
    std::printf("grad2D %d %.17g %.17g\n", i, t.grad2D[i][0], t.grad2D[i][1]);
  for (int i = 0; i < 256; i++)
    std::printf("unitDir2D %d %.17g %.17g\n", i, t.unitDir2D[i][0], t.unitDir2D[i][1]);
  for (int i = 0; i < 257; i++)
    std::printf("planeVec3D %d %.17g %.17g %.17g\n", i, t.planeVec3D[i][0], t.planeVec3D[i][1],
                t.planeVec3D[i][2]);
  for (int i = 0; i < 1026; i++)
    std::printf("rndVec3D %d %.17g %.17g %.17g\n", i, t.rndVec3D[i][0], t.rndVec3D[i][1],
                t.rndVec3D[i][2]);
}

void printNoise(const KVtables& t, double x, double y)
{
  std::printf("frandom2D %.17g %.17g %.17g\n", x, y, frandom2D(&t, x, y));
  std::printf("fPerlinNoise2D %.17g %.17g %.17g\n", x, y, fPerlinNoise2D(&t, x, y));
}

// Every lattice noise as (tables, x, y, z) -> up to three outputs; returns
// how many it wrote. Members that read fewer coordinates ignore the rest.
struct Member
{
  const char* name;
  int (*eval)(const KVtables*, double, double, double, double*);
};

using T = const KVtables*;
const Member kMembers[] = {
    {"frandom1D", [](T t, double x, double, double, double* o) { o[0] = frandom1D(t, x); return 1; }},
    {"frandom1D_linear", [](T t, double x, double, double, double* o) { o[0] = frandom1D_linear(t, x); return 1; }},
    {"frandom1D_balanced", [](T t, double x, double, double, double* o) { o[0] = frandom1D_balanced(t, x); return 1; }},
    {"fPerlinNoise1D", [](T t, double x, double, double, double* o) { o[0] = fPerlinNoise1D(t, x); return 1; }},
    {"frandom3D", [](T t, double x, double y, double z, double* o) { o[0] = frandom3D(t, x, y, z); return 1; }},
    {"ftrirandom2D", [](T t, double x, double y, double, double* o) { o[0] = ftrirandom2D(t, x, y); return 1; }},
    {"ftrirandom3D", [](T t, double x, double y, double z, double* o) { o[0] = ftrirandom3D(t, x, y, z); return 1; }},
    {"frandom2DUnit", [](T t, double x, double y, double, double* o) { o[0] = frandom2DUnit(t, x, y); return 1; }},
    {"frandom2DUnitgrain", [](T t, double x, double y, double, double* o) { o[0] = frandom2DUnitgrain(t, x, y); return 1; }},
    {"frandom2D_Unitlinear", [](T t, double x, double y, double, double* o) { o[0] = frandom2D_Unitlinear(t, x, y); return 1; }},
    {"frandom2DVector2D", [](T t, double x, double y, double, double* o) { frandom2DVector2D(t, x, y, &o[0], &o[1], 1.5); return 2; }},
    {"frandom2DVector3D", [](T t, double x, double y, double, double* o) { frandom2DVector3D(t, x, y, &o[0], &o[1], &o[2], 1.5); return 3; }},
    {"flinrandomVector3D", [](T t, double x, double y, double, double* o) { flinrandomVector3D(t, x, y, &o[0], &o[1], &o[2], 1.5); return 3; }},
    {"frandom3DVector3D", [](T t, double x, double y, double z, double* o) { frandom3DVector3D(t, x, y, z, &o[0], &o[1], &o[2], 1.5); return 3; }},
    {"flinrandomVector", [](T t, double x, double y, double, double* o) { flinrandomVector(t, x, y, &o[0], &o[1], 1.5); return 2; }},
    {"fPerlinNoise2D_cubed", [](T t, double x, double y, double, double* o) { o[0] = fPerlinNoise2D_cubed(t, x, y); return 1; }},
    {"fPerlinLFO", [](T t, double x, double y, double, double* o) { o[0] = fPerlinLFO(t, x, y); return 1; }},
    {"fPerlinNoise2D_DBL", [](T t, double x, double y, double, double* o) { fPerlinNoise2D_DBL(t, x, y, &o[0], &o[1], 1.5); return 2; }},
    {"fPerlinNoise2DVector3D", [](T t, double x, double y, double, double* o) { fPerlinNoise2DVector3D(t, x, y, &o[0], &o[1], &o[2]); return 3; }},
    {"fUnitPerlinNoise2D", [](T t, double x, double y, double, double* o) { o[0] = fUnitPerlinNoise2D(t, x, y); return 1; }},
    {"fRidgedPerlinNoise2D", [](T t, double x, double y, double, double* o) { o[0] = fRidgedPerlinNoise2D(t, x, y); return 1; }},
    {"fSRidgednoise", [](T t, double x, double y, double, double* o) { o[0] = fSRidgednoise(t, x, y); return 1; }},
    {"fsparcePerlinNoise2D", [](T t, double x, double y, double, double* o) { o[0] = fsparcePerlinNoise2D(t, x, y, -0.05); return 1; }},
    {"fPerlinDunes", [](T t, double x, double y, double, double* o) { o[0] = fPerlinDunes(t, x, y, 0.3); return 1; }},
    {"fPerlinNoise2DVector2D", [](T t, double x, double y, double, double* o) { fPerlinNoise2DVector2D(t, x, y, &o[0], &o[1], 1.5); return 2; }},
    {"fUnitPerlinNoise3D", [](T t, double x, double y, double z, double* o) { o[0] = fUnitPerlinNoise3D(t, x, y, z); return 1; }},
    {"fPerlinNoise3DVector3D", [](T t, double x, double y, double z, double* o) { fPerlinNoise3DVector3D(t, x, y, z, &o[0], &o[1], &o[2], 1.5); return 3; }},
    {"fUnitPerlinCracks3D", [](T t, double x, double y, double z, double* o) { o[0] = fUnitPerlinCracks3D(t, x, y, z); return 1; }},
    {"fUnitPerlinSaw2D", [](T t, double x, double y, double, double* o) { o[0] = fUnitPerlinSaw2D(t, x, y); return 1; }},
    {"fUnitPerlinSaw3D", [](T t, double x, double y, double z, double* o) { o[0] = fUnitPerlinSaw3D(t, x, y, z); return 1; }},
    {"frandom2D_Unitlinear2", [](T t, double x, double y, double, double* o) { o[0] = frandom2D_Unitlinear2(t, x, y); return 1; }},
};

void printMembers(const KVtables& t, double x, double y, double z)
{
  for (const Member& m : kMembers) {
    double out[3] = {0.0, 0.0, 0.0};
    int n = m.eval(&t, x, y, z, out);
    std::printf("sample %s %.17g %.17g %.17g", m.name, x, y, z);
    for (int k = 0; k < n; k++)
      std::printf(" %.17g", out[k]);
    std::printf("\n");
  }
}

}  // namespace

int main()
{
  auto tables = std::make_unique<KVtables>();
  SetRndTempTables(tables.get(), 1234);
  printTables(*tables);

  // A grid across negative and positive cells, integers included.
  for (int i = -16; i <= 16; i++)
    for (int j = -6; j <= 6; j++)
      printNoise(*tables, i * 0.25, j * 0.5 + 0.125);
  // Far cells, where the column shift of the hash matters, and a fraction
  // that rounds to 1.
  const double far[][2] = {{-2.0, -1.5},       {1000.3, -70000.7},
                           {-65536.25, 300.5}, {123456.789, -987654.321},
                           {-1e-20, 0.5},      {2147483000.5, -2147483000.5},
                           {-256.0, -257.0},   {255.999, -0.001}};
  for (const auto& p : far)
    printNoise(*tables, p[0], p[1]);

  // Points inside cells, both signs, near and far cells; fractions near the
  // middle and near the borders so that every weight and ramp shows.
  for (int i = -5; i <= 5; i++)
    for (int j = -3; j <= 3; j++)
      printMembers(*tables, i * 0.731 + 0.113, j * 0.917 - 0.291, (i - j) * 0.389 + 0.457);
  const double inside[][3] = {{1000.3, -70000.7, 513.25}, {-65536.25, 300.5, -1025.75},
                              {0.02, 0.97, 0.51},         {-0.98, -0.03, -0.49},
                              {7.49, 3.51, -2.99},        {123456.789, -987.654, 321.5}};
  for (const auto& p : inside)
    printMembers(*tables, p[0], p[1], p[2]);
  return 0;
}
