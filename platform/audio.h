// Audio devices: one interface for playing and capturing float samples
// through a callback, with three implementations:
//  - SDL2 audio (the real one): the device runs the callback on SDL's audio
//    thread, SDL converting rate and format for the device;
//  - the null output, used when SDL audio cannot start or no device opens
//    (no sound card): a thread of ours calls the callback at real-time pace
//    and the samples go nowhere; the program says so once on standard error;
//  - the manual backend, for tests only: nothing runs by itself, the test
//    calls the open stream's callback with frame counts it chooses.
//
// Samples are 32-bit floats, interleaved when there are two channels (left
// first). A stream is opened stopped; the callback runs only between start
// and stop, never after close returns.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kvaudio {

// Fills `frames` frames of `samples` (output) or reads them (capture).
// Runs on the audio thread: it must not allocate or block.
using Callback = void (*)(float* samples, int32_t frames, void* user);

struct StreamRequest
{
  bool capture = false;
  int32_t rate = 44100;
  int32_t channels = 2;
  int32_t framesPerCallback = 1024;
  int32_t device = 0;  // 1-based index in the device list; 0: the default device
  Callback callback = nullptr;
  void* user = nullptr;
  // Capture: open the device with its own channel count (SDL's default count,
  // SDL_AUDIO_CHANNELS, when the driver does not say); `channels` then only
  // serves the null and manual backends. streamChannels tells what came.
  bool deviceChannels = false;
};

enum class Backend
{
  sdl,
  null,
  manual,
};

struct Stream;

// Opens a stream; with the SDL backend a device that cannot be opened gives
// the null output (said once on standard error). Null only for a request
// without callback or with a channel count outside 1..8.
Stream* openStream(const StreamRequest& request);
void startStream(Stream* stream);
// Stops the callback; when this returns the callback is not running.
void stopStream(Stream* stream);
void closeStream(Stream* stream);
bool isStreamRunning(const Stream* stream);
Backend streamBackend(const Stream* stream);
// What the device gave: its frames per callback, channels and rate.
int32_t streamFramesPerCallback(const Stream* stream);
// The channels of the callback's frames.
int32_t streamChannels(const Stream* stream);
// Whether the stream's device is there: an SDL device its driver still has
// (playing or paused), a manual stream, or the null output; the null stand-in
// of a capture device is not.
bool isStreamDeviceAlive(const Stream* stream);

struct Device
{
  std::string name;
  int32_t channels = 0;  // 0 when the driver does not say
};
// The devices SDL lists (none with the null or manual backend).
std::vector<Device> devices(bool capture);

// The manual backend: while on, every stream opened is a manual one.
void useManualBackend(bool on);
// Calls the callback of the most recently opened manual stream once with
// `frames` frames into `samples` (frames x channels floats) when it is
// started; false when no started manual stream exists.
bool manualRender(float* samples, int32_t frames);

}  // namespace kvaudio
