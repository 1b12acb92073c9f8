// What the f31 group files share: the private doubles K0..K3 written at
// message 8, the batch's three inputs, the per-sample loop with the family's
// no-value rule, the hand-back of the body fields from the driver record the
// fractal members give the octave drivers, and the clamped smoothstep the
// bodies use.
#pragma once

#include <array>
#include <cmath>

#include "components/common/fractalsettings.h"
#include "components/common/inputs.h"
#include "engine/gfunc.h"
#include "engine/world.h"
#include "noise/kvtables.h"

// The doubles a member's handler precomputes at message 8.
struct F31constants
{
  double K[4];
};

inline F31constants& f31_k(gfunc* g)
{
  return privateArea<F31constants>(g);
}

// x, y and z of the current batch, copied so that the output may be written
// while they are read.
struct F31batch
{
  int n;
  std::array<double, kBatchCapacity> x;
  std::array<double, kBatchCapacity> y;
  std::array<double, kBatchCapacity> z;
};

inline F31batch f31_batch(const gfunc* g)
{
  F31batch b;
  b.n = KV_batchLength();
  KV_readInput(g, 0, b.n, b.x.data());
  KV_readInput(g, 1, b.n, b.y.data());
  KV_readInput(g, 2, b.n, b.z.data());
  return b;
}

// output = f(x, y, z) for every sample; a sample whose x is the no-value
// marker gives the marker and y, z are not read (a marker in y or z alone is
// computed with).
template <class F>
inline void f31_eachSample(gfunc* g, F f)
{
  const F31batch b = f31_batch(g);
  for (int i = 0; i < b.n; ++i)
    g->outputs[0][i] = b.x[i] >= gINFINITY ? gINFINITY : f(b.x[i], b.y[i], b.z[i]);
}

// The driver record of one batch is `KV_fractalSettings(g)`. The drivers
// write their extra outputs and the bodies their parameter fields into that
// copy; `f31_keepBodyFields` hands those back to the document at the end of
// the batch, never the octave settings.
inline void f31_keepBodyFields(gfunc* g, const fractalsinfos& fi)
{
  fractalsinfos& doc = g->doc->fractal;
  doc.paramA = fi.paramA;
  doc.paramB = fi.paramB;
  doc.paramC = fi.paramC;
  doc.accumulator = fi.accumulator;
  doc.secondOutput = fi.secondOutput;
}

// The document's pixel density, the band limit of the fractal members.
inline double f31_density(const gfunc* g)
{
  return g->doc->yPixelScale;
}

// Clamped smoothstep: 0 below 0, 1 above 1, (3 - 2v) v^2 between.
inline double f31_S(double v)
{
  if (v < 0)
    return 0;
  if (v > 1)
    return 1;
  return (3 - 2 * v) * v * v;
}

// Parameter maps and labels the members share.
#include "components/common/member.h"

inline constexpr KVparamDesc kF31amplitude2{.label = "Amplitude ", .k = 2};
inline constexpr KVparamDesc kF31amplitude8{.label = "Amplitude ", .k = 8};
inline constexpr KVparamDesc kF31phase64{.label = "Phase ", .k = 64, .c = -32};
inline constexpr KVparamDesc kF31phase32{.label = "Phase ", .k = 32, .c = -16};
inline constexpr KVparamDesc kF31frequency8{.label = "Frequency ", .k = 8};
inline constexpr KVparamDesc kF31frequency16{.label = "Frequency ", .k = 16};
inline constexpr KVparamDesc kF31frequency32{.label = "Frequency ", .k = 32};

// The input connector code of the 3D noise members.
inline constexpr int16_t kF31noiseInput = 14;
