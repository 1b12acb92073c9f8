// Movie files and movie sound: movies written from rendered frames (a video
// track compressed frame by frame, an optional 'twos' sound track filled by a
// procedure, or a numbered image sequence instead), movie edits (a frame
// range replaced, a segment cut, a file converted, a frame rate forced) and
// the sound of a movie (its sound track found, converted to AIFF when its
// format differs from the output, sample frames fetched). Every frame lasts
// 100 units, so a movie's time scale is its frame rate x 100. Failures are
// reported through reportText with the call that failed. Main thread only.
#pragma once

#include <cstdint>

#include "engine/docslots.h"
#include "foundation/fileio.h"
#include "foundation/handles.h"
#include "foundation/types.h"
#include "imaging/offworld.h"
#include "platform/files.h"
#include "platform/movie.h"
#include "platform/moviewrite.h"

struct KVmovieExport;

// Renders frame `frame` into the buffer (and, for an image sequence, saves it
// under the record's output reference); errors are or-ed into the status.
using KVmovieFrameProc = void (*)(int32_t frame, Offworld gw, KVmovieExport* record,
                                  void* userData);
// Fills the sample buffer with interleaved 16-bit frames from sample frame
// `first` on; returns the frames written (at most the buffer's frames).
using KVmovieSoundProc = int32_t (*)(int32_t first, KVmovieExport* record, int16_t* buffer);

// Modes of KVmovieExport::mode: below 1 a movie file, 1 PICT files, above 1
// TIFF files.
inline constexpr int32_t kMovieExportPict = 1;

// The status bit set at each error.
inline constexpr uint8_t kMovieExportError = 2;

// One movie export, filled by its caller.
struct KVmovieExport
{
  int32_t mode = 0;
  uint8_t status = 0;      // 0 while all is well; kMovieExportError or-ed at each error
  int32_t timeScale = 0;   // the frame rate x 100
  int32_t firstFrame = 0;  // a movie holds first .. last - 1; a sequence first .. last
  int32_t lastFrame = 0;
  frefinfos* output = nullptr;            // the file (or the first of the files) to write
  kvmovie::MovieWriter* movie = nullptr;  // while writing
  int videoTrack = -1;                    // the track being written
  KVmovieFrameProc frameProc = nullptr;
  KVmovieSoundProc soundProc = nullptr;
  Offworld gw = nullptr;  // the 32-bit buffer frames are rendered into
  void* userData = nullptr;
  int16_t width = 0;  // size of the video track
  int16_t height = 0;
  OSType codecType = 0;      // set to 'rle ' by QT_AddFRame
  int16_t channels = 0;      // sound channels, 1 .. 16
  int32_t totalSamples = 0;  // sound frames to write
  int16_t* sampleBuffer = nullptr;
  int32_t sampleBufferFrames = 0;  // frames the sample buffer holds
  uint8_t addSound = 0;            // 1: add a sound track
};

// The output sample rate the movie sound tracks and conversions follow; the
// sound layer sets it to its output's rate.
extern double gMovieOutputRate;

// The prompt of ForceFPS's open dialog.
inline constexpr unsigned char kOpenMoviePrompt[] = "\x0EOpen Movie...";

// Writes the movie (mode below 1; `dest`, when given, is where the track is
// shown: the track matrix maps the frame onto it) or the image sequence; the
// status tells.
void QT_CreateMovie(KVmovieExport* record, const Rect* dest);
// Adds the video track and writes frames first .. last - 1 into it.
void QT_Create_VideoTrack(KVmovieExport* record, const Rect* dest);
// Writes the frames as 'rle ' (qtrle) at quality 512.
void QT_AddFRame(KVmovieExport* record);
// Writes the frames with the codec and quality of gSCSpatialSettings.
void QT_AddFRameCompress(KVmovieExport* record);
// Adds the 'twos' sound track filled by the sound procedure: 1, or 0 without
// a sample buffer or procedure, or when the track cannot be made.
int16_t QT_AddSoundTrack(KVmovieExport* record);

// Replaces frames first .. last - 1 of the movie `file` with newly rendered
// ones (the record's time scale and buffer); the movie is rewritten at the
// buffer's size.
void QT_ReplaceMovieSegment(KVmovieExport* record, const FileRef* file);

// Writes the segment [start, start + duration) (movie time units) of
// `source` into a movie named like it with "cut" and `number` in place of
// its extension; *out receives it. 1 when written.
int16_t CreateMovieCut(const FileRef* source, FileRef* out, int32_t start, int32_t duration,
                       int32_t number);
// Converts `source` (any file the movie readers open) to a QuickTime movie
// named like it with ".mov", of type 'MooV' and the creator; 1 on success.
int16_t CreateWarperMovie(const FileRef* source, FileRef* out, OSType creator);
// Sets the time scale of the chosen movie's video tracks to `timeScale`,
// which changes its frame rate; 0, or the failure's status.
OSErr ForceFPS(const FileRef& chosen, int32_t timeScale);

// The exporter that writes a movie's sound as AIFF: component type 'spit',
// subtype 'AIFF', manufacturer 'soun'.
struct KVmovieExporter
{
  OSType type;
  OSType subtype;
  OSType manufacturer;
};
// The AIFF exporter, or null when AIFF files cannot be written.
const KVmovieExporter* openMovieExportComp();

// The 36-byte sound description of a 'twos' track: size, format, data
// reference index 1, version, channels, sample size, no compression, rate
// (44,100 when the output rate is 44,100, else 48,000; 16.16).
void CreateSoundDescription(Handle description, int16_t channels, int16_t sampleSize);

// The record's movie (opened from `file` when it holds none): the 1-based
// index of its first sound track, its description in *track; 0 when none.
int16_t GetMovieSoundTrackIndex(MovieInputWork* work, const FileRef* file,
                                const kvmovie::Track** track);
// Reads the movie's sound facts into the record. The channel count when the
// sound is 'twos' 16-bit at the output rate, or, with `convert`, once it was
// converted to an AIFF file (then *file names it and the sound track index
// is -2); 0 otherwise. An AIFF made before stands in at once (0).
int16_t GetMovieSoundInfos(MovieInputWork* work, FileRef* file, bool convert);
// Fetches `count` sample frames from `first` into the buffer (grown to hold
// them): the bytes fetched; past the end the buffer is zeroed and only what
// the track holds is fetched; 0 for a converted or missing track.
int32_t GetMovieSoundSamples(MovieInputWork* work, Handle buffer, int32_t first, int32_t count);
// Converts sound track `track` (1-based) to the AIFF file *out: 2 channels,
// 16 bits, `outputRate`; type 'AIFF', creator 'TVOD'. 1 on success.
int16_t MovieToAiffFile(MovieInputWork* work, int16_t track, const FileRef* out,
                        OSType sourceFormat, double sourceRate, double outputRate);

// The first track of the movie with that handler type (1-based), or 0.
int16_t GetTrackIndexbyType(kvmovie::Movie* movie, OSType mediaType);
// The sample count of track `index` (1-based); 0 when there is none.
int32_t GetNumQTSamplesByIndex(kvmovie::Movie* movie, int16_t index);
