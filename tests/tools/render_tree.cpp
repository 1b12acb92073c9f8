// Renders a document with the render driver, as full-size renders do (the
// view fitted to the picture at scale 1), and writes the picture as a PAM
// file (P7, TUPLTYPE RGB_ALPHA: red, green, blue, then the flag byte).
//
// Usage: render_tree TREEFILE OUT W H [THREADS] [--aa]
//   TREEFILE  `builtin` or `builtin:N`, a built-in test tree:
//             0  the default tree: one " Ax+By+C"
//             1  " Sin x * Sin y" into " x+A", a logarithmic colour function
//             2  " Fractal noise" and " Ripples" into " Interpolate", shaded
//                as relief with the geographic colour function
//             3  " Random Cones " and " Hexagons" into " Max(x,x*A+y) " with
//                the global shade
//   THREADS   processors to render on (default: all; 1 renders on one thread)
//   --aa      2 x 2 anti-aliasing
// Exit status 0 on success, 1 when the render failed or was aborted, 2 for
// bad arguments.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/render.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "imaging/qzbitmaps.h"

namespace {

struct Arguments
{
  std::string tree;
  std::string out;
  int width = 0;
  int height = 0;
  int threads = 0;
  bool antiAlias = false;
};

bool parseInt(const char* s, int low, int high, int& out)
{
  char* end = nullptr;
  const long v = std::strtol(s, &end, 10);
  if (end == s || *end != 0 || v < low || v > high)
    return false;
  out = int(v);
  return true;
}

bool parseArguments(int argc, char** argv, Arguments& a)
{
  if (argc < 5)
    return false;
  a.tree = argv[1];
  a.out = argv[2];
  if (!parseInt(argv[3], 1, 32767, a.width) || !parseInt(argv[4], 1, 32767, a.height))
    return false;
  a.threads = KV_processorCount();
  for (int i = 5; i < argc; ++i) {
    if (std::strcmp(argv[i], "--aa") == 0)
      a.antiAlias = true;
    else if (!parseInt(argv[i], 1, 1024, a.threads))
      return false;
  }
  return true;
}

// Appends member (family, id) at `level`, fed on its inputs 1, 2, ... by
// output 1 of the components in the given slots.
gfunc* addComponent(sfuncSystem* doc, uint16_t family, int16_t id, uint8_t level,
                    std::initializer_list<int> sourceSlots = {})
{
  smalltree& tree = doc->tree;
  const int slot = tree.count++;
  gfunc* g = &tree.funcs[slot];
  g->index = int16_t(slot);
  g->level = level;
  setFunc(g, int16_t(family), id, kBindDefaults);
  int input = 0;
  for (int s : sourceSlots) {
    g->sources[input] = &tree.funcs[s];
    g->inlets[input].source = kSourceOutput1;
    ++input;
  }
  if (level > tree.rootLevel)
    tree.rootLevel = level;
  return g;
}

// Two level-0 members of f21 feeding a third.
void makeBlend(sfuncSystem* doc, int16_t first, int16_t second, int16_t blend)
{
  addComponent(doc, kFamily21, first, 0);
  addComponent(doc, kFamily21, second, 0);
  addComponent(doc, kFamily21, blend, 1, {0, 1});
}

bool buildTree(sfuncSystem* doc, int number)
{
  switch (number) {
    case 0:
      arb_presetinit(doc, kFamily21, 0);
      return true;
    case 1:
      addComponent(doc, kFamily21, 5, 0);
      addComponent(doc, kFamily11, 20, 1, {0});
      arb_ServiceChanges(doc, false);
      arb_setColorfunc(doc, 3, true);
      return true;
    case 2:
      makeBlend(doc, 12, 15, 44);
      arb_ServiceChanges(doc, false);
      arb_setColorfunc(doc, kColorFuncGeographic, true);
      return true;
    case 3:
      makeBlend(doc, 18, 35, 58);
      arb_ServiceChanges(doc, false);
      arb_setColorfunc(doc, 12, true);
      doc->globalShade = 1;
      return true;
    default:
      return false;
  }
}

bool treeNumber(const std::string& name, int& number)
{
  if (name == "builtin") {
    number = 0;
    return true;
  }
  const std::string prefix = "builtin:";
  if (name.compare(0, prefix.size(), prefix) != 0)
    return false;
  return parseInt(name.c_str() + prefix.size(), 0, 99, number);
}

bool writePam(const std::string& path, const AccessPix& access)
{
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr)
    return false;
  std::fprintf(f, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
               access.width, access.height);
  bool ok = true;
  for (int y = 0; y < access.height && ok; ++y) {
    const uint8_t* p = access.base + int64_t(y) * access.rowBytes;
    for (int x = 0; x < access.width; ++x, p += 4) {
      const uint8_t rgba[4] = {p[1], p[2], p[3], p[0]};
      ok = ok && std::fwrite(rgba, 1, 4, f) == 4;
    }
  }
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv)
{
  Arguments args;
  int number = 0;
  if (!parseArguments(argc, argv, args)) {
    std::fprintf(stderr, "usage: render_tree TREEFILE OUT W H [THREADS] [--aa]\n");
    return 2;
  }
  if (!treeNumber(args.tree, number)) {
    std::fprintf(stderr, "render_tree: %s: tree files cannot be read yet; use builtin:N\n",
                 args.tree.c_str());
    return 2;
  }

  auto world = std::make_unique<KovrelinWorld>();
  gKovrelinWorld = world.get();
  KV_initWorldRecord(world.get());
  sfuncSystem* doc = &world->doc;
  arb_Init(doc);
  // A fixed permutation, so that every run draws the same picture.
  SetRndTempTables(doc, 1);
  arb_setColorfunc(doc, 0, true);
  if (!buildTree(doc, number)) {
    std::fprintf(stderr, "render_tree: no built-in tree %d\n", number);
    return 2;
  }

  AccessPix access;
  uint8_t* pixels = QZ_AllocateRenderBuffer32(&access, int16_t(args.width), int16_t(args.height));
  if (pixels == nullptr) {
    std::fprintf(stderr, "render_tree: no memory for %d x %d pixels\n", args.width, args.height);
    return 1;
  }
  renderjob job;
  SetUpRender(doc, &job, nullptr, nullptr, nullptr, nullptr);
  SetUpRenderAccess(&job, &access);
  findRenderMetrics(&job, 1.0);
  const int16_t aborted = KV_MultiProcRenderOn(&job, args.antiAlias ? 1 : 0, args.threads);
  const bool written = aborted == 0 && writePam(args.out, access);
  DisposePtr(pixels);
  arb_Clear(doc, true, true);
  gKovrelinWorld = nullptr;
  if (!written) {
    std::fprintf(stderr, "render_tree: %s\n", aborted ? "render aborted" : "cannot write");
    return 1;
  }
  return 0;
}
