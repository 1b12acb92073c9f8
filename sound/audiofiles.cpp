// The sound document record, formats, type lists and names, reading whole
// files and chunks, creating and appending, loops, rate conversion to a new
// file and the search for a sound file that moved.
#include "sound/audiofiles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sndfile.h>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/fileio.h"
#include "foundation/filenames.h"
#include "foundation/folders.h"
#include "foundation/iodata.h"
#include "foundation/pstrings.h"
#include "sound/audiofiles_pvt.h"
#include "sound/samples.h"
#include "ui/dialogalerts.h"

using namespace kvsound;

namespace {

constexpr int32_t kMessageCommand = 504;  // the application shows its message string
constexpr uint32_t kChunkFrames = 1024;

std::string pascalToString(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

void tellApplication(const char* message)
{
  SetPString(gAppInfos.paramString, message);
  if (gAppInfos.commandHandler)
    gAppInfos.commandHandler(kMessageCommand, nullptr);
}

OSType typeOfMajor(int32_t format)
{
  switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
      return fourcc("WAVE");
    case SF_FORMAT_CAF:
      return fourcc("caff");
    case SF_FORMAT_AU:
      return fourcc("NeXT");
    case SF_FORMAT_MPEG:
      return fourcc("MPG3");
    default:
      return fourcc("AIFF");
  }
}

// The type of an open file: its libsndfile format, or for a decoded MPEG-4
// file 'm4af' when its name says so, else 'mp4f'.
OSType typeOfOpenFile(KVaudioFile* file)
{
  if (file->decoded)
    return kvfs::typeFromName(file->ref.name) == fourcc("m4af") ? fourcc("m4af") : fourcc("mp4f");
  SF_INFO info{};
  sf_command(file->sf, SFC_GET_CURRENT_SF_INFO, &info, sizeof(info));
  return typeOfMajor(info.format);
}

void setTypeList(std::initializer_list<OSType> types)
{
  gIOdata.typeCount = 0;
  for (OSType t : types)
    gIOdata.typeList[gIOdata.typeCount++] = t;
}

}  // namespace

FileRef kvsound::targetOf(const soundDocInfos& record)
{
  const std::string name = pascalToString(record.name);
  if (record.file.empty())
    return {};
  if (kvfs::isFolder(record.file))
    return record.file.child(name);
  return record.file.parentRef().child(name);
}

// ---- Records, formats, types and names ---------------------------------------

void soundDocInfos_init(soundDocInfos* record, uint32_t frames, uint16_t channels)
{
  *record = soundDocInfos{};
  // 'Sd2f' needs a resource fork: new records are AIFF files.
  record->type = fourcc("AIFF");
  record->state = 1;
  record->stereo = 1;
  record->bytesPerSample = 2;
  record->channels = int16_t(std::clamp<uint16_t>(channels, 1, kAudioMaxChannels));
  record->frames = frames;
  record->sampleRate = gSAMPLERATE;
  record->loop.kind = 1;
  for (int16_t i = 0; i < 4; ++i)
    record->loop.entryIds[i] = int16_t(i + 1);
}

void soundDocInfos_setup(soundDocInfos* record, uint16_t stereo, uint16_t flag, uint16_t state,
                         ConstStringPtr name)
{
  record->channels = stereo ? 2 : 1;
  record->stereo = flag ? 1 : 0;
  record->state = int16_t(state);
  if (name)
    AssignPString(record->name, name);
  SetSoundEfileExtension(record);
}

void SetAudioFormat(AudioStreamBasicDescription* asbd, int16_t bytesPerSample, uint16_t layout,
                    double rate)
{
  *asbd = AudioStreamBasicDescription{};
  asbd->sampleRate = rate;
  asbd->formatID = fourcc("lpcm");
  asbd->framesPerPacket = 1;
  const bool isFloat = bytesPerSample == 4 || bytesPerSample == -4;
  const uint32_t size = isFloat ? 4 : uint32_t(std::clamp<int16_t>(bytesPerSample, 2, 3));
  asbd->bitsPerChannel = 8 * size;
  asbd->channelsPerFrame = layout == 0 ? 1 : 2;
  if (isFloat)
    asbd->formatFlags = layout == 2 ? 9 : 41;
  else
    asbd->formatFlags = layout == 1 ? 46 : 14;
  asbd->bytesPerFrame = layout == 2 ? 2 * size : size;
  asbd->bytesPerPacket = asbd->bytesPerFrame;
}

