// Real-time audio output: the one record `gRTEffect` that plays sound the
// program computes while it plays. A fill procedure produces float samples;
// either the device callback calls it directly (direct mode) or a ring task
// of ours keeps two to four filled slots ahead of the callback (ring mode).
// The browser's tree sound plays in ring mode with 3 slots of 2048 frames.
//
// Threads: the main thread starts, stops and sets; the device callback
// (platform/audio) renders; in ring mode the ring task fills. Every field two
// threads share is atomic with one writer at a time: `writeIndex` only the
// task (and RT_start before it exists), `readIndex` only the callback (and
// RT_start before the device starts), `done` only the callback, `position`
// only the fill procedure. The task sleeps while the ring is full and the
// callback wakes it; nothing allocates or locks on the callback's thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <thread>

#include "foundation/types.h"
#include "platform/audio.h"
#include "sound/audioformat.h"

// The program's sample rate, 44,100 Hz once the sound starts.
extern double gSAMPLERATE;

struct RTinfos;
// Writes `frames` frames (interleaved when stereo) into `buffer`; a null
// buffer means: rewind to the start.
using RTfillProc = void (*)(RTinfos* rt, float* buffer, uint32_t frames);

// A render callback of an output unit: fills `frames` frames of `buffer`.
using RTrenderProc = void (*)(RTinfos* rt, float* buffer, uint32_t frames);

// An output unit: the device choice and buffer size it keeps between plays,
// and the device stream opened while it is initialised.
struct RToutputUnit
{
  int32_t device = 0;            // 1-based index in the output device list; 0 default
  uint32_t bufferFrames = 1024;  // frames per device callback asked for
  double nominalRate = 44100.0;
  RTrenderProc renderer = nullptr;
  RTinfos* refCon = nullptr;
  int16_t channels = 2;
  kvaudio::Stream* stream = nullptr;  // non-null while initialised
};
using AudioUnit = RToutputUnit*;
using AudioDeviceID = int32_t;

inline constexpr uint32_t kRTdefaultFrames = 1024;
// The largest fill a play may ask for: the ring area holds 4 slots of it in
// stereo.
inline constexpr uint32_t kRTmaxFramesPerFill = 2048;
inline constexpr size_t kRTcrossfadeOffset = 128 * 1024;
inline constexpr size_t kRTringOffset = 256 * 1024;
// The work block: three areas at 0, 128 KB and 256 KB, the ring area large
// enough for 4 slots of kRTmaxFramesPerFill stereo frames.
inline constexpr size_t kRTworkBlockSize =
    kRTringOffset + 4 * kRTmaxFramesPerFill * 2 * sizeof(float);

struct RTinfos
{
  std::thread task;  // the ring task of the current play
  AudioUnit outputUnit = nullptr;
  std::atomic<uint32_t> position{0};  // frames the fill procedure produced in this play
  uint32_t limit = 0;                 // frames to play
  uint32_t framesPerFill = kRTdefaultFrames;
  uint32_t samplesPerFill = kRTdefaultFrames;
  uint32_t channels = 2;
  std::atomic<int32_t> readIndex{0};   // slots consumed by the callback
  std::atomic<int32_t> writeIndex{0};  // slots filled by the task
  int32_t slotCount = 2;
  float* mixBuffer = nullptr;      // one fill, for callbacks of another size
  float* crossfadeArea = nullptr;  // 128 KB the tree sound crossfades in
  float* ringMemory = nullptr;     // slot i at ringMemory + i x samplesPerFill
  float* leftSamples = nullptr;    // simple_play's sources
  float* rightSamples = nullptr;
  void* fillContext = nullptr;
  RTfillProc fillProc = nullptr;
  RTfillProc postProc = nullptr;  // optional hook after each fill; none installed here
  double accumulatorA = 0;
  double accumulatorB = 0;
  uint32_t lastFramesRead = 0;
  uint32_t fileStartFrame = 0;
  uint32_t bytesRecorded = 0;
  uint32_t mixCounter = 0;  // frames delivered since the start (the mix phase)
  uint16_t ringFlag2 = 0;
  std::atomic<uint16_t> stop{0};
  std::atomic<uint16_t> done{0};
  std::atomic<uint16_t> running{0};
  uint16_t asyncWrite = 0;
  uint8_t endless = 0;
  std::atomic<uint8_t> ringMode{0};
  uint8_t flagA = 0;
  uint8_t recordToFile = 0;
  uint8_t recording = 0;
  // Raised by the callback after each slot it takes and by the main thread
  // when it ends the play: the sleeping ring task waits on it.
  std::atomic<uint32_t> wake{0};

  // Audio files: the disk play source or the record target, its format, and
  // the buffer the disk fill reads into.
  AudioStreamBasicDescription recordFormat;
  AudioBufferList* currentBufferList = nullptr;
  ExtAudioFileRef audioFile = nullptr;
};

extern RTinfos gRTEffect;

// Opens the output unit and sets the defaults; the work block (at least
// kRTworkBlockSize bytes) holds the three work areas. `device` may be null; a
// requested device (non-zero) not in the output list is ignored and the
// device in use is written back.
void RT_init(RTinfos* rt, void* workBlock, AudioDeviceID* device);
// Starts a play on gRTEffect: stereo > 0 two channels; ringSlots 0 direct
// mode, 1 or 2 a ring of 2, 3, 4 or more 4; limit and frames in frames
// (frames held to 1..kRTmaxFramesPerFill).
void RT_idleplay_Start(RTfillProc fillProc, void* fillContext, int16_t stereo, uint32_t limit,
                       uint32_t frames, uint8_t ringSlots, uint8_t endless);
// Ends the play if one runs (waiting for its fade, at most 1000 ticks);
// whether one was running.
bool RT_idleplay_Stop();
void RT_start(RTinfos* rt, AudioUnit unit, uint32_t limit, uint8_t endless);
void RTimerTask(RTinfos* rt);

// Output units.
int32_t DefaultAU_Prepare(AudioUnit unit, double rate, int16_t channels);
void DefaultAU_Stop(RTinfos* rt);
int32_t DefaultAU_SendSampleRate(AudioUnit unit, double rate);
uint32_t DefaultAU_SetBufferSize(AudioUnit unit, uint32_t frames);
void DefaultAU_SetOutput(AudioUnit unit, AudioDeviceID device);
int16_t DefaultAU_Infos(AudioUnit unit, uint32_t ignored, AudioDeviceID* device);
int16_t CreateDefaultAU(AudioUnit* out);
void RT_kill(RTinfos* rt);

// The render callbacks: direct mode and ring mode.
void MyFloatRenderer(RTinfos* rt, float* buffer, uint32_t frames);
void MyMixRenderer(RTinfos* rt, float* buffer, uint32_t frames);

// Plays leftSamples (and rightSamples when stereo) from position to limit.
void simple_play(RTinfos* rt, float* buffer, uint32_t frames);

// Device lists: at most 8 devices, names as Pascal strings.
inline constexpr int kRTmaxDevices = 8;
struct RTdeviceList
{
  uint32_t count = 0;
  AudioDeviceID ids[kRTmaxDevices] = {};
  Str255 names[kRTmaxDevices] = {};
};
struct RTinputDeviceList : RTdeviceList
{
  int16_t channels[kRTmaxDevices] = {};
};
void BuildOutputDeviceList(RTdeviceList* list);
int32_t BuildInputDeviceList(RTinputDeviceList* list);
int32_t CountChannels(AudioDeviceID device, uint8_t isInput);
// Names channels 1..count (at most 16) "channel N": the drivers name none.
void BuildChannelList(AudioDeviceID device, int16_t count, Str255 names[]);
