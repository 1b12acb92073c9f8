#include "sound/recording.h"

#include <algorithm>
#include <new>
#include <thread>

#include "foundation/appshell.h"
#include "foundation/checked.h"
#include "foundation/mempool.h"
#include "foundation/pstrings.h"
#include "sound/audiofiles.h"
#include "sound/bands.h"
#include "sound/samples.h"

SoundAnalysisRecord* gAnalysisPeek = nullptr;

namespace {

constexpr int16_t kAlertDialog = 1059;
constexpr int16_t kNoUnitString = 8, kUnitInitString = 4, kDeviceRefusedString = 10,
                  kDeviceDeadString = 11, kRateRefusedString = 12;
// Where two separate channels are interleaved before they are analysed or
// appended: 8192 bytes into the mix buffer, past the two recording buffers.
constexpr size_t kInterleaveOffset = 2 * kRecordFrames;
constexpr int kBandReadAttempts = 100000;

// The capture in progress: the block whose callback the device calls, its
// stream, and the device's frames of the piece being handed over. One unit
// captures at a time. block, stream and channels are set by the main thread
// while no callback runs; frames and available only on the audio thread.
struct CaptureContext
{
  RecordSettings* block = nullptr;
  kvaudio::Stream* stream = nullptr;
  int32_t channels = 0;
  const float* frames = nullptr;
  uint32_t available = 0;
};
CaptureContext gCapture;

void alert(int16_t index)
{
  do_AlertUser_dlog(kAlertDialog, index, nullptr);
}

// Hands the device's frames to the input callback in pieces of at most
// kRecordFrames.
void captureCallback(float* samples, int32_t frames, void* user)
{
  auto* capture = static_cast<CaptureContext*>(user);
  RecordSettings* block = capture->block;
  if (!block || !block->inputProc || frames <= 0)
    return;
  for (int32_t offset = 0; offset < frames; offset += int32_t(kRecordFrames)) {
    const uint32_t piece = std::min(uint32_t(frames - offset), kRecordFrames);
    capture->frames = samples + size_t(offset) * size_t(capture->channels);
    capture->available = piece;
    block->inputProc(block->inputRefCon, piece);
  }
  capture->frames = nullptr;
  capture->available = 0;
}

void closeCapture(AudioUnit unit)
{
  if (gCapture.stream) {
    kvaudio::closeStream(gCapture.stream);
    if (unit && unit->stream == gCapture.stream)
      unit->stream = nullptr;
  }
  gCapture = CaptureContext{};
}

// The channel count the null and manual stand-ins deliver: the device's
// listed count, else 2.
int32_t fallbackChannels(AudioDeviceID device)
{
  const int32_t listed = device != 0 ? CountChannels(device, 1) : 0;
  return listed >= 1 && listed <= 8 ? listed : 2;
}

bool isListedInputDevice(AudioDeviceID device)
{
  RTinputDeviceList list;
  BuildInputDeviceList(&list);
  return std::count(list.ids, list.ids + list.count, device) > 0;
}

// The device channel that client channel c reads; -1 for silence.
int32_t deviceChannelFor(const RecordSettings* block, uint32_t c)
{
  if (gCapture.channels == 1)
    return c == 0 ? 0 : -1;
  return c < uint32_t(kRecordMapChannels) ? block->channelMap[c] : -1;
}

float capturedSample(uint32_t frame, int32_t channel)
{
  if (channel < 0 || channel >= gCapture.channels)
    return 0.0f;
  return gCapture.frames[size_t(frame) * size_t(gCapture.channels) + size_t(channel)];
}

bool isSplitStereo(const AudioStreamBasicDescription& format)
{
  return format.channelsPerFrame == 2 && (format.formatFlags & kAudioFlagNonInterleaved) != 0;
}

// Two separate channel buffers interleaved into the mix buffer; null when
// there is none.
const float* interleavedPair(const RecordSettings* block, uint32_t frames)
{
  float* dst = gRTEffect.mixBuffer ? gRTEffect.mixBuffer + kInterleaveOffset : nullptr;
  const AudioBufferList* b = block->buffers.buffer;
  if (!dst || !b[0].data || !b[1].data)
    return nullptr;
  Stereo_Interleave(b[0].data, b[1].data, dst, int32_t(frames));
  return dst;
}

void publishBands(SoundAnalysisRecord* rec, const double bands[16])
{
  const uint32_t sequence = rec->bandsSequence.load(std::memory_order_relaxed);
  // The odd count goes first; each value is a release store, so a reader
  // that sees one of them also sees the odd count (no fences, which the
  // thread sanitizer cannot follow).
  rec->bandsSequence.store(sequence + 1, std::memory_order_relaxed);
  for (int k = 0; k < 16; ++k)
    rec->bands[k].store(bands[k], std::memory_order_release);
  rec->bandsSequence.store(sequence + 2, std::memory_order_release);
}

void setClientFormat(RecordSettings* block, uint32_t frames)
{
  if (gCapture.channels == 1) {
    SetAudioFormat(&block->format, 4, 0, gSAMPLERATE);
    return;
  }
  // The device's frames come interleaved: the client takes two of its
  // channels, interleaved in the first buffer.
  SetAudioFormat(&block->format, 4, 2, gSAMPLERATE);
  block->buffers.count = 1;
  block->buffers.buffer[0].channels = 2;
  block->buffers.buffer[0].dataByteSize = frames * block->format.bytesPerFrame;
}

}  // namespace

