#include "document/engineapi.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>

#include "document/animation.h"
#include "document/campath.h"
#include "document/inputslots.h"
#include "document/videoformats.h"
#include "engine/palettefiles.h"
#include "engine/palettes.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "foundation/mempool.h"
#include "foundation/numbers.h"
#include "imaging/accesspix.h"
#include "imaging/offworld.h"
#include "imaging/qzbitmaps.h"
#include "imaging/qzimages.h"
#include "noise/drivers.h"

namespace {

constexpr int kBandRows = 64;  // StdScreenproc copies a band every 64 rows
constexpr double kPreviewScale = 4.0;
constexpr double kWindowScale = 1.0;
constexpr uint32_t kPreviewImageInfo = 6;

std::atomic<KVmillisecondClock> gPreviewClock{GetMillisecondTime};

// Keyframe icons and the document that made each: only that document frees
// them (a document copy carries the same pointers).
std::map<const AccessPix*, const sfuncSystem*> gIconOwners;

Rect unpackRect(const int32_t* packed)
{
  const Point topLeft = UnpackPoint(packed[0]);
  const Point bottomRight = UnpackPoint(packed[1]);
  return Rect{topLeft.v, topLeft.h, bottomRight.v, bottomRight.h};
}

void packRect(const Rect& r, int32_t* packed)
{
  packed[0] = PackRectTopLeft(r);
  packed[1] = PackRectBottomRight(r);
}

int16_t widthOf(const Rect& r)
{
  return int16_t(r.right - r.left);
}

int16_t heightOf(const Rect& r)
{
  return int16_t(r.bottom - r.top);
}

void copyToWindow(CGrafPtr window, AccessPix* buffer, const Rect& sub, const Rect& dest)
{
  CGContextRef ctx = QZ_OpenContext(window);
  if (ctx == nullptr)
    return;
  QZ_CopyBitsToContext(ctx, buffer, &sub, dest);
  QZ_CloseContext(ctx, window);
}

void showWhole(CGrafPtr window, AccessPix* buffer, const Rect& dest)
{
  copyToWindow(window, buffer, Rect{0, 0, buffer->height, buffer->width}, dest);
  QDFlushPortBuffer(window, dest);
}

// A render buffer owned for the length of one call.
class OwnedBuffer
{
public:
  OwnedBuffer(int16_t width, int16_t height) { QZ_AllocateRenderBuffer32(&access_, width, height); }
  ~OwnedBuffer() { DisposePtr(access_.base); }
  OwnedBuffer(const OwnedBuffer&) = delete;
  OwnedBuffer& operator=(const OwnedBuffer&) = delete;
  AccessPix* get() { return &access_; }
  bool ok() const { return access_.base != nullptr; }

private:
  AccessPix access_{};
};

// The frame of an animation preview: its place in the destination (the
// caller's proportions fitted in), a render buffer of its size and the job
// over it.
struct PreviewFrame
{
  Rect rect;
  OwnedBuffer buffer;
  renderjob job;
  PreviewFrame(CGrafPtr window, sfuncSystem* doc, const int32_t* dest, int16_t width,
               int16_t height)
      : rect(Kovrelin_fitFrame(unpackRect(dest), width, height)),
        buffer(widthOf(rect), heightOf(rect))
  {
    if (!buffer.ok())
      return;
    int32_t placement[2];
    packRect(rect, placement);
    SetUpRender(doc, &job, window, placement, nullptr, nullptr);
    SetUpRenderAccess(&job, buffer.get());
  }
};

// Renders the document into `buffer` at its size, the view fitted with the
// given metrics scale; returns the render result.
int16_t renderInto(sfuncSystem* doc, CGrafPtr window, const int32_t* placement, AccessPix* buffer,
                   double scale, renderjob* job)
{
  SetUpRender(doc, job, window, placement, nullptr, nullptr);
  SetUpRenderAccess(job, buffer);
  findRenderMetrics(job, scale);
  return KV_MultiProcRender(job, 0);
}

bool stopRequested()
{
  return KV_isKeyDown(kKeyCodeEscape) || gKVabort.mouseDown.load();
}

void freeIcon(AccessPix*& icon)
{
  DisposePtr(icon->base);
  gIconOwners.erase(icon);
  delete icon;
  icon = nullptr;
}

// The loop of both animation previews: frames chosen by the clock from
// `start`, rendered with `metrics`, shown until a key, the mouse or `ended`.
template <class Metrics, class Ended>
void playPreview(CGrafPtr window, sfuncSystem* doc, int16_t mode, const Rect& frameRect,
                 renderjob* job, AccessPix* buffer, double start, Metrics metrics, Ended ended)
{
  const KVmillisecondClock clock = gPreviewClock.load();
  for (;;) {
    const double frame = (clock() - start) * 0.001 * doc->animation.frameRate;
    Anim_SetTime_fromframe(doc, mode, frame);
    Anim_Paramlists(doc, mode, kAnimUpdateMovie, kBatchCapacity, true);
    metrics(job);
    KV_MultiProcRender(job, 0);
    if (job->result == 0 && window != nullptr)
      showWhole(window, buffer, frameRect);
    KV_pumpRenderEvents();
    if (stopRequested() || ended(frame))
      break;
  }
  doc->paramsChanged = 1;
}

}  // namespace

