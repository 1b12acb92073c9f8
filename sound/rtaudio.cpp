#include "sound/rtaudio.h"

#include <algorithm>
#include <cstring>

#include "foundation/appshell.h"
#include "foundation/numbers.h"
#include "foundation/pstrings.h"
#include "sound/audiofiles.h"
#include "sound/samples.h"

double gSAMPLERATE = 44100.0;
RTinfos gRTEffect;

namespace {

// How long RT_idleplay_Stop waits for the last buffer's fade.
constexpr uint32_t kStopWaitTicks = 1000;
constexpr int32_t kStopCommand = int32_t(fourcc("stop"));

uint32_t sampleRateFrames()
{
  return uint32_t(gSAMPLERATE);
}

// The device callback of an initialised unit: its renderer, or silence when
// no fill procedure was installed.
void unitCallback(float* samples, int32_t frames, void* user)
{
  auto* unit = static_cast<RToutputUnit*>(user);
  if (unit->renderer && frames > 0)
    unit->renderer(unit->refCon, samples, uint32_t(frames));
  else
    std::fill_n(samples, size_t(std::max(frames, 0)) * size_t(unit->channels), 0.0f);
}

void closeUnitStream(AudioUnit unit)
{
  if (unit && unit->stream) {
    kvaudio::closeStream(unit->stream);
    unit->stream = nullptr;
  }
}

void wakeTask(RTinfos* rt)
{
  rt->wake.fetch_add(1, std::memory_order_release);
  rt->wake.notify_all();
}

void joinTask(RTinfos* rt)
{
  if (rt->task.joinable() && rt->task.get_id() != std::this_thread::get_id())
    rt->task.join();
}

float* slotAt(RTinfos* rt, int32_t index)
{
  return rt->ringMemory + size_t(index % rt->slotCount) * rt->samplesPerFill;
}

void runPostProc(RTinfos* rt, float* buffer)
{
  if (rt->postProc)
    rt->postProc(rt, buffer, rt->framesPerFill);
}

// Takes the next filled slot into `to` when the ring holds one; wakes the
// task, which may fill again.
bool takeSlot(RTinfos* rt, float* to)
{
  const int32_t read = rt->readIndex.load(std::memory_order_relaxed);
  if (read >= rt->writeIndex.load(std::memory_order_acquire))
    return false;
  float* slot = slotAt(rt, read);
  runPostProc(rt, slot);
  std::copy_n(slot, rt->samplesPerFill, to);
  rt->readIndex.store(read + 1, std::memory_order_release);
  wakeTask(rt);
  return true;
}

// Delivers `frames` frames from mixBuffer, refilling it every framesPerFill
// frames by `refill`; mixCounter carries the phase across callbacks.
template <typename Refill>
void deliverMixed(RTinfos* rt, float* buffer, uint32_t frames, Refill refill)
{
  const uint32_t channels = rt->channels;
  for (uint32_t i = 0; i < frames; ++i) {
    const uint32_t k = rt->mixCounter % rt->framesPerFill;
    if (k == 0)
      refill();
    std::copy_n(rt->mixBuffer + size_t(k) * channels, channels, buffer + size_t(i) * channels);
    ++rt->mixCounter;
  }
}

void fadeOutAndFinish(RTinfos* rt, float* buffer, uint32_t frames)
{
  rt->done.store(1, std::memory_order_release);
  FadeOut_ESound(buffer, double(frames) * rt->channels);
}

bool pastLimit(const RTinfos* rt)
{
  return !rt->endless && rt->position.load(std::memory_order_acquire) >= rt->limit;
}

void setBufferFrames(AudioUnit unit, uint32_t frames)
{
  if (unit)
    unit->bufferFrames = std::clamp<uint32_t>(frames, 1, kRTdefaultFrames);
}

}  // namespace

int16_t CreateDefaultAU(AudioUnit* out)
{
  *out = new (std::nothrow) RToutputUnit;
  return *out ? 1 : 0;
}

