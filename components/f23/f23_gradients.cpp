#include "components/f23/f23_gradients.h"

#include <algorithm>

#include "components/f23/f23_pvt.h"
#include "engine/palettelookups.h"
#include "engine/palettes.h"
#include "foundation/checked.h"

namespace {

// Colours on the byte scale become component values (8 full).
constexpr double kByteToValue = 1.0 / 32;

const cpalette* documentPalette(const gfunc* g)
{
  return &g->doc->tables.gradientKeys;
}

// Library slot `slot` (0..63); the document palette when the world has no
// library.
const cpalette* librarySlot(const gfunc* g, int slot)
{
  const cpalettelib* lib = gKovrelinWorld != nullptr ? gKovrelinWorld->paletteLib : nullptr;
  if (lib == nullptr)
    return documentPalette(g);
  return &lib->palettes[std::clamp(slot, 0, kPaletteLibSize - 1)];
}

F23triple colourAt(const cpalette* p, double t)
{
  double rgb[3];
  fvcolorgradient(p, t, rgb);
  return {rgb[0], rgb[1], rgb[2]};
}

F23triple scaled(const F23triple& c, double k)
{
  return {c.a * k, c.b * k, c.c * k};
}

// Which of the 40 palettes u = B y picks, and how far it is on the way to
// the next one. Negative u, NaN and a u whose whole part does not fit 32
// bits pick palette 0 with no blend. The whole part is taken as a 16-bit
// value, as the palette index always was, and reduced modulo 40 into 0..39
// (a 16-bit value of 32768 and more is negative).
struct YgradPick
{
  int palette;
  double fraction;
};

YgradPick pickPalette(double u)
{
  int32_t whole = 0;
  if (!(u >= 0) || !kvnum::trunc_i32(u, whole))
    return {0, 0.0};
  const int k = int16_t(whole) % kF23YgradPalettes;
  return {k < 0 ? k + kF23YgradPalettes : k, u - whole};
}

const cpalette* ygradPalette(const gfunc* g, int k)
{
  return k == 0 ? documentPalette(g) : librarySlot(g, k);
}

// Library slot k of the Indexed gradient: C's whole part held to the 64
// slots, NaN as 0.
int indexSlot(double c)
{
  return std::clamp(kvnum::sat_i32(c), 0, kPaletteLibSize - 1);
}

}  // namespace

void f23_ColorKVgrad_precompute(gfunc* g)
{
  f23_k(g).K[0] = g->A / 8;
  f23_k(g).K[1] = g->B / 8;
}

void f23_ColorKVgrad(gfunc* g)
{
  const double kx = f23_k(g).K[0], ky = f23_k(g).K[1];
  const cpalette* p = documentPalette(g);
  f23_eachSample(g, F23mask::x, [&](double x, double y) {
    return scaled(colourAt(p, x * kx + y * ky), kByteToValue);
  });
}

void f23_ColorKVgradB(gfunc* g)
{
  const double a = g->A, b = g->B, c = g->C;
  const cpalette* p = documentPalette(g);
  f23_eachSample(g, F23mask::x, [&](double x, double y) {
    const double luminance = ((y - 1) * b + 1) / 32;
    return scaled(colourAt(p, x * a / 8 + c), luminance);
  });
}

void f23_indexGradient(gfunc* g)
{
  const double a = g->A, b = g->B;
  const cpalette* p = librarySlot(g, indexSlot(g->C));
  f23_eachSample(g, F23mask::x, [&](double x, double y) {
    const double luminance = ((y - 1) * b + 1) / 32;
    return scaled(colourAt(p, x * a / 8), luminance);
  });
}

void f23_BezierGradient_precompute(gfunc* g)
{
  f23_k(g).K[0] = 1 / g->A;
  f23_k(g).K[1] = g->C / 255;
}

void f23_BezierGradient(gfunc* g)
{
  const double inverseRange = f23_k(g).K[0], outputScale = f23_k(g).K[1];
  const double offset = g->B;
  const cpalette* p = documentPalette(g);
  f23_eachSample(g, F23mask::x, [&](double x, double) {
    double rgb[3];
    fbeziercolorgradient(p, (x + offset) * inverseRange, rgb);
    return F23triple{rgb[0] * outputScale, rgb[1] * outputScale, rgb[2] * outputScale};
  });
}

void f23_ColorKVYgrad_precompute(gfunc* g)
{
  f23_k(g).K[0] = g->A / 8;
}

void f23_ColorKVYgrad(gfunc* g)
{
  const double kx = f23_k(g).K[0];
  const double b = g->B;
  f23_eachSample(g, F23mask::x, [&](double x, double y) {
    const double t = x * kx;
    const YgradPick pick = pickPalette(b * y);
    const F23triple c1 = colourAt(ygradPalette(g, pick.palette), t);
    if (!(pick.fraction > 0))
      return scaled(c1, kByteToValue);
    // The next palette is always a library slot (slot 0 after 39).
    const double f = pick.fraction;
    const double w = (3 - 2 * f) * f * f;
    const F23triple c2 = colourAt(librarySlot(g, (pick.palette + 1) % kF23YgradPalettes), t);
    const F23triple mixed{c1.a + (c2.a - c1.a) * w, c1.b + (c2.b - c1.b) * w,
                          c1.c + (c2.c - c1.c) * w};
    return scaled(mixed, kByteToValue);
  });
}

int16_t f23_ColorKVgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_ColorKVgrad, g, msg, a, b, c);
}

int16_t f23_ColorKVgradB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_ColorKVgradB, g, msg, a, b, c);
}

int16_t f23_indexGradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_indexGradient, g, msg, a, b, c);
}

int16_t f23_BezierGradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_BezierGradient, g, msg, a, b, c);
}

int16_t f23_ColorKVYgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_ColorKVYgrad, g, msg, a, b, c);
}
