// Applies one of the program's buffer operations to an image file, so that
// independent tools can recompute it:
//
//   buffer_op NAME ARGS IN OUT [IN2]
//
// IN (and IN2) are loaded into 32-bit buffers as the program loads its
// images (QZ_LoadImageToAccessPix: colours drawn over black); byte 0 then
// takes the image's alpha, so that the modes reading pads can be run. NAME is
//   - a gw_ filter, run by Offworld_Commandes over the whole buffer with the
//     first of ARGS as its parameter (0 when none). The filters taking a
//     record's address are called on the whole buffer with the record ARGS
//     give: gw_FadeToColor weight,r,g,b; gw_hilit mode,r,g,b;
//     gw_gradientV/H r,g,b,r,g,b...
//     The mask filters read a grey ramp the tool writes first: entry i of
//     the n + 1 entries (n = 2,048, or the parameter for gw_GaussMask) is
//     255 i / n in every colour byte, byte 0 255;
//   - Move_GW32 x,y[,wrap], Rotate_GW32 / AARotate_GW32 sx,sy,angle,centre
//     [,wrap], Contrast_GW c,b,zeroBlack; the 8-bit names Move_GW, Rotate_GW
//     and AARotate_GW run on the grey form of IN (TransfertGWorlds 32 into
//     8, mode 0) and write a grey PNG;
//   - TransfertGWorlds:MODE with IN2 as the source and IN the destination,
//     ARGS the parameter, over the rectangle both images cover.
// ARGS: comma-separated integers ("-" or "" for none). OUT: PNG without
// alpha, written by QZ_ExportBits.
// Exit status 0 on success, 1 when an image cannot be read or written, 2 for
// bad arguments or an unknown NAME.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "foundation/appshell.h"
#include "foundation/pstrings.h"
#include "imaging/accesspix.h"
#include "imaging/bufcommands.h"
#include "imaging/filters.h"
#include "imaging/geometry.h"
#include "imaging/offworld.h"
#include "imaging/qzimages.h"
#include "imaging/transfers.h"