void SetAudioDocFormat(const soundDocInfos* record, AudioStreamBasicDescription* asbd)
{
  *asbd = AudioStreamBasicDescription{};
  asbd->sampleRate = record->sampleRate;
  asbd->formatID = fourcc("lpcm");
  asbd->framesPerPacket = 1;
  asbd->channelsPerFrame = record->channels >= 2 ? 2 : 1;
  uint32_t size = 4;
  if (record->type == fourcc("caff") && record->bytesPerSample == -4) {
    asbd->formatFlags = 9;
  } else {
    size = uint32_t(std::clamp<int16_t>(record->bytesPerSample, 2, 4));
    asbd->formatFlags = record->type == fourcc("WAVE") ? 12 : 14;
  }
  asbd->bitsPerChannel = 8 * size;
  asbd->bytesPerFrame = size * asbd->channelsPerFrame;
  asbd->bytesPerPacket = asbd->bytesPerFrame;
}

int16_t FixsdocDepth(OSType type, int16_t bytes)
{
  if (type == fourcc("WAVE"))
    return std::clamp<int16_t>(bytes, 2, 3);
  if (type == fourcc("Sd2f") || type == fourcc("AIFF"))
    return std::clamp<int16_t>(bytes, 2, 4);
  return bytes;
}

void GetSupportedAudioTypes()
{
  setTypeList({fourcc("Sd2f"), fourcc("AIFF"), fourcc("WAVE"), fourcc("AIFC"), fourcc("NeXT"),
               fourcc("mp4f"), fourcc("MPG3"), fourcc("m4af"), fourcc("caff")});
}

void GetSupportedCoreAudioTypes()
{
  setTypeList({fourcc("Sd2f"), fourcc("AIFF"), fourcc("WAVE"), fourcc("caff")});
}

bool isSupportedAudioType(OSType type)
{
  if (type == fourcc("MooV"))
    return false;
  const int count = std::clamp<int>(gIOdata.typeCount, 0, kIOTypeListSize);
  return std::count(gIOdata.typeList, gIOdata.typeList + count, type) > 0;
}

void SetSoundEfileExtension(soundDocInfos* record)
{
  RemoveExtension(record->name, 0);
  const char* extension = nullptr;
  if (record->type == fourcc("AIFF"))
    extension = ".aif";
  else if (record->type == fourcc("WAVE"))
    extension = ".wav";
  else if (record->type == fourcc("caff"))
    extension = ".caf";
  else if (record->type == fourcc("Sd2f") && record->channels >= 2)
    extension = ".LR";
  if (extension) {
    Str255 text;
    SetPString(text, extension);
    ConcatPString(record->name, text, 255);
  }
}

void AddSoundEfileName(soundDocInfos* record, ConstStringPtr suffix)
{
  uint8_t& length = record->name[0];
  const int limit = std::min<int>({4, suffix[0], length});
  int same = 0;
  while (same < limit && record->name[length - same] == suffix[suffix[0] - same])
    ++same;
  length = uint8_t(length - same);
  ConcatPString(record->name, suffix, 255);
}

// ---- Reading -------------------------------------------------------------------

int16_t AUfile_GetInfos(soundDocInfos* record, uint8_t withLoops)
{
  const FileRef ref = targetOf(*record);
  ExtAudioFileRef file = nullptr;
  if (OpenInputSoundFile(ref, &file, nullptr, record) != 0)
    return fnfErr;
  record->type = typeOfOpenFile(file);
  record->file = ref;
  SetPString(record->name, ref.name.substr(0, 255).c_str());
  record->state = 3;
  record->flag7 = 0;
  record->loop.loopCount = 0;
  if (withLoops)
    readLoop(file, &record->loop);
  const bool empty = file->fileFrames == 0;
  AUfile_Dispose(&file);
  return empty ? -1 : 0;
}

uint32_t Get_SoundFileInfos(const FileRef& ref, soundDocInfos* record, uint8_t withLoops)
{
  record->file = ref;
  SetPString(record->name, ref.name.substr(0, 255).c_str());
  return AUfile_GetInfos(record, withLoops) == 0 ? record->frames : 0;
}

int32_t AUfile_Open(soundDocInfos* record, ExtAudioFileRef* out, double rate)
{
  if (!rateIsValid(rate))
    return kvfs::kParamErr;
  AudioStreamBasicDescription client;
  SetAudioFormat(&client, 4, record->channels >= 2 ? 2 : 0, rate);
  const int32_t err = OpenInputSoundFile(targetOf(*record), out, &client, record);
  if (err == 0 && rate != record->sampleRate)
    record->frames = scaleFrames(record->frames, rate, record->sampleRate);
  return err;
}

