// The render driver: thread counts, view fitting, where the renderers write,
// anti-aliasing, aborts with injected key state and procedures, and shared
// renders against one-thread renders.
#include "engine/render.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <thread>
#include <vector>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/checked.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A component whose outputs are master x and y, coloured by a colour function
// that writes red = 4x, green = 2y (truncated, limited to 0..255): a pixel
// tells where it was sampled.
void positionMember(gfunc* g)
{
  for (int i = 0; i < KV_batchLength(); ++i) {
    g->outputs[0][i] = g->doc->master[0][i];
    g->outputs[1][i] = g->doc->master[1][i];
  }
}

void positionColours(gfunc* out, sfuncSystem*, normalcolor* colors)
{
  for (int i = 0; i < KV_batchLength(); ++i)
    colors[i] = normalcolor{255, kvnum::sat_u8(4 * out->outputs[0][i]),
                            kvnum::sat_u8(2 * out->outputs[1][i]), 7};
}

constexpr normalcolor kUntouched{1, 2, 3, 4};

std::vector<int32_t> gRowsDone;
std::vector<std::thread::id> gRowDoneThreads;
int32_t gPressEscapeAfterRow = -1;

void recordRow(renderjob*, int32_t row)
{
  gRowsDone.push_back(row);
  gRowDoneThreads.push_back(std::this_thread::get_id());
  if (row == gPressEscapeAfterRow)
    KV_setKeyDown(kKeyCodeEscape, true);
}

class RenderTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gRowsDone.clear();
    gRowDoneThreads.clear();
    gPressEscapeAfterRow = -1;
    KV_clearKeys();
    gKVabort.abortEnabled.store(1);
    gKVabort.aborted.store(0);
    arb_Init(doc_.get());
  }
  void TearDown() override
  {
    KV_clearKeys();
    gKVabort.abortEnabled.store(0);
    arb_Clear(doc_.get(), true, true);
  }

  // A buffer of width x height pixels, two columns wider than the picture so
  // that writes past the end column show.
  void makeBuffer(int width, int height)
  {
    pixels_.assign(size_t(width + 2) * height, kUntouched);
    access_.base = reinterpret_cast<uint8_t*>(pixels_.data());
    access_.rowBytes = (width + 2) * 4;
    access_.width = int16_t(width);
    access_.height = int16_t(height);
    access_.pixelSize = 32;
    SetUpRender(doc_.get(), &job_, &window_, nullptr, recordRow, KVeventabort);
    SetUpRenderAccess(&job_, &access_);
  }

  // The position tree, with x = column / 4 and y = row / 2 (exact steps).
  void positionJob(int width, int height)
  {
    gfunc* g = &doc_->tree.funcs[0];
    g->family = kFamily22;
    g->compute = positionMember;
    g->doc = doc_.get();
    doc_->tree.count = 1;
    doc_->outputFunc = g;
    doc_->colorFunc = positionColours;
    doc_->colorFuncIndex = 0;
    makeBuffer(width, height);
    job_.dx = 0.25;
    job_.dy = -0.5;
    job_.x0 = 0;
    job_.y0 = 0;
    job_.endColumn = uint16_t(width);
    job_.endRow = uint16_t(height);
  }

  // A catalog tree of stateless members: two f21 members blended by a third.
  void catalogTree()
  {
    smalltree& tree = doc_->tree;
    const int16_t ids[3] = {12, 15, 44};
    for (int s = 0; s < 3; ++s) {
      gfunc* g = &tree.funcs[s];
      g->index = int16_t(s);
      g->level = s == 2 ? 1 : 0;
      setFunc(g, kFamily21, ids[s], kBindDefaults);
    }
    tree.count = 3;
    tree.rootLevel = 1;
    for (int k = 0; k < 2; ++k) {
      tree.funcs[2].sources[k] = &tree.funcs[k];
      tree.funcs[2].inlets[k].source = kSourceOutput1;
    }
    SetRndTempTables(doc_.get(), 3);
    arb_ServiceChanges(doc_.get(), false);
    arb_setColorfunc(doc_.get(), 3, true);
  }

  normalcolor& pixel(int x, int y) { return pixels_[size_t(y) * (access_.width + 2) + x]; }

  std::unique_ptr<sfuncSystem> doc_ = std::make_unique<sfuncSystem>();
  std::vector<normalcolor> pixels_;
  AccessPix access_;
  renderjob job_;
  int window_ = 0;
};

bool samePixel(const normalcolor& a, const normalcolor& b)
{
  return a.flag == b.flag && a.red == b.red && a.green == b.green && a.blue == b.blue;
}

