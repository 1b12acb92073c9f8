// Renders a document with the render driver, as full-size renders do (the
// view fitted to the picture at scale 1), and writes the picture: as PNG when
// OUT ends in ".png" (drawn through the program's bitmap context into a cairo
// image surface, as a window shows it); as TIFF, a one-page PDF or PICT when
// it ends in ".tif", ".pdf" or ".pct" (through the picture export of image
// files, types 'TIFF', 'PDF ' and 'PICT', bottom-up flag cleared first as the
// engine does); otherwise as a PAM file (P7, TUPLTYPE RGB_ALPHA: red, green,
// blue, then the flag byte).
//
// Usage: render_tree TREEFILE OUT W H [THREADS] [--aa] [--time] [--frame F]
//                   [--resources DIR] [--export]
//   TREEFILE  a tree file, read with arb_READ as the browser reads one (its
//             permutation, palette and octave count included), or `builtin`
//             or `builtin:N`, a built-in test tree:
//             0  the default tree: one " Ax+By+C"
//             1  " Sin x * Sin y" into " x+A", a logarithmic colour function
//             2  " Fractal noise" and " Ripples" into " Interpolate", shaded
//                as relief with the geographic colour function
//             3  " Random Cones " and " Hexagons" into " Max(x,x*A+y) " with
//                the global shade
//             `member:CODE:ID[:A:B:C]` is a one-member tree: member ID of the
//             family with catalog code CODE at its defaults, or at A, B, C;
//             an f33 member (code 8) is fed x and y, then on inputs 3 and 4
//             z = (y + pi)/(2 pi) and w = (x + pi)/(2 pi) by two f21
//             " Ax+By+C" components
//   THREADS   processors to render on (default: all; 1 renders on one thread)
//   --aa      2 x 2 anti-aliasing
//   --time    prints `render_ms <milliseconds>` on standard error: the time
//             of the render alone, without loading the tree or writing
//   --frame F starts the tree's animation in its own mode and renders frame F
//   --export  writes OUT through the program's picture export instead (always
//             anti-aliased; PNG, TIFF or JPEG by OUT's extension, PNG
//             otherwise; an alpha channel when the output component has one)
//   --resources DIR  the folder of the default picture that stands in for
//             missing picture inputs (a tree's inputs are looked for beside it)
//   --octaves N  sets the document's octave count to N (0..32767) in memory,
//             past what the tree file reader accepts
// Exit status 0 on success, 1 when the tree file cannot be read or the render
// failed or was aborted, 2 for bad arguments.
#include <bit>
#include <cairo.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "document/animation.h"
#include "document/campath.h"
#include "document/engineapi.h"
#include "document/inputslots.h"
#include "document/treefile.h"
#include "engine/catalog.h"
#include "engine/colorfuncs.h"
#include "engine/render.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "engine/world.h"
#include "foundation/appshell.h"
#include "foundation/pstrings.h"
#include "imaging/qzbitmaps.h"
#include "imaging/qzimages.h"

