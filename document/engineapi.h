// The engine's application interface: what start-up, the browser window and
// the dialogs see of the engine. It sets up the world record, gives the
// rendering preferences their defaults, renders a document into a window, a
// buffer, an image or a file, plays a document's animation as a preview that
// Escape, a click or its end stops, and releases a document's tree and
// inputs.
//
// A window, here, is the window's drawing port (imaging/ports.h): pictures
// are drawn into it through a Quartz context and shown with
// QDFlushPortBuffer, which calls the port's flush procedure. Main thread only.
#pragma once

#include <cstdint>

#include "document/soundfunc.h"
#include "engine/render.h"
#include "engine/world.h"
#include "foundation/fileio.h"
#include "imaging/ports.h"
#include "imaging/quartz.h"
#include "platform/files.h"

// Still-compression settings of the rendering preferences.
struct KVcompressionSettings
{
  OSType codecType;
  int32_t codec;
  int32_t quality;
  int16_t depth;
  int16_t settings[4];  // 0, -1, 0, 2
};

// The rendering preferences (embedded in the application's preferences).
struct KVrenderPrefs
{
  Rect outputRect;  // the render size: 0, 0, 576, 768
  int16_t width;
  int16_t height;
  int16_t setting1;  // 1
  int16_t setting2;  // 0
  double frameRate;  // 25.0
  int16_t width2;
  int16_t height2;
  int16_t videoFormat;  // standard video format of 768 x 576 at 25 fps
  int16_t setting3;     // 100
  sSoundfunc sound;
  uint8_t bytes[4];
  int16_t settings[4];  // 1024 each
  KVcompressionSettings compression;
};

// ---- World and defaults ----------------------------------------------------

// Sets up the world record: palette library (built-in, or the Resources
// folder's "Palettes"), the "Structures Presets" reference, batch length,
// document (one f21 Ax+By+C component, tables, animation), default colours,
// the rendering-preferences pointer, both input flags 0. The record is
// carved from the pool as plain bytes.
void Kovrelin_worldinit(KovrelinWorld* world, KVrenderPrefs* prefs, const FileRef& resources);
void Kovrelin_worldinit(KovrelinWorld* world, KVrenderPrefs* prefs);

void Kovrelin_DefaultPrefs(KVrenderPrefs* prefs);
// Stores the preferences pointer in the world; returns the world.
KovrelinWorld* Kovrelin_SetInSize(KVrenderPrefs* prefs);
void Kovrelin_SoundinfosInit(sSoundfunc* sound);
// The world's rendering preferences, or null.
KVrenderPrefs* Kovrelin_renderPrefs();

// Empties the tree (sub-trees and auxiliary memory freed), releases every
// input slot and frees the keyframe icons the document made.
void Kovrelin_kill(sfuncSystem* doc);

// ---- Rendering --------------------------------------------------------------

// A job over a new width x height render buffer (into `buffer`) for the
// document and the window's destination rectangle (two packed words).
int16_t Kovrelin_SetUpQuartzRender(CGrafPtr window, renderjob* job, sfuncSystem* doc,
                                   const int32_t* dest, int16_t width, int16_t height,
                                   AccessPix* buffer);
// Renders the job and, unless aborted, copies the buffer to the window.
void Kovrelin_RenderToContext(renderjob* job, sfuncSystem* doc, uint8_t antiAlias);
// Renders into a 32-bit buffer: 0 when its pixels cannot be reached, else
// the render result.
int16_t Kovrelin_RenderGWorld(renderjob* job, Offworld world, uint8_t antiAlias);
// Renders the job anti-aliased and exports its buffer in the reference's file
// type ('PNGf' PNG, 'PDF ' PDF, 'PICT' PICT, anything else TIFF), creator
// 'Qjtt', with an alpha channel when the document's output carries one. The render result, or
// kRenderFileNotWritten when the file could not be written.
inline constexpr int16_t kRenderFileNotWritten = -1;
int16_t Kovrelin_RenderToFile(const frefinfos& file, renderjob* job, sfuncSystem* doc);

// The render reduction of a preview: the destination divided by `factor`
// (a factor of 0 or less counts as 1).
int16_t Kovrelin_PreviewToImage(CGrafPtr window, sfuncSystem* doc, const int32_t* dest,
                                int16_t factor, AccessPix* buffer);
// A preview image of the rectangle, or null when the buffer is missing or
// smaller than the rectangle.
CGImageRef Kovrelin_GetPreviewImage(CGrafPtr window, sfuncSystem* doc, const int32_t* dest,
                                    const int32_t* source, AccessPix* buffer);
int16_t Kovrelin_previewToGW(sfuncSystem* doc, const int32_t* rect, Offworld world);
int16_t Kovrelin_previewToContext(sfuncSystem* doc, CGContextRef ctx, const int32_t* rect);

// Row-done procedure of window renders: every 64 rows copies the band just
// finished to the window, the first task flushing it.
void StdScreenproc(renderjob* job, int32_t row);

// ---- Animation previews ------------------------------------------------------

inline constexpr int16_t kPreviewStill = int16_t(0xFFFF);  // mode 65535: one frame

// Plays the document's animation into the window's destination until Escape,
// the mouse button or the end; frames are chosen by the clock.
void Kovrelin_previewMovie(CGrafPtr window, sfuncSystem* doc, int16_t mode, const int32_t* dest,
                           int16_t width, int16_t height);
void Kovrelin_previewMovieIO(CGrafPtr window, sfuncSystem* doc, int16_t mode, const int32_t* dest,
                             int32_t inFrame, int32_t outFrame, int16_t width, int16_t height,
                             int16_t offsetH, int16_t offsetV);

// The millisecond clock the previews read (tests inject their own).
using KVmillisecondClock = double (*)();
void Kovrelin_setPreviewClock(KVmillisecondClock clock);

// The rectangle a frame of width x height proportions takes in `dest`.
Rect Kovrelin_fitFrame(const Rect& dest, int16_t width, int16_t height);

// ---- Keyframe icons -------------------------------------------------------------

inline constexpr int16_t kKeyframeIconSize = 32;
// Renders a 32 x 32 preview of the document into key `key`'s icon (made on
// first use); nothing for a key not in use.
void Anim_buildKeyframeIcon(sfuncSystem* doc, int16_t key);
