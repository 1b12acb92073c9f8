#include "tests/components/member_harness.h"

#include <algorithm>

#include "engine/catalog.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "noise/drivers.h"

KVtestInput KVtestInput::fill(double v)
{
  KVtestInput in;
  std::fill(in.data.begin(), in.data.end(), v);
  return in;
}

KVtestInput KVtestInput::rgb(double r, double g, double b)
{
  KVtestInput in;
  in.channels = 2;
  for (int i = 0; i < kBatchCapacity; ++i) {
    in.data[i] = r;
    in.data[kBatchCapacity + i] = g;
    in.data[2 * kBatchCapacity + i] = b;
  }
  return in;
}

KVtestInput KVtestInput::rgba(double r, double g, double b, double alpha)
{
  KVtestInput in = rgb(r, g, b);
  in.channels = 3;
  for (int i = 0; i < kBatchCapacity; ++i)
    in.data[3 * kBatchCapacity + i] = alpha;
  return in;
}

KVtestInput KVtestInput::uniform(double v, double junk)
{
  KVtestInput in = fill(junk);
  in.data[0] = v;
  in.channels = 0;
  return in;
}

KVtestInput KVtestInput::samples(std::initializer_list<double> values)
{
  KVtestInput in;
  std::copy_n(values.begin(), std::min<size_t>(values.size(), kBatchCapacity), in.data.begin());
  return in;
}

KVtestInput KVtestInput::samples(const std::array<double, kBatchCapacity>& values)
{
  KVtestInput in;
  std::copy(values.begin(), values.end(), in.data.begin());
  return in;
}

KVmemberHarness::KVmemberHarness(short seed) : world_(std::make_unique<KovrelinWorld>())
{
  KV_initWorldRecord(world_.get());
  gKovrelinWorld = world_.get();
  sfuncSystem* d = doc();
  SetRndTempTables(d, seed);
  Kovrelin_DefaultFractGlobals(&d->fractal);
  d->fractal.tables = &d->tables;
  d->view =
      KVviewRect{-3.141592653589793, 3.141592653589793, -3.141592653589793, 3.141592653589793};
  d->zoom = 1.0;
  d->yPixelScale = 1000.0;
  d->tree.version = kTreeVersion;
  d->tree.iterationPtr = &d->tree.iteration;
}

KVmemberHarness::~KVmemberHarness()
{
  // Blocks the tree's components made for themselves (circle lists, shared
  // sums). Sub-trees are the tests' own: they may be gone already.
  smalltree& tree = doc()->tree;
  for (int i = 0; i < std::clamp<int>(tree.count, 0, kMaxComponents); ++i)
    arb_TP_deletegfuncauxmem(&tree, &tree.funcs[i], nullptr);
  if (gKovrelinWorld == world_.get())
    gKovrelinWorld = nullptr;
  KV_setBatchLength(kBatchCapacity);
}

gfunc* KVmemberHarness::bind(int16_t family, int16_t id)
{
  sfuncSystem* d = doc();
  if (d->tree.count > 0)
    arb_TP_deletegfuncauxmem(&d->tree, &d->tree.funcs[0], nullptr);
  d->tree.count = 1;
  g_ = &d->tree.funcs[0];
  g_->doc = d;
  g_->owner = &d->tree;
  g_->mainTree = 1;
  setFunc(g_, family, id, kBindDefaults);
  for (int k = 0; k < 4; ++k)
    setInput(k, KVtestInput{});
  return g_;
}

void KVmemberHarness::setParams(double a, double b, double c)
{
  g_->A = a;
  g_->B = b;
  g_->C = c;
}

void KVmemberHarness::prepare()
{
  g_->handler(g_, kMsgPrepare, nullptr, nullptr, nullptr);
  precompute();
}

void KVmemberHarness::precompute()
{
  g_->handler(g_, kMsgPrecompute, nullptr, nullptr, nullptr);
}

void KVmemberHarness::setInput(int k, const KVtestInput& in)
{
  inputs_[k] = in;
  g_->inlets[k].data = inputs_[k].data.data();
  g_->inlets[k].channels = in.channels;
}

KVbatch KVmemberHarness::run(int n, int output)
{
  KV_setBatchLength(n);
  g_->compute(g_);
  KV_setBatchLength(kBatchCapacity);
  KVbatch out;
  std::copy_n(g_->outputs[output], kBatchCapacity, out.begin());
  return out;
}

KVbatch KVmemberHarness::run(const KVtestInput& x, const KVtestInput& y, int n, int output)
{
  setInput(0, x);
  setInput(1, y);
  return run(n, output);
}

double KVmemberHarness::at(double x, double y, int output)
{
  return run(KVtestInput::fill(x), KVtestInput::fill(y), 1, output)[0];
}

std::vector<double> KVmemberHarness::grid(const KVgridView& view, int output)
{
  std::vector<double> values;
  values.reserve(size_t(view.width) * size_t(view.height));
  for (int row = 0; row < view.height; ++row) {
    const KVtestInput y = KVtestInput::fill(view.y(row));
    for (int col = 0; col < view.width; col += kBatchCapacity) {
      const int n = std::min(kBatchCapacity, view.width - col);
      KVtestInput x;
      for (int i = 0; i < n; ++i)
        x.data[i] = view.x(col + i);
      const KVbatch out = run(x, y, n, output);
      values.insert(values.end(), out.begin(), out.begin() + n);
    }
  }
  return values;
}

std::string KVmemberHarness::send(int16_t msg, double* a, double* b, double* c)
{
  world_->label[0] = 0;
  g_->handler(g_, msg, a, b, c);
  return std::string(reinterpret_cast<const char*>(world_->label + 1), world_->label[0]);
}
