// The audio-file handle on libsndfile: opening for reading (rate conversion
// through libsamplerate), creating for writing, sample-size conversion,
// the asynchronous writer and the loop points kept in instrument data.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <samplerate.h>
#include <sndfile.h>

#include "foundation/checked.h"
#include "platform/moviewrite.h"
#include "platform/sniff.h"
#include "sound/audiofiles_pvt.h"
#include "sound/samples.h"

namespace kvsound {

// ---- The ring ----------------------------------------------------------------------

FloatRing::FloatRing(size_t capacity)
{
  size_t size = 1;
  while (size < capacity)
    size <<= 1;
  data_.assign(size, 0.0f);
  mask_ = size - 1;
}

size_t FloatRing::available() const
{
  return head_.load(std::memory_order_acquire) - tail_.load(std::memory_order_acquire);
}

size_t FloatRing::space() const
{
  return data_.size() - available();
}

bool FloatRing::push(const float* samples, size_t count)
{
  const size_t head = head_.load(std::memory_order_relaxed);
  if (count > data_.size() - (head - tail_.load(std::memory_order_acquire)))
    return false;
  for (size_t i = 0; i < count; ++i)
    data_[(head + i) & mask_] = samples[i];
  head_.store(head + count, std::memory_order_release);
  return true;
}

size_t FloatRing::pop(float* out, size_t count)
{
  const size_t tail = tail_.load(std::memory_order_relaxed);
  const size_t n = std::min(count, head_.load(std::memory_order_acquire) - tail);
  for (size_t i = 0; i < n; ++i)
    out[i] = data_[(tail + i) & mask_];
  tail_.store(tail + n, std::memory_order_release);
  return n;
}

void FloatRing::clear()
{
  head_.store(0);
  tail_.store(0);
}

// ---- Formats -------------------------------------------------------------------------

int32_t majorFormatOf(OSType type)
{
  if (type == fourcc("mp4f") || type == fourcc("m4af") || type == fourcc("MooV"))
    return 0;
  if (type == fourcc("WAVE"))
    return SF_FORMAT_WAV;
  if (type == fourcc("caff"))
    return SF_FORMAT_CAF;
  if (type == fourcc("NeXT"))
    return SF_FORMAT_AU;
  if (type == fourcc("MPG3"))
    return SF_FORMAT_MPEG;
  return SF_FORMAT_AIFF;
}

int32_t subFormatOf(int16_t bytesPerSample)
{
  switch (bytesPerSample) {
    case -4:
      return SF_FORMAT_FLOAT;
    case 3:
      return SF_FORMAT_PCM_24;
    case 4:
      return SF_FORMAT_PCM_32;
    default:
      return SF_FORMAT_PCM_16;
  }
}

int16_t bytesOfSubFormat(int32_t format)
{
  switch (format & SF_FORMAT_SUBMASK) {
    case SF_FORMAT_PCM_S8:
    case SF_FORMAT_PCM_U8:
    case SF_FORMAT_PCM_16:
      return 2;
    case SF_FORMAT_PCM_24:
      return 3;
    case SF_FORMAT_PCM_32:
      return 4;
    case SF_FORMAT_FLOAT:
    case SF_FORMAT_DOUBLE:
      return -4;
    default:
      return 2;  // compressed data comes out as 16-bit samples
  }
}

bool rateIsValid(double rate)
{
  return std::isfinite(rate) && rate > 0;
}

uint32_t scaleFrames(uint64_t frames, double rate, double fileRate)
{
  if (!rateIsValid(rate) || !rateIsValid(fileRate))
    return 0;
  const double scaled = double(frames) * rate / fileRate;
  if (!(scaled < 4294967295.0))
    return UINT32_MAX;
  return uint32_t(scaled);
}

// ---- Writing ---------------------------------------------------------------------------

int32_t writeConverted(KVaudioFile* file, const float* samples, uint32_t frames)
{
  SNDFILE* sf = file->sf;
  const size_t channels = size_t(file->channels);
  if (file->bytesPerSample == -4)
    return sf_writef_float(sf, samples, frames) == sf_count_t(frames) ? 0 : sf_error(sf);
  // Through the conversion area, a block at a time.
  const size_t block = file->convertArea.size() / channels;
  for (size_t done = 0; done < frames;) {
    const size_t n = std::min<size_t>(block, frames - done);
    const float* src = samples + done * channels;
    int32_t* area = file->convertArea.data();
    sf_count_t written = 0;
    if (file->bytesPerSample == 2) {
      auto* shorts = reinterpret_cast<int16_t*>(area);
      ConvertFLoatTo16(src, shorts, uint32_t(n * channels), 0);
      written = sf_writef_short(sf, shorts, sf_count_t(n));
    } else if (file->bytesPerSample == 3) {
      // 24-bit samples x 8388607, carried in the top three bytes of an int.
      for (size_t i = 0; i < n * channels; ++i)
        area[i] = int32_t(std::clamp(src[i], -1.0f, 1.0f) * 8388607.0f) * 256;
      written = sf_writef_int(sf, area, sf_count_t(n));
    } else {
      ConvertFLoatTo32(src, area, uint32_t(n * channels), 0);
      written = sf_writef_int(sf, area, sf_count_t(n));
    }
    if (written != sf_count_t(n))
      return sf_error(sf) ? sf_error(sf) : -1;
    done += n;
  }
  return 0;
}

KVaudioFile* createForWrite(const soundDocInfos& record, const FileRef& ref)
{
  if (record.channels < 1 || record.channels > kAudioMaxChannels ||
      !rateIsValid(record.sampleRate) || record.sampleRate > 1e7)
    return nullptr;
  SF_INFO info{};
  info.samplerate = int(record.sampleRate);
  info.channels = record.channels;
  const int16_t bytes = record.type == fourcc("caff") && record.bytesPerSample == -4
                            ? int16_t(-4)
                            : std::clamp<int16_t>(record.bytesPerSample, 2, 4);
  info.format = majorFormatOf(record.type) | subFormatOf(bytes);
  // Each format's own byte order: WAVE little-endian, AIFF and CAF
  // big-endian (an explicit order would make an AIFC file instead).
  if (!sf_format_check(&info))
    return nullptr;
  // A file of that name is replaced.
  std::remove(ref.path().c_str());
  SNDFILE* sf = sf_open(ref.path().c_str(), SFM_WRITE, &info);
  if (!sf)
    return nullptr;
  auto* file = new KVaudioFile;
  file->sf = sf;
  file->ref = ref;
  file->writing = true;
  file->fileRate = record.sampleRate;
  file->channels = record.channels;
  file->bytesPerSample = bytes;
  file->convertArea.assign(size_t(4096) * size_t(record.channels), 0);
  return file;
}

// The writer thread: drains the ring into the file until closing and empty.
static void writerLoop(KVaudioFile* file)
{
  const size_t channels = size_t(file->channels);
  std::vector<float> block(size_t(4096) * channels);
  for (;;) {
    const size_t taken = file->ring->pop(block.data(), block.size());
    if (taken > 0) {
      const int32_t err = writeConverted(file, block.data(), uint32_t(taken / channels));
      if (err && !file->writeError.load())
        file->writeError.store(err);
      continue;
    }
    if (file->closing.load(std::memory_order_acquire) && file->ring->available() == 0)
      return;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void startWriter(KVaudioFile* file)
{
  if (file->writer.joinable())
    return;
  // About three seconds of stereo at 44.1 kHz ahead of the file.
  file->ring = std::make_unique<FloatRing>(size_t(1) << 18);
  file->closing.store(false);
  file->writer = std::thread(writerLoop, file);
}

void stopWriter(KVaudioFile* file)
{
  if (!file->writer.joinable())
    return;
  file->closing.store(true, std::memory_order_release);
  file->writer.join();
}

// ---- Loops ---------------------------------------------------------------------------

static void setReadLoop(SoundLoopBlock* block, int64_t start, int64_t end)
{
  block->loopCount = 1;
  block->loopFields[0] = 1;
  block->loopFields[1] = 117;
  block->loopStart = int32_t(start);
  block->loopEnd = int32_t(end);
}

bool readLoop(KVaudioFile* file, SoundLoopBlock* block)
{
  SNDFILE* sf = file->sf;
  if (!sf)
    return false;
  // Markers outside the file are refused.
  auto inside = [file](int64_t start, int64_t end) {
    return start >= 0 && end >= start && end <= file->fileFrames && end <= INT32_MAX;
  };
  SF_INSTRUMENT inst{};
  if (sf_command(sf, SFC_GET_INSTRUMENT, &inst, sizeof(inst)) == SF_TRUE && inst.loop_count >= 1 &&
      inside(inst.loops[0].start, inst.loops[0].end)) {
    setReadLoop(block, inst.loops[0].start, inst.loops[0].end);
    return true;
  }
  uint32_t cueCount = 0;
  if (sf_command(sf, SFC_GET_CUE_COUNT, &cueCount, sizeof(cueCount)) == SF_TRUE && cueCount >= 2) {
    SF_CUES cues{};
    if (sf_command(sf, SFC_GET_CUE, &cues, sizeof(cues)) == SF_TRUE && cues.cue_count >= 2 &&
        inside(cues.cue_points[0].sample_offset, cues.cue_points[1].sample_offset)) {
      setReadLoop(block, cues.cue_points[0].sample_offset, cues.cue_points[1].sample_offset);
      return true;
    }
  }
  return false;
}

bool writeLoop(KVaudioFile* file, const SoundLoopBlock& block)
{
  if (block.loopCount < 1 || block.kind < 0 || block.loopStart < 0 ||
      block.loopEnd < block.loopStart)
    return false;
  SF_INSTRUMENT inst{};
  inst.gain = 1;
  inst.basenote = 60;
  inst.velocity_hi = 127;
  inst.key_hi = 127;
  inst.loop_count = 1;
  inst.loops[0].mode = SF_LOOP_FORWARD;
  inst.loops[0].start = uint32_t(block.loopStart);
  inst.loops[0].end = uint32_t(block.loopEnd);
  inst.loops[0].count = 0;
  SNDFILE* sf = file->sf;
  if (sf_command(sf, SFC_SET_INSTRUMENT, &inst, sizeof(inst)) != SF_TRUE)
    return false;
  file->loopWritten = block;
  return true;
}

}  // namespace kvsound

using namespace kvsound;

// ---- Reading -------------------------------------------------------------------------

// Frames at the file's own rate, from libsndfile or the decoder: the frames
// read, 0 at the end, negative on a failure.
static int64_t readFileFrames(KVaudioFile* file, float* dst, size_t frames)
{
  if (file->decoded)
    return kvmovie::readSoundStream(file->decoded, dst, int64_t(frames));
  return sf_readf_float(file->sf, dst, sf_count_t(frames));
}

static long converterFeed(void* user, float** data)
{
  auto* file = static_cast<KVaudioFile*>(user);
  const size_t frames = file->converterInput.size() / size_t(file->channels);
  const int64_t got =
      file->fileAtEnd ? 0 : readFileFrames(file, file->converterInput.data(), frames);
  if (got <= 0)
    file->fileAtEnd = true;
  *data = file->converterInput.data();
  return long(std::max<int64_t>(got, 0));
}

// An MPEG-4 sound file ('mp4f', 'm4af') opened through the movie layer's
// decoder; null for anything else or a file that does not decode.
static KVaudioFile* openDecoded(const FileRef& ref)
{
  const std::string path = ref.path();
  if (kvsniff::typeOfFile(path) != fourcc("mpg4"))
    return nullptr;
  kvmovie::SoundStreamInfo info;
  kvmovie::SoundStream* stream = kvmovie::openSoundStream(path, &info);
  if (!stream)
    return nullptr;
  auto* file = new KVaudioFile;
  file->decoded = stream;
  file->fileFrames = info.frames;
  file->fileRate = info.sampleRate;
  file->channels = info.channels;
  file->bytesPerSample = info.bytesPerSample;
  return file;
}

int32_t OpenInputSoundFile(const FileRef& ref, ExtAudioFileRef* out,
                           const AudioStreamBasicDescription* clientFormat, soundDocInfos* record)
{
  *out = nullptr;
  SF_INFO info{};
  KVaudioFile* file = nullptr;
  if (SNDFILE* sf = sf_open(ref.path().c_str(), SFM_READ, &info)) {
    if (info.channels < 1 || info.channels > kAudioMaxChannels || info.samplerate <= 0 ||
        info.frames < 0) {
      sf_close(sf);
      return kvfs::kParamErr;
    }
    file = new KVaudioFile;
    file->sf = sf;
    file->fileFrames = info.frames;
    file->fileRate = info.samplerate;
    file->channels = info.channels;
    file->bytesPerSample = bytesOfSubFormat(info.format);
  } else {
    file = openDecoded(ref);
    if (!file)
      return fnfErr;
  }
  file->ref = ref;
  const double rate = clientFormat && rateIsValid(clientFormat->sampleRate)
                          ? clientFormat->sampleRate
                          : file->fileRate;
  if (clientFormat && !rateIsValid(clientFormat->sampleRate)) {
    AUfile_Dispose(&file);
    return kvfs::kParamErr;
  }
  if (rate != file->fileRate) {
    int err = 0;
    file->ratio = rate / file->fileRate;
    file->converterInput.assign(size_t(1024) * size_t(file->channels), 0.0f);
    file->converter =
        src_callback_new(converterFeed, SRC_SINC_MEDIUM_QUALITY, file->channels, &err, file);
    if (!file->converter || !src_is_valid_ratio(file->ratio)) {
      AUfile_Dispose(&file);
      return kvfs::kParamErr;
    }
  }
  if (record) {
    record->sampleRate = file->fileRate;
    record->bytesPerSample = file->bytesPerSample;
    record->channels = int16_t(file->channels);
    record->frames =
        file->fileFrames > INT32_MAX ? uint32_t(INT32_MAX) : uint32_t(file->fileFrames);
    const int32_t endian = info.format & SF_FORMAT_ENDMASK;
    const int32_t major = info.format & SF_FORMAT_TYPEMASK;
    record->bigEndian =
        file->sf &&
        (endian == SF_ENDIAN_BIG ||
         (endian == SF_ENDIAN_FILE &&
          (major == SF_FORMAT_AIFF || major == SF_FORMAT_AU || major == SF_FORMAT_CAF)));
    record->interleaved = 1;
  }
  *out = file;
  return 0;
}

int32_t AUfile_Seek(ExtAudioFileRef file, int64_t frame)
{
  if (!file || file->writing || frame < 0)
    return -1;
  int64_t fileFrame = frame;
  if (file->converter) {
    // Reading on from where the last read ended keeps the converter's
    // history: no restart, no transient.
    if (frame == file->clientFrame)
      return 0;
    fileFrame = int64_t(std::floor(double(frame) / file->ratio));
    src_reset(file->converter);
    file->fileAtEnd = false;
  }
  if (fileFrame > file->fileFrames)
    return -1;
  const bool placed = file->decoded ? kvmovie::seekSoundStream(file->decoded, fileFrame)
                                    : sf_seek(file->sf, fileFrame, SEEK_SET) >= 0;
  if (!placed)
    return -1;
  file->clientFrame = frame;
  return 0;
}

uint32_t AUfile_Read(ExtAudioFileRef file, float* dst, uint32_t frames)
{
  if (!file || file->writing || !dst)
    return 0;
  if (file->converter) {
    const long got = src_callback_read(file->converter, file->ratio, long(frames), dst);
    file->clientFrame += std::max(got, 0L);
    return uint32_t(std::max(got, 0L));
  }
  return uint32_t(std::max<int64_t>(readFileFrames(file, dst, frames), 0));
}

uint32_t AUfile_Channels(ExtAudioFileRef file)
{
  return file ? uint32_t(file->channels) : 0;
}

void AUfile_Dispose(ExtAudioFileRef* file)
{
  if (!file || !*file)
    return;
  KVaudioFile* f = *file;
  stopWriter(f);
  if (f->converter)
    src_delete(f->converter);
  if (f->sf)
    sf_close(f->sf);
  kvmovie::closeSoundStream(f->decoded);
  delete f;
  *file = nullptr;
}
