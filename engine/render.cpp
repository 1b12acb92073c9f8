#include "engine/render.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "engine/evaluate.h"
#include "engine/prepare.h"
#include "engine/treemanage.h"
#include "engine/world.h"

KVabortState gKVabort;

namespace {

std::atomic<KVEventPumpProc> gEventPump{nullptr};

constexpr int kRenderBatch = 16;    // pixels per batch of a row
constexpr int kAAGroup = 8;         // output pixels per pair of anti-aliased batches
constexpr int kKeyPollRows = 16;    // KVeventabort answers on rows 1, 17, 33, ...
constexpr int kEventPollRows = 64;  // RW_AArender polls on rows 1, 65, 129, ...
}  // namespace

// What the threads of one shared render share: the next row to hand out,
// which rows are finished, the abort of any thread, and the calling thread's
// progress in drawing the finished rows.
struct KVrenderWork
{
  int32_t firstRow = 0;
  int32_t endRow = 0;
  std::atomic<int32_t> nextRow{0};
  std::unique_ptr<std::atomic<uint8_t>[]> rowFinished;  // indexed by row - first row
  std::atomic<uint8_t> aborted{0};
  // The lowest row whose abort question stopped the render.
  std::atomic<int32_t> abortRow{std::numeric_limits<int32_t>::max()};

  // The calling thread's side: the job the caller handed in, whose row-done
  // procedure it calls (and, anti-aliased, whose events it polls) as rows
  // finish in order.
  renderjob* callerJob = nullptr;
  bool callerFollowsRows = false;  // wake the calling thread when a row finishes
  bool callerPollsEvents = false;
  int32_t rowsDrawn = 0;        // rows handed to the row-done procedure
  bool drawingStopped = false;  // the calling thread's own abort question stopped it
  std::mutex mutex;
  std::condition_variable progress;
};

// A render thread and the notice that it finished (its termination queue).
struct KVrenderTask
{
  std::thread thread;
  std::atomic<uint8_t> finished{0};
};

// ---- Abort state -------------------------------------------------------------

void KV_setKeyDown(int keyCode, bool down)
{
  if (keyCode < 0 || keyCode >= 128)
    return;
  const uint32_t bit = uint32_t(1) << (keyCode & 31);
  if (down)
    gKVabort.keys[keyCode >> 5].fetch_or(bit);
  else
    gKVabort.keys[keyCode >> 5].fetch_and(~bit);
}

bool KV_isKeyDown(int keyCode)
{
  if (keyCode < 0 || keyCode >= 128)
    return false;
  return (gKVabort.keys[keyCode >> 5].load() >> (keyCode & 31)) & 1u;
}

void KV_clearKeys()
{
  for (std::atomic<uint32_t>& k : gKVabort.keys)
    k.store(0);
  gKVabort.mouseDown.store(0);
}

void KV_setRenderEventPump(KVEventPumpProc pump)
{
  gEventPump.store(pump);
}

void KV_pumpRenderEvents()
{
  if (KVEventPumpProc pump = gEventPump.load())
    pump();
}

int16_t KVeventabort(renderjob*, int32_t row)
{
  if (!gKVabort.abortEnabled.load() || row % kKeyPollRows != 1)
    return 0;
  const bool escape = KV_isKeyDown(kKeyCodeEscape);
  const bool commandPeriod = KV_isKeyDown(kKeyCodeCommand) && KV_isKeyDown(kKeyCodePeriod);
  if (!escape && !commandPeriod)
    return 0;
  gKVabort.aborted.store(1);
  return 1;
}

int16_t KVmouseabort(renderjob*, int32_t)
{
  if (!gKVabort.abortEnabled.load())
    return 0;
  const bool stop =
      gKVabort.mouseDown.load() || gKVabort.commandPending.load() || KV_isKeyDown(kKeyCodeEscape);
  return stop ? 1 : 0;
}

// ---- Setting up a job ----------------------------------------------------------