uint32_t AUfile_ReadChunk(ExtAudioFileRef file, soundDocInfos* record, float* dst, uint32_t frames,
                          int32_t start)
{
  if (!file || !dst)
    return 0;
  const size_t channels = file->channels;
  std::fill_n(dst, size_t(frames) * channels, 0.0f);
  if (start < 0 || uint32_t(start) >= record->frames || AUfile_Seek(file, start) != 0)
    return 0;
  const uint32_t wanted = std::min<uint32_t>(frames, record->frames - uint32_t(start));
  uint32_t got = 0;
  while (got < wanted) {
    const uint32_t n = AUfile_Read(file, dst + size_t(got) * channels, wanted - got);
    if (n == 0)
      break;
    got += n;
  }
  return got;
}

uint32_t AUfile_ReadChunkDUAL(ExtAudioFileRef file, soundDocInfos* record, float* left,
                              float* right, uint32_t frames, int32_t start)
{
  std::fill_n(left, frames, 0.0f);
  if (right)
    std::fill_n(right, frames, 0.0f);
  if (!file)
    return 0;
  const size_t channels = file->channels;
  std::vector<float> area(size_t(kChunkFrames) * channels);
  uint32_t done = 0;
  while (done < frames) {
    const uint32_t n =
        AUfile_ReadChunk(file, record, area.data(), std::min(kChunkFrames, frames - done),
                         int32_t(std::min<uint64_t>(uint64_t(start) + done, INT32_MAX)));
    for (uint32_t i = 0; i < n; ++i) {
      left[done + i] = area[i * channels];
      if (right)
        right[done + i] = area[i * channels + (channels >= 2 ? 1 : 0)];
    }
    done += n;
    if (n == 0)
      break;
  }
  return done;
}

// Frames as 16-bit or 32-bit integers into dst (room for frames x channels
// of that size).
static void readIntegerFrames(KVaudioFile* file, void* dst, uint32_t frames, bool shorts)
{
  if (file->sf) {
    if (shorts)
      sf_readf_short(file->sf, static_cast<int16_t*>(dst), frames);
    else
      sf_readf_int(file->sf, static_cast<int32_t*>(dst), frames);
    return;
  }
  // A decoded file gives floats: scaled to full range, clipped.
  const size_t count = size_t(frames) * size_t(file->channels);
  std::vector<float> floats(count, 0.0f);
  AUfile_Read(file, floats.data(), frames);
  const double full = shorts ? 32767.0 : 2147483647.0;
  for (size_t i = 0; i < count; ++i) {
    const double v = std::clamp(double(floats[i]), -1.0, 1.0) * full;
    if (shorts)
      static_cast<int16_t*>(dst)[i] = int16_t(std::lround(v));
    else
      static_cast<int32_t*>(dst)[i] = int32_t(std::llround(v));
  }
}

int32_t AUfile_MemoryRead(soundDocInfos* record, float* dst, uint8_t asFloat)
{
  const uint32_t capacity = record->frames;
  const int16_t channels = record->channels;
  ExtAudioFileRef file = nullptr;
  const int32_t err = OpenInputSoundFile(targetOf(*record), &file, nullptr, nullptr);
  if (err)
    return err;
  if (file->channels != channels) {
    AUfile_Dispose(&file);
    return kvfs::kParamErr;
  }
  const uint32_t frames = uint32_t(std::min<int64_t>(capacity, file->fileFrames));
  if (asFloat)
    AUfile_Read(file, dst, frames);
  else
    readIntegerFrames(file, dst, frames, record->bytesPerSample == 2);
  AUfile_Dispose(&file);
  return 0;
}

int32_t AUfile_MemoryReadDUAL(soundDocInfos* record, float* left, float* right, uint8_t)
{
  ExtAudioFileRef file = nullptr;
  const uint32_t capacity = record->frames;
  const int32_t err = OpenInputSoundFile(targetOf(*record), &file, nullptr, nullptr);
  if (err)
    return err;
  soundDocInfos bounds = *record;
  bounds.frames = uint32_t(std::min<int64_t>(capacity, file->fileFrames));
  AUfile_ReadChunkDUAL(file, &bounds, left, right, bounds.frames, 0);
  AUfile_Dispose(&file);
  return 0;
}

// ---- Writing -------------------------------------------------------------------

int32_t CreateOutputSoundFile(soundDocInfos* record, ExtAudioFileRef* out,
                              const AudioStreamBasicDescription*)
{
  *out = nullptr;
  const FileRef ref = targetOf(*record);
  SetAudioDocFormat(record, &gRTEffect.recordFormat);
  KVaudioFile* file = ref.empty() ? nullptr : createForWrite(*record, ref);
  if (!file) {
    do_warning_dlog(kWarningDialogID, 8, false);
    return ioErr;
  }
  kvfs::setTypeAndCreator(ref, record->type, kSoundCreator);
  record->file = ref;
  *out = file;
  return 0;
}