TEST(RenderThreads, NoMoreThreadsThanRowsOrTheLimit)
{
  struct Case
  {
    int rows;
    int processors;
    int threads;
  };
  const Case cases[] = {
      {480, 1, 1}, {480, 2, 2}, {480, 8, 8},
      {17, 8, 8},  {3, 8, 3},   {1, 8, 1},
      {0, 8, 1},   {480, 0, 1}, {5000, 1024, kKVmaxRenderThreads},
  };
  for (const Case& c : cases)
    EXPECT_EQ(KV_renderThreads(c.rows, c.processors), c.threads) << c.rows << " " << c.processors;
}

TEST_F(RenderTest, FindRenderMetricsCentresTheViewOnSquarePixels)
{
  makeBuffer(640, 480);
  findRenderMetrics(&job_, 1.0);
  const double step = 2 * kPi / 480;
  EXPECT_DOUBLE_EQ(job_.dx, step);
  EXPECT_DOUBLE_EQ(job_.dy, step);
  EXPECT_DOUBLE_EQ(job_.x0, -320 * step);
  EXPECT_DOUBLE_EQ(job_.y0, 240 * step);
  EXPECT_DOUBLE_EQ(doc_->yPixelScale, 480 / (2 * kPi));
  EXPECT_EQ(doc_->zoom, 1.0);

  // No pixels or no extent: zero steps, nothing divided by zero.
  job_.width = 0;
  doc_->view.ymin = doc_->view.ymax = 1.0;
  findRenderMetrics(&job_, 1.0);
  EXPECT_EQ(job_.dx, 0.0);
  EXPECT_TRUE(std::isfinite(job_.x0) && std::isfinite(job_.y0));
  EXPECT_TRUE(std::isfinite(doc_->yPixelScale));
}

TEST_F(RenderTest, MapRenderMetricsPlacesAPartOfAPicture)
{
  makeBuffer(100, 50);
  doc_->view = KVviewRect{-2, 2, -1, 1};
  const Rect source{0, 0, 200, 400};
  const Rect dest{10, 20, 60, 120};
  MapRenderMetrics(&job_, 400, 200, &source, &dest, Point{10, 20});
  const double step = 4.0 / 200;  // W > H: x extent over H
  EXPECT_DOUBLE_EQ(job_.dx, 400 * step / 100);
  EXPECT_DOUBLE_EQ(job_.dy, 200 * step / 50);
  EXPECT_DOUBLE_EQ(job_.x0, -200 * step);  // start at the destination's corner
  EXPECT_DOUBLE_EQ(job_.y0, 100 * step);
  EXPECT_DOUBLE_EQ(doc_->zoom, 1.0);

  const Rect empty{0, 0, 0, 0};
  MapRenderMetrics(&job_, 0, 0, &empty, &empty, Point{0, 0});
  EXPECT_TRUE(std::isfinite(job_.dx) && std::isfinite(job_.x0) && std::isfinite(doc_->zoom));
}

TEST_F(RenderTest, RowsAreWrittenUpToTheEndColumnOnly)
{
  positionJob(21, 3);  // a batch of 16, then a short one of 5
  EXPECT_EQ(RW_Render(&job_), 0);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 21; ++x) {
      EXPECT_EQ(pixel(x, y).red, x) << x << "," << y;
      EXPECT_EQ(pixel(x, y).green, y) << x << "," << y;
    }
    EXPECT_TRUE(samePixel(pixel(21, y), kUntouched));
    EXPECT_TRUE(samePixel(pixel(22, y), kUntouched));
  }
  EXPECT_EQ(gRowsDone, (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(KV_batchLength(), kBatchCapacity);
}

TEST_F(RenderTest, AntiAliasedPixelsAverageFourSamples)
{
  positionJob(13, 3);
  EXPECT_EQ(RW_AArender(&job_), 0);
  // Pixel (x, y) averages the samples at x and x + 1/8 (red x both times),
  // on its row's y and half a column lower (green 2y truncated).
  auto green = [](double y) { return int(kvnum::sat_u8(2 * y)); };
  for (int y = 0; y < 3; ++y) {
    const int expectedGreen = (2 * green(y / 2.0) + 2 * green(y / 2.0 - 0.125)) >> 2;
    for (int x = 0; x < 13; ++x) {
      EXPECT_EQ(pixel(x, y).red, x) << x << "," << y;
      EXPECT_EQ(pixel(x, y).green, expectedGreen) << x << "," << y;
      EXPECT_EQ(pixel(x, y).flag, 255);
    }
    EXPECT_TRUE(samePixel(pixel(13, y), kUntouched));
  }
}

TEST_F(RenderTest, EscapeStopsAtRows1And17And33)
{
  struct Case
  {
    int32_t pressAfterRow;  // -1: held from the start
    int32_t abortRow;
  };
  const Case cases[] = {{-1, 1}, {0, 1}, {1, 17}, {16, 17}, {17, 33}, {20, 33}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pressAfterRow);
    SetUp();
    positionJob(20, 40);
    if (c.pressAfterRow < 0)
      KV_setKeyDown(kKeyCodeEscape, true);
    gPressEscapeAfterRow = c.pressAfterRow;
    EXPECT_EQ(RW_Render(&job_), 1);
    EXPECT_EQ(gKVabort.aborted.load(), 1);
    EXPECT_EQ(int32_t(gRowsDone.size()), c.abortRow);           // rows before the abort row
    EXPECT_FALSE(samePixel(pixel(0, c.abortRow), kUntouched));  // the abort row is written
    EXPECT_TRUE(samePixel(pixel(0, c.abortRow + 1), kUntouched));
  }
}