void SetUpRender(sfuncSystem* doc, renderjob* job, void* window, const int32_t* placement,
                 KVRowDoneProc rowDone, KVRenderAbortProc abortProc)
{
  job->doc = doc;
  job->window = window;
  job->abortProc = abortProc;
  job->rowDone = window != nullptr ? rowDone : nullptr;
  if (placement != nullptr) {
    job->placement[0] = placement[0];
    job->placement[1] = placement[1];
  }
}

void SetUpRenderAccess(renderjob* job, AccessPix* access)
{
  job->access = access;
  job->width = uint16_t(std::max<int16_t>(access->width, 0));
  job->height = uint16_t(std::max<int16_t>(access->height, 0));
  access->bottomUp = 1;
}

void findRenderMetrics(renderjob* job, double scale)
{
  sfuncSystem* doc = job->doc;
  const KVviewRect& v = doc->view;
  doc->zoom = 1.0;
  const double yExtent = v.ymax - v.ymin;
  if (yExtent != 0.0)
    doc->yPixelScale = job->height * scale / yExtent;
  const int shorter = std::min(job->width, job->height);
  const double step = shorter > 0 ? (v.xmax - v.xmin) / shorter : 0.0;
  job->dx = step;
  job->dy = step;
  job->x0 = (v.xmin + v.xmax) / 2 - job->width / 2.0 * step;
  job->y0 = (v.ymin + v.ymax) / 2 + job->height / 2.0 * step;
}

namespace {

double ratioOrZero(double a, double b)
{
  return b != 0.0 ? a / b : 0.0;
}

}  // namespace

void MapRenderMetrics(renderjob* job, int32_t W, int32_t H, const Rect* source, const Rect* dest,
                      Point start)
{
  sfuncSystem* doc = job->doc;
  const KVviewRect& v = doc->view;
  const double sourceAspect = ratioOrZero(ratioOrZero(source->right - source->left, W),
                                          ratioOrZero(source->bottom - source->top, H));
  doc->zoom = sourceAspect != 0.0 ? sourceAspect : 1.0;
  const double step = ratioOrZero(v.xmax - v.xmin, W > H ? H : W);
  const double leftX = (v.xmin + v.xmax) / 2 - W / 2.0 * step;
  const double topY = (v.ymin + v.ymax) / 2 + H / 2.0 * step;
  const int destWidth = dest->right - dest->left;
  const int destHeight = dest->bottom - dest->top;
  job->dx = ratioOrZero(W * step, destWidth);
  job->dy = ratioOrZero(H * step, destHeight);
  const double yExtent = v.ymax - v.ymin;
  if (yExtent != 0.0)
    doc->yPixelScale = destHeight / yExtent;
  job->x0 = leftX + (start.h - dest->left) * job->dx;
  job->y0 = topY + (dest->top - start.v) * job->dy;
}

// ---- Rendering ---------------------------------------------------------------

namespace {

// This thread renders in batches of 16; the caller's batch length comes back
// afterwards.
class RenderBatchLength
{
public:
  RenderBatchLength() : saved_(KV_batchLength()) { KV_setBatchLength(kRenderBatch); }
  ~RenderBatchLength() { KV_setBatchLength(saved_); }
  RenderBatchLength(const RenderBatchLength&) = delete;
  RenderBatchLength& operator=(const RenderBatchLength&) = delete;

private:
  int32_t saved_;
};

normalcolor* rowPixels(const renderjob* job, int32_t row)
{
  uint8_t* base = job->access->base + int64_t(row) * job->access->rowBytes;
  return reinterpret_cast<normalcolor*>(base);
}

// The y of a row, from the row itself rather than stepped row by row: a
// thread that takes rows out of order meets the same y as a one-thread
// render.
double rowY(const renderjob* job, int32_t row)
{
  return job->y0 - row * job->dy;
}

// Hands out the rows a renderer draws: its own rows in order, or, in a shared
// render, the next row no thread has taken, until the rows run out or a
// thread aborts.
class RowSource
{
public:
  explicit RowSource(const renderjob* job) : job_(job), next_(job->firstRow) {}

