#include "noise/tables.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "foundation/checked.h"

namespace {

constexpr int kHalfTurnSteps = 4096;
constexpr int32_t kTurnMask = 8191;
// 8192 steps a turn: 8192 / (2 pi).
constexpr double kStepsPerRadian = 1303.7972938088067;
constexpr double kDegreesToRadians = 0.017453292519943295;

void fillSineHalfTurn(double* table)
{
  for (int i = 0; i < kHalfTurnSteps; i++)
    table[i] = std::sin(i / kStepsPerRadian);
}

struct SineHalfTurn
{
  double value[kHalfTurnSteps];
};

// Built once, on the first call, under the language's thread-safe static
// initialisation; read-only afterwards.
const double* sharedSineTable()
{
  static const SineHalfTurn table = [] {
    SineHalfTurn t;
    fillSineHalfTurn(t.value);
    return t;
  }();
  return table.value;
}

// Entry k of the full turn: the second half turn is the first negated.
inline double fullTurnEntry(const double* half, int32_t k)
{
  return k < kHalfTurnSteps ? half[k] : -half[k - kHalfTurnSteps];
}

// Scaled table position of a non-negative argument, reduced by the period
// when its integer part would leave the 32-bit range. False for NaN and
// infinities.
inline bool tablePosition(double magnitude, double& position)
{
  position = magnitude * kStepsPerRadian;
  if (position < 2147483648.0)
    return true;
  if (!std::isfinite(position))
    return false;
  position = std::fmod(position, 8192.0);
  return true;
}

inline double steps(int32_t value)
{
  return value * 0.001953125 - 1.0;  // value / 512 - 1
}

inline int32_t permAt(const KVtables* t, uint32_t index)
{
  return t->perm[index & 1023u];
}

void deriveGradients(KVtables* t)
{
  for (int i = 0; i < 1024; i++) {
    int32_t p = t->perm[i];
    t->grad2D[i][0] = float(p - 511.5);
    t->grad2D[i][1] = float(permAt(t, uint32_t(p) + 73u) - 511.5);
  }
  t->grad2D[1024][0] = t->grad2D[0][0];
  t->grad2D[1024][1] = t->grad2D[0][1];
}

void derivePlaneDirections(KVtables* t)
{
  for (int i = 0; i < 256; i++) {
    double angle = (t->perm[i] % 360) * kDegreesToRadians;
    double c = std::cos(angle), s = std::sin(angle);
    t->planeVec3D[i][0] = c;
    t->planeVec3D[i][1] = s;
    // (value - 511.5) / 2048: an offset within +-0.25
    t->planeVec3D[i][2] = (permAt(t, uint32_t(i) + 643u) - 511.5) * 0.00048828125;
    t->unitDir2D[i][0] = float(c * 0.25);
    t->unitDir2D[i][1] = float(s * 0.25);
  }
  for (int k = 0; k < 3; k++)
    t->planeVec3D[256][k] = t->planeVec3D[0][k];
  t->unitDir2D[256][0] = t->unitDir2D[0][0];
  t->unitDir2D[256][1] = t->unitDir2D[0][1];
}

void deriveRandomVectors(KVtables* t)
{
  for (int i = 0; i < 1024; i++) {
    int32_t p = t->perm[i];
    t->rndVec3D[i][0] = steps(p);
    t->rndVec3D[i][1] = steps(permAt(t, uint32_t(p) + 333u));
    t->rndVec3D[i][2] = steps(permAt(t, uint32_t(i) + 512u));
  }
  for (int k = 0; k < 3; k++) {
    t->rndVec3D[1024][k] = t->rndVec3D[0][k];
    t->rndVec3D[1025][k] = t->rndVec3D[1][k];
  }
}

}  // namespace

void arb_compRndVecTable(KVtables* tables)
{
  tables->perm[1024] = tables->perm[0];
  deriveGradients(tables);
  derivePlaneDirections(tables);
  deriveRandomVectors(tables);
}

void arb_init_Tables(KVtables* tables)
{
  fillSineHalfTurn(tables->sinTable);
  for (int32_t i = 0; i < 1024; i++)
    tables->perm[i] = i;
  for (int i = 0; i < 1024; i++) {
    long j = random() & 1023;
    std::swap(tables->perm[i], tables->perm[j]);
  }
  arb_compRndVecTable(tables);
}

void SetRndTempTables(KVtables* tables, short seed)
{
  srandom(seed < 1 ? 7778u : unsigned(seed));
  arb_init_Tables(tables);
}

double TableSin(double x)
{
  bool negative = x < 0.0;
  double position;
  if (!tablePosition(negative ? -x : x, position))
    return 0.0;
  const double* half = sharedSineTable();
  int32_t n;
  kvnum::trunc_i32(position, n);  // fits: tablePosition keeps it below 2^31
  double frac = position - n;
  int32_t k = n & kTurnMask;
  double a = fullTurnEntry(half, k);
  double b = fullTurnEntry(half, (k + 1) & kTurnMask);
  double value = a + (b - a) * frac;
  return negative ? -value : value;
}

double niTableSin(double x)
{
  double position;
  if (!tablePosition(std::fabs(x), position))
    return 0.0;
  int32_t n;
  kvnum::trunc_i32(position, n);
  return fullTurnEntry(sharedSineTable(), n & kTurnMask);
}