void RT_kill(RTinfos* rt)
{
  if (rt->running.load())
    DefaultAU_Stop(rt);
  joinTask(rt);
  closeUnitStream(rt->outputUnit);
  delete rt->outputUnit;
  rt->outputUnit = nullptr;
}

void RT_init(RTinfos* rt, void* workBlock, AudioDeviceID* device)
{
  if (!rt->outputUnit && !CreateDefaultAU(&rt->outputUnit)) {
    do_AlertUser_dlog(1059, 8, nullptr);
    ExitToShell();
  }
  if (device && *device != 0) {
    RTdeviceList list;
    BuildOutputDeviceList(&list);
    if (!std::count(list.ids, list.ids + list.count, *device))
      *device = 0;
  }
  DefaultAU_Infos(rt->outputUnit, 0, device);
  rt->ringMode = 0;
  rt->accumulatorA = rt->accumulatorB = 0;
  rt->flagA = 0;
  rt->recording = 0;
  rt->framesPerFill = kRTdefaultFrames;
  rt->samplesPerFill = kRTdefaultFrames;
  rt->fillProc = nullptr;
  rt->postProc = nullptr;
  rt->running = 0;
  rt->channels = 2;
  auto* block = static_cast<uint8_t*>(workBlock);
  rt->mixBuffer = reinterpret_cast<float*>(block);
  rt->crossfadeArea = reinterpret_cast<float*>(block + kRTcrossfadeOffset);
  rt->ringMemory = reinterpret_cast<float*>(block + kRTringOffset);
}

int16_t DefaultAU_Infos(AudioUnit unit, uint32_t, AudioDeviceID* device)
{
  if (device && *device != 0)
    unit->device = *device;
  else if (device)
    *device = unit->device;
  setBufferFrames(unit, kRTdefaultFrames);
  return 1;
}

uint32_t DefaultAU_SetBufferSize(AudioUnit unit, uint32_t frames)
{
  setBufferFrames(unit, frames);
  return frames;
}

void DefaultAU_SetOutput(AudioUnit unit, AudioDeviceID device)
{
  if (unit)
    unit->device = device;
}

int32_t DefaultAU_SendSampleRate(AudioUnit unit, double rate)
{
  if (!unit)
    return -1;
  // The device stream asks for this rate; SDL converts for the device.
  unit->nominalRate = rate;
  return 0;
}

int32_t DefaultAU_Prepare(AudioUnit unit, double rate, int16_t channels)
{
  if (!unit)
    return -1;
  closeUnitStream(unit);
  RTinfos* rt = &gRTEffect;
  const bool hasFill = rt->fillProc != nullptr;
  unit->renderer = hasFill ? (rt->ringMode ? MyMixRenderer : MyFloatRenderer) : nullptr;
  unit->refCon = hasFill ? rt : nullptr;
  unit->channels = channels >= 2 ? 2 : 1;
  kvaudio::StreamRequest request;
  request.rate = int32_t(rate);
  request.channels = unit->channels;
  request.framesPerCallback = int32_t(unit->bufferFrames);
  request.device = unit->device;
  request.callback = unitCallback;
  request.user = unit;
  unit->stream = kvaudio::openStream(request);
  if (!unit->stream) {
    reportText(reinterpret_cast<ConstStringPtr>("\031AudioUnitInitialize error"), -1);
    return -1;
  }
  return 0;
}

