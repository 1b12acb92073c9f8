#include "components/f12/f12_pairs.h"

#include "components/f12/f12_pvt.h"
#include "foundation/checked.h"
#include "noise/noises.h"

namespace {

// A modulus read from a stored parameter: its whole part, at least 1 (a
// stored 0 would divide by zero), NaN as 1.
double wholeModulus(double v)
{
  return std::max(1, kvnum::sat_i32(v));
}

}  // namespace

void f12_Constant(gfunc* g)
{
  f12_fillPair(g, {g->A, g->B});
}

void f12_Modulo(gfunc* g)
{
  const F11constants& k = f11_k(g);
  const double phase = g->B;
  const double modulus = wholeModulus(g->C);
  f12_eachSample(g, [&](double x) {
    const double u = x * k.K1;
    const double cell = f11_cellOf(u);
    return F12pair{(u - cell) * k.K2 + phase, f12_wholeModulo(cell, modulus)};
  });
}

void f12_linearmotion(gfunc* g)
{
  const F11constants& k = f11_k(g);
  const double speed = g->B;
  f12_eachSampleOrUniform(g, [&](double x) { return F12pair{speed * x * k.K1, speed * x * k.K2}; });
}

void f12_circularmotion(gfunc* g)
{
  const double radius = g->A, speedX = g->B, speedY = g->C;
  f12_eachSampleOrUniform(g, [&](double x) {
    return F12pair{radius * std::cos(speedX * x), -radius * std::sin(speedY * x)};
  });
}

void f12_randommotion(gfunc* g)
{
  constexpr double kSecondPath = 717.25;  // where output 2 reads the same noise
  const KVtables* t = &g->doc->tables;
  const double amplitude = f11_k(g).K1, speed = g->B;
  f12_eachSampleOrUniform(g, [&](double x) {
    const double u = speed * x;
    return F12pair{amplitude * fPerlinNoise1D(t, u),
                   amplitude * fPerlinNoise1D(t, u + kSecondPath)};
  });
}

void f12_MathA(gfunc* g)
{
  const double a = g->A;
  f12_eachSampleOrUniform(g, [&](double x) { return F12pair{a * std::atan(x), a * std::tan(x)}; });
}

// The per-sample path scales by A squared, the uniform path by A. x <= 0
// gives minus infinity on output 1.
void f12_MathB(gfunc* g)
{
  const auto pair = [](double x, double scale) {
    return F12pair{scale * std::log(std::max(0.0, x)), scale * std::exp(x)};
  };
  const double a = g->A;
  if (f12_uniformInput(g)) {
    f12_fillPair(g, pair(g->inlets[0].data[0], a));
    return;
  }
  f12_eachSample(g, [&](double x) { return pair(x, a * a); });
}

void f12_CubicFloor(gfunc* g)
{
  const double scale = g->A, offset = g->B, amplitude = g->C;
  f12_eachSampleOrUniform(g, [&](double x) {
    return F12pair{amplitude * f11_smoothClamped(scale * x + offset), x};
  });
}

void f12_QTModulo(gfunc* g)
{
  const double modulus = wholeModulus(g->A);
  const double freqX = g->B, freqY = g->C;
  f12_eachSampleOrUniform(g, [&](double x) {
    return F12pair{f12_wholeModulo(f11_cellOf(x * freqX), modulus) + 1,
                   f12_wholeModulo(f11_cellOf(x * freqY), modulus) + 1};
  });
}

// ---- Preparation ------------------------------------------------------------

void f12_Modulo_precompute(gfunc* g)
{
  constexpr double kSmallest = 1e-6;
  if (g->A < kSmallest)
    g->A = kSmallest;
  F11constants& k = f11_k(g);
  k.K1 = 1 / g->A;
  k.K2 = g->A;
}

void f12_linearmotion_precompute(gfunc* g)
{
  F11constants& k = f11_k(g);
  k.K1 = std::cos(g->A);
  k.K2 = std::sin(g->A);
}

void f12_randommotion_precompute(gfunc* g)
{
  f11_k(g).K1 = g->A / 300;
}

// ---- Handlers ---------------------------------------------------------------

int16_t f12_Constant_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_Constant, g, msg, a, b, c);
}

int16_t f12_Modulo_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_Modulo, g, msg, a, b, c);
}

int16_t f12_linearmotion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_linearmotion, g, msg, a, b, c);
}

int16_t f12_circularmotion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_circularmotion, g, msg, a, b, c);
}

int16_t f12_randommotion_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_randommotion, g, msg, a, b, c);
}

int16_t f12_MathA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_MathA, g, msg, a, b, c);
}

int16_t f12_MathB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_MathB, g, msg, a, b, c);
}

int16_t f12_CubicFloor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_CubicFloor, g, msg, a, b, c);
}

int16_t f12_QTModulo_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF12_QTModulo, g, msg, a, b, c);
}
