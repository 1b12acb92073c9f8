// Writes, describes and resamples audio files as the program does.
//
// Usage:
//   sound_file_tool write OUT TYPE BYTES CHANNELS [LOOPSTART LOOPEND]
//       one second of 440 Hz at amplitude 0.5 (44,100 frames, every channel
//       alike), written without a dialog as a record of type TYPE (four
//       characters: AIFF, WAVE, caff, Sd2f, NeXT ...) with BYTES per sample
//       (2, 3, 4, or -4 for 32-bit float) and CHANNELS (1 or 2); a loop when
//       LOOPSTART and LOOPEND are given. OUT is the file's path; the type's
//       extension replaces its own. Prints the path written.
//   sound_file_tool info FILE
//       prints `TYPE RATE BYTES CHANNELS FRAMES loop START END` (or
//       `loop none`).
//   sound_file_tool resample FILE RATE
//       writes a copy at RATE beside FILE ("_RS" added to its name) and
//       prints the copy's path and frames.
//   sound_file_tool bands FILE
//       prints the 16 octave-band sums of the file's first 1024 frames (cosine
//       and sine sum of bands 0 to 7, in order) on one line; a stereo file's
//       frames are the mean of their channels, a shorter file is padded with
//       silence.
// Exit status 0 on success, 1 when a file cannot be read or written, 2 for
// bad arguments.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "foundation/filenames.h"
#include "foundation/pstrings.h"
#include "sound/audiofiles.h"
#include "sound/bands.h"