  bool next(int32_t& row)
  {
    if (KVrenderWork* work = job_->work) {
      if (work->aborted.load(std::memory_order_relaxed))
        return false;
      row = work->nextRow.fetch_add(1, std::memory_order_relaxed);
      return row < work->endRow;
    }
    row = next_++;
    return row < job_->endRow;
  }

private:
  const renderjob* job_;
  int32_t next_;
};

bool sharedRenderAborted(const renderjob* job)
{
  return job->work != nullptr && job->work->aborted.load(std::memory_order_relaxed);
}

// What a renderer returns once it has no row left: 1 when a thread of its
// shared render aborted.
int16_t rowsRunOut(const renderjob* job)
{
  return sharedRenderAborted(job) ? 1 : 0;
}

// The abort question after a row; an abort stops every thread of a shared
// render. Rows run out of order on several threads, so a row below the one
// where another thread stopped the render still asks its own question: the
// render stops at the first row that one thread alone would have stopped at,
// whichever thread reached it first. Rows above it stop unanswered.
bool askAbort(renderjob* job, int32_t row)
{
  KVrenderWork* work = job->work;
  if (work != nullptr && sharedRenderAborted(job) && row > work->abortRow.load())
    return true;
  if (job->abortProc == nullptr || job->abortProc(job, row) == 0)
    return false;
  if (work != nullptr) {
    int32_t lowest = work->abortRow.load();
    while (row < lowest && !work->abortRow.compare_exchange_weak(lowest, row)) {
    }
    work->aborted.store(1);
  }
  return true;
}

void pumpEvents()
{
  if (KVEventPumpProc pump = gEventPump.load())
    pump();
}

// Marks a row of a shared render finished (waking the calling thread when it
// follows the rows), then calls the job's row-done procedure.
void finishRow(renderjob* job, int32_t row)
{
  if (KVrenderWork* work = job->work) {
    work->rowFinished[row - work->firstRow].store(1, std::memory_order_release);
    if (work->callerFollowsRows)
      work->progress.notify_all();
  }
  if (job->rowDone != nullptr)
    job->rowDone(job, row);
}

// The x of a batch's first column, from the column itself rather than summed
// batch by batch along the row, so that a render of some columns meets the
// same x as a render of the whole row, up to the last bit.
double columnX(const renderjob* job, int column)
{
  return job->x0 + column * job->dx;
}

void renderRow(renderjob* job, normalcolor* row, double y)
{
  sfuncSystem* doc = job->doc;
  normalcolor batch[kRenderBatch];
  for (int column = job->firstColumn; column < job->endColumn; column += kRenderBatch) {
    KVcolor_evaluate(doc, columnX(job, column), job->dx, y, batch);
    const int n = std::min(kRenderBatch, job->endColumn - column);
    std::copy_n(batch, n, row + column);
  }
}

// Byte-wise mean of the 2 x 2 block of samples 2j, 2j+1 of both batches.
normalcolor averageBlock(const normalcolor* top, const normalcolor* bottom, int j)
{
  const normalcolor& a = top[2 * j];
  const normalcolor& b = top[2 * j + 1];
  const normalcolor& c = bottom[2 * j];
  const normalcolor& d = bottom[2 * j + 1];
  auto mean = [](int p, int q, int r, int s) { return uint8_t((p + q + r + s) >> 2); };
  return normalcolor{mean(a.flag, b.flag, c.flag, d.flag), mean(a.red, b.red, c.red, d.red),
                     mean(a.green, b.green, c.green, d.green),
                     mean(a.blue, b.blue, c.blue, d.blue)};
}

void renderAARow(renderjob* job, normalcolor* row, double y)
{
  sfuncSystem* doc = job->doc;
  normalcolor top[kRenderBatch];
  normalcolor bottom[kRenderBatch];
  const double half = job->dx / 2;
  for (int column = job->firstColumn; column < job->endColumn; column += kAAGroup) {
    const double x = columnX(job, column);
    KVcolor_evaluate(doc, x, half, y, top);
    KVcolor_evaluate(doc, x, half, y - half, bottom);
    const int n = std::min(kAAGroup, job->endColumn - column);
    for (int j = 0; j < n; ++j)
      row[column + j] = averageBlock(top, bottom, j);
  }
}

}  // namespace