// ---- World and defaults ----------------------------------------------------

void Kovrelin_worldinit(KovrelinWorld* world, KVrenderPrefs* prefs)
{
  Kovrelin_worldinit(world, prefs, kvfs::resourcesFolder());
}

void Kovrelin_worldinit(KovrelinWorld* world, KVrenderPrefs* prefs, const FileRef& resources)
{
  gKovrelinWorld = world;
  KV_installInputHooks();
  world->paletteLib =
      static_cast<cpalettelib*>(AddMemObject(&gMemPool, int32_t(sizeof(cpalettelib))));
  init_cpalettelib(world->paletteLib);
  world->palettesFile[0] = 0;
  if (!resources.empty()) {
    const std::string palettes = resources.child("Palettes").path();
    std::strncpy(world->palettesFile, palettes.c_str(), sizeof(world->palettesFile) - 1);
    load_default_cpalettelib(world->paletteLib, resources, nullptr);
  }
  const std::string presets = kvfs::executableFolder().child("Structures Presets").path();
  std::strncpy(world->presetsFolder, presets.c_str(), sizeof(world->presetsFolder) - 1);
  world->presetsFolder[sizeof(world->presetsFolder) - 1] = 0;
  world->batchLength = kBatchCapacity;

  sfuncSystem* doc = &world->doc;
  arb_Init(doc);
  arb_presetinit(doc, kFamily21, 0);
  arb_init_Tables(doc);
  Anim_Init(&doc->animation);

  KV_initWorldRecord(world);
  world->renderPrefs = prefs;
  world->askForMissingInputs = 0;
  world->defaultPictureForEmptySlots = 0;
  world->screenRender = 0;
}

KovrelinWorld* Kovrelin_SetInSize(KVrenderPrefs* prefs)
{
  if (gKovrelinWorld != nullptr)
    gKovrelinWorld->renderPrefs = prefs;
  return gKovrelinWorld;
}

KVrenderPrefs* Kovrelin_renderPrefs()
{
  return gKovrelinWorld != nullptr ? gKovrelinWorld->renderPrefs : nullptr;
}