namespace {

constexpr uint32_t kFrames = 44100;

int usage()
{
  std::fprintf(stderr,
               "usage: sound_file_tool write OUT TYPE BYTES CHANNELS [LOOPSTART LOOPEND]\n"
               "       sound_file_tool info FILE\n"
               "       sound_file_tool resample FILE RATE\n"
               "       sound_file_tool bands FILE\n");
  return 2;
}

std::string nameOf(const soundDocInfos& record)
{
  return std::string(reinterpret_cast<const char*>(record.name + 1), record.name[0]);
}

bool parseLong(const char* text, long& out)
{
  char* end = nullptr;
  out = std::strtol(text, &end, 10);
  return end != text && *end == 0;
}

int writeFile(int argc, char** argv)
{
  long bytes = 0, channels = 0, loopStart = 0, loopEnd = 0;
  if ((argc != 6 && argc != 8) || std::strlen(argv[3]) != 4 || !parseLong(argv[4], bytes) ||
      !parseLong(argv[5], channels) || channels < 1 || channels > 2 ||
      (bytes != 2 && bytes != 3 && bytes != 4 && bytes != -4))
    return usage();
  if (argc == 8 && (!parseLong(argv[6], loopStart) || !parseLong(argv[7], loopEnd) ||
                    loopStart < 0 || loopEnd < loopStart || loopEnd > long(kFrames)))
    return usage();
  const char* t = argv[3];
  soundDocInfos record;
  soundDocInfos_init(&record, kFrames, uint16_t(channels));
  record.type = fourcc({t[0], t[1], t[2], t[3], 0});
  record.bytesPerSample = int16_t(bytes);
  const FileRef out = FileRef::fromPath(argv[2]);
  record.file = out.parentRef();
  SetPString(record.name, out.name.substr(0, 255).c_str());
  if (argc == 8) {
    record.loop.loopCount = 1;
    record.loop.loopStart = int32_t(loopStart);
    record.loop.loopEnd = int32_t(loopEnd);
  }
  ExtAudioFileRef file = xCreateAccess_SoundFile(&record, nullptr, 0, 0);
  if (!file) {
    std::fprintf(stderr, "sound_file_tool: cannot create %s\n", argv[2]);
    return 1;
  }
  std::vector<float> block(1024 * size_t(channels));
  uint32_t bytesWritten = 0;
  for (uint32_t start = 0; start < kFrames; start += 1024) {
    const uint32_t n = std::min<uint32_t>(1024, kFrames - start);
    for (uint32_t i = 0; i < n; ++i) {
      const double phase = 2 * M_PI * 440.0 * double(start + i) / 44100.0;
      for (long c = 0; c < channels; ++c)
        block[i * size_t(channels) + size_t(c)] = float(0.5 * std::sin(phase));
    }
    if (xWriteAccess_SoundFile(file, block.data(), n, &bytesWritten) != 0) {
      std::fprintf(stderr, "sound_file_tool: cannot write %s\n", argv[2]);
      xCloseAccess_SoundFile(nullptr, &file);
      return 1;
    }
  }
  xCloseAccess_SoundFile(&record, &file);
  std::printf("%s\n", record.file.path().c_str());
  return 0;
}

int readInfo(const char* path, soundDocInfos& record)
{
  soundDocInfos_init(&record, 0, 2);
  const FileRef ref = FileRef::fromPath(path);
  record.file = ref;
  SetPString(record.name, ref.name.substr(0, 255).c_str());
  const int16_t err = AUfile_GetInfos(&record, 1);
  if (err != 0)
    std::fprintf(stderr, "sound_file_tool: cannot read %s (%d)\n", path, err);
  return err;
}

int info(const char* path)
{
  soundDocInfos record;
  if (readInfo(path, record) != 0)
    return 1;
  const OSType t = record.type;
  std::printf("%c%c%c%c %.0f %d %d %u ", char(t >> 24), char(t >> 16), char(t >> 8), char(t),
              record.sampleRate, record.bytesPerSample, record.channels, record.frames);
  if (record.loop.loopCount >= 1)
    std::printf("loop %d %d\n", record.loop.loopStart, record.loop.loopEnd);
  else
    std::printf("loop none\n");
  return 0;
}

int resample(const char* path, const char* rateText)
{
  char* end = nullptr;
  const double rate = std::strtod(rateText, &end);
  if (end == rateText || *end != 0)
    return usage();
  soundDocInfos record;
  if (readInfo(path, record) != 0)
    return 1;
  soundDocInfos copy = record;
  if (!ConvertSampleRateToDisk(&record, rate, 0)) {
    std::fprintf(stderr, "sound_file_tool: cannot resample %s at %s\n", path, rateText);
    return 1;
  }
  // The copy's name as the conversion made it.
  RemoveExtension(copy.name, 0);
  Str255 suffix;
  SetPString(suffix, "_RS");
  AddSoundEfileName(&copy, suffix);
  AUfile_Put(&copy, 0);
  const FileRef written = record.file.parentRef().child(nameOf(copy));
  soundDocInfos result;
  if (readInfo(written.path().c_str(), result) != 0)
    return 1;
  std::printf("%s %u\n", written.path().c_str(), result.frames);
  return 0;
}

// The first 1024 frames as floats: mono as they are, two or more channels
// as their first two, interleaved.
bool firstFramesForBands(const char* path, std::vector<float>& samples, int16_t& channels)
{
  ExtAudioFileRef file = nullptr;
  soundDocInfos record;
  soundDocInfos_init(&record, 0, 2);
  if (OpenInputSoundFile(FileRef::fromPath(path), &file, nullptr, &record) != 0 || !file)
    return false;
  const uint32_t fileChannels = AUfile_Channels(file);
  std::vector<float> read(size_t(kOctaveBandFrames) * std::max<uint32_t>(fileChannels, 1), 0.0f);
  AUfile_Read(file, read.data(), uint32_t(kOctaveBandFrames));
  AUfile_Dispose(&file);
  channels = fileChannels >= 2 ? 2 : 1;
  samples.assign(size_t(kOctaveBandFrames) * size_t(channels), 0.0f);
  for (size_t f = 0; f < size_t(kOctaveBandFrames); ++f)
    for (size_t c = 0; c < size_t(channels); ++c)
      samples[f * size_t(channels) + c] = read[f * std::max<uint32_t>(fileChannels, 1) + c];
  return true;
}

int bands(const char* path)
{
  std::vector<float> samples;
  int16_t channels = 1;
  if (!firstFramesForBands(path, samples, channels)) {
    std::fprintf(stderr, "sound_file_tool: cannot read %s\n", path);
    return 1;
  }
  std::vector<double> tables(2 * kFFTtableSize);
  kvBuild_fftsintable(tables.data());
  double out[16];
  doSoundRecord_OctavesBands(out, samples.data(), channels);
  for (int k = 0; k < 16; ++k)
    std::printf(k ? " %.10g" : "%.10g", out[k]);
  std::printf("\n");
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 3)
    return usage();
  const std::string command = argv[1];
  if (command == "write")
    return writeFile(argc, argv);
  if (command == "info" && argc == 3)
    return info(argv[2]);
  if (command == "resample" && argc == 4)
    return resample(argv[2], argv[3]);
  if (command == "bands" && argc == 3)
    return bands(argv[2]);
  return usage();
}
