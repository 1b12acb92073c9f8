// Plays a tree's sound as the browser does: the document copied into the
// sound runtime, its animation started, the real-time output in ring mode
// with 3 slots of 2048 frames, stereo when the output family plays stereo.
// Stops after SECONDS or at the play's end and prints
// `channels N frames M` (M: the frames the tree rendered).
//
// Usage: play_tree TREEFILE [SECONDS]
//   TREEFILE  a tree file, read with arb_READ as the browser reads one (its
//             sound settings included), or `member:CODE:ID[:A:B:C]`, a
//             one-member tree: member ID of the family with catalog code
//             CODE at its defaults, or at A, B, C (then the circle path and
//             the default base pitch, 220 Hz)
//   SECONDS   how long to play at most (default: the whole play)
// The device is SDL's: SDL_AUDIODRIVER=disk writes the samples to the file
// SDL_DISKAUDIOFILE (32-bit floats at 44,100 Hz); without a device the
// sound plays silently at real-time pace.
// Exit status 0 when it played, 1 when the tree cannot be read, 2 for bad
// arguments.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "document/animation.h"
#include "document/campath.h"
#include "document/engineapi.h"
#include "document/inputslots.h"
#include "document/soundfunc.h"
#include "document/treefile.h"
#include "engine/catalog.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/appshell.h"
#include "foundation/mempool.h"
#include "sound/rtaudio.h"
#include "sound/treesound.h"

namespace {

constexpr uint32_t kFillFrames = 2048;
constexpr uint8_t kRingSlots = 3;

bool loadMember(sfuncSystem* doc, const std::string& name)
{
  int code = 0, id = 0, idEnd = 0, paramsEnd = 0;
  double p[3];
  const int fields = std::sscanf(name.c_str(), "member:%d:%d%n:%lf:%lf:%lf%n", &code, &id, &idEnd,
                                 &p[0], &p[1], &p[2], &paramsEnd);
  const size_t end = size_t(fields == 5 ? paramsEnd : idEnd);
  if ((fields != 2 && fields != 5) || end != name.size() || code < 0 || code > 0xFFFF ||
      KV_familyInfo(uint16_t(code)) == nullptr || id < 0 || id > 127)
    return false;
  arb_presetinit(doc, int16_t(code), int16_t(id));
  Anim_Init(&doc->animation);
  if (fields == 5) {
    gfunc* g = &doc->tree.funcs[0];
    g->A = p[0];
    g->B = p[1];
    g->C = p[2];
  }
  return true;
}

// Fills the document and its sound settings; 0 or the exit status.
int loadTree(sfuncSystem* doc, sSoundfunc* settings, const std::string& name)
{
  if (name.compare(0, 7, "member:") == 0) {
    if (loadMember(doc, name))
      return 0;
    std::fprintf(stderr, "play_tree: no member %s\n", name.c_str());
    return 2;
  }
  if (arb_READ(doc, FileRef::fromPath(name), true, true, settings, nullptr) == kTreeReadOK)
    return 0;
  std::fprintf(stderr, "play_tree: %s cannot be read as a tree file\n", name.c_str());
  return 1;
}

bool parseSeconds(const char* s, double& out)
{
  char* end = nullptr;
  out = std::strtod(s, &end);
  return end != s && *end == 0 && out > 0 && out < 1e6;
}

// Plays until the play ends or `seconds` have passed.
void playFor(double seconds)
{
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!gRTEffect.stop.load() && !gRTEffect.done.load() && gRTEffect.running.load() &&
         std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

}  // namespace

int main(int argc, char** argv)
{
  double seconds = 1e6;
  if (argc < 2 || argc > 3 || (argc == 3 && !parseSeconds(argv[2], seconds))) {
    std::fprintf(stderr, "usage: play_tree TREEFILE [SECONDS]\n");
    return 2;
  }
  SetAlertSoundProc([](bool) {});
  finit(&gMemPool, MemPoolStartupSize({Kovrelin_SoundPoolSize()}));
  auto world = std::make_unique<KovrelinWorld>();
  gKovrelinWorld = world.get();
  KV_initWorldRecord(world.get());
  KV_installInputHooks();
  sfuncSystem* doc = &world->doc;
  arb_Init(doc);
  SetRndTempTables(doc, 1);
  sSoundfunc settings;
  Kovrelin_SoundinfosInit(&settings);
  if (const int status = loadTree(doc, &settings, argv[1]); status != 0)
    return status;

  Kovrelin_SoundInit(0);
  KVSoundruntime& runtime = world->soundRuntime;
  Kovrelin_SoundSetup(doc, &runtime, &settings);
  Anim_Start(runtime.system, runtime.system->animation.mode, 1);
  const gfunc* out = KV_soundOutput(runtime.system);
  const bool stereo = out && KV_soundIsStereo(out->family);
  RT_idleplay_Start(previewplay_KVSound, &runtime, stereo ? 1 : 0, runtime.length, kFillFrames,
                    kRingSlots, 0);
  playFor(seconds);
  RT_idleplay_Stop();
  std::printf("channels %u frames %u\n", gRTEffect.channels, runtime.position);
  RT_kill(&gRTEffect);
  arb_Clear(runtime.system, true, true);
  Kovrelin_kill(doc);
  gKovrelinWorld = nullptr;
  fkill(&gMemPool);
  return 0;
}