int16_t RW_Render(renderjob* job)
{
  if (job->endRow == 0 || job->access == nullptr)
    return 0;
  RenderBatchLength batchLength;
  RowSource rows(job);
  for (int32_t r = 0; rows.next(r);) {
    renderRow(job, rowPixels(job, r), rowY(job, r));
    if (askAbort(job, r))
      return 1;
    finishRow(job, r);
  }
  return rowsRunOut(job);
}

int16_t RW_AArender(renderjob* job)
{
  if (job->firstRow >= job->endRow || job->access == nullptr)
    return 0;
  RenderBatchLength batchLength;
  RowSource rows(job);
  for (int32_t r = 0; rows.next(r);) {
    renderAARow(job, rowPixels(job, r), rowY(job, r));
    if (r % kEventPollRows == 1 && job->eventPolling == 1) {
      pumpEvents();
      if (askAbort(job, r))
        return 1;
    }
    finishRow(job, r);
  }
  return rowsRunOut(job);
}

// ---- Render tasks --------------------------------------------------------------

namespace {

int16_t renderJob(renderjob* job)
{
  return job->antiAlias ? RW_AArender(job) : RW_Render(job);
}

}  // namespace

int32_t RTask(renderjob* job)
{
  job->result = uint8_t(renderJob(job));
  return 0;
}

int32_t AddRenderTask(renderjob* job)
{
  KVrenderTask* task = new (std::nothrow) KVrenderTask;
  if (task == nullptr)
    return -1;
  try {
    task->thread = std::thread([job, task] {
      RTask(job);
      task->finished.store(1, std::memory_order_release);
      if (KVrenderWork* work = job->work) {
        // Taking the lock once makes sure a caller that saw this task running
        // is already waiting when the notice comes.
        {
          std::lock_guard<std::mutex> lock(work->mutex);
        }
        work->progress.notify_all();
      }
    });
  } catch (const std::system_error&) {
    delete task;
    return -1;
  }
  job->task = task;
  return 0;
}

int16_t StopRenderTask(renderjob* job)
{
  KVrenderTask* task = job->task;
  if (task == nullptr)
    return 1;
  if (!task->finished.load(std::memory_order_acquire))
    return 0;
  task->thread.join();
  delete task;
  job->task = nullptr;
  return 1;
}

// ---- Sharing a render out ---------------------------------------------------------

int KV_processorCount()
{
  return std::max(1u, std::thread::hardware_concurrency());
}

int KV_renderThreads(int rows, int processors)
{
  return std::max(1, std::min({rows, processors, kKVmaxRenderThreads}));
}

