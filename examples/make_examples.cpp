// Writes the example tree files that the README's run command browses:
//
//   make_examples OUT_FOLDER
//
// Every tree is made in memory from members of the catalog that are built
// (a placeholder member stops the tool with status 1) and written with the
// program's own tree writer into OUT_FOLDER/<group>/<name>.kovr. The groups:
// "Patterns" (single members and short chains), "Blends" (two members
// mixed by a third, one of them animated by keyframes) and "Sound" (sound
// trees: Ax+By+C heard on the circle path as a 220 Hz sine, and ripples
// heard along the straight path).
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <system_error>

#include "document/animation.h"
#include "document/engineapi.h"
#include "document/inputslots.h"
#include "document/treefile.h"
#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/appshell.h"
#include "foundation/pstrings.h"

namespace {

struct Param
{
  double a, b, c;
};

// One component: member (family, id) at `level`, fed on its inputs by
// output 1 of the components in `sources`, with parameters when given.
struct Part
{
  uint16_t family;
  int16_t id;
  uint8_t level;
  std::initializer_list<int> sources;
  bool setParams;
  Param params;
};

struct Example
{
  const char* group;
  const char* name;
  std::initializer_list<Part> parts;
  int16_t colorFunction;
  // Keyframes: the last component's parameters at key 0 and at key 1.
  bool animated;
  Param key0, key1;
  // A sound tree: 0 no, 1 heard on the circle path, 2 on the straight path.
  uint8_t sound = 0;
};

// f21: 5 Sin x * Sin y, 12 fractal noise, 15 ripples, 18 random cones, 35
// hexagons, 44 interpolate, 58 max(x, x*A+y); f11: 20 x+A.
const Example kExamples[] = {
    {"Patterns", "Ripples", {{kFamily21, 15, 0, {}, false, {}}}, 3, false, {}, {}},
    {"Patterns",
     "Hexagons",
     {{kFamily21, 35, 0, {}, false, {}}},
     kColorFuncGeographic,
     false,
     {},
     {}},
    {"Patterns",
     "Fractal noise",
     {{kFamily21, 12, 0, {}, false, {}}},
     kColorFuncGeographic,
     false,
     {},
     {}},
    {"Patterns",
     "Shifted sines",
     {{kFamily21, 5, 0, {}, false, {}}, {kFamily11, 20, 1, {0}, true, {0.5, 0, 0}}},
     3,
     false,
     {},
     {}},
    {"Blends",
     "Ripples over cones",
     {{kFamily21, 15, 0, {}, false, {}},
      {kFamily21, 18, 0, {}, false, {}},
      {kFamily21, 44, 1, {0, 1}, false, {}}},
     kColorFuncGeographic,
     false,
     {},
     {}},
    {"Blends",
     "Hexagon maximum",
     {{kFamily21, 35, 0, {}, false, {}},
      {kFamily21, 12, 0, {}, false, {}},
      {kFamily21, 58, 1, {0, 1}, false, {}}},
     12,
     false,
     {},
     {}},
    {"Blends",
     "Noise into sines",
     {{kFamily21, 12, 0, {}, false, {}},
      {kFamily21, 5, 0, {}, false, {}},
      {kFamily21, 44, 1, {0, 1}, false, {}}},
     3,
     false,
     {},
     {}},
    {"Blends",
     "Moving ripples",
     {{kFamily21, 15, 0, {}, false, {}},
      {kFamily21, 35, 0, {}, false, {}},
      {kFamily21, 44, 1, {0, 1}, true, {0.1, 0, 0}}},
     kColorFuncGeographic,
     true,
     {0.1, 0, 0},
     {0.9, 0, 0}},
    {"Sound", "Sine 220 Hz", {{kFamily21, 0, 0, {}, true, {1, 1, 0}}}, 3, false, {}, {}, 1},
    {"Sound", "Ripples sweep", {{kFamily21, 15, 0, {}, false, {}}}, 3, false, {}, {}, 2},
};

bool allReal(const Example& e)
{
  for (const Part& p : e.parts) {
    if (!KV_catalogMember(p.family, p.id).real) {
      std::fprintf(stderr, "make_examples: member %d:%d of \"%s\" is not built\n", int(p.family),
                   int(p.id), e.name);
      return false;
    }
  }
  return true;
}

void build(sfuncSystem* doc, const Example& e)
{
  smalltree& tree = doc->tree;
  for (const Part& p : e.parts) {
    const int slot = tree.count++;
    gfunc* g = &tree.funcs[slot];
    g->index = int16_t(slot);
    g->level = p.level;
    setFunc(g, int16_t(p.family), p.id, kBindDefaults);
    int input = 0;
    for (int s : p.sources) {
      g->sources[input] = &tree.funcs[s];
      g->inlets[input].source = kSourceOutput1;
      ++input;
    }
    if (p.setParams) {
      g->A = p.params.a;
      g->B = p.params.b;
      g->C = p.params.c;
    }
    if (p.level > tree.rootLevel)
      tree.rootLevel = p.level;
  }
  arb_ServiceChanges(doc, false);
  arb_setColorfunc(doc, e.colorFunction, true);
  doc->movie.soundTree = e.sound != 0;
  doc->movie.soundPathStraight = e.sound == 2;
  if (!e.animated)
    return;
  gfunc* last = &tree.funcs[tree.count - 1];
  for (const Param& key : {e.key0, e.key1}) {
    last->A = key.a;
    last->B = key.b;
    last->C = key.c;
    Anim_Add_KeyFrame(doc);
  }
}

// A fresh document for each tree.
class ToolWorld
{
public:
  ToolWorld() : world_(std::make_unique<KovrelinWorld>())
  {
    gKovrelinWorld = world_.get();
    KV_initWorldRecord(world_.get());
    KV_installInputHooks();
    arb_Init(doc());
    SetRndTempTables(doc(), 1);
    // Keyframe animation of 600 frames at 25 per second: a sound tree plays
    // 24 s, and no tree's parameters wander in time-random mode.
    Anim_Init(&doc()->animation);
  }
  ~ToolWorld()
  {
    Kovrelin_kill(doc());
    gKovrelinWorld = nullptr;
  }
  ToolWorld(const ToolWorld&) = delete;
  ToolWorld& operator=(const ToolWorld&) = delete;
  sfuncSystem* doc() { return &world_->doc; }

private:
  std::unique_ptr<KovrelinWorld> world_;
};

bool writeExample(const std::filesystem::path& out, const Example& e)
{
  std::error_code ec;
  std::filesystem::path folder = out / e.group;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    std::fprintf(stderr, "make_examples: cannot make %s\n", folder.c_str());
    return false;
  }
  ToolWorld world;
  build(world.doc(), e);
  frefinfos ref;
  ref.type = kTreeFileType;
  ref.parent = FileRef::fromPath(folder.string());
  std::string name = std::string(e.name) + ".kovr";
  SetPString(ref.name, name.c_str());
  if (OSErr err = arb_WRITE(world.doc(), &ref, nullptr); err != 0) {
    std::fprintf(stderr, "make_examples: %s could not be written (%d)\n", name.c_str(), int(err));
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_examples OUT_FOLDER\n");
    return 2;
  }
  SetAlertSoundProc([](bool) {});
  for (const Example& e : kExamples)
    if (!allReal(e) || !writeExample(argv[1], e))
      return 1;
  return 0;
}