namespace {

struct Arguments
{
  std::string tree;
  std::string out;
  int width = 0;
  int height = 0;
  int threads = 0;
  bool antiAlias = false;
  bool time = false;
  bool animate = false;
  bool exportFile = false;
  double frame = 0;
  std::string resources;
  int octaves = -1;  // -1: the tree's own
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
    else if (std::strcmp(argv[i], "--time") == 0)
      a.time = true;
    else if (std::strcmp(argv[i], "--frame") == 0 && i + 1 < argc) {
      char* end = nullptr;
      a.frame = std::strtod(argv[++i], &end);
      a.animate = true;
      if (end == argv[i] || *end != 0)
        return false;
    } else if (std::strcmp(argv[i], "--export") == 0)
      a.exportFile = true;
    else if (std::strcmp(argv[i], "--resources") == 0 && i + 1 < argc)
      a.resources = argv[++i];
    else if (std::strcmp(argv[i], "--octaves") == 0 && i + 1 < argc) {
      if (!parseInt(argv[++i], 0, 32767, a.octaves))
        return false;
    } else if (!parseInt(argv[i], 1, 1024, a.threads))
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

bool isBuiltinName(const std::string& name)
{
  return name.compare(0, 7, "builtin") == 0 && (name.size() == 7 || name[7] == ':');
}

// What a failed read says, by arb_READ's result.
const char* readFailure(int16_t result)
{
  switch (result) {
    case kTreeReadCannotOpen:
      return "cannot be opened";
    case kTreeReadUnsupported:
      return "is a tree file of a version that cannot be read";
    default:
      return "is not a readable tree file";
  }
}

// Reads the tree file into the document, tables included. On failure prints
// why on standard error and returns false.
bool readTreeFile(sfuncSystem* doc, const std::string& path)
{
  KVfileProblem problem;
  const int16_t result = arb_READ(doc, FileRef::fromPath(path), true, true, nullptr, &problem);
  if (result == kTreeReadOK)
    return true;
  std::fprintf(stderr, "render_tree: %s %s", path.c_str(), readFailure(result));
  if (problem)
    std::fprintf(stderr, " (%s at byte %zu)", problem.what, problem.offset);
  std::fprintf(stderr, "\n");
  return false;
}

// Families whose one-member trees get inputs 3 and 4 as their contact sheet
// feeds them: z = (y + pi)/(2 pi) rising up the view and w = (x + pi)/(2 pi)
// rising to the right, each from an f21 " Ax+By+C" at level 0.
constexpr int16_t kRampFedFamilies[] = {kFamily33};

bool rampFed(int code)
{
  for (int16_t f : kRampFedFamilies)
    if (f == code)
      return true;
  return false;
}

// Member (code, id) at level 1, its inputs 1 and 2 the master x and y, its
// inputs 3 and 4 the z and w ramps.
gfunc* addRampFedMember(sfuncSystem* doc, int16_t code, int16_t id)
{
  constexpr double kInvTwoPi = 0.15915494309189535;  // 1 / (2 pi)
  gfunc* z = addComponent(doc, kFamily21, 0, 0);
  z->A = 0;
  z->B = kInvTwoPi;
  z->C = 0.5;
  gfunc* w = addComponent(doc, kFamily21, 0, 0);
  w->A = kInvTwoPi;
  w->B = 0;
  w->C = 0.5;
  gfunc* g = addComponent(doc, uint16_t(code), id, 1);
  for (int k = 2; k < 4; ++k) {
    g->sources[k] = &doc->tree.funcs[k - 2];
    g->inlets[k].source = kSourceOutput1;
  }
  arb_ServiceChanges(doc, false);
  return g;
}

// A one-member tree from "member:CODE:ID[:A:B:C]"; false when the name does
// not parse or names no family.
bool buildMemberTree(sfuncSystem* doc, const std::string& name)
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
  gfunc* g = &doc->tree.funcs[0];
  if (rampFed(code)) {
    doc->tree.count = 0;
    g = addRampFedMember(doc, int16_t(code), int16_t(id));
  }
  if (fields == 5) {
    g->A = p[0];
    g->B = p[1];
    g->C = p[2];
  }
  return true;
}

// Fills the document with the built-in tree, the one-member tree or the tree
// file that the argument names. Returns 0, or the exit status of the failure
// (reported).
int loadTree(sfuncSystem* doc, const std::string& name)
{
  if (name.compare(0, 7, "member:") == 0) {
    if (buildMemberTree(doc, name))
      return 0;
    std::fprintf(stderr, "render_tree: no member %s\n", name.c_str());
    return 2;
  }
  if (!isBuiltinName(name))
    return readTreeFile(doc, name) ? 0 : 1;
  int number = 0;
  if (!treeNumber(name, number) || !buildTree(doc, number)) {
    std::fprintf(stderr, "render_tree: no built-in tree %s\n", name.c_str());
    return 2;
  }
  return 0;
}

bool endsWith(const std::string& s, const std::string& suffix)
{
  return s.size() >= suffix.size() &&
         s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Draws the rendered buffer 1:1 through a context on a port over a cairo
// image surface, as a window draws a render, and saves the surface as PNG.
bool writePng(const std::string& path, AccessPix& access)
{
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, access.width, access.height);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return false;
  }
  cairo_surface_flush(surface);
  const OSType native =
      std::endian::native == std::endian::little ? kPixelFormatBGRA : kPixelFormatARGB;
  const Rect bounds{0, 0, int16_t(access.height), int16_t(access.width)};
  CGrafPtr port = NewPixelPort(cairo_image_surface_get_data(surface),
                               cairo_image_surface_get_stride(surface), bounds, 32, native);
  CGContextRef ctx = port ? QZ_OpenContext(port) : nullptr;
  bool drawn = ctx != nullptr;
  if (drawn) {
    QZ_CopyBitsToContext(ctx, &access, nullptr, bounds);
    QZ_CloseContext(ctx, port);
  }
  if (port)
    DisposePixelPort(port);
  cairo_surface_mark_dirty(surface);
  const bool saved =
      drawn && cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return saved;
}

bool writePam(const std::string& path, const AccessPix& access)
{
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr)
    return false;
  std::fprintf(f, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
               access.width, access.height);
  // One row at a time: flag, red, green, blue become red, green, blue, alpha.
  std::vector<uint8_t> row(size_t(access.width) * 4);
  bool ok = true;
  for (int y = 0; y < access.height && ok; ++y) {
    const uint8_t* p = access.base + int64_t(y) * access.rowBytes;
    for (size_t i = 0; i < row.size(); i += 4) {
      row[i] = p[i + 1];
      row[i + 1] = p[i + 2];
      row[i + 2] = p[i + 3];
      row[i + 3] = p[i];
    }
    ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
  }
  return std::fclose(f) == 0 && ok;
}

