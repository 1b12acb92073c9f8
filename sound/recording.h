// Sound recording and octave-band analysis on the capture device. The
// real-time record's unit (gRTEffect.outputUnit) is switched to input: its
// output stream is closed and a capture stream opened on the chosen input
// device. Each capture callback hands the device's frames, 1024 at most at a
// time, to the settings block's input callback, which pulls them into the
// block's buffers (DefaultAU_Record_Render: the client format and the
// channel map pick the channels) and either appends them to a new audio file
// (SoundFile_RECORD) or measures eight octave bands (doSoundRecord_Start).
//
// Threads: the main thread sets up, starts and stops; the input callbacks
// run on the audio thread and neither allocate nor lock. The band results
// are published under a sequence counter: doSoundRecord_ReadBands always
// returns one callback's complete set.
#pragma once

#include <atomic>
#include <cstdint>

#include "sound/audioformat.h"
#include "sound/rtaudio.h"

struct soundDocInfos;

inline constexpr int kRecordMapChannels = 16;
// Frames one input callback handles: the device's frames come in pieces of
// at most this many.
inline constexpr uint32_t kRecordFrames = 1024;

// An input callback: `frames` frames (at most kRecordFrames) have come;
// refCon is the settings block.
using RecordInputProc = void (*)(void* refCon, uint32_t frames);

// The buffers the recorded frames are pulled into: one buffer per channel
// (non-interleaved client format) or one interleaved buffer.
struct RecordBuffers
{
  uint32_t count = 0;  // 1 or 2
  AudioBufferList buffer[2];
};

// The record settings block.
struct RecordSettings
{
  uint32_t startArg = 0;  // the analysis keeps its third start argument here
  // Device channel of each client channel; -1: silence.
  int32_t channelMap[kRecordMapChannels] = {};
  AudioDeviceID device = 0;            // 1-based in the input device list; 0 the default device
  uint32_t stereo = 0;                 // 1: two channels asked for
  AudioStreamBasicDescription format;  // the client format of the recorded frames
  RecordBuffers buffers;
  RecordInputProc inputProc = nullptr;
  void* inputRefCon = nullptr;
};

// The analysis record: the band results of the last callback, the running
// flag, the settings block and two buffers of 1024 samples (one after the
// other, so that 1024 interleaved stereo frames fill both).
struct SoundAnalysisRecord
{
  std::atomic<double> bands[16];
  double spare[4] = {};  // cleared at every start
  std::atomic<uint32_t> running{0};
  // Odd while the audio thread writes the bands; + 2 for each set written.
  std::atomic<uint32_t> bandsSequence{0};
  RecordSettings settings;
  float samples[2][kRecordFrames] = {};
};

extern SoundAnalysisRecord* gAnalysisPeek;

// ---- The unit on the input side ------------------------------------------------

// Every map entry -1, then entries 0 and 1 to channels 0 and 1.
void Record_Init(RecordSettings* block);
// Switches the unit to the block's input device: a play in progress ends,
// the output stream closes, the capture stream opens (stopped) on the
// device (0: the default one; one not in the input list: alert 1059 string
// 10) and must be alive (alert 11), the rate is sent (alert 12), the input
// callback installed; a mono device makes the client format float mono, a
// device of two or more channels float stereo interleaved in one buffer,
// its channels picked by the block's map. 0, or -1 after the alert. No unit:
// alert 1059 string 8 and -1, nothing records. withInput: the output side
// is closed whatever it says (the unit has one stream).
int32_t DefaultAU_Record_Setup(AudioUnit unit, RecordSettings* block, uint32_t frames,
                               uint16_t withInput);
// Closes the capture stream; the unit plays again (on outputDevice when it
// is not 0).
void DefaultAU_Record_Stop(AudioUnit unit, AudioDeviceID outputDevice);
// The capture device's channels (at most 16); 2 when no capture stream is open.
void DefaultAU_Record_Numchannels(AudioUnit unit, uint32_t* channels);
// On the audio thread, inside an input callback: pulls `frames` frames of
// the device into the block's buffers in its client format, picking the
// channels by its map and holding every write to the buffers' byte sizes.
// The frames rendered; 0 outside a callback.
uint32_t DefaultAU_Record_Render(RecordSettings* block, uint32_t frames);

// ---- Recording to a file ------------------------------------------------------------

// Records into a new file of the record's type ("Untitled", asked with the
// save dialog; asynchronous appends): 0 once recording, -1 when the device,
// the unit (alert 1059 string 4) or the file fail.
int32_t SoundFile_RECORD(RecordSettings* block, soundDocInfos* record);
// Ends the recording: the capture closes (the unit plays again, on
// outputDevice when it is not 0), then the file, its queued appends written.
void SoundFile_RECORD_Stop(AudioDeviceID outputDevice);
void MyRecordToFile(void* refCon, uint32_t frames);

// ---- Analysis ------------------------------------------------------------------------

// Makes the analysis record once (from the memory pool); 1.
int16_t initSoundRecord();
// The pool bytes initSoundRecord takes.
size_t SoundRecord_PoolSize();
// Starts the analysis of device channels first and first + 1: 0, or the
// error of the set-up (-1 without analysis record or unit).
int32_t doSoundRecord_Start(AudioDeviceID device, int16_t firstChannel, int16_t arg);
// Ends the analysis; a recording's capture is left alone.
void doSoundRecord_stop();
void MyRecordAnalysis(void* refCon, uint32_t frames);
// One complete set of the last band results (zeros before any); the
// callbacks analysed since the start go into *analysed when given.
void doSoundRecord_ReadBands(double out[16], uint32_t* analysed);