namespace {

frefinfos recordOf(const std::string& path, OSType type)
{
  const FileRef ref = FileRef::fromPath(path);
  frefinfos record;
  record.type = type;
  record.parent = ref.parentRef();
  SetPString(record.name, ref.name.c_str());
  return record;
}

bool parseArgs(const std::string& text, std::vector<int32_t>* out)
{
  if (text.empty() || text == "-")
    return true;
  size_t at = 0;
  while (at <= text.size()) {
    const size_t comma = std::min(text.find(',', at), text.size());
    const std::string item = text.substr(at, comma - at);
    char* end = nullptr;
    const long value = std::strtol(item.c_str(), &end, 10);
    if (item.empty() || *end != '\0' || value < INT32_MIN || value > INT32_MAX)
      return false;
    out->push_back(int32_t(value));
    at = comma + 1;
  }
  return true;
}

// Byte 0 of every pixel = the image's alpha.
void takeAlpha(const std::string& path, Offworld world)
{
  CGImageRef image = QZ_lookforImageFile(recordOf(path, 0), false);
  kvimg::Pixels straight;
  const PixMap& pm = world->pixels;
  if (image && QZ_ImageCopyPixels(image, &straight) && straight.width == RectWidth(pm.bounds) &&
      straight.height == RectHeight(pm.bounds)) {
    for (int32_t y = 0; y < straight.height; ++y)
      for (int32_t x = 0; x < straight.width; ++x)
        pm.baseAddr[int64_t(y) * pm.rowBytes + 4 * x] =
            straight.argb[4 * (size_t(y) * straight.width + x)];
  }
  if (image)
    QZ_ImageRelease(image);
}

// The image as a 32-bit buffer: byte 0 alpha, then red, green, blue.
Offworld load(const std::string& path)
{
  AccessPix pixels;
  if (!QZ_LoadImageToAccessPix(&pixels, recordOf(path, 0)))
    return nullptr;
  Offworld world = nullptr;
  const Rect r{0, 0, pixels.height, pixels.width};
  if (CreateOffworld(PackRectTopLeft(r), PackRectBottomRight(r), 32, &world) == noErr) {
    const bool bgra = pixels.pixelFormat == kPixelFormatBGRA;
    for (int32_t y = 0; y < pixels.height; ++y) {
      const uint8_t* s = pixels.base + int64_t(y) * pixels.rowBytes;
      uint8_t* d = world->pixels.baseAddr + int64_t(y) * world->pixels.rowBytes;
      for (int32_t x = 0; x < pixels.width; ++x, s += 4, d += 4)
        for (int b = 0; b < 4; ++b)
          d[b] = bgra ? s[3 - b] : s[b];
    }
  }
  DisposePtr(pixels.base);
  if (world)
    takeAlpha(path, world);
  return world;
}

Offworld makeLike(Offworld world, int16_t depth)
{
  const Rect b = world->pixels.bounds;
  Offworld out = nullptr;
  if (CreateOffworld(PackRectTopLeft(b), PackRectBottomRight(b), depth, &out) != noErr)
    return nullptr;
  return out;
}

void copyInto(Offworld from, Offworld to, int16_t mode, int32_t param)
{
  const Rect b = to->pixels.bounds;
  TransfertGWorlds(from, to, PackRectTopLeft(b), PackRectBottomRight(b), PackRectTopLeft(b),
                   PackRectBottomRight(b), mode, param);
}

int32_t arg(const std::vector<int32_t>& args, size_t i)
{
  return i < args.size() ? args[i] : 0;
}

// Writes the grey ramp the mask filters read: n + 1 entries.
void writeRamp(int32_t n)
{
  auto* ramp = static_cast<uint8_t*>(gTempbuffer);
  for (int32_t i = 0; i <= n && 4 * (i + 1) <= kGWTempBufferSize; ++i) {
    const uint8_t v = uint8_t(255 * i / n);
    ramp[4 * i] = 255;
    ramp[4 * i + 1] = ramp[4 * i + 2] = ramp[4 * i + 3] = v;
  }
}

using Filter = void (*)(int32_t, int32_t, uint8_t*, int32_t, int32_t);

const std::map<std::string, Filter>& filters()
{
  static const std::map<std::string, Filter> table = {
      {"gw_alphapremul", gw_alphapremul},
      {"gw_invertalpha", gw_invertalpha},
      {"gw_mul", gw_mul},
      {"gw_sub", gw_sub},
      {"gw_invert", gw_invert},
      {"gw_SawMap", gw_SawMap},
      {"gw_AbsMap", gw_AbsMap},
      {"gw_FadeDirection", gw_FadeDirection},
      {"gw_colorfill", gw_colorfill},
      {"gw_Equalize", gw_Equalize},
      {"gw_max_x", gw_max_x},
      {"gw_max_y", gw_max_y},
      {"gw_Lerp", gw_Lerp},
      {"gw_LowerLo", gw_LowerLo},
      {"gw_LowerHi", gw_LowerHi},
      {"gw_FadeMap", gw_FadeMap},
      {"gw_offset", gw_offset},
      {"gw_SymH", gw_SymH},
      {"gw_SymV", gw_SymV},
      {"gw_Sym", gw_Sym},
      {"gw_MirrorH", gw_MirrorH},
      {"gw_MirrorV", gw_MirrorV},
      {"gw_Hfill", gw_Hfill},
      {"gw_Vfill", gw_Vfill},
      {"gw_smoothX", gw_smoothX},
      {"gw_smoothR", gw_smoothR},
      {"gw_smoothL", gw_smoothL},
      {"gw_embossR", gw_embossR},
      {"gw_embossL", gw_embossL},
      {"gw_FastAverage", gw_FastAverage},
      {"gw_FastAverageY", gw_FastAverageY},
      {"gw_FastAverageXBS", gw_FastAverageXBS},
      {"gw_FastAverageYBS", gw_FastAverageYBS},
      {"gw_FastAverage8XBS", gw_FastAverage8XBS},
      {"gw_FastAverage8YBS", gw_FastAverage8YBS},
      {"gw_FastBlurr32", gw_FastBlurr32},
      {"gw_FadeInMaskV", gw_FadeInMaskV},
      {"gw_FadeInOutMaskV", gw_FadeInOutMaskV},
      {"gw_FadeInMaskH", gw_FadeInMaskH},
      {"gw_FadeInOutMaskH", gw_FadeInOutMaskH},
      {"gw_SquareMask", gw_SquareMask},
      {"gw_GaussMask", gw_GaussMask},
  };
  return table;
}

// The record filters read their record from the address they are handed;
// the tool calls them directly on the whole buffer.
bool runRecordFilter(const std::string& name, const std::vector<int32_t>& args, Offworld world)
{
  PixMap& pm = world->pixels;
  const int32_t w = RectWidth(pm.bounds), h = RectHeight(pm.bounds);
  auto colour = [&](size_t i) {
    return normalcolor{0, uint8_t(arg(args, i)), uint8_t(arg(args, i + 1)),
                       uint8_t(arg(args, i + 2))};
  };
  gwIs8bit = gwIs16bit = 0;
  if (name == "gw_FadeToColor") {
    FadeToColorRec rec;
    rec.weight = int16_t(arg(args, 0));
    rec.color = colour(1);
    gw_FadeToColor(w, h, pm.baseAddr, pm.rowBytes, &rec);
    return true;
  }
  if (name == "gw_hilit") {
    HiliteStyle style;
    style.mode = uint8_t(arg(args, 0));
    style.color = colour(1);
    gw_hilit(w, h, pm.baseAddr, pm.rowBytes, &style);
    return true;
  }
  if (name == "gw_gradientV" || name == "gw_gradientH") {
    GradientRec rec;
    rec.count = int32_t(std::min<size_t>(args.size() / 3, 64));
    for (int32_t i = 0; i < rec.count; ++i)
      rec.colors[i] = colour(3 * size_t(i));
    (name == "gw_gradientV" ? gw_gradientV : gw_gradientH)(w, h, pm.baseAddr, pm.rowBytes, &rec);
    return true;
  }
  return false;
}

bool runFilter(const std::string& name, const std::vector<int32_t>& args, Offworld world)
{
  if (runRecordFilter(name, args, world))
    return true;
  const auto found = filters().find(name);
  if (found == filters().end())
    return false;
  const int32_t param = arg(args, 0);
  if (name.find("Mask") != std::string::npos)
    writeRamp(name == "gw_GaussMask" ? std::max(param, 1) : 2048);
  const Rect b = world->pixels.bounds;
  Offworld_Commandes(world, nullptr, PackRectTopLeft(b), PackRectBottomRight(b), param,
                     found->second, 0);
  return true;
}

// A geometric operation into a new buffer; null when NAME is none of them.
Offworld runGeometry(const std::string& name, const std::vector<int32_t>& args, Offworld world)
{
  const bool grey = name == "Move_GW" || name == "Rotate_GW" || name == "AARotate_GW";
  const bool colour = name == "Move_GW32" || name == "Rotate_GW32" || name == "AARotate_GW32" ||
                      name == "Contrast_GW";
  if (!grey && !colour)
    return nullptr;
  Offworld src = world;
  if (grey) {
    src = makeLike(world, 8);
    if (!src)
      return nullptr;
    copyInto(world, src, 0, 0);
  }
  Offworld dst = makeLike(src, src->pixels.pixelSize);
  const bool isMove = name.rfind("Move", 0) == 0;
  gWarpArround = int16_t(arg(args, isMove ? 2 : 4) != 0);
  if (dst && isMove)
    (grey ? Move_GW : Move_GW32)(src, dst, arg(args, 0), arg(args, 1));
  else if (dst && name == "Contrast_GW")
    Contrast_GW(src, dst, arg(args, 0), arg(args, 1), uint8_t(arg(args, 2) != 0));
  else if (dst) {
    const bool aa = name.rfind("AA", 0) == 0;
    auto op = grey ? (aa ? AARotate_GW : Rotate_GW) : (aa ? AARotate_GW32 : Rotate_GW32);
    op(src, dst, arg(args, 0), arg(args, 1), arg(args, 2), uint8_t(arg(args, 3) != 0));
  }
  if (src != world)
    KillOffworld(&src);
  return dst;
}

bool exportWorld(Offworld world, const std::string& path)
{
  AccessPix access;
  Rect r = world->pixels.bounds;
  if (!AccessPixels(world, &access, &r))
    return false;
  return QZ_ExportBits(recordOf(path, fourcc("PNGf")), &access, false, kQZApplicationCreator);
}

int usage()
{
  std::fprintf(stderr, "usage: buffer_op NAME ARGS IN OUT [IN2]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 5 && argc != 6)
    return usage();
  const std::string name = argv[1];
  std::vector<int32_t> args;
  if (!parseArgs(argv[2], &args))
    return usage();
  SetAlertSoundProc([](bool) {});
  static uint8_t scratch[kGWTempBufferSize];
  initGWutils(scratch);

  Offworld world = load(argv[3]);
  if (!world) {
    std::fprintf(stderr, "buffer_op: cannot read %s\n", argv[3]);
    return 1;
  }
  Offworld result = world;
  int status = 0;
  const std::string transfer = "TransfertGWorlds:";
  if (name.rfind(transfer, 0) == 0) {
    Offworld src = argc == 6 ? load(argv[5]) : nullptr;
    char* end = nullptr;
    const long mode = std::strtol(name.c_str() + transfer.size(), &end, 10);
    if (!src || *end != '\0' || mode < INT16_MIN || mode > INT16_MAX) {
      std::fprintf(stderr, "buffer_op: %s needs a mode and a readable IN2\n", name.c_str());
      status = src ? 2 : 1;
    } else {
      const Rect r = SectRect(src->pixels.bounds, world->pixels.bounds);
      TransfertGWorlds(src, world, PackRectTopLeft(r), PackRectBottomRight(r), PackRectTopLeft(r),
                       PackRectBottomRight(r), int16_t(mode), arg(args, 0));
    }
    KillOffworld(&src);
  } else if (Offworld moved = runGeometry(name, args, world)) {
    result = moved;
  } else if (!runFilter(name, args, world)) {
    std::fprintf(stderr, "buffer_op: unknown operation %s\n", name.c_str());
    status = 2;
  }
  if (status == 0 && !exportWorld(result, argv[4])) {
    std::fprintf(stderr, "buffer_op: cannot write %s\n", argv[4]);
    status = 1;
  }
  if (result != world)
    KillOffworld(&result);
  KillOffworld(&world);
  return status;
}
