// Movie inputs: opening a movie file for rendering, choosing its visual
// track, sizing the output buffer, drawing the frame of a movie time (looping
// or not) and closing the movie again; movie thumbnails. The state of one
// movie is a MovieInputWork record (engine/docslots.h), embedded in each
// input slot. Movie times count the chosen track's units (timeScale a
// second). Main thread only.
#pragma once

#include <cstdint>

#include "engine/docslots.h"
#include "foundation/types.h"
#include "imaging/offworld.h"
#include "platform/files.h"

// Sizing modes of SetMovieOutPutGW.
enum : int16_t
{
  kMovieFitBuffer = 1,       // fit into the buffer's bounds, keeping the aspect
  kMovieNaturalSize = 3,     // natural size at the origin
  kMovieStretch = 4,         // the requested size (a 32-bit buffer made when none is given)
  kMovieFitWidth = 5,        // the requested width, the height in proportion
  kMovieFitHeight = 6,       // the requested height, the width in proportion
  kMovieCentred = 7,         // natural size centred on the requested size, cropped
  kMovieAtLeastNatural = 8,  // a buffer at least the natural size
};

// The status of a frame that could not be drawn.
inline constexpr OSErr kMovieFrameErr = -2010;

// An empty record: no movie, no file, no handles.
void InitMovieInputWork(MovieInputWork* work);

// Opens a movie file; null when it cannot be read as a movie.
kvmovie::Movie* GetMovieFromFile(const FileRef& file);

// Opens `file` for rendering into *gw sized by `mode` (width and height are
// the requested size). Reopening the file the record already holds only sizes
// the output again. 1 when the movie is open, 0 when it does not open, its
// picture is larger than 32,767 pixels a side, or a buffer it needs cannot
// be made (the record is then empty).
int16_t OpenMovie4Render(MovieInputWork* work, const FileRef& file, Offworld* gw, int16_t width,
                         int16_t height, int16_t mode);

// Reads the open movie's facts into the record: the first video track (its
// index, type, size, depth when `readDepth`), its time scale, duration and
// frame rate; without a video track and with `soundWhenNoVisual`, the timing
// of its sound track and the type of its last track.
void ScanMovieInfos(MovieInputWork* work, bool soundWhenNoVisual, bool readDepth);

// Sets the record's box by `mode` (see the sizing modes) and returns the
// buffer to draw into: `gw`, or a new 32-bit one (modes 4 and 8). Null when
// mode 4 or 8 needs a buffer that cannot be made (mode 8 has then disposed
// of `gw`).
Offworld SetMovieOutPutGW(MovieInputWork* work, Offworld gw, int16_t width, int16_t height,
                          int16_t mode);

// The time DisplayMovieFrame draws for `time`: with `loop` taken modulo the
// duration (0 when the duration is not positive), else held to 0 .. duration.
int32_t KV_movieDrawTime(const MovieInputWork* work, int32_t time, bool loop);

// Draws the frame of movie time `time` into `dest` of the buffer (in the
// buffer's coordinates; the part outside it is cut). 0, or kMovieFrameErr
// (the buffer keeps what it held) when the frame cannot be decoded;
// paramErr for a null buffer. Nothing for a record without a movie.
OSErr DisplayMovieFrame(MovieInputWork* work, int32_t time, Offworld gw, Rect dest, bool loop);

// Draws time 0 into the record's box; 1, or 0 when no movie is open.
int16_t DisplayFirstFrame(MovieInputWork* work, Offworld gw);

// Closes the movie, forgets the file and disposes of both handles.
void CloseMovie4Render(MovieInputWork* work);

// A 32-bit buffer over `bounds` into *gw: 0, or the creation error (*gw
// null).
OSErr CreateMovieOffworld(MovieInputWork* work, Offworld* gw, Rect bounds);
// Disposes of *gw when there is one and nulls it.
void KillMovieOffworld(MovieInputWork* work, Offworld* gw);

// Reads a movie file's facts into the record without keeping it open: 1, or
// 0 for an empty reference or a file that does not open.
int16_t OpenMovieInfos(MovieInputWork* work, const FileRef& file, bool soundWhenNoVisual,
                       bool readDepth);

// Draws the frame of `time` of the movie's first video track into `dest` of
// the buffer; nothing when there is none.
void DisplayMovieQuartzFrame(kvmovie::Movie* movie, int32_t time, Offworld gw, Rect dest);

// A new width x height 32-bit buffer in *out showing the frame at half the
// movie's duration (the record's open movie, or `file` opened for it); the
// movie is closed afterwards. 0, the buffer's creation error, or -1 when the
// movie does not open (the buffer is kept, blank).
OSErr BuildMovieThumb(const FileRef& file, MovieInputWork* work, Offworld* out, int16_t width,
                      int16_t height);
// Opens `file` into `gw` at width x height, draws the frame at `seconds`,
// and closes the movie.
void DrawMovieThumb(const FileRef& file, MovieInputWork* work, Offworld gw, int16_t width,
                    int16_t height, double seconds);

// The number of frames of the record's chosen track (0 when no movie is
// open).
int64_t KV_movieSampleCount(const MovieInputWork* work);
