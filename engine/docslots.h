// Records of the tree-document code that the document record embeds: the
// eight picture and movie input slots, the animation block with its 16
// keyframes, and the document settings that tree files carry beside them.
// The tree file reader and writer (document/treefile.h) fill and store them;
// input slots, animation and movies give them their behaviour.
//
// Like the rest of the document record these are plain aggregates: a zeroed
// record is a valid empty one.
#pragma once

#include <cstdint>

#include "foundation/handles.h"
#include "foundation/types.h"

struct GWorldRec;  // an off-screen buffer (`Offworld` is GWorldRec*)
struct AccessPix;  // a render-buffer record
namespace kvmovie {
class Movie;  // an open movie file with its decoder (platform/movie.h)
}

// A file as tree files reference it: volume reference, parent folder id and
// name (70 bytes in the file). The two numbers are carried unchanged; the
// name is what finds the file again near the tree file. An empty name means
// no file.
struct KVfileSpec
{
  int16_t volume;
  int32_t parentID;
  Str63 name;
};

// The movie of one input slot (document/movies.h gives it its behaviour):
// the open movie, the chosen track and its timing, and the box of the slot's
// buffer a frame is drawn into. For a picture the box holds its bounds and
// the media type its file type. A zeroed record is an empty one. Document
// copies copy the record bytewise: only the document's own record opens and
// closes the movie and the two handles.
struct MovieInputWork
{
  kvmovie::Movie* movie;  // the open movie; null when none
  Rect box;               // where a frame goes in the output buffer
  int32_t timeScale;      // units a second of the chosen track
  int32_t duration;       // the chosen track's length in those units
  int32_t frameRate;      // frames a second x 100 (2500 = 25 fps)
  // Handler type of the chosen track ('vide', 'MPEG'); 'xxxx' for a 'vide'
  // track whose codec is not drawn directly; without a visual track the type
  // of the movie's last track.
  OSType mediaType;
  int16_t trackIndex;        // 1-based index of the chosen track
  int16_t soundTrackIndex;   // the track the movie-sound readers use; -2 once converted
  int16_t depth;             // bits per pixel of the chosen track (0 when not read)
  uint8_t hasVisualTrack;    // 1 when a video track was found
  uint8_t channels;          // sound channels
  int16_t fileRefNum;        // the movie file while the movie-sound readers have it open
  int16_t bytesPerSample;    // sound sample size
  int32_t soundSampleCount;  // sound samples available
  int16_t width;             // natural size of the chosen track
  int16_t height;
  Handle sampleDescription;  // image description of the chosen track (86 bytes)
  Handle sampleData;         // compressed bytes of the last frame fetched
  KVfileSpec file;           // the open file; parent id 0 and an empty name: none
};

// Where the picture of an input slot comes from (KVinputSlot::sourceKind).
enum : uint8_t
{
  kInputOwnFile = 0,      // the slot's own file, or nothing
  kInputFixedBuffer = 1,  // a buffer handed in from outside, or the default picture
  kInputLiveBuffer = 2,   // an outside buffer whose pixels change between renders
};

// One picture or movie input of a document.
struct KVinputSlot
{
  KVfileSpec file;          // also the slot's display name ("Default" for the default picture)
  GWorldRec* picture;       // the picture or current movie frame; null when none
  MovieInputWork movie;     // the slot's movie; for a picture its bounds and file type
  uint8_t movieOpen;        // a movie is open
  uint8_t movieMultiFrame;  // the movie has more than one frame
  uint32_t startValue;      // start of the movie in movie frames
  uint8_t nativeSize;       // 1: a picture keeps its own size
  uint8_t movieOption;      // 0..3
  uint8_t movieMode;        // 0..15: how the movie follows the animation time
  uint8_t movieHold;        // the frame follows the animation only on forced updates
  uint8_t sourceKind;       // kInputOwnFile, kInputFixedBuffer or kInputLiveBuffer
  uint8_t inUse;            // set and cleared by the input counting
};

// One keyframe: its camera and palette. The parameters of a key live in the
// components (gfunc::keyframes).
struct KVkeyframe
{
  uint16_t inUse;           // 0: empty
  uint16_t componentCount;  // components whose parameters the key received
  double cameraX;           // view centre
  double cameraY;
  double halfSize;  // view half-size, the camera scale
  cpalette palette;
};

// Animation modes (KVanimation::mode).
enum : int16_t
{
  kAnimTimeRandom = 0,
  kAnimKeysClamped = 1,
  kAnimKeysLooping = 2,
};

// The animation block of a document.
struct KVanimation
{
  int16_t selectedKey;  // the key the editing operations act on, 0..15
  int16_t keyCount;     // 0..16
  KVkeyframe keys[16];
  AccessPix* icons[16];    // 32 x 32 previews, made on demand
  int16_t modeInProgress;  // cleared when a file is read
  int16_t mode;            // kAnimTimeRandom, kAnimKeysClamped or kAnimKeysLooping
  uint8_t straightMoves;   // straight camera moves with geometric zoom
  uint8_t cameraPath;      // the camera moves at constant speed along its path
  uint8_t easing;          // 0 linear, 1 square root, 2 square, 3 smoothstep
  uint8_t randomDrift;     // parameters and camera follow their targets smoothly
  int32_t length;          // frames, at least 10
  double frameRate;        // frames per second, at least 1.0
  double pathLength;       // total camera path length
  double cameraX;          // current camera: centre and half-size
  double cameraY;
  double cameraHalfSize;
  double t;             // normalised time
  double frame;         // current frame
  double pathPosition;  // camera-path search state
  double pathDistance;
  double timeRandomOffset;  // time-random offset (the period is sfuncSystem::animPeriod)
};

// Document settings that the tree file carries beside the animation block.
struct KVmovieSettings
{
  uint8_t soundPathStraight;   // the sound path is a sweep along x, not a circle
  uint8_t soundTree;           // 1: a sound tree (its file's sound flag is 1)
  uint8_t documentByte;        // kept unchanged through files
  uint16_t outputChannels[4];  // channel counts of the first four outputs
};
