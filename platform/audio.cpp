#include "platform/audio.h"

#include <SDL.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>
#include <vector>

namespace kvaudio {

struct Stream
{
  Backend backend = Backend::null;
  StreamRequest request;
  int32_t framesPerCallback = 0;
  SDL_AudioDeviceID device = 0;
  std::atomic<bool> running{false};
  std::thread pacer;           // the null output's thread
  std::vector<float> scratch;  // the null output's samples
};

namespace {

std::mutex gLock;
bool gManual = false;
Stream* gLatestManual = nullptr;
bool gSdlTried = false;
bool gSdlReady = false;
bool gSaidNoOutput = false;

void sayNoOutputOnce(const char* why)
{
  if (gSaidNoOutput)
    return;
  gSaidNoOutput = true;
  std::fprintf(stderr, "kovrelin-browser: no audio output (%s): sound plays silently\n", why);
}

// Starts SDL's audio once; false (said once) when no driver starts.
bool sdlReady()
{
  if (!gSdlTried) {
    gSdlTried = true;
    gSdlReady = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (!gSdlReady)
      sayNoOutputOnce(SDL_GetError());
  }
  return gSdlReady;
}

void sdlCallback(void* user, Uint8* bytes, int length)
{
  auto* s = static_cast<Stream*>(user);
  const int32_t frameBytes = int32_t(sizeof(float)) * s->request.channels;
  s->request.callback(reinterpret_cast<float*>(bytes), length / frameBytes, s->request.user);
}

bool openSdl(Stream* s)
{
  if (!sdlReady())
    return false;
  SDL_AudioSpec want{};
  want.freq = s->request.rate;
  want.format = AUDIO_F32SYS;
  want.channels = Uint8(s->request.deviceChannels ? 0 : s->request.channels);
  want.samples = Uint16(std::clamp(s->request.framesPerCallback, 64, 8192));
  want.callback = sdlCallback;
  want.userdata = s;
  const char* name = nullptr;
  if (s->request.device > 0)
    name = SDL_GetAudioDeviceName(s->request.device - 1, s->request.capture ? 1 : 0);
  SDL_AudioSpec have{};
  // No allowed changes but the device's own channel count when asked: SDL
  // converts rate, format and channels for the device.
  const int allowed = s->request.deviceChannels ? SDL_AUDIO_ALLOW_CHANNELS_CHANGE : 0;
  s->device = SDL_OpenAudioDevice(name, s->request.capture ? 1 : 0, &want, &have, allowed);
  if (s->device == 0) {
    sayNoOutputOnce(SDL_GetError());
    return false;
  }
  if (s->request.deviceChannels)
    s->request.channels = have.channels;
  s->backend = Backend::sdl;
  s->framesPerCallback = have.samples;
  return true;
}

void pace(Stream* s)
{
  using clock = std::chrono::steady_clock;
  const auto period = std::chrono::duration<double>(double(s->framesPerCallback) /
                                                    double(std::max(s->request.rate, 1)));
  auto next = clock::now();
  while (s->running.load(std::memory_order_acquire)) {
    s->request.callback(s->scratch.data(), s->framesPerCallback, s->request.user);
    next += std::chrono::duration_cast<clock::duration>(period);
    std::this_thread::sleep_until(next);
  }
}

}  // namespace

Stream* openStream(const StreamRequest& request)
{
  if (!request.callback || request.channels < 1 || request.channels > 8 || request.rate < 1)
    return nullptr;
  auto* s = new Stream;
  s->request = request;
  s->framesPerCallback = std::clamp(request.framesPerCallback, 1, 8192);
  std::lock_guard lock(gLock);
  if (gManual) {
    s->backend = Backend::manual;
    gLatestManual = s;
  } else if (!openSdl(s)) {
    s->backend = Backend::null;
    s->scratch.assign(size_t(s->framesPerCallback) * size_t(request.channels), 0.0f);
  }
  return s;
}

void startStream(Stream* s)
{
  if (!s || s->running.exchange(true))
    return;
  if (s->backend == Backend::sdl)
    SDL_PauseAudioDevice(s->device, 0);
  else if (s->backend == Backend::null)
    s->pacer = std::thread(pace, s);
}

void stopStream(Stream* s)
{
  if (!s || !s->running.exchange(false))
    return;
  // SDL pauses under the device lock: once it returns the callback is done.
  if (s->backend == Backend::sdl)
    SDL_PauseAudioDevice(s->device, 1);
  else if (s->pacer.joinable())
    s->pacer.join();
}

void closeStream(Stream* s)
{
  if (!s)
    return;
  stopStream(s);
  if (s->backend == Backend::sdl)
    SDL_CloseAudioDevice(s->device);
  {
    std::lock_guard lock(gLock);
    if (gLatestManual == s)
      gLatestManual = nullptr;
  }
  delete s;
}

bool isStreamRunning(const Stream* s)
{
  return s && s->running.load(std::memory_order_acquire);
}

Backend streamBackend(const Stream* s)
{
  return s ? s->backend : Backend::null;
}

int32_t streamFramesPerCallback(const Stream* s)
{
  return s ? s->framesPerCallback : 0;
}

int32_t streamChannels(const Stream* s)
{
  return s ? s->request.channels : 0;
}

bool isStreamDeviceAlive(const Stream* s)
{
  if (!s)
    return false;
  if (s->backend == Backend::sdl)
    return SDL_GetAudioDeviceStatus(s->device) != SDL_AUDIO_STOPPED;
  return s->backend == Backend::manual || !s->request.capture;
}

std::vector<Device> devices(bool capture)
{
  std::lock_guard lock(gLock);
  std::vector<Device> list;
  if (gManual || !sdlReady())
    return list;
  const int count = SDL_GetNumAudioDevices(capture ? 1 : 0);
  for (int i = 0; i < count; ++i) {
    Device d;
    if (const char* name = SDL_GetAudioDeviceName(i, capture ? 1 : 0))
      d.name = name;
    SDL_AudioSpec spec{};
    if (SDL_GetAudioDeviceSpec(i, capture ? 1 : 0, &spec) == 0)
      d.channels = spec.channels;
    list.push_back(d);
  }
  return list;
}

void useManualBackend(bool on)
{
  std::lock_guard lock(gLock);
  gManual = on;
}

bool manualRender(float* samples, int32_t frames)
{
  Stream* s = nullptr;
  {
    std::lock_guard lock(gLock);
    s = gLatestManual;
  }
  if (!s || !s->running.load(std::memory_order_acquire) || frames < 0)
    return false;
  s->request.callback(samples, frames, s->request.user);
  return true;
}

}  // namespace kvaudio