void Kovrelin_DefaultPrefs(KVrenderPrefs* prefs)
{
  *prefs = KVrenderPrefs{};
  prefs->outputRect = Rect{0, 0, kDefaultInputHeight, kDefaultInputWidth};
  prefs->width = kDefaultInputWidth;
  prefs->height = kDefaultInputHeight;
  prefs->setting1 = 1;
  prefs->setting2 = 0;
  prefs->frameRate = 25.0;
  prefs->width2 = kDefaultInputWidth;
  prefs->height2 = kDefaultInputHeight;
  prefs->videoFormat = FindSTDVideoFormatIndex(prefs->width, prefs->height, prefs->width2,
                                               prefs->height2, prefs->frameRate);
  prefs->setting3 = 100;
  Kovrelin_SoundinfosInit(&prefs->sound);
  for (int16_t& v : prefs->settings)
    v = 1024;
  prefs->compression.codecType = gSCSpatialSettings.codecType;
  prefs->compression.codec = gSCSpatialSettings.codec;
  prefs->compression.depth = gSCSpatialSettings.depth;
  prefs->compression.quality = gSCSpatialSettings.spatialQuality;
  const int16_t after[4] = {0, -1, 0, 2};
  std::copy(std::begin(after), std::end(after), prefs->compression.settings);
}

void Kovrelin_SoundinfosInit(sSoundfunc* sound)
{
  *sound = sSoundfunc{};
  sound->tag = kSoundSettingsTag;
  sound->transposition = 12;
  sound->setting1 = 0.25;
  sound->setting2 = 120.0;
}

void Kovrelin_kill(sfuncSystem* doc)
{
  arb_Clear(doc, true, true);
  // Every slot is released: what a file-fed slot owns is freed, the default
  // picture and outside buffers are only let go (they belong to others), so
  // the next tree starts from empty slots.
  for (KVinputSlot& slot : doc->inputs)
    clear_input(doc, &slot);
  Kovrelin_SetInputMode(doc, nullptr, false, 0, nullptr);
  for (AccessPix*& icon : doc->animation.icons) {
    if (icon == nullptr)
      continue;
    auto owner = gIconOwners.find(icon);
    if (owner != gIconOwners.end() && owner->second == doc)
      freeIcon(icon);
    else
      icon = nullptr;  // another document's icon: only forgotten here
  }
}

// ---- Rendering --------------------------------------------------------------

int16_t Kovrelin_SetUpQuartzRender(CGrafPtr window, renderjob* job, sfuncSystem* doc,
                                   const int32_t* dest, int16_t width, int16_t height,
                                   AccessPix* buffer)
{
  QZ_AllocateRenderBuffer32(buffer, width, height);
  SetUpRender(doc, job, window, dest, nullptr, nullptr);
  SetUpRenderAccess(job, buffer);
  findRenderMetrics(job, kWindowScale);
  return 0;
}

void Kovrelin_RenderToContext(renderjob* job, sfuncSystem*, uint8_t antiAlias)
{
  KV_MultiProcRender(job, antiAlias);
  if (job->result != 0 || job->window == nullptr || job->access == nullptr)
    return;
  showWhole(static_cast<CGrafPtr>(job->window), job->access, unpackRect(job->placement));
}

int16_t Kovrelin_RenderGWorld(renderjob* job, Offworld world, uint8_t antiAlias)
{
  if (world == nullptr)
    return 0;
  AccessPix access{};
  Rect r = world->pixels.bounds;
  if (!AccessPixels(world, &access, &r))
    return 0;
  SetUpRenderAccess(job, &access);
  const int16_t result = KV_MultiProcRender(job, antiAlias);
  EndAccessPixelsNR(nullptr, &access);
  return result;
}

int16_t Kovrelin_RenderToFile(const frefinfos& file, renderjob* job, sfuncSystem* doc)
{
  const int16_t result = KV_MultiProcRender(job, 1);
  if (result != 0 || job->access == nullptr)
    return result;
  job->access->bottomUp = 0;
  if (!QZ_ExportBits(file, job->access, doc->rgbaOutput != 0, fourcc("Qjtt")))
    return kRenderFileNotWritten;
  return 0;
}

