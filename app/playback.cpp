#include "app/playback.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/prefs.h"
#include "document/animation.h"
#include "document/campath.h"
#include "document/engineapi.h"
#include "document/treefile.h"
#include "engine/render.h"
#include "engine/world.h"
#include "foundation/appshell.h"
#include "foundation/numbers.h"
#include "foundation/pstrings.h"
#include "imaging/cursorkeys.h"
#include "imaging/qzbitmaps.h"
#include "imaging/windowplacement.h"
#include "platform/ui.h"
#include "sound/rtaudio.h"
#include "sound/treesound.h"
#include "ui/uipopupwindow.h"

namespace {

constexpr int32_t kSpaceKeyCode = 49;
constexpr int16_t kBorderlessWindowClass = 3;
constexpr normalcolor kBlack{255, 0, 0, 0};
constexpr normalcolor kWhite{255, 255, 255, 255};
// The progress band of a movie export: black at alpha 0.75.
constexpr normalcolor kProgressBackground{191, 0, 0, 0};

void packRect(const Rect& r, int32_t out[2])
{
  out[0] = PackRectTopLeft(r);
  out[1] = PackRectBottomRight(r);
}

// Lets the window layer deliver events until the predicate turns false.
template <typename Held>
void waitWhile(Held held)
{
  while (held()) {
    kvui::pump();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void waitForMouseUp()
{
  waitWhile([] { return kvui::isButtonDown(); });
}

// A Pascal string of the text (cut to 255 bytes).
void setPascal(Str255 out, const char* text)
{
  size_t n = 0;
  while (text[n] != '\0' && n < 255)
    ++n;
  out[0] = uint8_t(n);
  for (size_t i = 0; i < n; ++i)
    out[i + 1] = uint8_t(text[i]);
}

}  // namespace

int16_t Playback_channelsForKind(uint16_t outputKind)
{
  switch (outputKind) {
    case 1:
    case 2:
    case 4:
    case 15:
      return 0;
    default:
      return 2;
  }
}

void play_kv_anim(CGrafPtr window, sSoundfunc* settings, const FileRef& file, bool previewValid,
                  Rect box)
{
  if (!gKovrelinWorld)
    return;
  waitForMouseUp();
  sfuncSystem* doc = &gKovrelinWorld->doc;
  if (!previewValid && arb_READ(doc, file, true, true, settings) != kTreeReadOK)
    return;
  if (doc->movie.soundTree == 1) {
    Play_Sound(window, settings, doc, box);
    return;
  }
  int32_t dest[2];
  packRect(box, dest);
  Kovrelin_previewMovie(window, doc, doc->animation.mode, dest, kPlaybackWidth, kPlaybackHeight);
}

void Play_Sound(CGrafPtr window, sSoundfunc* settings, sfuncSystem* doc, Rect box)
{
  if (!gKovrelinWorld)
    return;
  KVSoundruntime* runtime = &gKovrelinWorld->soundRuntime;
  Kovrelin_SoundSetup(doc, runtime, settings);
  if (!runtime->system)
    return;
  Anim_Start(runtime->system, doc->animation.mode, kAnimUpdateMovie);

  const gfunc* output = KV_soundOutput(runtime->system);
  const int16_t channels = Playback_channelsForKind(output ? output->family : 0);

  waitWhile([] { return kvui::isKeyDown(kSpaceKeyCode) || kvui::isButtonDown(); });

  gRTEffect.recordToFile = 0;
  RT_idleplay_Start(previewplay_KVSound, runtime, channels, runtime->length, kPlaybackFillFrames,
                    kPlaybackRingSlots, 0);
  int32_t dest[2];
  packRect(box, dest);
  Kovrelin_previewMovie(window, doc, doc->animation.mode, dest, kPlaybackWidth, kPlaybackHeight);
  RT_idleplay_Stop();
}

void ScreenRender()
{
  if (!gKovrelinWorld)
    return;
  GDHandle screen = GetMainDevice();
  if (!screen)
    return;
  const int16_t width = RectWidth(screen->gdRect);
  const int16_t height = RectHeight(screen->gdRect);
  if (width <= 0 || height <= 0)
    return;

  auto* popup = new IBPopUpdlog(kBorderlessWindowClass, kBlack);
  if (!popup->window) {
    delete popup;
    return;
  }
  popup->SetWindowShow(nullptr, width, height, false);

  gAppInfos.aborted = 0;
  gKovrelinWorld->screenRender = 1;
  gKVabort.aborted = 0;
  const uint8_t abortEnabled = gKVabort.abortEnabled;
  gKVabort.abortEnabled = 1;

  sfuncSystem* doc = &gKovrelinWorld->doc;
  renderjob job;
  AccessPix buffer{};
  int32_t dest[2];
  packRect(Rect{0, 0, height, width}, dest);
  Kovrelin_SetUpQuartzRender(popup->port, &job, doc, dest, width, height, &buffer);
  job.rowDone = StdScreenproc;
  job.abortProc = KVeventabort;

  const double start = GetMillisecondTime();
  Kovrelin_RenderToContext(&job, doc, 1);
  const double elapsed = GetMillisecondTime() - start;
  if (buffer.base)
    DisposePtr(buffer.base);
  gKVabort.abortEnabled = abortEnabled;
  gAppInfos.aborted = uint8_t(job.result != 0 || gKVabort.aborted != 0);

  char text[64];
  std::snprintf(text, sizeof text, "Time %ld", long(elapsed));
  Str255 message;
  setPascal(message, text);
  popup->TextDisplay(message, kBlack, kWhite);

  if (!gAppInfos.aborted) {
    popup->FlushContext();
    WaitForButton();
    waitForMouseUp();
  }
  delete popup;
}

void QT_AddMovieframe(int32_t frame, Offworld gw, KVmovieExport* record, void* owner)
{
  if (!gKovrelinWorld || !record)
    return;
  auto* frameOwner = static_cast<KVmovieFrameOwner*>(owner);
  if (frameOwner && frameOwner->progress) {
    char text[64];
    std::snprintf(text, sizeof text, "%ld of %ld", long(frame),
                  long(record->lastFrame - record->firstFrame));
    Str255 message;
    setPascal(message, text);
    frameOwner->progress->TextDisplay(message, kProgressBackground, kWhite);
  }

  sfuncSystem* doc = &gKovrelinWorld->doc;
  const int16_t mode = doc->animation.mode;
  if (frame == record->firstFrame)
    Anim_Start(doc, mode, kAnimUpdateForced);
  Anim_SetTime_fromframe(doc, mode, double(frame));
  Anim_Paramlists(doc, mode, kAnimUpdateForced, 16, 1);

  renderjob job;
  SetUpRender(doc, &job, nullptr, nullptr, nullptr, KVeventabort);
  const Rect movie{0, 0, record->height, record->width};
  const Rect area = gw ? gw->pixels.bounds : movie;
  MapRenderMetrics(&job, record->width, record->height, &gPrefs.pictureSize, &area, Point{0, 0});
  const int16_t aborted = Kovrelin_RenderGWorld(&job, gw, 1);
  gAppInfos.aborted = uint8_t(aborted != 0);
  if (aborted != 0)
    record->status |= kMovieExportError;
}
