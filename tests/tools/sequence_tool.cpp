// Makes, reads and edits sequence files and prints scale tables, so that
// independent checks (python3) can compare them:
//
//   sequence_tool preset N OUT.smas      preset N (0..4) written as a file
//   sequence_tool dump FILE              the fields, then one note a line
//   sequence_tool cmd IN OUT CMD VALUE   IN edited by command CMD ('tran'...)
//   sequence_tool keys KIND ROOT         key, nearest key, degree index for
//                                        every key 0..127
//   sequence_tool keys all 0             the same for every kind and root,
//                                        each line led by kind and root
//
// dump prints "kind root measures beats count tempo option1 option3
// customCount d0..d11", then "start end key velocity selected flag" a note.
// A refused file exits 1 with the reason on stderr.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "foundation/fileio.h"
#include "platform/files.h"
#include "sound/sequencer.h"

namespace {

struct Loaded
{
  std::unique_ptr<SmallSequencer> seq = std::make_unique<SmallSequencer>();
  HarmonicKeys keys;
  Loaded() { CreateSmallSequencer(seq.get(), &keys, nullptr); }
};

frefinfos recordOf(const std::string& path)
{
  const FileRef ref = FileRef::fromPath(path);
  frefinfos record;
  record.type = kSeqFileType;
  record.parent = ref.parentRef();
  const std::string name = ref.name.substr(0, 63);
  record.name[0] = uint8_t(name.size());
  std::memcpy(record.name + 1, name.data(), name.size());
  return record;
}

bool load(const std::string& path, Loaded& l)
{
  const auto bytes = xReadBuffer(FileRef::fromPath(path));
  if (!bytes) {
    std::fprintf(stderr, "cannot read %s\n", path.c_str());
    return false;
  }
  if (!SmallSequencerFromBytes(l.seq.get(), bytes->data(), int64_t(bytes->size()))) {
    std::fprintf(stderr, "refused: a short file or a damaged count, root or custom scale\n");
    return false;
  }
  SetHarmonicScales(&l.keys, int16_t(l.seq->kind), uint8_t(l.seq->root));
  return true;
}

bool save(const std::string& path, Loaded& l)
{
  frefinfos record = recordOf(path);
  return SmallSequencer_Write(l.seq.get(), &record);
}

void dump(const SmallSequencer& s)
{
  std::printf("%u %u %d %d %d %.17g %u %u %u", s.kind, s.root, s.measures, s.beats, s.noteCount,
              s.tempo, s.option1, s.option3, s.customCount);
  for (uint8_t d : s.customDegrees)
    std::printf(" %u", d);
  std::printf("\n");
  for (int32_t i = 0; i < s.noteCount; ++i) {
    const SeqNote& n = s.notes[i];
    std::printf("%u %u %u %u %u %u\n", n.start, n.end, n.key, n.velocity, n.selected, n.flag);
  }
}

// The custom kind takes the twelve degrees of a new sequencer, count 12.
void printKeys(int16_t kind, uint8_t root, bool withScale)
{
  HarmonicKeys keys;
  uint8_t custom[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  keys.customDegrees = custom;
  keys.count = 12;
  SetHarmonicScales(&keys, kind, root);
  for (uint16_t k = 0; k < 128; ++k) {
    if (withScale)
      std::printf("%d %u ", kind, root);
    std::printf("%u %u %d\n", k, keys.nearest[k], GetHarmonicKey(&keys, k));
  }
}

int usage()
{
  std::fprintf(stderr,
               "usage: sequence_tool preset N OUT | dump FILE | cmd IN OUT CMD VALUE | "
               "keys KIND ROOT\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc < 3)
    return usage();
  const std::string what = argv[1];
  if (what == "preset" && argc == 4) {
    Loaded l;
    SmallSequencerPreset(l.seq.get(), int16_t(std::atoi(argv[2])));
    return save(argv[3], l) ? 0 : 1;
  }
  if (what == "dump" && argc == 3) {
    Loaded l;
    if (!load(argv[2], l))
      return 1;
    dump(*l.seq);
    return 0;
  }
  if (what == "cmd" && argc == 6 && std::strlen(argv[4]) == 4) {
    Loaded l;
    if (!load(argv[2], l))
      return 1;
    const char* c = argv[4];
    const OSType command = OSType(uint8_t(c[0])) << 24 | OSType(uint8_t(c[1])) << 16 |
                           OSType(uint8_t(c[2])) << 8 | OSType(uint8_t(c[3]));
    SmallSequencerCmd(l.seq.get(), command, std::atoi(argv[5]));
    return save(argv[3], l) ? 0 : 1;
  }
  if (what == "keys" && argc == 4) {
    if (std::string(argv[2]) == "all") {
      for (int16_t kind = 0; kind <= 16; ++kind)
        for (uint8_t root = 0; root < 12; ++root)
          printKeys(kind, root, true);
      return 0;
    }
    printKeys(int16_t(std::atoi(argv[2])), uint8_t(std::atoi(argv[3])), false);
    return 0;
  }
  return usage();
}
