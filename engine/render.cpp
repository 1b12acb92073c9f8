#include "engine/render.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
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
constexpr int kMinBandColumns = 64;
constexpr int kMaxSingleThreadWidth = 127;

}  // namespace

// What the bands of one split render share: their progress (rows finished
// per band), the abort of any band, and the caller's own row-done procedure,
// which only the calling thread calls.
struct KVrenderBands
{
  renderjob* callerJob = nullptr;  // the job the caller handed in
  KVRowDoneProc callerRowDone = nullptr;
  int count = 0;
  int32_t firstRow = 0;
  int32_t rowsDrawn = 0;  // rows handed to the row-done procedure
  std::atomic<int32_t> rowsDone[kKVmaxRenderBands] = {};
  std::atomic<uint8_t> aborted{0};
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

bool otherBandAborted(const renderjob* job)
{
  return job->bands != nullptr && job->bands->aborted.load(std::memory_order_relaxed);
}

// The abort question after a row; an abort of this band stops the others.
bool askAbort(renderjob* job, int32_t row)
{
  if (otherBandAborted(job))
    return true;
  if (job->abortProc == nullptr || job->abortProc(job, row) == 0)
    return false;
  if (job->bands != nullptr)
    job->bands->aborted.store(1);
  return true;
}

// Tells the bands' caller that this band finished `row` (waking it only when
// it has rows to draw).
void publishRow(renderjob* job, int32_t row)
{
  KVrenderBands* bands = job->bands;
  if (bands == nullptr)
    return;
  bands->rowsDone[job->band].store(row + 1 - bands->firstRow, std::memory_order_release);
  if (bands->callerRowDone != nullptr)
    bands->progress.notify_all();
}

void finishRow(renderjob* job, int32_t row)
{
  publishRow(job, row);
  if (job->rowDone != nullptr)
    job->rowDone(job, row);
}

// The x of a batch's first column, from the column itself rather than summed
// batch by batch along the row: a band that starts inside the row then meets
// the same x as a render of the whole row, up to the last bit.
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
  double y = job->y0 - job->firstRow * job->dy;
  for (int32_t r = job->firstRow; r < job->endRow; ++r) {
    if (otherBandAborted(job))
      return 1;
    renderRow(job, rowPixels(job, r), y);
    y -= job->dy;
    if (askAbort(job, r))
      return 1;
    finishRow(job, r);
  }
  return 0;
}