ExtAudioFileRef xCreateAccess_SoundFile(soundDocInfos* record, FileRef* copyOut, uint8_t ask,
                                        uint16_t async)
{
  if (!AUfile_Put(record, ask))
    return nullptr;
  AudioStreamBasicDescription client;
  SetAudioFormat(&client, 4, record->channels >= 2 ? 2 : 0, record->sampleRate);
  ExtAudioFileRef file = nullptr;
  if (CreateOutputSoundFile(record, &file, &client) != 0)
    return nullptr;
  gRTEffect.bytesRecorded = 0;
  gRTEffect.asyncWrite = async ? 1 : 0;
  if (async)
    startWriter(file);
  if (copyOut)
    *copyOut = record->file;
  return file;
}

int32_t xWriteAccess_SoundFile(ExtAudioFileRef file, const float* samples, uint32_t frames,
                               uint32_t* byteCounter)
{
  if (!file || !file->writing || !samples)
    return -1;
  const uint64_t bytes =
      uint64_t(frames) * uint64_t(std::abs(file->bytesPerSample)) * uint64_t(file->channels);
  // A file past 4 GB cannot be described: the append is refused.
  if (byteCounter && uint64_t(*byteCounter) + bytes > UINT32_MAX)
    return -1;
  int32_t err = 0;
  if (file->ring) {
    if (!file->ring->push(samples, size_t(frames) * size_t(file->channels))) {
      file->droppedFrames.fetch_add(frames, std::memory_order_relaxed);
      return -1;
    }
  } else {
    err = writeConverted(file, samples, frames);
  }
  if (err == 0 && byteCounter)
    *byteCounter += uint32_t(bytes);
  return err;
}

void xCloseAccess_SoundFile(soundDocInfos* record, ExtAudioFileRef* file)
{
  gRTEffect.recordToFile = 0;
  if (file && *file) {
    if (record)
      record->file = (*file)->ref;
    AUfile_Dispose(file);
  }
  if (record && record->loop.loopCount >= 1)
    AUfile_SaveLoops(record);
}

int32_t AUfile_MemorySave(soundDocInfos* record, const AudioStreamBasicDescription* clientFormat,
                          const AudioBufferList* data)
{
  const uint64_t needed =
      uint64_t(record->frames) * uint64_t(std::max<int16_t>(record->channels, 0)) * sizeof(float);
  if (!data || !data->data || data->dataByteSize < needed)
    return kvfs::kParamErr;
  ExtAudioFileRef file = nullptr;
  int32_t err = CreateOutputSoundFile(record, &file, clientFormat);
  if (err)
    return err;
  err = writeConverted(file, data->data, record->frames);
  xCloseAccess_SoundFile(record, &file);
  return err;
}

int32_t AUfile_SaveLoops(soundDocInfos* record)
{
  const int32_t major = majorFormatOf(record->type);
  if (major != SF_FORMAT_AIFF && major != SF_FORMAT_WAV)
    return -1;  // CAF and AU files hold no loop here
  ExtAudioFileRef source = nullptr;
  const FileRef ref = targetOf(*record);
  if (OpenInputSoundFile(ref, &source, nullptr, nullptr) != 0)
    return fnfErr;
  if (!source->sf) {  // a decoded file is not AIFF or WAVE, whatever its record says
    AUfile_Dispose(&source);
    return -1;
  }
  const SoundLoopBlock& loop = record->loop;
  if (loop.loopStart < 0 || loop.loopEnd < loop.loopStart || loop.loopEnd > source->fileFrames) {
    AUfile_Dispose(&source);
    return kvfs::kParamErr;  // markers past the end are refused
  }
  if (major == SF_FORMAT_AIFF) {
    AUfile_Dispose(&source);
    return writeAiffLoop(ref, loop);
  }
  // The loop goes into the header: the file is written again beside the
  // old one and renamed over it once complete.
  soundDocInfos copy = *record;
  copy.sampleRate = source->fileRate;
  copy.channels = int16_t(source->channels);
  copy.bytesPerSample = source->bytesPerSample;
  const FileRef temp = ref.parentRef().child(ref.name + ".kvloop");
  KVaudioFile* out = createForWrite(copy, temp);
  int32_t err = out && writeLoop(out, loop) ? 0 : ioErr;
  std::vector<int32_t> ints(size_t(kChunkFrames) * size_t(source->channels));
  std::vector<float> floats(ints.size());
  while (err == 0) {
    sf_count_t n = 0;
    if (copy.bytesPerSample == -4) {
      n = sf_readf_float(source->sf, floats.data(), kChunkFrames);
      if (n > 0 && sf_writef_float(out->sf, floats.data(), n) != n)
        err = ioErr;
    } else {
      n = sf_readf_int(source->sf, ints.data(), kChunkFrames);
      if (n > 0 && sf_writef_int(out->sf, ints.data(), n) != n)
        err = ioErr;
    }
    if (n <= 0)
      break;
  }
  AUfile_Dispose(&source);
  AUfile_Dispose(&out);
  if (err == 0 && std::rename(temp.path().c_str(), ref.path().c_str()) != 0)
    err = ioErr;
  if (err != 0)
    std::remove(temp.path().c_str());
  else
    kvfs::setTypeAndCreator(ref, record->type, kSoundCreator);
  return err;
}

