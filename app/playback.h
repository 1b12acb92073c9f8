// The browser's playback and full-screen render: the selected tree played
// as an animation in the preview box, or as sound with the animation beside
// it; the world's document rendered over the whole screen and timed; and the
// frame procedure of a movie export. Everything works on the world's
// document (gKovrelinWorld).
//
// Main thread only; a sound play ends before Play_Sound returns.
#pragma once

#include <cstdint>

#include "document/moviefiles.h"
#include "document/soundfunc.h"
#include "engine/gfunc.h"
#include "foundation/types.h"
#include "imaging/ports.h"
#include "platform/files.h"

class Edoc;

// Size of the animation preview the browser plays into its box.
inline constexpr int16_t kPlaybackWidth = 160;
inline constexpr int16_t kPlaybackHeight = 120;
// Frames a sound fill asks for and ring slots of a browser sound play.
inline constexpr uint32_t kPlaybackFillFrames = 2048;
inline constexpr uint8_t kPlaybackRingSlots = 3;

// Plays `file` (read into the world's document first unless the preview is
// valid): as sound when the document is a sound tree, else its animation in
// `box` of the window. A file that cannot be read plays nothing.
void play_kv_anim(CGrafPtr window, sSoundfunc* settings, const FileRef& file, bool previewValid,
                  Rect box);
// Sets the sound up from `doc`, plays it on the real-time output while the
// animation runs in `box`, and stops it when the animation ends.
void Play_Sound(CGrafPtr window, sSoundfunc* settings, sfuncSystem* doc, Rect box);
// The channel argument of a play for the output kind of the runtime's
// root: 0 (mono) for kinds 1, 2, 4 and 15, else 2 (stereo).
int16_t Playback_channelsForKind(uint16_t outputKind);

// Renders the world's document over the whole screen in a borderless black
// pop-up, shows "Time " and the milliseconds taken, and waits for a click;
// an aborted render (Escape, Command-period) closes the pop-up at once.
void ScreenRender();

// The owner a movie export names in its userData: the document whose
// progress pop-up (null when none) shows the frame being made.
struct KVmovieFrameOwner
{
  Edoc* progress = nullptr;
};

// Frame procedure of a movie export: renders frame `frame` of the world's
// document into `gw` at the export's size. The render's abort result goes
// to gAppInfos.aborted and, when set, into the record's status.
void QT_AddMovieframe(int32_t frame, Offworld gw, KVmovieExport* record, void* owner);
