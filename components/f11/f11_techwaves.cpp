#include "components/f11/f11_techwaves.h"

#include <algorithm>
#include <cmath>

#include "components/f11/f11_pvt.h"

namespace {

// One entry of a mode list: the label of A, the generator and the sharpness.
struct TWmode
{
  std::string_view label;
  TWgenerator generator;
  double sharpness;
};

// Modes 9-11 and 12-14 carry the same labels over different generators.
constexpr TWmode kTechWaveModes[kF11TechWaveModes] = {
    {" Square Pulse hard #", TW_pulsA, 8},
    {" Square Pulse med #", TW_pulsA, 4},
    {" Square Pulse soft #", TW_pulsA, 2},
    {" T Pulse hard #", TW_pulsB, 8},
    {" T Pulse med #", TW_pulsB, 4},
    {" T Pulse soft #", TW_pulsB, 2},
    {" Saw Pulse hard #", TW_pulsSaw, 8},
    {" Saw Pulse med #", TW_pulsSaw, 4},
    {" Saw Pulse soft #", TW_pulsSaw, 2},
    {" Sparce Pulse hard #", TW_pulsC, 8},
    {" Sparce Pulse med #", TW_pulsC, 4},
    {" Sparce Pulse soft #", TW_pulsC, 2},
    {" Sparce Pulse hard #", TW_pulsSP, 8},
    {" Sparce Pulse med #", TW_pulsSP, 4},
    {" Sparce Pulse soft #", TW_pulsSP, 2},
    {" Alternate hard #", TW_pulsAlt, 8},
    {" Alternate med #", TW_pulsAlt, 4},
    {" Alternate soft #", TW_pulsAlt, 2},
    {" Cyclic Random 8 hard #", TW_pulsRPeriodic8, 8},
    {" Cyclic Random 8 med #", TW_pulsRPeriodic8, 4},
    {" Cyclic Random 8 soft #", TW_pulsRPeriodic8, 2},
    {" Cyclic Random 16 hard #", TW_pulsRPeriodic16, 8},
    {" Cyclic Random 16 med #", TW_pulsRPeriodic16, 4},
    {" Cyclic Random 16 soft #", TW_pulsRPeriodic16, 2},
    {" Random hard #", TW_pulsRnd, 8},
    {" Random med #", TW_pulsRnd, 4},
    {" Random soft #", TW_pulsRnd, 2},
};

constexpr TWmode kVstepsModes[kF11VstepsModes] = {
    {" Random Steps hard #", TW_pulsRStep, 4},
    {" Random Steps med #", TW_pulsRStep, 2},
    {" Random Steps soft #", TW_pulsRStep, 1},
    {" Random Steps B hard #", TW_pulsRStepB, 4},
    {" Random Steps B med #", TW_pulsRStepB, 2},
    {" Random Steps B soft #", TW_pulsRStepB, 1},
    {" Randomized Steps C med #", TW_pulsRStepC, 2},
    {" Randomized Steps C soft #", TW_pulsRStepC, 1},
};

// The mode number trunc(A); -1 when A does not fit an integer.
int modeOf(const gfunc* g)
{
  int32_t mode = 0;
  return kvnum::trunc_i32(g->A, mode) ? mode : -1;
}

// The entry of mode m, or null outside the list.
template <int N>
const TWmode* findMode(const TWmode (&modes)[N], int m)
{
  return m >= 0 && m < N ? &modes[m] : nullptr;
}

// Message 8 of both members: an unknown mode takes `fallback` with
// sharpness 8.
template <int N>
void chooseMode(gfunc* g, const TWmode (&modes)[N], TWgenerator fallback, double scale)
{
  F11techWaveState& s = privateArea<F11techWaveState>(g);
  const TWmode* mode = findMode(modes, modeOf(g));
  s.K1 = scale;
  s.generator = mode != nullptr ? mode->generator : fallback;
  s.K2 = mode != nullptr ? mode->sharpness : 8.0;
}

// The label of A is the mode's name; B and C keep their own.
template <int N>
std::string_view modeLabel(const gfunc* g, int param, const TWmode (&modes)[N],
                           const KVmemberDesc& d)
{
  if (param != 0)
    return d.params[param].label;
  const TWmode* mode = findMode(modes, modeOf(g));
  return mode != nullptr ? mode->label : std::string_view{};
}

// The sequence sampled at the lattice indices i and i + 1 around u = C x,
// the step made over the first 1/K2 of the cell; 0 where u has no 32-bit
// cell. A component not yet prepared uses `fallback` (its K1 is 0 then).
void sampleSequence(gfunc* g, TWgenerator fallback)
{
  const F11techWaveState s = privateArea<F11techWaveState>(g);
  const TWgenerator p = s.generator != nullptr ? s.generator : fallback;
  const KVtables* t = &g->doc->tables;
  const double c = g->C;
  f11_eachSample(g, [=](double x) {
    const double u = x * c;
    int32_t i = 0;
    if (!kvnum::trunc_i32(u >= 0 ? u : u - 1, i))
      return 0.0;
    const double p0 = p(t, i, u), p1 = p(t, f11_cellPlus(i, 1), u);
    double v = p0;
    if (p0 != p1)
      v = p0 + f11_smoothClamped((u - i) * s.K2) * (p1 - p0);
    return v * s.K1;
  });
}

// n with its low bits cleared, as a double.
double clearLow(int32_t n, int32_t mask)
{
  return double(n & ~mask);
}

}  // namespace

