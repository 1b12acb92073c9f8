#include "components/f31/f31_perspective.h"

#include "noise/noises.h"
#include "noise/techno.h"

namespace {

// Three warp steps (the first signed, the others by absolute value, each
// sampled at the y-derived argument first), then five noise octaves.
double turbulence(const KVtables* t, double X, double Y, double C)
{
  double u1 = 0, u2 = 0;
  frandom2DVector2D(t, 0.25 * Y, 0.25 * (X + 0.6 * C), &u1, &u2, 0.00125);
  const double X1 = X + u1, Y1 = Y + u2;
  frandom2DVector2D(t, 0.5 * Y1, 0.5 * X1 + 0.8 * C, &u1, &u2, 0.000625);
  const double X2 = X1 + std::fabs(u1), Y2 = Y1 + std::fabs(u2);
  frandom2DVector2D(t, Y2, X2 + 0.6 * C, &u1, &u2, 0.0003125);
  const double X3 = X2 + std::fabs(u1), Y3 = Y2 + std::fabs(u2);
  return fPerlinNoise2D(t, X3 + C, Y3) + 0.5 * fPerlinNoise2D(t, 2 * (X3 + 0.8 * C), 2 * Y3) +
         0.25 * frandom2D(t, 4 * (X3 + 0.6 * C), 4 * Y3) +
         0.125 * frandom2D(t, 8 * (X3 + 0.8 * C), 8 * Y3) +
         0.0625 * frandom2D(t, 16 * X3 + 0.6 * C, 16 * Y3);
}

}  // namespace

// z = 0 gives d = A + 1, z = 1 gives d = 1; behind d = 0.25 the zoom stays 8.
F31depth f31_depthScale(double perspective, double z)
{
  const double d = perspective + 1 - perspective * z;
  const double s = d >= 0.25 ? 2 / d : 8.0;
  return {s, std::exp(-s)};
}

void f31_persrandom(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double A = g->A, B = g->B, C = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    const F31depth d = f31_depthScale(A, z);
    return d.e * 0.0625 * (fPerlinNoise2D(t, x * d.s + C, y * d.s) + 256 * B);
  });
}

void f31_persturbulence(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double A = g->A, B = g->B, C = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    const F31depth d = f31_depthScale(A, z);
    return (turbulence(t, x * d.s, y * d.s, C) + 256 * B) * d.e * 0.0625;
  });
}

void f31_perstechno(gfunc* g)
{
  const KVtables* t = &g->doc->tables;
  const double A = g->A, B = g->B, C = g->C;
  f31_eachSample(g, [=](double x, double y, double z) {
    const F31depth d = f31_depthScale(A, z);
    return TechnoNoise(t, x * d.s + C, y * d.s, 1) * (3 + B) * 8 * d.e;
  });
}

int16_t f31_persrandom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_persrandom, g, msg, a, b, c);
}
int16_t f31_persturbulence_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_persturbulence, g, msg, a, b, c);
}
int16_t f31_perstechno_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF31_perstechno, g, msg, a, b, c);
}