int16_t Kovrelin_PreviewToImage(CGrafPtr window, sfuncSystem* doc, const int32_t* dest,
                                int16_t factor, AccessPix* buffer)
{
  const Rect destRect = unpackRect(dest);
  if (factor <= 0)
    factor = 1;
  const int16_t width = int16_t(widthOf(destRect) / factor);
  const int16_t height = int16_t(heightOf(destRect) / factor);
  if (width <= 0 || height <= 0)
    return 0;
  OwnedBuffer owned(buffer == nullptr ? width : 0, buffer == nullptr ? height : 0);
  AccessPix* target = buffer != nullptr ? buffer : owned.get();
  if (target->base == nullptr || target->width < width || target->height < height)
    return 0;
  AccessPix view = *target;  // the preview's own size within the buffer
  view.width = width;
  view.height = height;
  renderjob job;
  const int16_t result = renderInto(doc, window, dest, &view, kPreviewScale, &job);
  if (job.result == 0 && window != nullptr)
    showWhole(window, &view, destRect);
  return result;
}

CGImageRef Kovrelin_GetPreviewImage(CGrafPtr window, sfuncSystem* doc, const int32_t* dest,
                                    const int32_t*, AccessPix* buffer)
{
  const Rect r = unpackRect(dest);
  const int16_t width = widthOf(r), height = heightOf(r);
  if (buffer == nullptr || buffer->base == nullptr || width <= 0 || height <= 0 ||
      width > buffer->width || height > buffer->height)
    return nullptr;
  AccessPix view = *buffer;
  view.width = width;
  view.height = height;
  renderjob job;
  renderInto(doc, window, dest, &view, kPreviewScale, &job);
  return QZ_createImagefromBits(view.base, view.rowBytes, width, height, kPreviewImageInfo);
}

int16_t Kovrelin_previewToGW(sfuncSystem* doc, const int32_t* rect, Offworld world)
{
  Offworld made = nullptr;
  if (world == nullptr) {
    const Rect r = unpackRect(rect);
    if (CreateOffworld(PackRectTopLeft(Rect{0, 0, heightOf(r), widthOf(r)}),
                       PackRectBottomRight(Rect{0, 0, heightOf(r), widthOf(r)}), 32, &made) != 0)
      return 0;
    world = made;
  }
  renderjob job;
  SetUpRender(doc, &job, nullptr, rect, nullptr, nullptr);
  AccessPix access{};
  Rect bounds = world->pixels.bounds;
  int16_t status = 0;
  if (AccessPixels(world, &access, &bounds)) {
    SetUpRenderAccess(&job, &access);
    findRenderMetrics(&job, kWindowScale);
    KV_MultiProcRender(&job, 0);
    EndAccessPixelsNR(nullptr, &access);
    status = 1;
  }
  // A buffer made here has no other owner: it goes with the call.
  if (made != nullptr)
    KillOffworld(&made);
  return status;
}

int16_t Kovrelin_previewToContext(sfuncSystem* doc, CGContextRef ctx, const int32_t* rect)
{
  const Rect r = unpackRect(rect);
  OwnedBuffer buffer(widthOf(r), heightOf(r));
  if (!buffer.ok())
    return 0;
  renderjob job;
  renderInto(doc, nullptr, rect, buffer.get(), kWindowScale, &job);
  QZ_CopyBitsToContext(ctx, buffer.get(), nullptr, r);
  return 1;
}

void StdScreenproc(renderjob* job, int32_t row)
{
  if (row % kBandRows != kBandRows - 1 || job->window == nullptr || job->access == nullptr ||
      job->height == 0)
    return;
  auto* window = static_cast<CGrafPtr>(job->window);
  const Rect dest = unpackRect(job->placement);
  const int32_t first = row - (kBandRows - 1);
  const double rowScale = double(heightOf(dest)) / job->height;
  Rect band{int16_t(dest.top + int32_t(first * rowScale)), dest.left,
            int16_t(dest.top + int32_t((row + 1) * rowScale)), dest.right};
  const int16_t middle = int16_t((dest.left + dest.right) / 2);
  if (job->firstColumn != 0)
    band.left = middle;
  if (job->endColumn != job->width)
    band.right = middle;
  const Rect sub{int16_t(first), int16_t(job->firstColumn), int16_t(row + 1),
                 int16_t(job->endColumn)};
  copyToWindow(window, job->access, sub, band);
  QDFlushPortBuffer(window, band);
}