int16_t RW_AArender(renderjob* job)
{
  if (job->firstRow >= job->endRow || job->access == nullptr)
    return 0;
  RenderBatchLength batchLength;
  for (int32_t r = job->firstRow; r < job->endRow; ++r) {
    if (otherBandAborted(job))
      return 1;
    renderAARow(job, rowPixels(job, r), job->y0 - r * job->dy);
    if (r % kEventPollRows == 1 && job->eventPolling == 1) {
      if (KVEventPumpProc pump = gEventPump.load())
        pump();
      if (askAbort(job, r))
        return 1;
    }
    finishRow(job, r);
  }
  return 0;
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
      if (KVrenderBands* bands = job->bands) {
        // Taking the lock once makes sure a caller that saw this task running
        // is already waiting when the notice comes.
        {
          std::lock_guard<std::mutex> lock(bands->mutex);
        }
        bands->progress.notify_all();
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

// ---- Splitting a render ----------------------------------------------------------

int KV_processorCount()
{
  return std::max(1u, std::thread::hardware_concurrency());
}

int KV_renderBands(int width, int processors, KVcolumnBand bands[kKVmaxRenderBands])
{
  width = std::clamp(width, 0, 65535);
  int count = 1;
  if (processors >= 2 && width > kMaxSingleThreadWidth)
    count = std::min({processors, width / kMinBandColumns, kKVmaxRenderBands});
  for (int k = 0; k < count; ++k) {
    bands[k].first = uint16_t(int64_t(k) * width / count);
    bands[k].end = uint16_t(int64_t(k + 1) * width / count);
  }
  return count;
}

namespace {

// A document copy of one band; emptied and freed with the band.
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

// Calls the caller's row-done procedure, in order, for every row that all
// bands have finished. Calling thread only.
void drawFinishedRows(KVrenderBands* bands)
{
  int32_t finished = INT32_MAX;
  for (int k = 0; k < bands->count; ++k)
    finished = std::min(finished, bands->rowsDone[k].load(std::memory_order_acquire));
  for (; bands->rowsDrawn < finished; ++bands->rowsDrawn)
    if (bands->callerRowDone != nullptr)
      bands->callerRowDone(bands->callerJob, bands->firstRow + bands->rowsDrawn);
}

// The row-done procedure of the caller's own band.
void callerBandRowDone(renderjob* job, int32_t)
{
  drawFinishedRows(job->bands);
}

bool allTasksFinished(const std::vector<renderjob>& jobs)
{
  for (const renderjob& j : jobs)
    if (j.task != nullptr && !j.task->finished.load(std::memory_order_acquire))
      return false;
  return true;
}

// Waits for the band threads, drawing rows as they complete.
void waitForBands(KVrenderBands* bands, std::vector<renderjob>& jobs)
{
  constexpr auto kPollInterval = std::chrono::milliseconds(5);
  for (;;) {
    drawFinishedRows(bands);
    std::unique_lock<std::mutex> lock(bands->mutex);
    if (allTasksFinished(jobs))
      break;
    bands->progress.wait_for(lock, kPollInterval);
  }
  for (renderjob& j : jobs)
    StopRenderTask(&j);
  drawFinishedRows(bands);
}

// Renders the prepared job in `count` column bands. Each band's copy is made
// and its thread started before the next copy, so that the first threads
// render while the calling thread copies for the others. A band whose copy
// cannot be made or whose thread cannot be started is rendered here, after
// the caller's own band, with the caller's document.
int16_t renderInBands(renderjob* job, const KVcolumnBand* columns, int count)
{
  auto bands = std::make_unique<KVrenderBands>();
  bands->callerJob = job;
  bands->callerRowDone = job->rowDone;
  bands->count = count;
  bands->firstRow = job->firstRow;

  std::vector<renderjob> jobs(count, *job);
  for (int k = 0; k < count; ++k) {
    renderjob& band = jobs[k];
    band.firstColumn = columns[k].first;
    band.endColumn = columns[k].end;
    band.bands = bands.get();
    band.band = int16_t(k);
    band.task = nullptr;
    band.result = 0;
    band.rowDone = k == 0 ? callerBandRowDone : nullptr;
  }

  std::vector<DocumentCopy> copies(count);
  std::vector<int> onCaller;
  for (int k = 1; k < count; ++k) {
    copies[k] = makePreparedCopy(job->doc);
    if (copies[k] == nullptr) {
      onCaller.push_back(k);
      continue;
    }
    jobs[k].doc = copies[k].get();
    jobs[k].eventPolling = 2;
    if (AddRenderTask(&jobs[k]) != 0)
      onCaller.push_back(k);
  }

  RTask(&jobs[0]);
  for (int k : onCaller) {
    RTask(&jobs[k]);
    drawFinishedRows(bands.get());
  }
  waitForBands(bands.get(), jobs);

  uint8_t aborted = 0;
  for (const renderjob& band : jobs)
    aborted |= band.result;
  return aborted ? 1 : 0;
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

  KVcolumnBand columns[kKVmaxRenderBands];
  const int count = KV_renderBands(job->width, processors, columns);
  const int16_t aborted = count < 2 ? renderJob(job) : renderInBands(job, columns, count);
  job->result = uint8_t(aborted);
  return aborted;
}

int16_t KV_MultiProcRender(renderjob* job, uint8_t antiAlias)
{
  return KV_MultiProcRenderOn(job, antiAlias, KV_processorCount());
}
