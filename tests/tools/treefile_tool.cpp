// Writes and reads tree files for the independent python3 checks.
//
// Usage:
//   treefile_tool write-sample OUT   writes the built-in sample document
//   treefile_tool dump FILE [--resources DIR]
//                                    reads FILE with arb_READ and prints what
//                                    it read, one "key value..." per line;
//                                    "slot S KIND W H NAME" for every slot
//                                    holding something
//   treefile_tool params FILE FRAME [--resources DIR]
//                                    reads FILE, starts its animation in the
//                                    document's mode, sets frame FRAME and
//                                    prints "view XMIN XMAX YMIN YMAX" and
//                                    "param SLOT A B C" for every component
//   --resources DIR names the folder of the default picture that stands in
//   for missing picture inputs (the inputs are looked for beside FILE).
//   treefile_tool convert-old IN OUT converts an old-format record file,
//                                    prints "result R" and its slots as dump
//                                    does, and writes it as a current tree file
// Exit status 0 on success, 1 when writing or reading failed, 2 for bad
// arguments.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "document/animation.h"
#include "document/campath.h"
#include "document/engineapi.h"
#include "document/inputslots.h"
#include "document/oldformat.h"
#include "document/treefile.h"
#include "foundation/fileio.h"
#include "imaging/offworld.h"
#include "tests/document/sample_tree.h"