// The export file type that OUT's extension names, 0 for none.
OSType exportTypeOf(const std::string& path)
{
  static constexpr struct
  {
    const char* extension;
    OSType type;
  } kTypes[] = {{".tif", fourcc("TIFF")},
                {".pdf", fourcc("PDF ")},
                {".pct", fourcc("PICT")},
                {".png", fourcc("PNGf")}};
  for (const auto& t : kTypes)
    if (endsWith(path, t.extension))
      return t.type;
  return 0;
}

// Writes through QZ_ExportBits with the type that the extension names (PNG
// is written by the tool's own writer); false when the extension names none.
bool exportBits(const std::string& path, AccessPix& access, bool* handled)
{
  const OSType type = exportTypeOf(path);
  if (type != 0 && type != fourcc("PNGf")) {
    *handled = true;
    const FileRef target = FileRef::fromPath(path);
    frefinfos file;
    file.type = type;
    file.parent = target.parentRef();
    SetPString(file.name, target.name.c_str());
    access.bottomUp = 0;
    return QZ_ExportBits(file, &access, false, kQZApplicationCreator);
  }
  *handled = false;
  return false;
}

bool writePicture(const std::string& path, AccessPix& access)
{
  bool handled = false;
  const bool exported = exportBits(path, access, &handled);
  if (handled)
    return exported;
  return endsWith(path, ".png") ? writePng(path, access) : writePam(path, access);
}

// The world the tool renders with: a document with a fixed permutation, so
// that every run of a built-in tree draws the same picture (a tree file
// brings its own). Its sub-trees and auxiliary memory go with it.
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
    arb_setColorfunc(doc(), 0, true);
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

// Renders the document into a fresh buffer and writes it. Returns the exit
// status.
int renderAndWrite(sfuncSystem* doc, const Arguments& args)
{
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
  const auto start = std::chrono::steady_clock::now();
  const int16_t aborted = KV_MultiProcRenderOn(&job, args.antiAlias ? 1 : 0, args.threads);
  const std::chrono::duration<double, std::milli> elapsed =
      std::chrono::steady_clock::now() - start;
  if (args.time)
    std::fprintf(stderr, "render_ms %.3f\n", elapsed.count());
  const bool written = aborted == 0 && writePicture(args.out, access);
  DisposePtr(pixels);
  if (aborted != 0)
    std::fprintf(stderr, "render_tree: render aborted\n");
  else if (!written)
    std::fprintf(stderr, "render_tree: cannot write %s\n", args.out.c_str());
  return written ? 0 : 1;
}

// Renders and writes the picture through the program's export.
int exportPicture(sfuncSystem* doc, const Arguments& args)
{
  AccessPix access{};
  renderjob job;
  Kovrelin_SetUpQuartzRender(nullptr, &job, doc, nullptr, int16_t(args.width), int16_t(args.height),
                             &access);
  if (access.base == nullptr) {
    std::fprintf(stderr, "render_tree: no memory for %d x %d pixels\n", args.width, args.height);
    return 1;
  }
  const FileRef target = FileRef::fromPath(args.out);
  frefinfos file;
  file.type = exportTypeOf(args.out);
  file.parent = target.parentRef();
  SetPString(file.name, target.name.c_str());
  const int16_t result = Kovrelin_RenderToFile(file, &job, doc);
  DisposePtr(access.base);
  if (result != 0)
    std::fprintf(stderr, "render_tree: cannot export %s (%d)\n", args.out.c_str(), result);
  return result == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
  Arguments args;
  if (!parseArguments(argc, argv, args)) {
    std::fprintf(stderr,
                 "usage: render_tree TREEFILE OUT W H [THREADS] [--aa] [--time]"
                 " [--frame F] [--resources DIR] [--octaves N] [--export]\n");
    return 2;
  }
  SetAlertSoundProc([](bool) {});  // failures are reported on standard error
  ToolWorld world;
  if (!args.resources.empty() &&
      Kovrelin_opendefaultpicture(FileRef::fromPath(args.resources)) != 0)
    std::fprintf(stderr, "render_tree: no default picture in %s\n", args.resources.c_str());
  if (const int status = loadTree(world.doc(), args.tree); status != 0)
    return status;
  if (args.octaves >= 0)
    world.doc()->fractal.octaves = int16_t(args.octaves);
  if (args.animate) {
    sfuncSystem* doc = world.doc();
    const int16_t mode = doc->animation.mode;
    Anim_Start(doc, mode, kAnimUpdateForced);
    Anim_SetTime_fromframe(doc, mode, args.frame);
    Anim_Paramlists(doc, mode, kAnimUpdateForced, kBatchCapacity, false);
  }
  return args.exportFile ? exportPicture(world.doc(), args) : renderAndWrite(world.doc(), args);
}