void RT_idleplay_Start(RTfillProc fillProc, void* fillContext, int16_t stereo, uint32_t limit,
                       uint32_t frames, uint8_t ringSlots, uint8_t endless)
{
  RTinfos* rt = &gRTEffect;
  if (rt->running.load())
    RT_idleplay_Stop();
  joinTask(rt);
  rt->ringMode = ringSlots != 0;
  rt->slotCount = ringSlots > 1 ? std::min<int32_t>(ringSlots, 4) : 2;
  rt->accumulatorA = rt->accumulatorB = 0;
  rt->fillProc = fillProc;
  rt->fillContext = fillContext;
  rt->channels = stereo > 0 ? 2 : 1;
  frames = std::clamp<uint32_t>(frames, 1, kRTmaxFramesPerFill);
  setBufferFrames(rt->outputUnit, std::min(frames, kRTdefaultFrames));
  if (DefaultAU_Prepare(rt->outputUnit, double(sampleRateFrames()), int16_t(rt->channels)) != 0) {
    rt->stop = 1;
    closeUnitStream(rt->outputUnit);
    rt->running = 0;
    return;
  }
  rt->framesPerFill = frames;
  rt->samplesPerFill = frames * rt->channels;
  rt->stop = 0;
  RT_start(rt, rt->outputUnit, limit, endless);
}

void RT_start(RTinfos* rt, AudioUnit unit, uint32_t limit, uint8_t endless)
{
  rt->position = 0;
  rt->limit = limit;
  rt->done = 0;
  rt->endless = endless;
  rt->mixCounter = 0;
  rt->fillProc(rt, nullptr, rt->framesPerFill);
  if (rt->ringMode) {
    rt->writeIndex = 0;
    rt->readIndex = 0;
    rt->fillProc(rt, slotAt(rt, 0), rt->framesPerFill);
    rt->writeIndex = 1;
    rt->fillProc(rt, slotAt(rt, 1), rt->framesPerFill);
    rt->writeIndex = 2;
    rt->task = std::thread(RTimerTask, rt);
  }
  if (unit && unit->stream) {
    kvaudio::startStream(unit->stream);
    rt->running = 1;
    return;
  }
  rt->running = 0;
  rt->done = 1;
  rt->ringMode = 0;
  wakeTask(rt);
  joinTask(rt);
  closeUnitStream(unit);
}

void RTimerTask(RTinfos* rt)
{
  const uint32_t drainAfter = sampleRateFrames() + rt->limit;
  while (rt->ringMode.load(std::memory_order_acquire)) {
    const uint32_t seen = rt->wake.load(std::memory_order_acquire);
    if (rt->stop.load(std::memory_order_acquire))
      return;
    const int32_t written = rt->writeIndex.load(std::memory_order_relaxed);
    const int32_t read = rt->readIndex.load(std::memory_order_acquire);
    if (!rt->endless && rt->position.load(std::memory_order_relaxed) > drainAfter) {
      // One second past the limit: stop filling, end once the ring drains.
      if (read >= written) {
        rt->stop.store(1, std::memory_order_release);
        return;
      }
    } else if (written - read < rt->slotCount) {
      rt->fillProc(rt, slotAt(rt, written), rt->framesPerFill);
      rt->writeIndex.store(written + 1, std::memory_order_release);
      continue;
    }
    // Full ring, or draining: sleep until the callback takes a slot or the
    // play ends.
    rt->wake.wait(seen, std::memory_order_acquire);
  }
}

void MyFloatRenderer(RTinfos* rt, float* buffer, uint32_t frames)
{
  if (frames == rt->framesPerFill) {
    rt->fillProc(rt, buffer, rt->framesPerFill);
    runPostProc(rt, buffer);
  } else {
    // A device that asks for another count is served through mixBuffer.
    deliverMixed(rt, buffer, frames, [rt] {
      rt->fillProc(rt, rt->mixBuffer, rt->framesPerFill);
      runPostProc(rt, rt->mixBuffer);
    });
  }
  if (rt->stop.load(std::memory_order_acquire) || pastLimit(rt))
    fadeOutAndFinish(rt, buffer, frames);
}

void MyMixRenderer(RTinfos* rt, float* buffer, uint32_t frames)
{
  if (frames == rt->framesPerFill) {
    // An empty ring gives silence: the device's buffer is not initialised.
    if (!takeSlot(rt, buffer))
      std::fill_n(buffer, rt->samplesPerFill, 0.0f);
    rt->mixCounter += rt->framesPerFill;
  } else {
    // An empty ring repeats the previous fill.
    deliverMixed(rt, buffer, frames, [rt] { takeSlot(rt, rt->mixBuffer); });
  }
  if (rt->stop.load(std::memory_order_acquire))
    fadeOutAndFinish(rt, buffer, frames);
  // Recording the output: the file's writer thread takes the frames.
  if (rt->recordToFile && rt->audioFile)
    xWriteAccess_SoundFile(rt->audioFile, buffer, frames, &rt->bytesRecorded);
}

