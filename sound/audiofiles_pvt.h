// What the audio-file modules share: the open file, the single-producer
// ring between the audio thread and a file thread, and the libsndfile
// mapping of our types.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "sound/audiofiles.h"

struct sf_private_tag;
struct SRC_STATE_tag;
namespace kvmovie {
class SoundStream;
}

namespace kvsound {

// A lock-free ring of floats with one producer and one consumer. Both sides
// move whole blocks; neither allocates or blocks after construction.
class FloatRing
{
public:
  explicit FloatRing(size_t capacity);  // rounded up to a power of two
  // All of count or nothing; false when the ring lacks room.
  bool push(const float* samples, size_t count);
  // Up to count floats; how many were taken.
  size_t pop(float* out, size_t count);
  size_t available() const;
  size_t space() const;
  void clear();  // only while neither side runs

private:
  std::vector<float> data_;
  size_t mask_;
  std::atomic<size_t> head_{0};  // written by the producer
  std::atomic<size_t> tail_{0};  // written by the consumer
};

}  // namespace kvsound

struct KVaudioFile
{
  sf_private_tag* sf = nullptr;
  // MPEG-4 audio, which libsndfile does not read, decodes through the movie
  // layer instead (reading only; sf is then null).
  kvmovie::SoundStream* decoded = nullptr;
  FileRef ref;
  bool writing = false;
  int64_t fileFrames = 0;  // frames in the file (reading)
  double fileRate = 0;
  int32_t channels = 0;
  int16_t bytesPerSample = 2;  // of the file: 2, 3, 4, -4
  // Reading at another rate: libsamplerate fed from the file.
  SRC_STATE_tag* converter = nullptr;
  double ratio = 1.0;  // client rate / file rate
  std::vector<float> converterInput;
  bool fileAtEnd = false;
  int64_t clientFrame = 0;  // the client frame the next read delivers
  // Writing: the conversion area and the asynchronous writer.
  std::vector<int32_t> convertArea;
  std::unique_ptr<kvsound::FloatRing> ring;
  std::thread writer;
  std::atomic<bool> closing{false};
  std::atomic<uint32_t> droppedFrames{0};
  std::atomic<int32_t> writeError{0};
  SoundLoopBlock loopWritten;  // the loop stored at creation
};

namespace kvsound {

// The libsndfile major format of a type ('WAVE' WAV, 'caff' CAF, 'NeXT' AU,
// 'MPG3' MPEG, the rest AIFF); 0 for a type we never write.
int32_t majorFormatOf(OSType type);
// The libsndfile sub-format of a sample size (2, 3, 4, -4).
int32_t subFormatOf(int16_t bytesPerSample);
// The sample size of a libsndfile sub-format; 0 when we cannot say.
int16_t bytesOfSubFormat(int32_t format);
// Writes frames x channels floats to the file in its sample size
// (synchronously); 0 or the libsndfile error.
int32_t writeConverted(KVaudioFile* file, const float* samples, uint32_t frames);
// Reads the loop of an open file into block; whether one was found.
bool readLoop(KVaudioFile* file, SoundLoopBlock* block);
// Stores block as the file's sustain loop (before any frame is written).
bool writeLoop(KVaudioFile* file, const SoundLoopBlock& block);
// Stores the loop as markers 1 and 2 and an instrument chunk in an AIFF
// file (rewritten through a temporary file); 0 or an error.
int32_t writeAiffLoop(const FileRef& ref, const SoundLoopBlock& loop);
// Starts and ends the asynchronous writer of a file open for writing.
void startWriter(KVaudioFile* file);
void stopWriter(KVaudioFile* file);
// Opens a file for writing in the record's format (replacing any file);
// null on failure.
KVaudioFile* createForWrite(const soundDocInfos& record, const FileRef& ref);
// Checked frame counts: frames x rate / fileRate as u32, clamped; 0 for a
// rate that is not finite or <= 0.
uint32_t scaleFrames(uint64_t frames, double rate, double fileRate);
bool rateIsValid(double rate);
// The file a record names: its name inside record.file when that is a
// folder, else inside record.file's folder.
FileRef targetOf(const soundDocInfos& record);

}  // namespace kvsound
