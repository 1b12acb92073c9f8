// Shows a tree file's browser preview in a window port and writes what the
// window shows: Kovrelin_PreviewToImage renders the destination reduced by
// FACTOR and draws it scaled up into a W x H port over a cairo image surface,
// which is then written as PNG.
//
// Usage: preview_tree TREEFILE OUT.png W H FACTOR
// Exit status 0 on success, 1 when the tree cannot be read or the picture not
// written, 2 for bad arguments.
#include <bit>
#include <cairo.h>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "document/engineapi.h"
#include "document/treefile.h"
#include "engine/tables.h"
#include "engine/treemanage.h"
#include "foundation/appshell.h"

namespace {

int preview(const char* tree, const char* out, int width, int height, int factor)
{
  auto world = std::make_unique<KovrelinWorld>();
  gKovrelinWorld = world.get();
  KV_initWorldRecord(world.get());
  arb_Init(&world->doc);
  SetRndTempTables(&world->doc, 1);
  if (arb_READ(&world->doc, FileRef::fromPath(tree), true, true, nullptr, nullptr) != kTreeReadOK) {
    std::fprintf(stderr, "preview_tree: cannot read %s\n", tree);
    gKovrelinWorld = nullptr;
    return 1;
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_surface_flush(surface);
  const OSType native =
      std::endian::native == std::endian::little ? kPixelFormatBGRA : kPixelFormatARGB;
  const Rect bounds{0, 0, int16_t(height), int16_t(width)};
  CGrafPtr window = NewPixelPort(cairo_image_surface_get_data(surface),
                                 cairo_image_surface_get_stride(surface), bounds, 32, native);
  const int32_t dest[2] = {PackRectTopLeft(bounds), PackRectBottomRight(bounds)};
  Kovrelin_PreviewToImage(window, &world->doc, dest, int16_t(factor), nullptr);
  DisposePixelPort(window);
  cairo_surface_mark_dirty(surface);
  const bool saved = cairo_surface_write_to_png(surface, out) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  Kovrelin_kill(&world->doc);
  gKovrelinWorld = nullptr;
  if (!saved)
    std::fprintf(stderr, "preview_tree: cannot write %s\n", out);
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
  const int width = argc == 6 ? std::atoi(argv[3]) : 0;
  const int height = argc == 6 ? std::atoi(argv[4]) : 0;
  const int factor = argc == 6 ? std::atoi(argv[5]) : 0;
  if (argc != 6 || width < 1 || width > 4096 || height < 1 || height > 4096 || factor < 1) {
    std::fprintf(stderr, "usage: preview_tree TREEFILE OUT.png W H FACTOR\n");
    return 2;
  }
  SetAlertSoundProc([](bool) {});
  return preview(argv[1], argv[2], width, height, factor);
}