// ---- The unit on the input side ------------------------------------------------

void Record_Init(RecordSettings* block)
{
  std::fill(std::begin(block->channelMap), std::end(block->channelMap), -1);
  block->channelMap[0] = 0;
  block->channelMap[1] = 1;
}

int32_t DefaultAU_Record_Setup(AudioUnit unit, RecordSettings* block, uint32_t frames, uint16_t)
{
  if (!unit || !block) {
    alert(kNoUnitString);
    return -1;
  }
  // The unit has one stream: a play ends, the output closes.
  if (gRTEffect.outputUnit == unit && gRTEffect.running.load() && !gRTEffect.recording)
    RT_idleplay_Stop();
  closeCapture(unit);
  if (unit->stream) {
    kvaudio::closeStream(unit->stream);
    unit->stream = nullptr;
  }
  if (block->device != 0 && !isListedInputDevice(block->device)) {
    alert(kDeviceRefusedString);
    return -1;
  }
  frames = std::clamp<uint32_t>(frames, 1, kRecordFrames);
  kvaudio::StreamRequest request;
  request.capture = true;
  request.deviceChannels = true;
  request.channels = fallbackChannels(block->device);
  request.rate = std::max(kvnum::sat_i32(gSAMPLERATE), 1);
  request.framesPerCallback = int32_t(frames);
  request.device = block->device;
  request.callback = captureCallback;
  request.user = &gCapture;
  gCapture.stream = kvaudio::openStream(request);
  unit->stream = gCapture.stream;
  if (!gCapture.stream || !kvaudio::isStreamDeviceAlive(gCapture.stream)) {
    alert(kDeviceDeadString);
    closeCapture(unit);
    return -1;
  }
  if (DefaultAU_SendSampleRate(unit, double(request.rate)) != 0) {
    alert(kRateRefusedString);
    closeCapture(unit);
    return -1;
  }
  DefaultAU_SetBufferSize(unit, frames);
  gCapture.channels = kvaudio::streamChannels(gCapture.stream);
  setClientFormat(block, frames);
  gCapture.block = block;
  return 0;
}

void DefaultAU_Record_Stop(AudioUnit unit, AudioDeviceID outputDevice)
{
  closeCapture(unit);
  if (!unit) {
    alert(kNoUnitString);
    return;
  }
  if (outputDevice != 0)
    DefaultAU_SetOutput(unit, outputDevice);
}

void DefaultAU_Record_Numchannels(AudioUnit unit, uint32_t* channels)
{
  if (!channels)
    return;
  const bool open = unit && gCapture.stream && unit->stream == gCapture.stream;
  *channels =
      open ? uint32_t(std::clamp(kvaudio::streamChannels(gCapture.stream), 1, kRecordMapChannels))
           : 2;
}

