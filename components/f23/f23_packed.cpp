#include "components/f23/f23_packed.h"

#include <algorithm>
#include <array>

#include "components/common/packed.h"
#include "components/f23/f23_pvt.h"

namespace {

bool marked(double v)
{
  return v >= gINFINITY;
}

// The running colour o of a sample (the outputs) and the colour s of input 2.
struct Rgb
{
  double c[3];
};

Rgb outputsAt(const gfunc* g, int i)
{
  return {{g->outputs[0][i], g->outputs[1][i], g->outputs[2][i]}};
}

Rgb inputAt(const KVpackedInput& in, int i)
{
  return {{in.at(0, i), in.at(1, i), in.at(2, i)}};
}

void storeAt(gfunc* g, int i, const Rgb& o)
{
  f23_store(g, i, {o.c[0], o.c[1], o.c[2]});
}

// The frame of the four compositing members: the initial copy of input 1
// (unless a loop pass keeps the outputs), then combine(o, s) per sample.
template <class Combine>
void composite(gfunc* g, Combine combine)
{
  const int n = KV_batchLength();
  const KVpackedInput second = KV_packedInput(g, 1);
  std::array<Rgb, kBatchCapacity> s;
  for (int i = 0; i < n; ++i)
    s[i] = inputAt(second, i);
  if (!KV_keepsLoopOutputs(g))
    KV_copyPackedToOutputs(g, KV_packedInput(g, 0), n);
  for (int i = 0; i < n; ++i)
    storeAt(g, i, combine(outputsAt(g, i), s[i]));
}

// The rule shared by crossfade, multiply and add, tested on red alone: o
// and s both unmarked combine; s marked keeps `onlyO(o)`; o marked takes
// `onlyS(s)`; both marked give the marker.
template <class Both, class OnlyO, class OnlyS>
Rgb byRed(const Rgb& o, const Rgb& s, Both both, OnlyO onlyO, OnlyS onlyS)
{
  const bool oMarked = marked(o.c[0]), sMarked = marked(s.c[0]);
  Rgb r;
  for (int k = 0; k < 3; ++k) {
    if (!oMarked && !sMarked)
      r.c[k] = both(o.c[k], s.c[k]);
    else if (!oMarked)
      r.c[k] = onlyO(o.c[k]);
    else if (!sMarked)
      r.c[k] = onlyS(s.c[k]);
    else
      r.c[k] = gINFINITY;
  }
  return r;
}

double same(double v)
{
  return v;
}

}  // namespace

void f23_packedlerp(gfunc* g)
{
  const double t = g->A;
  composite(g, [&](const Rgb& o, const Rgb& s) {
    return byRed(
        o, s, [&](double ok, double sk) { return ok + (sk - ok) * t; }, same, same);
  });
}

void f23_packedmul(gfunc* g)
{
  const double a = g->A, b = g->B;
  composite(g, [&](const Rgb& o, const Rgb& s) {
    auto factor = [&](double sk) { return (sk + 4 * b) * (a / 4) + (1 - a); };
    return byRed(
        o, s, [&](double ok, double sk) { return ok * factor(sk); }, same, same);
  });
}

void f23_packedadd(gfunc* g)
{
  const double a = g->A, b = g->B;
  composite(g, [&](const Rgb& o, const Rgb& s) {
    return byRed(
        o, s, [&](double ok, double sk) { return ok * a + sk * b; },
        [&](double ok) { return ok * a; }, [&](double sk) { return sk * b; });
  });
}

void f23_packedmax(gfunc* g)
{
  const double a = g->A, b = g->B;
  composite(g, [&](const Rgb& o, const Rgb& s) {
    Rgb r;
    for (int k = 0; k < 3; ++k) {
      if (marked(o.c[k]) && marked(s.c[k])) {
        r.c[k] = o.c[k];
        continue;
      }
      const double oScaled = marked(o.c[k]) ? 0.0 : o.c[k] * a;
      const double sScaled = marked(s.c[k]) ? 0.0 : b * s.c[k];
      r.c[k] = sScaled > oScaled ? sScaled : oScaled;
    }
    return r;
  });
}

void f23_zcompare(gfunc* g)
{
  const int n = KV_batchLength();
  const KVpackedInput first = KV_packedInput(g, 0);
  const KVpackedInput second = KV_packedInput(g, 1);
  if (!first.packed || !second.packed) {
    // Without two points, every sample gets the smaller of the two inputs'
    // first elements.
    const double v = std::min(first.at(0, 0), second.at(0, 0));
    for (int i = 0; i < n; ++i)
      f23_store(g, i, {v, v, v});
    return;
  }
  std::array<Rgb, kBatchCapacity> nearer;
  for (int i = 0; i < n; ++i) {
    const bool secondNearer = first.at(2, i) > second.at(2, i);  // a tie keeps input 1
    nearer[i] = inputAt(secondNearer ? second : first, i);
  }
  for (int i = 0; i < n; ++i)
    storeAt(g, i, nearer[i]);
}

int16_t f23_packedlerp_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_packedlerp, g, msg, a, b, c);
}

int16_t f23_zcompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_zcompare, g, msg, a, b, c);
}

int16_t f23_packedmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_packedmul, g, msg, a, b, c);
}

int16_t f23_packedadd_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_packedadd, g, msg, a, b, c);
}

int16_t f23_packedmax_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF23_packedmax, g, msg, a, b, c);
}
