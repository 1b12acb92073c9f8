// The render driver: maps a document's view rectangle onto a pixel
// rectangle, prepares the tree and fills a 32-bit destination row by row, in
// batches of 16 pixels (RW_Render) or with 2 x 2 supersampling (RW_AArender).
//
// On several processors the rows are handed out one at a time from a shared
// counter: every thread, the calling thread included, takes the next row
// nobody has taken, renders it whole, left to right, and takes another, so a
// fast or idle processor renders more rows than a slow or busy one. The
// calling thread renders with the caller's document; every other thread has
// its own document copy (arb_Copy), prepared on the calling thread before the
// thread starts. A copy that cannot be made or a thread that cannot be
// started leaves its share to the others.
//
// Worker threads never call the row-done procedure (it draws into a window):
// the calling thread calls it, in row order, for each row once every row
// above it is finished, between its own rows and while it waits for the
// others. The plain renderer asks the abort procedure after each row on the
// thread that rendered it; the anti-aliased renderer's event polling and
// abort question (rows 1, 65, ...) run on the calling thread, in row order.
// Once a thread aborts, every thread stops before its next row; the rows that
// were finished stay written.
//
// Every sample's x is computed from its column and every row's y from its
// row, so a tree whose components keep no state from one batch to the next
// draws the same picture on one thread and on many.
//
// Pixels are four bytes: flag, red, green, blue (`normalcolor` order).
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/gfunc.h"
#include "foundation/types.h"
#include "imaging/accesspix.h"

struct renderjob;
struct KVrenderTask;  // a render thread and its termination notice
struct KVrenderWork;  // what the threads of one render share

// Called with (job, row) after a row; non-zero stops the render.
using KVRenderAbortProc = int16_t (*)(renderjob* job, int32_t row);
// Called with (job, row) after each finished row, on the calling thread.
using KVRowDoneProc = void (*)(renderjob* job, int32_t row);
// Fetches pending window-system events during a long anti-aliased render.
using KVEventPumpProc = void (*)();

struct renderjob
{
  sfuncSystem* doc = nullptr;
  void* window = nullptr;  // window or port of the destination, may be null
  KVRenderAbortProc abortProc = nullptr;
  KVRowDoneProc rowDone = nullptr;  // null when there is no window
  int32_t placement[2] = {0, 0};    // the caller's destination placement, kept for it
  double dx = 0;                    // view units per column
  double dy = 0;                    // view units per row; row r has y = y0 - r * dy
  double x0 = 0;                    // x of column 0
  double y0 = 0;                    // y of row 0
  AccessPix* access = nullptr;      // the destination pixels
  uint16_t width = 0;
  uint16_t height = 0;
  uint16_t firstColumn = 0;  // columns first .. end-1 are rendered
  uint16_t endColumn = 0;
  uint16_t firstRow = 0;  // rows first .. end-1 are rendered
  uint16_t endRow = 0;
  int32_t eventPolling = 0;      // 1: the anti-aliased renderer polls events; 2: it does not
  KVrenderTask* task = nullptr;  // the thread rendering this job, with its termination queue
  uint8_t antiAlias = 0;
  uint8_t result = 0;            // non-zero when this job's render was aborted
  KVrenderWork* work = nullptr;  // set while the job takes its rows from a shared render
};

// ---- Abort state -----------------------------------------------------------
// The application's abort flags and the key and mouse state the abort
// procedures read. The window layer stores the state as events arrive; the
// abort procedures read it from whatever thread renders. Key codes are the
// program's virtual key codes 0..127.
struct KVabortState
{
  std::atomic<uint8_t> abortEnabled{0};    // renders may be aborted from the keyboard
  std::atomic<uint8_t> aborted{0};         // set by an abort procedure that stopped a render
  std::atomic<uint8_t> commandPending{0};  // a command waits for the render to end
  std::atomic<uint8_t> mouseDown{0};
  std::atomic<uint32_t> keys[4] = {};  // one bit per virtual key code
};
extern KVabortState gKVabort;

inline constexpr int kKeyCodePeriod = 47;
inline constexpr int kKeyCodeEscape = 53;
inline constexpr int kKeyCodeCommand = 55;

void KV_setKeyDown(int keyCode, bool down);
bool KV_isKeyDown(int keyCode);
// Releases every key and the mouse button.
void KV_clearKeys();

