// pict_values: prints the outputs of a picture member reading a given picture
// file, for independent checks.
//
//   pict_values PICTURE FAMILY ID A B C N [--grey8]
//       loads PICTURE at its own size (as the program loads its images) and
//       puts it in input slot 0 of a fresh document (an outside buffer, so
//       the document's zoom of 1 applies), binds member ID of family FAMILY
//       (catalog code: 2 is f21, 7 is f23) with A, B, C, sends messages 7 and
//       8, and evaluates it over an N x N grid of -pi..pi (N 1..1024) in
//       batches of up to 16 along each row. Prints "# picture W H DEPTH"
//       first, then one line per sample, row by row: "x y out1 ... outK"
//       with every output of the family, 17 significant digits. With
//       --grey8 the picture is turned into an 8-bit grey buffer whose bytes
//       are the red bytes of the file's pixels.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "components/f21/f21_pictures.h"
#include "engine/catalog.h"
#include "foundation/appshell.h"
#include "foundation/pstrings.h"
#include "imaging/accesspix.h"
#include "imaging/offworld.h"
#include "imaging/qzimages.h"
#include "tests/components/member_harness.h"

namespace {

frefinfos recordOf(const std::string& path)
{
  const FileRef ref = FileRef::fromPath(path);
  frefinfos record;
  record.type = 0;
  record.parent = ref.parentRef();
  SetPString(record.name, ref.name.c_str());
  return record;
}

// The loaded pixels as a buffer of depth 32 or 8 (8: the red bytes).
Offworld bufferOf(const AccessPix& pixels, bool grey8)
{
  const Rect bounds{0, 0, pixels.height, pixels.width};
  Offworld out = nullptr;
  if (CreateOffworld(PackRectTopLeft(bounds), PackRectBottomRight(bounds), grey8 ? 8 : 32, &out) !=
      noErr)
    return nullptr;
  for (int row = 0; row < pixels.height; ++row) {
    const uint8_t* from = pixels.base + ptrdiff_t(row) * pixels.rowBytes;
    uint8_t* to = out->pixels.baseAddr + ptrdiff_t(row) * out->pixels.rowBytes;
    for (int column = 0; column < pixels.width; ++column) {
      if (grey8)
        to[column] = from[4 * column + 1];
      else
        std::memcpy(to + 4 * column, from + 4 * column, 4);
    }
  }
  return out;
}

int usage()
{
  std::fprintf(stderr, "usage: pict_values PICTURE FAMILY ID A B C N [--grey8]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 8 && argc != 9)
    return usage();
  const bool grey8 = argc == 9 && std::strcmp(argv[8], "--grey8") == 0;
  if (argc == 9 && !grey8)
    return usage();
  const int family = std::atoi(argv[2]);
  const int id = std::atoi(argv[3]);
  const int n = std::atoi(argv[7]);
  if (KV_familyInfo(family) == nullptr || n < 1 || n > 1024)
    return usage();

  SetAlertSoundProc([](bool) {});
  AccessPix pixels;
  if (!QZ_LoadImageToAccessPix(&pixels, recordOf(argv[1])) || pixels.pixelSize != 32) {
    std::fprintf(stderr, "pict_values: cannot read %s\n", argv[1]);
    return 1;
  }
  Offworld picture = bufferOf(pixels, grey8);
  DisposePtr(pixels.base);
  if (picture == nullptr)
    return 1;

  {
    KVmemberHarness h;
    KVinputSlot& slot = h.doc()->inputs[0];
    slot.picture = picture;
    slot.sourceKind = kInputFixedBuffer;
    gfunc* g = h.bind(int16_t(family), int16_t(id));
    h.setParams(std::atof(argv[4]), std::atof(argv[5]), std::atof(argv[6]));
    h.prepare();
    std::printf("# picture %d %d %d\n", picture->pixels.bounds.right, picture->pixels.bounds.bottom,
                picture->pixels.pixelSize);
    KVgridView view;
    view.width = view.height = n;
    const int outputs = KV_familyOutputs(family);
    std::vector<std::vector<double>> values;
    for (int k = 0; k < outputs; ++k)
      values.push_back(h.grid(view, k));
    for (int row = 0; row < n; ++row)
      for (int column = 0; column < n; ++column) {
        std::printf("%.17g %.17g", view.x(column), view.y(row));
        for (int k = 0; k < outputs; ++k)
          std::printf(" %.17g", values[size_t(k)][size_t(row) * n + column]);
        std::printf("\n");
      }
    if (g->family == kFamily21 && g->funcID == 34)
      f21_blurredmovie_release(g);
  }
  KillOffworld(&picture);
  return 0;
}
