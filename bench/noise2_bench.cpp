// Per-sample cost of the cellular bases and of a parameterised driver with
// its body, over a row of samples as a component batch would request them.
#include <benchmark/benchmark.h>
#include <memory>

#include "noise/bodies.h"
#include "noise/cellular.h"
#include "noise/multifractal.h"
#include "noise/tables.h"

namespace {

constexpr int kSamples = 1024;

std::unique_ptr<KVtables> benchTables()
{
  auto t = std::make_unique<KVtables>();
  SetRndTempTables(t.get(), 1234);
  return t;
}

template <double (*Basis)(const KVtables*, double, double)>
void BM_CellularBasis(benchmark::State& state)
{
  auto t = benchTables();
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i < kSamples; i++)
      sum += Basis(t.get(), i * 0.0173 - 7.0, 3.31 - i * 0.0041);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

void BM_Jitter_Voron(benchmark::State& state)
{
  BM_CellularBasis<Jitter_Voron>(state);
}
void BM_Jitter_Circle(benchmark::State& state)
{
  BM_CellularBasis<Jitter_Circle>(state);
}

// Six octaves of the bubble-rock body (f0 1, fmax 200).
void BM_Multifractal2Dparam_bubblerock(benchmark::State& state)
{
  auto t = benchTables();
  fractalsinfos fi;
  fi.tables = t.get();
  for (auto _ : state) {
    double sum = 0.0;
    for (int i = 0; i < kSamples; i++)
      sum += Multifractal2Dparam_procptr(&fi, fpnoise_bubblerock2D, i * 0.0173 - 7.0,
                                         3.31 - i * 0.0041, 0.0, 0.5, 1.0, 200.0, 1.0, 0.5);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

// The facet-rock body under the four-value record driver (f0 1, fmax 60).
void BM_MFPV4d_fp4futur(benchmark::State& state)
{
  auto t = benchTables();
  const double node[6] = {20.0, 30.0, 40.0, 120.0, 110.0, 100.0};
  fractalsinfos fi;
  fi.tables = t.get();
  fi.nodeParams = node;
  for (auto _ : state) {
    dvector4d acc{};
    for (int i = 0; i < kSamples; i++)
      MFPV4d_procptr(&fi, fp4futur, i * 0.0173 - 7.0, 3.31 - i * 0.0041, 0.25, 0.0, 1.0, 1.0, 60.0,
                     0.5, &acc);
    benchmark::DoNotOptimize(acc);
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
}

}  // namespace

BENCHMARK(BM_Jitter_Voron);
BENCHMARK(BM_Jitter_Circle);
BENCHMARK(BM_Multifractal2Dparam_bubblerock);
BENCHMARK(BM_MFPV4d_fp4futur);