TEST_F(RenderTest, AbortProceduresReadTheSharedState)
{
  struct Case
  {
    bool enabled;
    bool escape;
    bool command;
    bool period;
    bool mouse;
    int16_t event;  // KVeventabort on row 1
    int16_t mouseAbort;
  };
  const Case cases[] = {
      {true, true, false, false, false, 1, 1}, {true, false, true, true, false, 1, 0},
      {true, false, true, false, false, 0, 0}, {true, false, false, false, true, 0, 1},
      {false, true, true, true, true, 0, 0},
  };
  for (const Case& c : cases) {
    KV_clearKeys();
    gKVabort.abortEnabled.store(c.enabled);
    KV_setKeyDown(kKeyCodeEscape, c.escape);
    KV_setKeyDown(kKeyCodeCommand, c.command);
    KV_setKeyDown(kKeyCodePeriod, c.period);
    gKVabort.mouseDown.store(c.mouse);
    EXPECT_EQ(KVeventabort(&job_, 1), c.event);
    EXPECT_EQ(KVeventabort(&job_, 2), 0);
    EXPECT_EQ(KVmouseabort(&job_, 0), c.mouseAbort);
  }
}

TEST_F(RenderTest, SharedRenderEqualsOneThreadAndDrawsRowsOnTheCaller)
{
  catalogTree();
  // x0 and the steps are exact binary fractions; x and y come from the column
  // and the row, so every thread samples where the single thread does.
  doc_->view = KVviewRect{-4, 4, -4, 4};
  for (uint8_t aa : {0, 1}) {
    SCOPED_TRACE(int(aa));
    makeBuffer(520, 64);
    findRenderMetrics(&job_, 1.0);
    ASSERT_EQ(KV_MultiProcRenderOn(&job_, aa, 1), 0);
    const std::vector<normalcolor> single = pixels_;
    gRowsDone.clear();
    gRowDoneThreads.clear();
    makeBuffer(520, 64);
    findRenderMetrics(&job_, 1.0);
    ASSERT_EQ(KV_MultiProcRenderOn(&job_, aa, 8), 0);
    int differing = 0;
    for (size_t i = 0; i < pixels_.size(); ++i)
      differing += !samePixel(pixels_[i], single[i]);
    EXPECT_EQ(differing, 0);
    std::vector<int32_t> rows(64);
    for (int r = 0; r < 64; ++r)
      rows[r] = r;
    EXPECT_EQ(gRowsDone, rows);
    for (std::thread::id id : gRowDoneThreads)
      EXPECT_EQ(id, std::this_thread::get_id());
  }
}

std::vector<int32_t> firstRows(int32_t count)
{
  std::vector<int32_t> rows(size_t(std::max(count, 0)));
  for (int32_t r = 0; r < count; ++r)
    rows[size_t(r)] = r;
  return rows;
}

// Every row reaches the row-done procedure once, in order, on the calling
// thread, and the picture is the one-thread picture, for small and odd sizes
// on any number of threads.
TEST_F(RenderTest, RowsAreDrawnOnceInOrderOnAnyNumberOfThreads)
{
  catalogTree();
  for (int height : {1, 17}) {
    for (int width : {1, 63, 64, 201}) {
      for (uint8_t aa : {0, 1}) {
        std::vector<normalcolor> single;
        for (int threads : {1, 2, 3, 8}) {
          SCOPED_TRACE(testing::Message()
                       << width << " x " << height << " aa " << int(aa) << " on " << threads);
          gRowsDone.clear();
          gRowDoneThreads.clear();
          makeBuffer(width, height);
          findRenderMetrics(&job_, 1.0);
          ASSERT_EQ(KV_MultiProcRenderOn(&job_, aa, threads), 0);
          EXPECT_EQ(gRowsDone, firstRows(height));
          for (std::thread::id id : gRowDoneThreads)
            EXPECT_EQ(id, std::this_thread::get_id());
          if (threads == 1) {
            single = pixels_;
            for (int y = 0; y < height; ++y)
              EXPECT_TRUE(samePixel(pixel(width, y), kUntouched));
          } else {
            EXPECT_TRUE(pixels_ == single);
          }
        }
      }
    }
  }
}