uint32_t DefaultAU_Record_Render(RecordSettings* block, uint32_t frames)
{
  if (!block || !gCapture.frames)
    return 0;
  const uint32_t n = std::min(frames, gCapture.available);
  const AudioStreamBasicDescription& format = block->format;
  const uint32_t clientChannels = std::clamp<uint32_t>(format.channelsPerFrame, 1, 2);
  const uint32_t buffers = std::min<uint32_t>(block->buffers.count, 2);
  if (format.formatFlags & kAudioFlagNonInterleaved) {
    for (uint32_t c = 0; c < std::min(clientChannels, buffers); ++c) {
      const AudioBufferList& b = block->buffers.buffer[c];
      const uint32_t fit = b.data ? std::min<uint32_t>(n, b.dataByteSize / sizeof(float)) : 0;
      const int32_t channel = deviceChannelFor(block, c);
      for (uint32_t f = 0; f < fit; ++f)
        b.data[f] = capturedSample(f, channel);
    }
    return n;
  }
  const AudioBufferList& b = block->buffers.buffer[0];
  if (buffers == 0 || !b.data)
    return n;
  const uint32_t fit =
      std::min<uint32_t>(n, b.dataByteSize / uint32_t(sizeof(float) * clientChannels));
  for (uint32_t c = 0; c < clientChannels; ++c) {
    const int32_t channel = deviceChannelFor(block, c);
    for (uint32_t f = 0; f < fit; ++f)
      b.data[size_t(f) * clientChannels + c] = capturedSample(f, channel);
  }
  return n;
}

// ---- Recording to a file ------------------------------------------------------------

void MyRecordToFile(void* refCon, uint32_t frames)
{
  auto* block = static_cast<RecordSettings*>(refCon);
  RTinfos* rt = &gRTEffect;
  const uint32_t n = DefaultAU_Record_Render(block, frames);
  if (n == 0)
    return;
  const float* samples =
      isSplitStereo(block->format) ? interleavedPair(block, n) : block->buffers.buffer[0].data;
  if (samples && rt->audioFile)
    xWriteAccess_SoundFile(rt->audioFile, samples, n, &rt->bytesRecorded);
  rt->position.fetch_add(n, std::memory_order_relaxed);
}

int32_t SoundFile_RECORD(RecordSettings* block, soundDocInfos* record)
{
  RTinfos* rt = &gRTEffect;
  if (!block || !record || !rt->mixBuffer)
    return -1;
  SetPString(record->name, "Untitled");
  SetAudioFormat(&block->format, 4, block->stereo ? 1 : 0, gSAMPLERATE);
  const uint32_t bufferBytes = block->format.bytesPerFrame * kRecordFrames;
  block->buffers.count = 2;
  block->buffers.buffer[0] = AudioBufferList{rt->mixBuffer, bufferBytes, 1};
  block->buffers.buffer[1] = AudioBufferList{rt->mixBuffer + kRecordFrames, bufferBytes, 1};
  block->inputProc = MyRecordToFile;
  block->inputRefCon = block;
  rt->framesPerFill = kRecordFrames;
  AudioUnit unit = rt->outputUnit;
  if (DefaultAU_Record_Setup(unit, block, kRecordFrames, 1) != 0)
    return -1;
  record->channels = block->format.channelsPerFrame == 2 ? 2 : 1;
  if (!unit->stream) {
    alert(kUnitInitString);
    DefaultAU_Record_Stop(unit, 0);
    return -1;
  }
  rt->audioFile = xCreateAccess_SoundFile(record, nullptr, 1, 1);
  if (!rt->audioFile) {
    DefaultAU_Record_Stop(unit, 0);
    return -1;
  }
  rt->stop = 0;
  rt->position = 0;
  rt->fillProc = nullptr;
  rt->running = 1;
  rt->recording = 1;
  kvaudio::startStream(unit->stream);
  return 0;
}

void SoundFile_RECORD_Stop(AudioDeviceID outputDevice)
{
  RTinfos* rt = &gRTEffect;
  // The capture closes (and its callbacks end) before the file does.
  if (rt->recording)
    DefaultAU_Record_Stop(rt->outputUnit, outputDevice);
  xCloseAccess_SoundFile(nullptr, &rt->audioFile);
  rt->running = 0;
  rt->recording = 0;
}

