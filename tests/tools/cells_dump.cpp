// Prints the lookup tables made from a fixed seed, then the results of the
// feature-point, spot, technical and maze functions at a spread of sample
// points, for the independent python check of those functions. One record
// per line: a name, the inputs, then the results, all in round-trip
// precision.
#include <cstdio>
#include <memory>

#include "noise/cellular.h"
#include "noise/mazecolor.h"
#include "noise/spots.h"
#include "noise/tables.h"
#include "noise/techno.h"

namespace {

// A pseudo-random value in [lo, hi) from a sample number and a channel.
double spread(int n, int channel, double lo, double hi)
{
  unsigned s = unsigned(n) * 2654435761u + unsigned(channel) * 97531u + 777u;
  s ^= s >> 13;
  s *= 0x5bd1e995u;
  s ^= s >> 15;
  return lo + (hi - lo) * ((s % 1000000u) / 1000000.0);
}

// Coordinates over negative and positive cells, some on whole and half values
// where the cell rules and the ties sit.
double coordinate(int n, int axis)
{
  double v = spread(n, axis, -60.0, 60.0);
  if (n % 9 == 4)
    return double(int(v));
  if (n % 9 == 7)
    return double(int(v)) + 0.5;
  return v;
}

void printTables(const KVtables* t)
{
  std::printf("perm");
  for (int32_t p : t->perm)
    std::printf(" %d", p);
  std::printf("\nunitdir");
  for (const auto& u : t->unitDir2D)
    std::printf(" %.17g %.17g", double(u[0]), double(u[1]));
  std::printf("\ngrad");
  for (const auto& g : t->grad2D)
    std::printf(" %.17g %.17g", double(g[0]), double(g[1]));
  std::printf("\nrndvec");
  for (const auto& v : t->rndVec3D)
    std::printf(" %.17g %.17g %.17g", v[0], v[1], v[2]);
  std::printf("\nplanevec");
  for (const auto& v : t->planeVec3D)
    std::printf(" %.17g %.17g %.17g", v[0], v[1], v[2]);
  std::printf("\n");
}

void printCellular(const KVtables* t, int n, double x, double y, double z)
{
  double scale = spread(n, 3, -2.0, 2.0), sharpen = n % 3 ? spread(n, 4, 0.0, 1.0) : 0.0;
  std::printf("cristal %.17g %.17g %.17g %.17g %.17g\n", x, y, scale, sharpen,
              Jitter_Cristal(t, x, y, scale, sharpen));

  double offset = spread(n, 5, 0.0, 1.0), ox, oy;
  double d = CristalMap(t, x, y, &ox, &oy, offset);
  std::printf("cristalmap %.17g %.17g %.17g %.17g %.17g %.17g\n", x, y, offset, d, ox, oy);

  double amount = spread(n, 6, -3.0, 3.0);
  Jitter_FacetSpace(t, x, y, &ox, &oy, amount);
  std::printf("facet %.17g %.17g %.17g %.17g %.17g\n", x, y, amount, ox, oy);
  ox = oy = 2.0;
  Jitter_FacetSpaceMirror(t, x, y, &ox, &oy, amount);
  std::printf("mirror %.17g %.17g %.17g %.17g %.17g\n", x, y, amount, ox, oy);
  int32_t ci, cj;
  Jitter_CTFacetSpace(t, x, y, &ci, &cj);
  std::printf("ctfacet %.17g %.17g %d %d\n", x, y, ci, cj);

  double out[3];
  double mask = Jitter_SmoothVoronXYA(t, x, y, out);
  std::printf("smooth %.17g %.17g %.17g %.17g %.17g %.17g\n", x, y, mask, out[0], out[1], out[2]);

  double dmin = 1.0, rgb[3] = {0, 0, 0};
  ColorBubble(t, x, y, &dmin, rgb);
  std::printf("bubble %.17g %.17g %.17g %.17g %.17g %.17g\n", x, y, dmin, rgb[0], rgb[1], rgb[2]);
  // As the 3D bubble component calls it: twice, the second time moved.
  dmin = 0.75;
  rgb[0] = rgb[1] = rgb[2] = 0.0;
  ColorBubble3D(t, x, y, z, &dmin, rgb);
  ColorBubble3D(t, x + 517.5, y + 17.5, z + 317.5, &dmin, rgb);
  std::printf("bubble3d %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n", x, y, z, dmin, rgb[0], rgb[1],
              rgb[2]);
  dmin = 0.8;
  Bubble3D(t, x, y, z, &dmin);
  std::printf("plainbubble3d %.17g %.17g %.17g %.17g\n", x, y, z, dmin);
}

void printSpots(const KVtables* t, int n, double x, double y, double z)
{
  double acc = 0.5;
  Spots2D(t, x, y, &acc);
  std::printf("spots2d %.17g %.17g %.17g\n", x, y, acc);

  int32_t threshold = int32_t(spread(n, 7, 0.0, 1100.0));
  double out[3];
  double s = Jitter_SparceSpotXYA(t, x, y, threshold, out);
  std::printf("sparse %.17g %.17g %d %.17g %.17g %.17g %.17g\n", x, y, threshold, s, out[0], out[1],
              out[2]);

  double rgb[3] = {1, 1, 1};
  acc = 0.25;
  Spots3Dcolor(t, x, y, z, rgb, &acc);
  std::printf("spots3d %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n", x, y, z, acc, rgb[0], rgb[1],
              rgb[2]);

  double size = spread(n, 8, 0.5, 4.0), h = 0.0;
  Jitter_Cones(t, x, y, &h, size);
  std::printf("cones %.17g %.17g %.17g %.17g\n", x, y, size, h);

  double k = spread(n, 9, 0.5, 6.0), dx = 0.125, dy = -0.25;
  Jitter_VecBubble(t, x, y, &dx, &dy, k);
  std::printf("vecbubble %.17g %.17g %.17g %.17g %.17g\n", x, y, k, dx, dy);

  double offset = spread(n, 10, 0.0, 1.0), ox, oy;
  jitteredCircleMap(t, x, y, &ox, &oy, offset);
  std::printf("circlemap %.17g %.17g %.17g %.17g %.17g\n", x, y, offset, ox, oy);

  double freq = spread(n, 11, 0.3, 2.5), amount = spread(n, 12, -0.2, 0.2);
  jitteredCircleInverts(t, x, y, &ox, &oy, k, freq, amount);
  std::printf("circleinverts %.17g %.17g %.17g %.17g %.17g %.17g %.17g\n", x, y, k, freq, amount,
              ox, oy);
}

void printTechno(const KVtables* t, int n, double x, double y, double z)
{
  int32_t level = 1 + n % 5;
  std::printf("techno %.17g %.17g %d %.17g %.17g\n", x, y, level, TechnoNoise(t, x, y, level),
              TechnoNoise1F(t, x, y, level));
  double rgb[3] = {2, 2, 2};
  double e = TechnoNoise1FColor(t, x, y, rgb, level);
  std::printf("technocolor %.17g %.17g %d %.17g %.17g %.17g %.17g\n", x, y, level, e, rgb[0],
              rgb[1], rgb[2]);
  uint32_t cell[3];
  double v = TechnoNoise1F3DColor(t->perm, x, y, z, cell, level);
  std::printf("techno3d %.17g %.17g %.17g %d %.17g %u %u %u\n", x, y, z, level, v, cell[0], cell[1],
              cell[2]);

  double a = spread(n, 13, -0.5, 0.5), b = n % 2 ? spread(n, 14, 0.0, 1.5) : -0.1;
  double c = spread(n, 15, -3.0, 3.0), pz = spread(n, 16, -2.0, 4.0), out[3];
  int32_t strips = 1 + n % 6;
  R_patchwork(t, x, y, pz, a, b, c, strips, out);
  std::printf("patchwork %.17g %.17g %.17g %.17g %.17g %.17g %d %.17g %.17g %.17g\n", x, y, pz, a,
              b, c, strips, out[0], out[1], out[2]);

  const double xy[2] = {x, y};
  double amount = spread(n, 17, -20.0, 20.0);
  rgb[0] = rgb[1] = rgb[2] = 3.0;
  RGBdither(t, rgb, xy, amount);
  std::printf("dither %.17g %.17g %.17g %.17g %.17g %.17g\n", x, y, amount, rgb[0], rgb[1], rgb[2]);
}

void printMaze(const KVtables* t, int n, double x, double y, double z)
{
  double blend = n % 3 == 0 ? 0.0 : (n % 3 == 1 ? 1.0 : spread(n, 18, 0.0, 1.0));
  std::printf("maze %.17g %.17g %.17g %.17g\n", x, y, blend, fmaze(t, x, y, blend));
  double width = spread(n, 19, 0.0, 2.0);
  normalcolor colour;
  double d = Mondrian3DColor(t, x, y, z, &colour, width);
  std::printf("mondrian %.17g %.17g %.17g %.17g %.17g %d %d %d %d\n", x, y, z, width, d,
              colour.flag, colour.red, colour.green, colour.blue);
}

}  // namespace

int main()
{
  auto tables = std::make_unique<KVtables>();
  SetRndTempTables(tables.get(), 2718);
  printTables(tables.get());
  for (int n = 0; n < 400; n++) {
    double x = coordinate(n, 0), y = coordinate(n, 1), z = coordinate(n, 2);
    printCellular(tables.get(), n, x, y, z);
    printSpots(tables.get(), n, x, y, z);
    printTechno(tables.get(), n, x, y, z);
    printMaze(tables.get(), n, x, y, z);
  }
  return 0;
}
