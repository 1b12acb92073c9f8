// Movies in files, over FFmpeg: open a file, list its streams as tracks, and
// draw the frame that covers a time into plain 32-bit pixel memory (bytes
// alpha, red, green, blue; alpha 255 where the movie has none).
//
// Times are counted in the track's own units (`timeScale` units a second)
// from the track's start. A movie keeps one decoder for the track it last
// drew: moving a few frames ahead decodes forward from where it stands, and
// only a move backwards or far ahead seeks.
//
// No library type appears here. One movie is used by one thread at a time.
#pragma once

#include <cstdint>
#include <string>

namespace kvmovie {

enum class TrackKind
{
  Video,
  Audio,
  Other,
};

struct Track
{
  TrackKind kind = TrackKind::Other;
  // Handler type as four characters held big-endian: 'vide' for video
  // ('MPEG' in MPEG program and elementary streams), 'soun' for audio,
  // 'text' for subtitles, 'data' for anything else.
  uint32_t handlerType = 0;
  // The container's codec tag as four characters held big-endian ('jpeg',
  // 'mp4v', 'rle '); 0 when the container gives none.
  uint32_t codecType = 0;
  int32_t timeScale = 0;    // units a second
  int64_t duration = 0;     // in those units; 0 when unknown
  int64_t sampleCount = 0;  // frames (or audio packets); 0 when unknown
  int32_t width = 0;        // video: natural size in pixels
  int32_t height = 0;
  int16_t depth = 0;           // video: bits per pixel the container states (0: none)
  int16_t channels = 0;        // audio
  int32_t sampleRate = 0;      // audio
  int16_t bytesPerSample = 0;  // audio
};

class Movie;

// Largest frame side drawn or accepted (16-bit rectangles).
inline constexpr int32_t kMaxFrameSide = 32767;

// Opens a movie; null, with the reason in *why when given, for a file that
// cannot be read or holds no stream.
Movie* openMovie(const std::string& path, std::string* why = nullptr);
// Closes a movie and frees its decoder; nothing for null.
void closeMovie(Movie* movie);

// The path the movie was opened from.
const std::string& moviePath(const Movie* movie);
int trackCount(const Movie* movie);
// Track `index` (0-based); null outside 0 .. trackCount - 1.
const Track* movieTrack(const Movie* movie, int index);

// Where a frame goes: a block of `width` x `height` 32-bit pixels, rows
// `rowBytes` apart, and the rectangle of that block the frame is scaled onto
// (it may reach beyond the block; only the part inside is written).
struct FrameTarget
{
  uint8_t* base = nullptr;
  int32_t rowBytes = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

// Draws the frame of video track `index` whose time t satisfies t <= time <
// the next frame's time (the first frame for a time before it, the last for a
// time past it). False, with nothing drawn, when the track is not video, the
// target is empty or too large, or no frame can be decoded.
bool drawFrame(Movie* movie, int index, int64_t time, const FrameTarget& target,
               std::string* why = nullptr);

// The compressed bytes of the last packet the decoder of the drawn track
// read; null and 0 before any.
const uint8_t* lastSampleData(const Movie* movie, size_t* size);

// Scales a picture of 32-bit pixels (alpha, red, green, blue; rows
// `rowBytes` apart) onto the target's rectangle, bicubic. False when either
// side is empty or beyond kMaxFrameSide.
bool scalePixels(const uint8_t* argb, int32_t rowBytes, int32_t width, int32_t height,
                 const FrameTarget& target, std::string* why = nullptr);

// How many times the movie has sought since it was opened.
int64_t seekCount(const Movie* movie);

}  // namespace kvmovie