namespace {

// A document copy of one thread; emptied and freed after the render.
struct DocumentCopyDeleter
{
  void operator()(sfuncSystem* doc) const
  {
    arb_Clear(doc, true, true);
    delete doc;
  }
};
using DocumentCopy = std::unique_ptr<sfuncSystem, DocumentCopyDeleter>;

// A copy of the caller's document, prepared for rows on this thread; null
// when it cannot be made.
DocumentCopy makePreparedCopy(sfuncSystem* source)
{
  DocumentCopy copy(new (std::nothrow) sfuncSystem());
  if (copy == nullptr)
    return nullptr;
  if (!arb_Copy(source, copy.get()))
    return nullptr;
  copy->treeChanged = 1;
  KV_prepare_evaluation(copy.get(), true);
  return copy;
}

// Hands the caller's row-done procedure every row finished with all rows
// above it, in order. An anti-aliased render first fetches events and asks
// the caller's abort procedure after rows 1, 65, ..., as RW_AArender does on
// one thread; an abort there stops every thread and the drawing. Calling
// thread only.
void drawFinishedRows(KVrenderWork* work)
{
  renderjob* job = work->callerJob;
  while (!work->drawingStopped) {
    const int32_t row = work->firstRow + work->rowsDrawn;
    if (row >= work->endRow || !work->rowFinished[work->rowsDrawn].load(std::memory_order_acquire))
      return;
    if (work->callerPollsEvents && row % kEventPollRows == 1) {
      pumpEvents();
      if (job->abortProc != nullptr && job->abortProc(job, row) != 0) {
        work->aborted.store(1);
        work->drawingStopped = true;
        return;
      }
    }
    if (job->rowDone != nullptr)
      job->rowDone(job, row);
    ++work->rowsDrawn;
  }
}

// The row-done procedure of the calling thread's own rows.
void callerRowDone(renderjob* job, int32_t)
{
  if (job->work->callerFollowsRows)
    drawFinishedRows(job->work);
}

bool allTasksFinished(const std::vector<renderjob>& jobs)
{
  for (const renderjob& j : jobs)
    if (j.task != nullptr && !j.task->finished.load(std::memory_order_acquire))
      return false;
  return true;
}

// Waits for the worker threads, drawing rows as they finish.
void waitForWorkers(KVrenderWork* work, std::vector<renderjob>& jobs)
{
  constexpr auto kPollInterval = std::chrono::milliseconds(5);
  for (;;) {
    drawFinishedRows(work);
    std::unique_lock<std::mutex> lock(work->mutex);
    if (allTasksFinished(jobs))
      break;
    work->progress.wait_for(lock, kPollInterval);
  }
  for (renderjob& j : jobs)
    StopRenderTask(&j);
  drawFinishedRows(work);
}

// Renders the prepared job on `threads` threads, the calling thread included,
// each taking rows from the shared counter. Each worker's copy is made and
// its thread started before the next copy, so that the first workers render
// while the calling thread copies for the others.
int16_t renderShared(renderjob* job, int threads)
{
  KVrenderWork work;
  work.firstRow = job->firstRow;
  work.endRow = job->endRow;
  work.nextRow.store(job->firstRow);
  work.rowFinished = std::make_unique<std::atomic<uint8_t>[]>(size_t(job->endRow - job->firstRow));
  work.callerJob = job;
  work.callerPollsEvents = job->antiAlias != 0 && job->eventPolling == 1;
  work.callerFollowsRows = job->rowDone != nullptr || work.callerPollsEvents;

  renderjob shared = *job;
  shared.work = &work;
  shared.rowDone = nullptr;
  shared.eventPolling = 2;  // events are polled by the calling thread, in row order
  shared.task = nullptr;
  shared.result = 0;
  std::vector<renderjob> jobs(size_t(threads), shared);
  jobs[0].rowDone = callerRowDone;

  std::vector<DocumentCopy> copies(static_cast<size_t>(threads));
  for (int k = 1; k < threads; ++k) {
    copies[k] = makePreparedCopy(job->doc);
    if (copies[k] == nullptr)
      continue;  // the other threads take its rows
    jobs[k].doc = copies[k].get();
    AddRenderTask(&jobs[k]);
  }

  RTask(&jobs[0]);
  waitForWorkers(&work, jobs);
  return work.aborted.load() ? 1 : 0;
}

}  // namespace

int16_t KV_MultiProcRenderOn(renderjob* job, uint8_t antiAlias, int processors)
{
  job->antiAlias = antiAlias;
  job->firstColumn = 0;
  job->firstRow = 0;
  job->endColumn = job->width;
  job->endRow = job->height;
  job->eventPolling = 1;
  job->result = 0;
  KV_prepare_evaluation(job->doc, true);

  const int threads = KV_renderThreads(job->endRow - job->firstRow, processors);
  const int16_t aborted =
      threads < 2 || job->access == nullptr ? renderJob(job) : renderShared(job, threads);
  job->result = uint8_t(aborted);
  return aborted;
}

int16_t KV_MultiProcRender(renderjob* job, uint8_t antiAlias)
{
  return KV_MultiProcRenderOn(job, antiAlias, KV_processorCount());
}
