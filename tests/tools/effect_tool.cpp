// Runs the program's sound effects and filter files, so that independent
// checks (python3) can recompute them:
//
//   effect_tool write MODE OUT.tef       the mode's defaults as a filter file
//   effect_tool read FILE                the file's fields, one "name value" a line
//   effect_tool run MODE|FILE IN.raw OUT.raw
//   effect_tool design TYPE F Q          prints gain a1 a2 b0 b1 b2
//
// run: IN and OUT are interleaved stereo 32-bit floats. The effect runs with
// output kind 2 (stored), level 1, pan 0.5, in blocks of 512 frames. With a
// MODE the effect enters that mode; with a FILE an effect already running
// mode 6 reads the file over its settings, is adjusted with reset and runs,
// as a user loading a file does (a file of another mode leaves it dry).
// design: TYPE 0..6 is the general designer (gain 1; stored for the step
// that adds feedback), "hp", "lp" and "reso" the designers of modes 1, 2
// and 3 (hp and lp stored for the step that subtracts it).
// Exit status 0 on success, 1 when a file cannot be read or written, 2 for
// bad arguments.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "foundation/fileio.h"
#include "platform/files.h"
#include "sound/effects.h"
#include "sound/rtaudio.h"

namespace {

constexpr int32_t kBlock = 512;

bool parseMode(const char* text, int16_t& mode)
{
  char* end = nullptr;
  long v = std::strtol(text, &end, 10);
  if (!*text || *end || v < -32768 || v > 32767)
    return false;
  mode = int16_t(v);
  return true;
}

int writeFilter(const char* modeText, const char* path)
{
  int16_t mode;
  if (!parseMode(modeText, mode))
    return 2;
  filterinfos s;
  s.mode = mode;
  SoundEffects_SetFilterDefault(&s);
  FileRef ref = FileRef::fromPath(path);
  bool created = false;
  kvfs::createFile(ref, created);
  int16_t fork = PBfFile_Open(ref, fsRdWrPerm);
  if (fork == 0)
    return 1;
  OSErr err = WriteTFilter(&s, fork);
  OSErr closed = PBfFile_SetSizeAndClose(fork, kFilterFileSize);
  return err == noErr && closed == noErr ? 0 : 1;
}

bool readFilter(const char* path, filterinfos* s)
{
  int16_t fork = PBfFile_Open(FileRef::fromPath(path), fsRdPerm);
  if (fork == 0)
    return false;
  OSErr err = ReadTFilter(s, fork);
  PBfFile_Close(fork);
  return err == noErr;
}

int printFilter(const char* path)
{
  filterinfos s;
  if (!readFilter(path, &s))
    return 1;
  std::printf("variant %d\nmode %d\ntime1 %d\ntime2 %d\n", s.variant, s.mode, s.time1, s.time2);
  const char* names[] = {"p1", "p2", "p3", "p4", "p5", "pan", "level"};
  const double values[] = {s.p1, s.p2, s.p3, s.p4, s.p5, s.pan, s.level};
  for (int k = 0; k < 7; ++k)
    std::printf("%s %.17g\n", names[k], values[k]);
  std::printf("values");
  for (int k = 0; k < 8; ++k)
    std::printf(" %d", FXbandValue(s, k));
  std::printf("\n");
  return 0;
}

bool readRaw(const char* path, std::vector<float>& samples)
{
  auto bytes = xReadBuffer(FileRef::fromPath(path));
  if (!bytes)
    return false;
  samples.resize(bytes->size() / sizeof(float));
  std::memcpy(samples.data(), bytes->data(), samples.size() * sizeof(float));
  return true;
}

// One block with output kind 2, or the input weighted by the level when the
// effect does not run (another mode's settings, or none).
void runBlock(filterinfos& s, FXruntime& rt, uint32_t position, const double* l, const double* r,
              double* outL, double* outR, int32_t n)
{
  if (rt.run && s.mode != 0 && rt.memoryMode == s.mode) {
    rt.position = position;
    rt.run(&s, &rt, l, r, outL, outR, kFXstoreDouble, n);
    return;
  }
  double level = std::isfinite(s.level) ? s.level : 0.0;
  for (int32_t i = 0; i < n; ++i) {
    outL[i] = l[i] * level;
    outR[i] = r[i] * level;
  }
}

int runEffect(const char* what, const char* inPath, const char* outPath)
{
  filterinfos s;
  s.pan = 0.5;
  s.level = 1.0;
  auto rt = std::make_unique<FXruntime>();
  int16_t mode;
  if (parseMode(what, mode)) {
    SoundEffects_FilterModeChanged(&s, rt.get(), mode);
  } else {
    SoundEffects_FilterModeChanged(&s, rt.get(), 6);
    if (!readFilter(what, &s)) {
      std::fprintf(stderr, "effect_tool: %s is not a filter file; the echo goes on\n", what);
    }
    SoundEffects_FilterAdjust(&s, rt.get(), true);
  }
  std::vector<float> in;
  if (!readRaw(inPath, in))
    return 1;
  size_t frames = in.size() / 2;
  std::vector<float> out(frames * 2);
  double l[kBlock], r[kBlock], ol[kBlock], orr[kBlock];
  for (size_t start = 0; start < frames; start += kBlock) {
    int32_t n = int32_t(std::min<size_t>(kBlock, frames - start));
    for (int32_t i = 0; i < n; ++i) {
      l[i] = in[2 * (start + i)];
      r[i] = in[2 * (start + i) + 1];
    }
    runBlock(s, *rt, uint32_t(start), l, r, ol, orr, n);
    for (int32_t i = 0; i < n; ++i) {
      out[2 * (start + i)] = float(ol[i]);
      out[2 * (start + i) + 1] = float(orr[i]);
    }
  }
  SoundEffects_FilterKill(&s, rt.get());
  FILE* f = std::fopen(outPath, "wb");
  if (!f)
    return 1;
  size_t written = std::fwrite(out.data(), sizeof(float), out.size(), f);
  return std::fclose(f) == 0 && written == out.size() ? 0 : 1;
}

int design(const char* type, const char* freqText, const char* qText)
{
  double freq = std::atof(freqText), q = std::atof(qText);
  filtersecondorder f;
  if (!std::strcmp(type, "hp"))
    Setuphpfilter(&f, freq, q);
  else if (!std::strcmp(type, "lp"))
    Setuplpfilter(&f, freq, q);
  else if (!std::strcmp(type, "reso"))
    Setupresonnantfilter(&f, freq, q);
  else
    SetupGSOfilter(&f, std::atoi(type), 1.0, freq, q);
  std::printf("%.17g %.17g %.17g %.17g %.17g %.17g\n", f.gain, f.a1, f.a2, f.b0, f.b1, f.b2);
  return 0;
}

}  // namespace

int main(int argc, char** argv)
{
  gSAMPLERATE = 44100.0;
  std::string command = argc > 1 ? argv[1] : "";
  if (command == "write" && argc == 4)
    return writeFilter(argv[2], argv[3]);
  if (command == "read" && argc == 3)
    return printFilter(argv[2]);
  if (command == "run" && argc == 5)
    return runEffect(argv[2], argv[3], argv[4]);
  if (command == "design" && argc == 5)
    return design(argv[2], argv[3], argv[4]);
  std::fprintf(stderr,
               "usage: effect_tool write MODE OUT.tef | read FILE | run MODE|FILE IN.raw OUT.raw"
               " | design TYPE F Q\n");
  return 2;
}