// The procedure RW_AArender calls on the calling thread every 64 rows to fetch
// pending window-system events (null: none). Set by the window layer.
void KV_setRenderEventPump(KVEventPumpProc pump);
// Calls that procedure once (nothing when none is set): the animation
// previews let the window system deliver keys and show each frame.
void KV_pumpRenderEvents();

// ---- Setting up a job ------------------------------------------------------

// Stores document, window and abort procedure; the row-done procedure only
// when a window is given (else null); copies the placement's two words when
// given.
void SetUpRender(sfuncSystem* doc, renderjob* job, void* window, const int32_t* placement,
                 KVRowDoneProc rowDone, KVRenderAbortProc abortProc);

// Stores the destination, takes width and height from it and sets its
// bottom-up flag (its rows are delivered last row first).
void SetUpRenderAccess(renderjob* job, AccessPix* access);

// Fits the view rectangle to the job's pixels with square pixels: the shorter
// side of the picture spans the view's x extent, centred on the view's centre.
// Sets the document's zoom to 1 and its vertical pixel scale to
// height * scale / (y extent). A zero width, height or extent gives a zero
// step (and leaves the pixel scale alone) instead of dividing by zero.
void findRenderMetrics(renderjob* job, double scale);

// Renders part of a W x H picture into a rectangle of another size: the source
// rectangle is the part of the picture, the destination rectangle the pixels
// it goes to, and `start` the destination pixel that the job's column 0 and
// row 0 stand for. Zero sizes give a zero step instead of dividing by zero.
void MapRenderMetrics(renderjob* job, int32_t W, int32_t H, const Rect* source, const Rect* dest,
                      Point start);

// ---- Abort procedures ------------------------------------------------------

// The standard abort procedure: 0 unless aborts are enabled and row % 16 is 1;
// then Escape, or Command with period, sets the abort flag and answers 1.
int16_t KVeventabort(renderjob* job, int32_t row);
// 1 when aborts are enabled and the mouse button, a pending command or Escape
// is down; else 0.
int16_t KVmouseabort(renderjob* job, int32_t row);

// ---- Rendering -------------------------------------------------------------

// Renders the job's columns, rows first row .. end row - 1, in batches of 16
// pixels; the last batch of a row writes only the pixels left. After each row
// asks the abort procedure, then calls the row-done procedure. Returns 1 when
// the abort procedure stopped it, else 0. A job of a shared render takes its
// rows from the shared counter instead and returns 1 when any thread of the
// render aborted. Sets this thread's batch length to 16 for the render and
// restores it.
int16_t RW_Render(renderjob* job);

// The same with 2 x 2 supersampling: each pixel is the byte-wise mean of four
// samples half a pixel apart. Events are fetched and the abort procedure asked
// after rows 1, 65, ... when event polling is 1.
int16_t RW_AArender(renderjob* job);

// Renders the whole job (anti-aliased when antiAlias is set) on every
// processor: sets the columns and rows to the full picture, prepares the
// document (KV_prepare_evaluation in row mode) and renders. Returns non-zero
// when the render was aborted.
int16_t KV_MultiProcRender(renderjob* job, uint8_t antiAlias);

// KV_MultiProcRender on `processors` processors (1 renders on the calling
// thread).
int16_t KV_MultiProcRenderOn(renderjob* job, uint8_t antiAlias, int processors);

// The machine's processor count, at least 1.
int KV_processorCount();

// The threads, the calling thread included, that render `rows` rows on
// `processors` processors: no more than there are rows or kKVmaxRenderThreads,
// at least 1.
inline constexpr int kKVmaxRenderThreads = 64;
int KV_renderThreads(int rows, int processors);

// ---- Render tasks ----------------------------------------------------------

// The body of a render thread: stores RW_AArender or RW_Render (by the
// anti-alias flag) as the job's result; returns 0.
int32_t RTask(renderjob* job);
// Starts a thread running RTask on the job; returns 0, or -1 when the thread
// cannot be started (the job then has no task).
int32_t AddRenderTask(renderjob* job);
// Without blocking: when the job's thread has finished, joins it, forgets it
// and returns 1; a job without a thread also gives 1; else 0.
int16_t StopRenderTask(renderjob* job);
