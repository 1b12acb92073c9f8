// The loop of an AIFF file: two markers (1 at the loop start, 2 at its end)
// and an instrument chunk whose sustain loop runs from marker 1 to marker 2.
// libsndfile writes no such chunks for AIFF, so they are written here: the
// file's chunks are copied, any old MARK and INST left out, the new ones
// appended, and the copy renamed over the file.
#include <cstdio>
#include <cstring>
#include <vector>

#include "foundation/bigendian.h"
#include "sound/audiofiles_pvt.h"

namespace {

// Files larger than this are not rewritten for a loop.
constexpr uint64_t kMaxAiffBytes = uint64_t(1) << 31;

bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes)
{
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f)
    return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  const long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 12 && uint64_t(size) <= kMaxAiffBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    bytes.resize(size_t(size));
    ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
  }
  std::fclose(f);
  return ok;
}

bool writeWholeFile(const std::string& path, const std::vector<unsigned char>& bytes)
{
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f)
    return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  return ok;
}

void appendTag(std::vector<unsigned char>& out, const char* tag, uint32_t size)
{
  unsigned char head[8];
  std::memcpy(head, tag, 4);
  be::put_u32(head + 4, size);
  out.insert(out.end(), head, head + 8);
}

// A marker: id, position, a name of even total length with its count byte.
void appendMarker(std::vector<unsigned char>& out, int16_t id, uint32_t position, const char* name)
{
  unsigned char fields[6];
  be::put_i16(fields, id);
  be::put_u32(fields + 2, position);
  out.insert(out.end(), fields, fields + 6);
  const size_t length = std::strlen(name);
  out.push_back(uint8_t(length));
  out.insert(out.end(), name, name + length);
  if ((length + 1) % 2)
    out.push_back(0);
}

void appendLoopChunks(std::vector<unsigned char>& out, const SoundLoopBlock& loop)
{
  std::vector<unsigned char> markers(2, 0);
  be::put_u16(markers.data(), 2);
  appendMarker(markers, 1, uint32_t(loop.loopStart), "beg loop");
  appendMarker(markers, 2, uint32_t(loop.loopEnd), "end loop");
  appendTag(out, "MARK", uint32_t(markers.size()));
  out.insert(out.end(), markers.begin(), markers.end());
  // Base note 60, no detune, the whole key and velocity range, gain 0 dB;
  // sustain loop forward from marker 1 to 2, no release loop.
  const unsigned char inst[20] = {60, 0, 0, 127, 1, 127, 0, 0, 0, 1, 0, 1, 0, 2, 0, 0, 0, 0, 0, 0};
  appendTag(out, "INST", sizeof(inst));
  out.insert(out.end(), inst, inst + sizeof(inst));
}

}  // namespace

int32_t kvsound::writeAiffLoop(const FileRef& ref, const SoundLoopBlock& loop)
{
  std::vector<unsigned char> in;
  if (!readWholeFile(ref.path(), in) || std::memcmp(in.data(), "FORM", 4) != 0 ||
      (std::memcmp(in.data() + 8, "AIFF", 4) != 0 && std::memcmp(in.data() + 8, "AIFC", 4) != 0))
    return fnfErr;
  std::vector<unsigned char> out(in.begin(), in.begin() + 12);
  // Every chunk but MARK and INST, each checked against the file's end.
  const uint64_t formEnd = std::min<uint64_t>(in.size(), uint64_t(be::get_u32(in.data() + 4)) + 8);
  uint64_t at = 12;
  while (at + 8 <= formEnd) {
    const uint64_t size = be::get_u32(in.data() + at + 4);
    const uint64_t end = at + 8 + size + (size & 1);
    if (at + 8 + size > formEnd)
      return kvfs::kParamErr;
    const bool loopChunk =
        std::memcmp(in.data() + at, "MARK", 4) == 0 || std::memcmp(in.data() + at, "INST", 4) == 0;
    if (!loopChunk)
      out.insert(out.end(), in.begin() + long(at), in.begin() + long(std::min(end, formEnd)));
    if (!loopChunk && end > formEnd)
      out.push_back(0);
    at = end;
  }
  appendLoopChunks(out, loop);
  be::put_u32(out.data() + 4, uint32_t(out.size() - 8));
  const std::string temp = ref.path() + ".kvloop";
  if (!writeWholeFile(temp, out) || std::rename(temp.c_str(), ref.path().c_str()) != 0) {
    std::remove(temp.c_str());
    return ioErr;
  }
  return 0;
}
