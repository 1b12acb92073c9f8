// 640 x 480 full-size renders through the render driver, on two trees:
//   reference  " Fractal noise" and " Ripples" blended by " Interpolate",
//              logarithmic colours;
//   heavy      a dozen noise and cell members of f21 (fractal noise, random
//              noise, cones, bubbles, facets, hexagons, hexa grid) blended
//              pairwise by " Interpolate", logarithmic colours.
//
// BM_OneThread and BM_AllThreads time the driver alone; BM_DocumentCopy the
// copy of the document that each worker thread gets. BM_Efficiency runs,
// in every iteration and under the same load, three things one after the
// other and reports:
//   one_ms       one render on one thread;
//   all_ms       one render on all threads (KV_processorCount);
//   ceiling_ms   the "ceiling": as many independent one-thread renders at
//                once, each of its own private document into its own buffer,
//                as there are threads;
//   efficiency   (ceiling_ms / threads) / all_ms: the share of the machine's
//                parallel capacity that the shared render reaches;
//   speedup      one_ms / all_ms, and speedup_per_thread = speedup / threads.
// It also prints these figures on one line per tree (medians of the
// iterations). Items are samples (pixels).
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/prepare.h"
#include "engine/render.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "imaging/qzbitmaps.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int16_t kInterpolate = 44;
constexpr int kLogarithmicColours = 3;

enum class Tree
{
  reference,
  heavy
};

const char* treeName(Tree tree)
{
  return tree == Tree::reference ? "reference" : "heavy";
}

int addComponent(sfuncSystem* doc, int16_t id, uint8_t level)
{
  smalltree& tree = doc->tree;
  const int slot = tree.count++;
  gfunc* g = &tree.funcs[slot];
  g->index = int16_t(slot);
  g->level = level;
  setFunc(g, kFamily21, id, kBindDefaults);
  if (level > tree.rootLevel)
    tree.rootLevel = level;
  return slot;
}

// Blends the components in `slots` pairwise with " Interpolate", level by
// level, until one component is left.
void blendPairwise(sfuncSystem* doc, std::vector<int> slots)
{
  while (slots.size() > 1) {
    const int a = slots[0];
    const int b = slots[1];
    slots.erase(slots.begin(), slots.begin() + 2);
    gfunc* funcs = doc->tree.funcs;
    const uint8_t level = uint8_t(std::max(funcs[a].level, funcs[b].level) + 1);
    const int blend = addComponent(doc, kInterpolate, level);
    const int sources[2] = {a, b};
    for (int k = 0; k < 2; ++k) {
      funcs[blend].sources[k] = &funcs[sources[k]];
      funcs[blend].inlets[k].source = kSourceOutput1;
    }
    slots.push_back(blend);
  }
}

void buildTree(sfuncSystem* doc, Tree tree)
{
  // Reference: fractal noise and ripples. Heavy: fractal noise (12), random
  // noise (11), random cones (18), bubbles (19), facets (20), hexagons (35)
  // and the hexa grid (9), a dozen in all.
  const std::vector<int16_t> leaves =
      tree == Tree::reference ? std::vector<int16_t>{12, 15}
                              : std::vector<int16_t>{12, 18, 11, 35, 19, 20, 9, 12, 18, 35, 19, 12};
  std::vector<int> slots;
  for (int16_t id : leaves)
    slots.push_back(addComponent(doc, id, 0));
  blendPairwise(doc, slots);
  arb_ServiceChanges(doc, false);
  arb_setColorfunc(doc, kLogarithmicColours, true);
}

struct DocumentDeleter
{
  void operator()(sfuncSystem* doc) const
  {
    arb_Clear(doc, true, true);
    delete doc;
  }
};
using PrivateDocument = std::unique_ptr<sfuncSystem, DocumentDeleter>;

// A picture buffer with its access record.
class Picture
{
public:
  Picture() : pixels_(QZ_AllocateRenderBuffer32(&access_, kWidth, kHeight)) {}
  ~Picture() { DisposePtr(pixels_); }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  int16_t render(sfuncSystem* doc, int processors)
  {
    renderjob job;
    SetUpRender(doc, &job, nullptr, nullptr, nullptr, nullptr);
    SetUpRenderAccess(&job, &access_);
    findRenderMetrics(&job, 1.0);
    return KV_MultiProcRenderOn(&job, 0, processors);
  }

private:
  AccessPix access_;
  uint8_t* pixels_ = nullptr;
};

