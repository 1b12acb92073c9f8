// Samples per second of the per-sample noise paths: one lattice noise, a
// 16-octave fractal sum over it, and the table sine.
#include <benchmark/benchmark.h>
#include <memory>

#include "noise/drivers.h"
#include "noise/noises.h"
#include "noise/tables.h"

namespace {

std::unique_ptr<KVtables> benchTables()
{
  auto t = std::make_unique<KVtables>();
  SetRndTempTables(t.get(), 1234);
  return t;
}

// Coordinates of a 16-sample batch along a row, moving on every batch.
constexpr int kBatch = 16;

void BM_fPerlinNoise2D(benchmark::State& state)
{
  auto t = benchTables();
  double y = -3.3;
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i < kBatch; i++)
      sum += fPerlinNoise2D(t.get(), i * 0.173 - 1.1, y);
    benchmark::DoNotOptimize(sum);
    y += 0.0137;
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_fPerlinNoise2D);

void BM_fractal2D_16octaves(benchmark::State& state)
{
  auto t = benchTables();
  fractalsinfos fi;
  Kovrelin_DefaultFractGlobals(&fi);
  fi.octaves = 16;
  fi.tables = t.get();
  double y = 0.25;
  for (auto _ : state) {
    double sum = 0.0;
    // fmax far above the 16th octave's frequency: all 16 octaves run.
    for (int i = 0; i < kBatch; i++)
      sum += fractal2D_procptr(&fi, fPerlinNoise2D, i * 0.0173, y, 1.0, 1e7, 1.0, 0.3, 0.5);
    benchmark::DoNotOptimize(sum);
    y += 0.0011;
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_fractal2D_16octaves);

void BM_TableSin(benchmark::State& state)
{
  double x = -50.0;
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i < kBatch; i++)
      sum += TableSin(x + i * 0.37);
    benchmark::DoNotOptimize(sum);
    x += 0.001;
  }
  state.SetItemsProcessed(state.iterations() * kBatch);
}
BENCHMARK(BM_TableSin);

}  // namespace
