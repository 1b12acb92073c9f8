// Fuzz target for the audio-file readers: every input is written to a file
// that is described with its loop, read whole at its own rate, and read
// again through the rate converter. A damaged file must come back as an
// error or as fewer frames, never as a crash, a sanitizer report or a hang.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "foundation/pstrings.h"
#include "sound/audiofiles.h"

namespace {

constexpr uint32_t kChunkFrames = 4096;
// Enough to cross every chunk boundary of a small file; a header that
// claims more is read only this far.
constexpr uint32_t kMostFramesRead = 1 << 18;

const std::filesystem::path& workFolder()
{
  static const std::filesystem::path folder = [] {
    auto f = std::filesystem::temp_directory_path() /
             ("kv_audiofile_fuzz_" + std::to_string(::getpid()));
    std::filesystem::create_directories(f);
    return f;
  }();
  return folder;
}

// Reads the open file in chunks until it ends or the cap is reached.
void readThrough(ExtAudioFileRef file)
{
  std::vector<float> chunk(size_t(kChunkFrames) * std::max<uint32_t>(AUfile_Channels(file), 1));
  for (uint32_t total = 0; total < kMostFramesRead;) {
    const uint32_t got = AUfile_Read(file, chunk.data(), kChunkFrames);
    if (got == 0)
      break;
    total += got;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const std::filesystem::path path = workFolder() / "input.snd";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    const size_t written = std::fwrite(data, 1, size, f);
    std::fclose(f);
    if (written != size)
      return 0;
  } else {
    return 0;
  }

  soundDocInfos record;
  soundDocInfos_init(&record, 0, 2);
  record.file = FileRef::fromPath(workFolder().string());
  SetPString(record.name, "input.snd");
  if (AUfile_GetInfos(&record, 1) != 0)
    return 0;

  ExtAudioFileRef file = nullptr;
  if (OpenInputSoundFile(FileRef::fromPath(path.string()), &file, nullptr, nullptr) == 0) {
    readThrough(file);
    AUfile_Seek(file, int64_t(record.loop.loopStart));
    readThrough(file);
    AUfile_Dispose(&file);
  }
  if (AUfile_Open(&record, &file, 22050.0) == 0) {
    readThrough(file);
    AUfile_Dispose(&file);
  }
  return 0;
}