// ---- Animation previews ------------------------------------------------------

void Kovrelin_setPreviewClock(KVmillisecondClock clock)
{
  gPreviewClock = clock != nullptr ? clock : GetMillisecondTime;
}

Rect Kovrelin_fitFrame(const Rect& dest, int16_t width, int16_t height)
{
  if (width <= 0 || height <= 0)
    return Rect{dest.top, dest.left, dest.top, dest.left};
  const int32_t dw = widthOf(dest), dh = heightOf(dest);
  if (width < height) {
    const int32_t w = dh * width / height;
    const int16_t left = int16_t(dest.left + (dw - w) / 2);
    return Rect{dest.top, left, dest.bottom, int16_t(left + w)};
  }
  const int32_t h = dw * height / width;
  const int16_t top = int16_t(dest.top + (dh - h) / 2);
  return Rect{top, dest.left, int16_t(top + h), dest.right};
}

void Kovrelin_previewMovie(CGrafPtr window, sfuncSystem* doc, int16_t mode, const int32_t* dest,
                           int16_t width, int16_t height)
{
  PreviewFrame frame(window, doc, dest, width, height);
  if (!frame.buffer.ok())
    return;
  if (mode == kPreviewStill) {
    findRenderMetrics(&frame.job, kWindowScale);
    KV_MultiProcRender(&frame.job, 0);
    if (window != nullptr)
      showWhole(window, frame.buffer.get(), frame.rect);
    return;
  }
  Anim_Start(doc, mode, kAnimUpdateMovie);
  const double start = gPreviewClock.load()();
  const double length = doc->animation.length;
  playPreview(
      window, doc, mode, frame.rect, &frame.job, frame.buffer.get(), start,
      [](renderjob* j) { findRenderMetrics(j, kWindowScale); },
      [length](double shown) { return !(shown < length); });
}

void Kovrelin_previewMovieIO(CGrafPtr window, sfuncSystem* doc, int16_t mode, const int32_t* dest,
                             int32_t inFrame, int32_t outFrame, int16_t width, int16_t height,
                             int16_t offsetH, int16_t offsetV)
{
  PreviewFrame frame(window, doc, dest, width, height);
  if (!frame.buffer.ok())
    return;
  Anim_Start(doc, mode, kAnimUpdateMovie);
  const double rate = doc->animation.frameRate >= 1 ? doc->animation.frameRate : 1;
  const double start = gPreviewClock.load()() - inFrame * 1000.0 / rate;
  int16_t renderW = kDefaultInputWidth, renderH = kDefaultInputHeight;
  KV_inputRenderSize(&renderW, &renderH);
  const Rect source{0, 0, renderH, renderW};
  const Rect target{0, 0, heightOf(frame.rect), widthOf(frame.rect)};
  playPreview(
      window, doc, mode, frame.rect, &frame.job, frame.buffer.get(), start,
      [&](renderjob* j) {
        MapRenderMetrics(j, renderW, renderH, &source, &target, Point{offsetV, offsetH});
      },
      [outFrame](double shown) { return shown > outFrame; });
}

// ---- Keyframe icons -------------------------------------------------------------

void Anim_buildKeyframeIcon(sfuncSystem* doc, int16_t key)
{
  if (key < 0 || key >= kKeyframeCount || doc->animation.keys[key].inUse == 0)
    return;
  AccessPix*& icon = doc->animation.icons[key];
  if (icon == nullptr) {
    auto made = new AccessPix{};
    if (QZ_AllocateRenderBuffer32(made, kKeyframeIconSize, kKeyframeIconSize) == nullptr) {
      delete made;
      return;
    }
    icon = made;
    gIconOwners[icon] = doc;
  }
  const Rect r{0, 0, kKeyframeIconSize, kKeyframeIconSize};
  int32_t placement[2];
  packRect(r, placement);
  renderjob job;
  renderInto(doc, nullptr, placement, icon, kPreviewScale, &job);
}