bool RT_idleplay_Stop()
{
  RTinfos* rt = &gRTEffect;
  if (!rt->running.load())
    return false;
  rt->stop = 1;
  wakeTask(rt);
  const uint32_t start = TickCount();
  while (!rt->done.load(std::memory_order_acquire) && TickCount() - start <= kStopWaitTicks)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  DefaultAU_Stop(rt);
  return true;
}

void DefaultAU_Stop(RTinfos* rt)
{
  if (rt->ringMode) {
    rt->ringMode = 0;
    rt->ringFlag2 = 0;
  }
  wakeTask(rt);
  joinTask(rt);
  if (rt->outputUnit && rt->outputUnit->stream)
    kvaudio::stopStream(rt->outputUnit->stream);
  closeUnitStream(rt->outputUnit);
  doDelay(3);
  rt->running = 0;
  if (gAppInfos.commandHandler)
    gAppInfos.commandHandler(kStopCommand, nullptr);
  doDelay(3);
}

void simple_play(RTinfos* rt, float* buffer, uint32_t frames)
{
  if (!buffer) {
    rt->position = 0;
    return;
  }
  const uint32_t channels = rt->channels;
  std::fill_n(buffer, size_t(frames) * channels, 0.0f);
  if (rt->done.load(std::memory_order_acquire))
    return;
  uint32_t position = rt->position.load(std::memory_order_relaxed);
  for (uint32_t i = 0; i < frames; ++i) {
    if (position >= rt->limit) {
      if (!rt->endless || rt->limit == 0)
        break;
      position = 0;
    }
    buffer[size_t(i) * channels] = rt->leftSamples[position];
    if (channels == 2)
      buffer[size_t(i) * 2 + 1] = rt->rightSamples[position];
    ++position;
  }
  // An endless play carries its wrapped position; a bounded one counts every
  // frame, so that the play's end is seen past the limit.
  rt->position.store(rt->endless ? position : rt->position.load(std::memory_order_relaxed) + frames,
                     std::memory_order_release);
}

void BuildOutputDeviceList(RTdeviceList* list)
{
  *list = RTdeviceList{};
  const auto devices = kvaudio::devices(false);
  for (size_t i = 0; i < devices.size() && list->count < kRTmaxDevices; ++i) {
    list->ids[list->count] = AudioDeviceID(i + 1);
    SetPString(list->names[list->count], devices[i].name.substr(0, 254).c_str());
    ++list->count;
  }
}

int32_t BuildInputDeviceList(RTinputDeviceList* list)
{
  *list = RTinputDeviceList{};
  const auto devices = kvaudio::devices(true);
  for (size_t i = 0; i < devices.size() && list->count < kRTmaxDevices; ++i) {
    list->ids[list->count] = AudioDeviceID(i + 1);
    SetPString(list->names[list->count], devices[i].name.substr(0, 254).c_str());
    list->channels[list->count] = int16_t(std::max(devices[i].channels, 1));
    ++list->count;
  }
  return 0;
}

int32_t CountChannels(AudioDeviceID device, uint8_t isInput)
{
  const auto devices = kvaudio::devices(isInput != 0);
  if (device < 1 || size_t(device) > devices.size())
    return 0;
  return devices[size_t(device) - 1].channels;
}

void BuildChannelList(AudioDeviceID, int16_t count, Str255 names[])
{
  for (int16_t channel = 1; channel <= std::min<int16_t>(count, 16); ++channel) {
    SetPString(names[channel - 1], "channel ");
    ConcatNumber(names[channel - 1], channel);
  }
}