// An abort procedure that answers 1 once, on the first row from `fromRow` on
// that the chosen kind of thread (the calling thread or a worker) asks about.
// The other kind waits in its first question until then (at most a few
// seconds), so that the chosen kind is left the rows to render.
struct PlannedAbort
{
  int32_t fromRow = 0;
  bool onCaller = true;
  std::thread::id caller;
  std::atomic<int32_t> abortedAt{-1};
};
PlannedAbort* gPlannedAbort = nullptr;

int16_t plannedAbort(renderjob*, int32_t row)
{
  PlannedAbort& plan = *gPlannedAbort;
  const bool onCaller = std::this_thread::get_id() == plan.caller;
  if (onCaller != plan.onCaller) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (plan.abortedAt.load() < 0 && std::chrono::steady_clock::now() < giveUp)
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    return 0;
  }
  int32_t none = -1;
  return row >= plan.fromRow && plan.abortedAt.compare_exchange_strong(none, row) ? 1 : 0;
}

// An abort on any thread stops the render: the rows above the aborted row
// are all drawn, in order, and no row from it on; the aborted row is written.
TEST_F(RenderTest, AbortFromTheCallerOrAWorkerStopsTheRender)
{
  catalogTree();
  struct Case
  {
    uint8_t aa;
    bool onCaller;
    int32_t fromRow;
  };
  // The anti-aliased render asks on the calling thread, after rows 1, 65, ...
  const Case cases[] = {{0, true, 1},   {0, true, 17},  {0, true, 33}, {0, false, 1},
                        {0, false, 17}, {0, false, 33}, {1, true, 1},  {1, true, 65}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "aa " << int(c.aa) << (c.onCaller ? " caller" : " worker")
                                    << " from row " << c.fromRow);
    PlannedAbort plan;
    plan.fromRow = c.fromRow;
    plan.onCaller = c.onCaller;
    plan.caller = std::this_thread::get_id();
    gPlannedAbort = &plan;
    gRowsDone.clear();
    makeBuffer(96, 80);
    findRenderMetrics(&job_, 1.0);
    job_.abortProc = plannedAbort;
    EXPECT_EQ(KV_MultiProcRenderOn(&job_, c.aa, 8), 1);
    EXPECT_EQ(job_.result, 1);
    const int32_t abortedAt = plan.abortedAt.load();
    ASSERT_GE(abortedAt, c.fromRow);
    if (c.aa) {
      EXPECT_EQ(abortedAt, c.fromRow);
    }
    EXPECT_EQ(gRowsDone, firstRows(abortedAt));
    EXPECT_FALSE(samePixel(pixel(0, abortedAt), kUntouched));
    gPlannedAbort = nullptr;
  }
}

TEST_F(RenderTest, EscapeStopsASharedRenderAtRow1)
{
  catalogTree();
  makeBuffer(512, 40);
  findRenderMetrics(&job_, 1.0);
  KV_setKeyDown(kKeyCodeEscape, true);
  EXPECT_NE(KV_MultiProcRenderOn(&job_, 0, 8), 0);
  EXPECT_EQ(job_.result, 1);
  EXPECT_EQ(gKVabort.aborted.load(), 1);
  // Row 1 is aborted wherever it was rendered; only row 0 is drawn.
  EXPECT_EQ(gRowsDone, firstRows(1));
}

TEST_F(RenderTest, RenderTaskRunsAndIsCollected)
{
  positionJob(40, 4);
  job_.rowDone = nullptr;               // a render thread never draws
  EXPECT_EQ(StopRenderTask(&job_), 1);  // no task: nothing to wait for
  ASSERT_EQ(AddRenderTask(&job_), 0);
  while (StopRenderTask(&job_) == 0)
    std::this_thread::yield();
  EXPECT_EQ(job_.task, nullptr);
  EXPECT_EQ(job_.result, 0);
  EXPECT_EQ(pixel(39, 3).red, 39);
}

}  // namespace
