// A 640 x 480 full-size render of a reference tree (" Fractal noise" and
// " Ripples" blended by " Interpolate", logarithmic colours) through the
// render driver, on one thread and on every processor. Items are samples
// (pixels).
#include <benchmark/benchmark.h>
#include <memory>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/render.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "imaging/qzbitmaps.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

void addComponent(sfuncSystem* doc, int16_t id, uint8_t level)
{
  smalltree& tree = doc->tree;
  gfunc* g = &tree.funcs[tree.count];
  g->index = tree.count++;
  g->level = level;
  setFunc(g, kFamily21, id, kBindDefaults);
}

// The world with the reference tree in its document.
class ReferenceScene
{
public:
  ReferenceScene()
  {
    gKovrelinWorld = world_.get();
    KV_initWorldRecord(world_.get());
    sfuncSystem* doc = &world_->doc;
    arb_Init(doc);
    SetRndTempTables(doc, 1);
    arb_setColorfunc(doc, 3, true);
    addComponent(doc, 12, 0);
    addComponent(doc, 15, 0);
    addComponent(doc, 44, 1);
    gfunc* blend = &doc->tree.funcs[2];
    for (int k = 0; k < 2; ++k) {
      blend->sources[k] = &doc->tree.funcs[k];
      blend->inlets[k].source = kSourceOutput1;
    }
    doc->tree.rootLevel = 1;
    arb_ServiceChanges(doc, false);
    arb_setColorfunc(doc, 3, true);
    pixels_ = QZ_AllocateRenderBuffer32(&access_, kWidth, kHeight);
  }
  ~ReferenceScene()
  {
    DisposePtr(pixels_);
    arb_Clear(&world_->doc, true, true);
    gKovrelinWorld = nullptr;
  }

  int16_t render(int processors)
  {
    renderjob job;
    SetUpRender(&world_->doc, &job, nullptr, nullptr, nullptr, nullptr);
    SetUpRenderAccess(&job, &access_);
    findRenderMetrics(&job, 1.0);
    return KV_MultiProcRenderOn(&job, 0, processors);
  }

private:
  std::unique_ptr<KovrelinWorld> world_ = std::make_unique<KovrelinWorld>();
  AccessPix access_;
  uint8_t* pixels_ = nullptr;
};

void renderOn(benchmark::State& state, int processors)
{
  ReferenceScene scene;
  for (auto _ : state)
    benchmark::DoNotOptimize(scene.render(processors));
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  state.counters["threads"] = processors;
}

void BM_RenderOneThread(benchmark::State& state)
{
  renderOn(state, 1);
}

void BM_RenderAllThreads(benchmark::State& state)
{
  renderOn(state, KV_processorCount());
}

BENCHMARK(BM_RenderOneThread)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_RenderAllThreads)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