// The world with one tree in its document, a picture for it, and, for the
// ceiling, private documents and pictures for as many independent renders as
// there are threads.
class Scene
{
public:
  explicit Scene(Tree tree)
  {
    gKovrelinWorld = world_.get();
    KV_initWorldRecord(world_.get());
    sfuncSystem* doc = &world_->doc;
    arb_Init(doc);
    SetRndTempTables(doc, 1);
    arb_setColorfunc(doc, kLogarithmicColours, true);
    buildTree(doc, tree);
  }
  ~Scene()
  {
    ceilingDocs_.clear();
    arb_Clear(&world_->doc, true, true);
    gKovrelinWorld = nullptr;
  }
  Scene(const Scene&) = delete;
  Scene& operator=(const Scene&) = delete;

  int16_t render(int processors) { return picture_.render(&world_->doc, processors); }

  // A copy of the document, prepared for rows, as each worker of a shared
  // render gets one.
  PrivateDocument preparedCopy()
  {
    PrivateDocument copy(new sfuncSystem());
    if (!arb_Copy(&world_->doc, copy.get()))
      std::abort();
    copy->treeChanged = 1;
    KV_prepare_evaluation(copy.get(), true);
    return copy;
  }

  // Runs `count` one-thread renders at once, each of its own document into
  // its own picture; the documents are copied and prepared beforehand.
  void renderCeiling(int count)
  {
    makeCeilingDocuments(count);
    std::vector<std::thread> threads;
    for (int k = 0; k < count; ++k)
      threads.emplace_back([this, k] {
        benchmark::DoNotOptimize(ceilingPictures_[k]->render(ceilingDocs_[k].get(), 1));
      });
    for (std::thread& t : threads)
      t.join();
  }

private:
  void makeCeilingDocuments(int count)
  {
    while (int(ceilingDocs_.size()) < count) {
      ceilingDocs_.push_back(preparedCopy());
      ceilingPictures_.push_back(std::make_unique<Picture>());
    }
  }

  std::unique_ptr<KovrelinWorld> world_ = std::make_unique<KovrelinWorld>();
  Picture picture_;
  std::vector<PrivateDocument> ceilingDocs_;
  std::vector<std::unique_ptr<Picture>> ceilingPictures_;
};

void renderOn(benchmark::State& state, Tree tree, int processors)
{
  Scene scene(tree);
  for (auto _ : state)
    benchmark::DoNotOptimize(scene.render(processors));
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  state.counters["threads"] = processors;
}

Tree treeOf(const benchmark::State& state)
{
  return state.range(0) == 0 ? Tree::reference : Tree::heavy;
}

void BM_OneThread(benchmark::State& state)
{
  renderOn(state, treeOf(state), 1);
}

void BM_AllThreads(benchmark::State& state)
{
  renderOn(state, treeOf(state), KV_processorCount());
}

// What a shared render spends per worker before the worker starts: copying
// and preparing the document (and, here, emptying the copy again).
void BM_DocumentCopy(benchmark::State& state)
{
  Scene scene(treeOf(state));
  for (auto _ : state)
    benchmark::DoNotOptimize(scene.preparedCopy());
}

template <typename F>
double millisecondsOf(F&& f)
{
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

double median(std::vector<double> v)
{
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n == 0 ? 0.0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void BM_Efficiency(benchmark::State& state)
{
  const Tree tree = treeOf(state);
  const int threads = KV_processorCount();
  Scene scene(tree);
  scene.renderCeiling(threads);  // warms up and makes the private documents
  std::vector<double> one;
  std::vector<double> all;
  std::vector<double> ceiling;
  for (auto _ : state) {
    one.push_back(millisecondsOf([&] { benchmark::DoNotOptimize(scene.render(1)); }));
    all.push_back(millisecondsOf([&] { benchmark::DoNotOptimize(scene.render(threads)); }));
    ceiling.push_back(millisecondsOf([&] { scene.renderCeiling(threads); }));
  }
  const double oneMs = median(one);
  const double allMs = median(all);
  const double ceilingMs = median(ceiling);
  const double efficiency = ceilingMs / threads / allMs;
  const double speedup = oneMs / allMs;
  state.counters["threads"] = threads;
  state.counters["one_ms"] = oneMs;
  state.counters["all_ms"] = allMs;
  state.counters["ceiling_ms"] = ceilingMs;
  state.counters["efficiency"] = efficiency;
  state.counters["speedup"] = speedup;
  state.counters["speedup_per_thread"] = speedup / threads;
  std::printf(
      "%s tree, %d threads: one %.1f ms, all %.1f ms, ceiling %.1f ms; "
      "efficiency %.3f of the ceiling; speedup %.2f (%.3f per thread)\n",
      treeName(tree), threads, oneMs, allMs, ceilingMs, efficiency, speedup, speedup / threads);
  std::fflush(stdout);
}

BENCHMARK(BM_OneThread)
    ->ArgName("heavy")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AllThreads)
    ->ArgName("heavy")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DocumentCopy)->ArgName("heavy")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Efficiency)
    ->ArgName("heavy")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