// ---- Generators -----------------------------------------------------------

double TW_pulsA(const KVtables*, int32_t n, double)
{
  return (n & 1) != 0 ? 1.0 : -1.0;
}

double TW_pulsB(const KVtables*, int32_t n, double)
{
  constexpr double kLevels[4] = {0, 1, 0, -1};
  return kLevels[n & 3];
}

double TW_pulsSaw(const KVtables*, int32_t n, double)
{
  constexpr double kLevels[4] = {-1, -0.33333333, 0.33333333, 1};
  return kLevels[n & 3];
}

double TW_pulsC(const KVtables*, int32_t n, double)
{
  switch (n & 7) {
    case 0:
      return 1;
    case 4:
      return -1;
    default:
      return 0;
  }
}

double TW_pulsSP(const KVtables*, int32_t n, double)
{
  return (n & 15) == 0 ? 1.0 : -0.06666666666666667;
}

double TW_pulsAlt(const KVtables*, int32_t n, double)
{
  const int32_t m = n & 15;
  if (m == 8 || m == 9 || m == 10)
    return 1;
  return (n & 3) == 1 ? -0.25 : -0.5;
}

double TW_pulsRPeriodic8(const KVtables* t, int32_t n, double)
{
  return t->perm[t->perm[n & 7] & 1023] / 512.0 - 1;
}

double TW_pulsRPeriodic16(const KVtables* t, int32_t n, double)
{
  return t->perm[t->perm[n & 15] & 1023] / 512.0 - 1;
}

double TW_pulsRnd(const KVtables* t, int32_t n, double)
{
  return f11_hash(t, n) / 512.0 - 1;
}

// One draw per block of 8 indices chooses how many indices share a step.
double TW_pulsRStep(const KVtables* t, int32_t n, double)
{
  switch (f11_hash(t, n >> 3) & 7) {
    case 0:
      return n;
    case 1:
    case 2:
      return clearLow(n, 1);
    case 3:
    case 4:
    case 5:
      return clearLow(n, 3);
    default:
      return clearLow(n, 7);
  }
}

double TW_pulsRStepB(const KVtables* t, int32_t n, double d)
{
  switch (f11_hash(t, n >> 3) & 7) {
    case 0:
      return n;
    case 1:
      return clearLow(n, 7);
    case 2:
      return clearLow(n, 1);
    case 3:
      return clearLow(n, 1) + 0.37;
    case 4:
      return clearLow(n, 3) - 1.15;
    case 5:
      return clearLow(n, 3);
    case 6:
      return clearLow(n, 3) + 1.37;
    default:
      return d;
  }
}

double TW_pulsRStepC(const KVtables* t, int32_t n, double)
{
  const int32_t q = f11_hash(t, n >> 2);
  const double e = (q - 512) / 256.0;
  const double a = clearLow(n, 3) + e;
  if ((q & 1) == 0)
    return a;
  return std::min(a, clearLow(n, 1) + e / 2);
}

// ---- Compute functions ----------------------------------------------------

void f11_techWave(gfunc* g)
{
  sampleSequence(g, TW_pulsA);
}

void f11_Vsteps(gfunc* g)
{
  sampleSequence(g, TW_pulsRStep);
}

// ---- Modes and precomputations --------------------------------------------

std::string_view f11_techWave_modeName(int mode)
{
  const TWmode* m = findMode(kTechWaveModes, mode);
  return m != nullptr ? m->label : std::string_view{};
}

std::string_view f11_Vsteps_modeName(int mode)
{
  const TWmode* m = findMode(kVstepsModes, mode);
  return m != nullptr ? m->label : std::string_view{};
}

std::string_view f11_techWave_label(const gfunc* g, int param)
{
  return modeLabel(g, param, kTechWaveModes, kF11_techWave);
}

std::string_view f11_Vsteps_label(const gfunc* g, int param)
{
  return modeLabel(g, param, kVstepsModes, kF11_Vsteps);
}

void f11_techWave_precompute(gfunc* g)
{
  chooseMode(g, kTechWaveModes, TW_pulsA, g->B);
}

// K1 = B/C: the steps are lattice indices of C x, so the staircase follows B x.
void f11_Vsteps_precompute(gfunc* g)
{
  chooseMode(g, kVstepsModes, TW_pulsRStep, g->B / g->C);
}

// ---- Handlers -------------------------------------------------------------

int16_t f11_techWave_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_techWave, g, msg, a, b, c);
}

int16_t f11_Vsteps_handler(gfunc* g, int16_t msg, double* a, double* b, double* c)
{
  return KV_memberHandler(kF11_Vsteps, g, msg, a, b, c);
}