bool ConvertSampleRateToDisk(soundDocInfos* record, double rate, uint8_t replace)
{
  if (!rateIsValid(rate) || rate > 1e7)
    return false;
  const soundDocInfos saved = *record;
  soundDocInfos source = *record;
  ExtAudioFileRef in = nullptr;
  if (AUfile_Open(&source, &in, rate) != 0)
    return false;
  tellApplication("Resampling");
  soundDocInfos copy = source;
  copy.sampleRate = rate;
  copy.loop.loopCount = 0;
  RemoveExtension(copy.name, 0);
  Str255 suffix;
  SetPString(suffix, "_RS");
  AddSoundEfileName(&copy, suffix);
  if (!replace)
    SetSoundEfileExtension(&copy);
  copy.file = targetOf(source).parentRef();
  // xCreateAccess_SoundFile gives the copy the type's extension; a copy
  // that replaces the source is renamed afterwards anyway.
  ExtAudioFileRef out = xCreateAccess_SoundFile(&copy, nullptr, 0, 0);
  bool complete = false;
  if (out) {
    const size_t channels = size_t(in->channels);
    std::vector<float> buffer(size_t(kChunkFrames) * channels);
    uint32_t position = 0;
    bool failed = false;
    while (position < source.frames) {
      if (AUfile_Seek(in, position) != 0) {
        failed = true;
        break;
      }
      const uint32_t want = std::min(kChunkFrames, source.frames - position);
      const uint32_t n = AUfile_Read(in, buffer.data(), want);
      if (n == 0)
        break;
      if (xWriteAccess_SoundFile(out, buffer.data(), n, &gRTEffect.bytesRecorded) != 0) {
        failed = true;
        break;
      }
      position += n;
    }
    complete = !failed && position > 0;
    xCloseAccess_SoundFile(nullptr, &out);
  }
  AUfile_Dispose(&in);
  tellApplication("Writing done");
  const FileRef written = targetOf(copy);
  *record = saved;
  if (replace && complete) {
    const FileRef original = targetOf(saved);
    complete = std::rename(written.path().c_str(), original.path().c_str()) == 0;
    if (complete)
      AUfile_GetInfos(record, 1);
  } else if (replace && !written.empty()) {
    // Only a complete copy may take the source's place; the source stays.
    std::remove(written.path().c_str());
  }
  record->state = 3;
  return complete;
}

// ---- Searching --------------------------------------------------------------------

bool SoundFile_Locate(FileRef* result, ConstStringPtr name, const FileRef* lastFolder, int16_t mode,
                      int16_t ask)
{
  Str255 bare;
  AssignPString(bare, name);
  RemoveExtension(bare, 0);
  PSTRING_2_HFS(bare, gIOdata.searchName);
  gIOdata.stripExtension = 1;
  GetSupportedCoreAudioTypes();
  const int32_t depth = std::clamp<int32_t>(mode, 0, 5);
  auto search = [&](const FileRef& folder) {
    return !folder.empty() &&
           IterateFiles_searchproc(folder, matchnametypeprocptr, result, 0, 1, int16_t(depth)) == 1;
  };
  bool found = false;
  const uint32_t count = std::min<uint32_t>(gAppInfos.directoryHistoryCount, 32);
  for (uint32_t i = 0; i < count && !found; ++i)
    if (!lastFolder || !(gAppInfos.directoryHistory[i] == *lastFolder))
      found = search(gAppInfos.directoryHistory[i]);
  if (!found && lastFolder)
    found = search(*lastFolder);
  gIOdata.stripExtension = 0;
  if (!found && ask)
    found = MASTER_SOUNDFILE_GET(result, 1);
  return found;
}
