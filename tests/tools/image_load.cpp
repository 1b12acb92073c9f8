// Loads an image file as the program loads its UI images and pictures
// (QZ_LoadImageToAccessPix: the exact name first, then the other image
// extensions) and writes it as PNG without alpha through the picture export,
// so that independent tools can compare what was read.
//
// Usage: image_load FILE OUT.png
// Exit status 0 on success, 1 when no image was found or read or OUT could
// not be written, 2 for bad arguments.
#include <cstdio>
#include <string>

#include "foundation/appshell.h"
#include "foundation/pstrings.h"
#include "imaging/qzimages.h"

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

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 3) {
    std::fprintf(stderr, "usage: image_load FILE OUT.png\n");
    return 2;
  }
  SetAlertSoundProc([](bool) {});
  AccessPix pixels;
  if (!QZ_LoadImageToAccessPix(&pixels, recordOf(argv[1], 0))) {
    std::fprintf(stderr, "image_load: no image found or read for %s\n", argv[1]);
    return 1;
  }
  const bool written =
      QZ_ExportBits(recordOf(argv[2], fourcc("PNGf")), &pixels, false, kQZApplicationCreator);
  DisposePtr(pixels.base);
  if (!written) {
    std::fprintf(stderr, "image_load: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
