// A bench for one component member: a world record with a document of
// reproducible tables, one component bound through the catalog in slot 0 of
// the document's tree, its inputs fed from blocks the test chooses, and its
// outputs read back after one batch.
//
// The harness installs its world as gKovrelinWorld for its lifetime (one
// harness at a time per process) and puts the batch length back to 16 when it
// ends. Used by the component tests and by the test tools.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "engine/gfunc.h"
#include "engine/world.h"

// The samples of one input: per sample (channel kind 1), one value for the
// whole batch (kind 0), or packed channels (kinds 2 and 3; channel c of sample
// i at 16c + i).
struct KVtestInput
{
  std::array<double, 4 * kBatchCapacity> data{};
  int16_t channels = 1;

  // The same value in every sample, as a per-sample block.
  static KVtestInput fill(double v);
  // One value for the whole batch, as a uniform source gives it: element 0
  // holds it, the other elements hold `junk` (a uniform reader must not look
  // there).
  static KVtestInput uniform(double v, double junk = -12345.0);
  // A packed colour link: (r, g, b) in every sample (channel width 2), and
  // with alpha (width 3).
  static KVtestInput rgb(double r, double g, double b);
  static KVtestInput rgba(double r, double g, double b, double alpha);
  // Samples 0, 1, ... from the list; the rest 0.
  static KVtestInput samples(std::initializer_list<double> values);
  static KVtestInput samples(const std::array<double, kBatchCapacity>& values);
};

using KVbatch = std::array<double, kBatchCapacity>;

// A view of the plane sampled on a grid: column c at xmin + (c + 0.5) * step,
// row r at ymax - (r + 0.5) * step, step = (xmax - xmin) / width.
struct KVgridView
{
  int width = 64;
  int height = 64;
  double xmin = -3.141592653589793;
  double xmax = 3.141592653589793;
  double ymax = 3.141592653589793;

  double step() const { return (xmax - xmin) / width; }
  double x(int column) const { return xmin + (column + 0.5) * step(); }
  double y(int row) const { return ymax - (row + 0.5) * step(); }
};

class KVmemberHarness
{
public:
  // Tables from SetRndTempTables(seed); default fractal settings; pixel
  // density 1000 pixels per unit (fades of fine detail stay out of the way).
  explicit KVmemberHarness(short seed = 7778);
  ~KVmemberHarness();
  KVmemberHarness(const KVmemberHarness&) = delete;
  KVmemberHarness& operator=(const KVmemberHarness&) = delete;

  // Binds slot 0 to (family, id) with the member's defaults (setFunc mode 0)
  // and links its inputs to the harness's blocks (per-sample zeros).
  gfunc* bind(int16_t family, int16_t id);

  gfunc* component() { return g_; }
  sfuncSystem* doc() { return &world_->doc; }
  KovrelinWorld* world() { return world_.get(); }

  // Sets A, B and C (and the keyframes stay as they are).
  void setParams(double a, double b, double c);
  // Messages 7 then 8, as the engine sends them before a render.
  void prepare();
  // Message 8 only.
  void precompute();

  // Feeds input k (0..3) from `in` (the block is copied into the harness).
  void setInput(int k, const KVtestInput& in);

  // Runs the compute function once with batch length n and returns output
  // block `output`. Elements from n on are what the block held before.
  KVbatch run(int n = kBatchCapacity, int output = 0);
  // Sets inputs 1 and 2, then runs.
  KVbatch run(const KVtestInput& x, const KVtestInput& y, int n = kBatchCapacity, int output = 0);
  // One sample at (x, y) with batch length 1.
  double at(double x, double y, int output = 0);

  // Output `output` over a grid, row by row, evaluated in batches of up to
  // 16 samples along each row (the last batch of a row may be shorter); x
  // and y per sample.
  std::vector<double> grid(const KVgridView& view, int output = 0);

  // Sends a message and returns the label buffer as a string of its bytes
  // (empty when the handler copied nothing: the buffer is cleared first).
  std::string send(int16_t msg, double* a = nullptr, double* b = nullptr, double* c = nullptr);
  std::string displayName() { return send(kMsgDisplayName); }

private:
  std::unique_ptr<KovrelinWorld> world_;
  gfunc* g_ = nullptr;
  std::array<KVtestInput, 4> inputs_{};
};