namespace {

// A world that reads tree files as the browser does: its inputs opened
// beside the file, the default picture (from `resources`, when given) in
// every slot that cannot be had. False when the default picture is missing.
std::unique_ptr<KovrelinWorld> readingWorld(const char* resources)
{
  auto world = kvsample::makeWorld(1);
  KV_installInputHooks();
  if (resources != nullptr && Kovrelin_opendefaultpicture(FileRef::fromPath(resources)) != 0) {
    std::fprintf(stderr, "treefile_tool: no default picture in %s\n", resources);
    gKovrelinWorld = nullptr;
    return nullptr;
  }
  return world;
}

std::string text(ConstStringPtr s)
{
  return std::string(reinterpret_cast<const char*>(s + 1), s[0]);
}

int writeSample(const char* path)
{
  auto world = kvsample::makeWorld(77);
  kvsample::buildDocument(&world->doc);
  sSoundfunc sound = kvsample::makeSound();
  FileRef target = FileRef::fromPath(path);
  frefinfos ref;
  ref.parent = target.parentRef();
  kvsample::setPascal(ref.name, target.name.c_str());
  OSErr err = arb_WRITE(&world->doc, &ref, &sound);
  Kovrelin_kill(&world->doc);
  gKovrelinWorld = nullptr;
  if (err != 0)
    std::fprintf(stderr, "treefile_tool: cannot write %s (%d)\n", path, err);
  return err == 0 ? 0 : 1;
}

void printTree(const char* prefix, const smalltree& t)
{
  std::printf("%scount %d\n", prefix, t.count);
  std::printf("%sselections %d %d\n", prefix, t.selection1, t.selection2);
  std::printf("%skeyframes %d\n", prefix, t.kind);
  std::printf("%sname %s\n", prefix, text(t.name).c_str());
  for (int i = 0; i < t.count; i++) {
    const gfunc& g = t.funcs[i];
    std::printf("%sfunc %d %d %d %d %d %d %d %d", prefix, i, g.family, g.funcID, g.index, g.level,
                g.displayIndex, g.auxIndex, g.lockFlags);
    for (int j = 0; j < 4; j++)
      std::printf(" %d", g.sources[j] ? int(g.sources[j] - t.funcs) : -1);
    for (int j = 0; j < 4; j++)
      std::printf(" %d", g.inlets[j].source);
    std::printf(" %.17g %.17g %.17g %.17g\n", g.A, g.B, g.C, g.keyframes[15].A);
  }
}

// "slot S KIND W H NAME" for every slot holding something (a slot given the
// default picture counts when no default picture was loaded).
void printSlots(const sfuncSystem* doc)
{
  for (int s = 0; s < kInputSlots; s++) {
    const KVinputSlot& slot = doc->inputs[s];
    if (slot.picture == nullptr && slot.file.name[0] == 0 && slot.sourceKind == kInputOwnFile)
      continue;
    const Rect b = slot.picture ? slot.picture->pixels.bounds : Rect{};
    std::printf("slot %d %d %d %d %s\n", s, slot.sourceKind, b.right - b.left, b.bottom - b.top,
                text(slot.file.name).c_str());
  }
}

int dump(const char* path, const char* resources)
{
  auto world = readingWorld(resources);
  if (world == nullptr)
    return 1;
  sfuncSystem* doc = &world->doc;
  sSoundfunc sound{};
  KVfileProblem problem;
  int16_t result = arb_READ(doc, FileRef::fromPath(path), true, true, &sound, &problem);
  std::printf("result %d\n", result);
  if (result != kTreeReadOK) {
    if (problem)
      std::printf("problem %s at %zu\n", problem.what, problem.offset);
    return 1;
  }
  printTree("", doc->tree);
  std::printf("output %d\n", doc->outputFunc ? int(doc->outputFunc - doc->tree.funcs) : -1);
  std::printf("view %.17g %.17g %.17g %.17g\n", doc->view.xmin, doc->view.xmax, doc->view.ymin,
              doc->view.ymax);
  std::printf("colorfunc %d %d %d\n", doc->colorFuncIndex, doc->depthCue, doc->globalShade);
  const cpalette& p = doc->tables.gradientKeys;
  std::printf("palette %d %d %d %d %d\n", p.count, p.colors[1].flag, p.colors[1].red,
              p.colors[1].green, p.colors[1].blue);
  const KVanimation& a = doc->animation;
  std::printf("animation %d %d %d %.17g\n", a.keyCount, a.mode, a.length, a.frameRate);
  std::printf("animopts %d %d %d %d\n", a.straightMoves, a.cameraPath, a.easing, a.randomDrift);
  for (int k = 0; k < a.keyCount; k++)
    std::printf("key %d %d %d %.17g %.17g %.17g %d\n", k, a.keys[k].inUse, a.keys[k].componentCount,
                a.keys[k].cameraX, a.keys[k].cameraY, a.keys[k].halfSize, a.keys[k].palette.count);
  std::printf("octaves %d\n", doc->fractal.octaves);
  std::printf("perm %d %d %d %d\n", doc->tables.perm[0], doc->tables.perm[1], doc->tables.perm[2],
              doc->tables.perm[1023]);
  std::printf("sound %d %s\n", sound.transposition, text(sound.name).c_str());
  for (int s = 0; s < kInputSlots; s++) {
    const KVinputSlot& slot = doc->inputs[s];
    if (slot.file.name[0] == 0)
      continue;
    std::printf("input %d %d %d %d %u %s\n", s, slot.nativeSize, slot.movieOption, slot.movieMode,
                slot.startValue, text(slot.file.name).c_str());
  }
  printSlots(doc);
  for (int i = 0; i < doc->tree.count; i++)
    if (const smalltree* sub = arb_subtreeOf(&doc->tree.funcs[i])) {
      std::string prefix = "sub" + std::to_string(i) + " ";
      printTree(prefix.c_str(), *sub);
    }
  Kovrelin_kill(doc);
  gKovrelinWorld = nullptr;
  return 0;
}

int params(const char* path, double frame, const char* resources)
{
  auto world = readingWorld(resources);
  if (world == nullptr)
    return 1;
  sfuncSystem* doc = &world->doc;
  int16_t result = arb_READ(doc, FileRef::fromPath(path), true, true, nullptr, nullptr);
  if (result != kTreeReadOK) {
    std::fprintf(stderr, "treefile_tool: cannot read %s (%d)\n", path, result);
    return 1;
  }
  const int16_t mode = doc->animation.mode;
  Anim_Start(doc, mode, kAnimUpdateForced);
  Anim_SetTime_fromframe(doc, mode, frame);
  Anim_Paramlists(doc, mode, kAnimUpdateForced, kBatchCapacity, false);
  std::printf("view %.17g %.17g %.17g %.17g\n", doc->view.xmin, doc->view.xmax, doc->view.ymin,
              doc->view.ymax);
  for (int i = 0; i < doc->tree.count; i++) {
    const gfunc& g = doc->tree.funcs[i];
    std::printf("param %d %.17g %.17g %.17g\n", i, g.A, g.B, g.C);
  }
  Kovrelin_kill(doc);
  gKovrelinWorld = nullptr;
  return 0;
}

int convertOld(const char* in, const char* out)
{
  std::vector<unsigned char> bytes;
  if (FILE* f = std::fopen(in, "rb")) {
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
      bytes.insert(bytes.end(), buffer, buffer + n);
    std::fclose(f);
  } else {
    std::fprintf(stderr, "treefile_tool: cannot open %s\n", in);
    return 1;
  }
  auto world = readingWorld(nullptr);
  sfuncSystem* doc = &world->doc;
  const int16_t result =
      arb_oldformatREAD(doc, FileRef::fromPath(in), true, true, bytes.data(), bytes.size());
  std::printf("result %d\n", result);
  printSlots(doc);
  int status = result == kOldTreeRead ? 0 : 1;
  if (status == 0) {
    FileRef target = FileRef::fromPath(out);
    frefinfos ref;
    ref.parent = target.parentRef();
    kvsample::setPascal(ref.name, target.name.c_str());
    sSoundfunc sound = kvsample::makeSound();
    if (arb_WRITE(doc, &ref, &sound) != 0) {
      std::fprintf(stderr, "treefile_tool: cannot write %s\n", out);
      status = 1;
    }
  }
  Kovrelin_kill(doc);
  gKovrelinWorld = nullptr;
  return status;
}

// The folder of "--resources DIR" ending the arguments after the first
// `fixed`, or null; false when other arguments follow.
bool resourcesOption(int argc, char** argv, int fixed, const char** resources)
{
  *resources = nullptr;
  if (argc == fixed)
    return true;
  if (argc == fixed + 2 && std::strcmp(argv[fixed], "--resources") == 0) {
    *resources = argv[fixed + 1];
    return true;
  }
  return false;
}

bool parseFrame(const char* s, double* frame)
{
  char* end = nullptr;
  *frame = std::strtod(s, &end);
  return end != s && *end == 0;
}

}  // namespace

int main(int argc, char** argv)
{
  const char* command = argc > 1 ? argv[1] : "";
  const char* resources = nullptr;
  double frame = 0;
  if (std::strcmp(command, "params") == 0 && argc >= 4 && parseFrame(argv[3], &frame) &&
      resourcesOption(argc, argv, 4, &resources))
    return params(argv[2], frame, resources);
  if (std::strcmp(command, "dump") == 0 && argc >= 3 && resourcesOption(argc, argv, 3, &resources))
    return dump(argv[2], resources);
  if (argc == 4 && std::strcmp(command, "convert-old") == 0)
    return convertOld(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(command, "write-sample") == 0)
    return writeSample(argv[2]);
  std::fprintf(stderr,
               "usage: treefile_tool write-sample OUT | dump FILE [--resources DIR] |"
               " params FILE FRAME [--resources DIR] | convert-old IN OUT\n");
  return 2;
}