// ---- Analysis ------------------------------------------------------------------------

size_t SoundRecord_PoolSize()
{
  return MemPoolStep(sizeof(SoundAnalysisRecord));
}

int16_t initSoundRecord()
{
  if (!gAnalysisPeek) {
    void* block = AddMemObject(&gMemPool, int32_t(sizeof(SoundAnalysisRecord)));
    gAnalysisPeek = new (block) SoundAnalysisRecord;
    Record_Init(&gAnalysisPeek->settings);
  }
  return 1;
}

int32_t doSoundRecord_Start(AudioDeviceID device, int16_t firstChannel, int16_t arg)
{
  SoundAnalysisRecord* rec = gAnalysisPeek;
  AudioUnit unit = gRTEffect.outputUnit;
  if (!rec || !unit)
    return -1;
  rec->running = 0;
  std::fill(std::begin(rec->spare), std::end(rec->spare), 0.0);
  RecordSettings& s = rec->settings;
  s.device = device;
  s.startArg = uint32_t(arg);
  SetAudioFormat(&s.format, 4, 1, gSAMPLERATE);
  s.buffers.count = 2;
  for (int i = 0; i < 2; ++i)
    s.buffers.buffer[i] = AudioBufferList{rec->samples[i], kRecordFrames * sizeof(float), 1};
  for (int i = 0; i < kRecordMapChannels; ++i)
    s.channelMap[i] = i;
  s.channelMap[0] = firstChannel;
  s.channelMap[1] = firstChannel + 1;
  s.inputProc = MyRecordAnalysis;
  s.inputRefCon = &s;
  if (const int32_t err = DefaultAU_Record_Setup(unit, &s, kRecordFrames, 1))
    return err;
  // No callback runs between the set-up and the start.
  rec->bandsSequence.store(0, std::memory_order_relaxed);
  if (!unit->stream)
    return -1;
  kvaudio::startStream(unit->stream);
  rec->running = 1;
  return 0;
}

void doSoundRecord_stop()
{
  SoundAnalysisRecord* rec = gAnalysisPeek;
  if (!rec)
    return;
  AudioUnit unit = gRTEffect.outputUnit;
  rec->running = 0;
  // Only the analysis's own capture closes: a recording goes on.
  if (gCapture.block == &rec->settings)
    DefaultAU_Record_Stop(unit, 0);
}

void MyRecordAnalysis(void* refCon, uint32_t frames)
{
  auto* block = static_cast<RecordSettings*>(refCon);
  SoundAnalysisRecord* rec = gAnalysisPeek;
  const uint32_t n = DefaultAU_Record_Render(block, frames);
  if (n == 0 || !rec)
    return;
  double bands[16];
  if (isSplitStereo(block->format)) {
    const float* pair = interleavedPair(block, n);
    if (!pair)
      return;
    doSoundRecord_OctavesBands(bands, pair, 2);
  } else {
    doSoundRecord_OctavesBands(bands, block->buffers.buffer[0].data,
                               int16_t(block->format.channelsPerFrame == 2 ? 2 : 1));
  }
  publishBands(rec, bands);
}

void doSoundRecord_ReadBands(double out[16], uint32_t* analysed)
{
  std::fill_n(out, 16, 0.0);
  if (analysed)
    *analysed = 0;
  SoundAnalysisRecord* rec = gAnalysisPeek;
  if (!rec)
    return;
  for (int attempt = 0; attempt < kBandReadAttempts; ++attempt) {
    const uint32_t before = rec->bandsSequence.load(std::memory_order_acquire);
    if (before & 1) {
      std::this_thread::yield();
      continue;
    }
    // Acquire loads: the count read after them is ordered after them.
    for (int k = 0; k < 16; ++k)
      out[k] = rec->bands[k].load(std::memory_order_acquire);
    if (rec->bandsSequence.load(std::memory_order_relaxed) == before) {
      if (analysed)
        *analysed = before / 2;
      return;
    }
  }
  std::fill_n(out, 16, 0.0);
}
