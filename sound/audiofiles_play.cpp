// Playing an audio file from disk: a reader thread keeps a lock-free ring of
// frames ahead of the device callback, so the callback's fill procedure
// never touches the file; RT_diskPlay runs the play modally.
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "platform/ui.h"
#include "sound/audiofiles_pvt.h"

using namespace kvsound;

namespace {

constexpr uint32_t kDiskFrames = 1024;
// Frames the reader keeps ahead: about 0.75 s at 44.1 kHz.
constexpr size_t kAheadFrames = 32768;

struct DiskPlayer
{
  ExtAudioFileRef file = nullptr;
  std::unique_ptr<FloatRing> ring;
  std::thread reader;
  std::atomic<bool> quit{false};
  std::atomic<bool> atEnd{false};
  uint32_t channels = 2;  // of the play: 1 or 2
  AudioBufferList list;
};

DiskPlayer gDisk;

// Reads the file from the play's start frame and keeps the ring full; only
// the first two channels of a wider file are played.
void readerLoop(DiskPlayer* player, uint32_t startFrame)
{
  ExtAudioFileRef file = player->file;
  const size_t fileChannels = AUfile_Channels(file);
  const size_t playChannels = player->channels;
  std::vector<float> in(size_t(kDiskFrames) * fileChannels);
  std::vector<float> out(size_t(kDiskFrames) * playChannels);
  if (AUfile_Seek(file, startFrame) != 0)
    player->atEnd = true;
  while (!player->quit.load(std::memory_order_acquire)) {
    if (player->atEnd.load() || player->ring->space() < out.size()) {
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      continue;
    }
    const uint32_t n = AUfile_Read(file, in.data(), kDiskFrames);
    if (n == 0) {
      player->atEnd = true;
      continue;
    }
    for (size_t i = 0; i < n; ++i)
      for (size_t c = 0; c < playChannels; ++c)
        out[i * playChannels + c] = in[i * fileChannels + std::min(c, fileChannels - 1)];
    player->ring->push(out.data(), size_t(n) * playChannels);
  }
}

void closeDiskPlayer(RTinfos* rt)
{
  if (gDisk.reader.joinable()) {
    gDisk.quit = true;
    gDisk.reader.join();
  }
  AUfile_Dispose(&gDisk.file);
  gDisk.ring.reset();
  rt->audioFile = nullptr;
  rt->currentBufferList = nullptr;
}

// Waits (at most half a second) until the reader has filled the ring or
// reached the end of the file.
void waitForPrefill()
{
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
  while (!gDisk.atEnd.load() && gDisk.ring->space() >= size_t(kDiskFrames) * gDisk.channels &&
         std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace

void AUfile_diskplayproc(RTinfos* rt, float* buffer, uint32_t frames)
{
  if (!buffer)
    return;
  const size_t samples = size_t(frames) * rt->channels;
  std::fill_n(buffer, samples, 0.0f);
  if (!rt->done.load(std::memory_order_acquire) && gDisk.ring) {
    if (AudioBufferList* list = rt->currentBufferList) {
      list->data = buffer;
      list->dataByteSize = uint32_t(samples * sizeof(float));
    }
    rt->lastFramesRead = uint32_t(gDisk.ring->pop(buffer, samples) / rt->channels);
  }
  rt->position.fetch_add(frames, std::memory_order_release);
}

void AUfile_dualdiskplayproc(RTinfos*, float*, uint32_t) {}

void AUfile_diskclose()
{
  closeDiskPlayer(&gRTEffect);
}

bool AUfile_openprepare(soundDocInfos* record)
{
  RTinfos* rt = &gRTEffect;
  closeDiskPlayer(rt);
  rt->ringMode = 0;
  rt->fillProc = AUfile_diskplayproc;
  rt->fillContext = nullptr;
  if (AUfile_Open(record, &gDisk.file, gSAMPLERATE) != 0) {
    AUfile_Dispose(&gDisk.file);
    return false;
  }
  gDisk.channels = record->channels >= 2 ? 2 : 1;
  rt->channels = gDisk.channels;
  rt->position = 0;
  rt->fileStartFrame = 0;
  rt->audioFile = gDisk.file;
  gDisk.list.channels = gDisk.channels;
  rt->currentBufferList = &gDisk.list;
  gDisk.ring = std::make_unique<FloatRing>(kAheadFrames * gDisk.channels);
  gDisk.quit = false;
  gDisk.atEnd = false;
  gDisk.reader = std::thread(readerLoop, &gDisk, rt->fileStartFrame);
  return true;
}

void RT_diskPlay(soundDocInfos* record)
{
  RTinfos* rt = &gRTEffect;
  if (rt->running.load())
    RT_idleplay_Stop();
  if (AUfile_openprepare(record) && rt->outputUnit) {
    waitForPrefill();
    rt->framesPerFill = kDiskFrames;
    DefaultAU_SetBufferSize(rt->outputUnit, kDiskFrames);
    if (DefaultAU_Prepare(rt->outputUnit, double(uint32_t(gSAMPLERATE)), int16_t(rt->channels)) ==
        0) {
      rt->samplesPerFill = rt->channels * kDiskFrames;
      rt->stop = 0;
      RT_start(rt, rt->outputUnit, record->frames, 0);
      const bool mouse = kvui::isStarted();
      while (mouse && kvui::isButtonDown() && !rt->done.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      while (rt->running.load() && !rt->done.load()) {
        if (mouse && kvui::isButtonDown())
          rt->stop = 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      if (rt->running.load())
        DefaultAU_Stop(rt);
    }
  }
  closeDiskPlayer(rt);
}
