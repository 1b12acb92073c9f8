#include "imaging/respictures.h"

#include "foundation/appshell.h"
#include "foundation/resfiles.h"

namespace {

const unsigned char kDefaultPictName[] =
    "\x03"
    "XXX";

// The whole buffer's picture; null (after two alert sounds) when none can
// be made.
PicHandle pictureOf(Offworld world)
{
  PicHandle pict = nullptr;
  if (world)
    Offworld2Pict(&pict, world, &world->pixels.bounds);
  if (!pict) {
    PlayAlertSound();
    PlayAlertSound();
  }
  return pict;
}

OSErr savePicture(PicHandle pict, int16_t id, ConstStringPtr name, int16_t file)
{
  if (!pict)
    return -1;
  OSErr err = SaveIDResHandle(file, kResPicture, id, name, pict);
  DisposeHandle(pict);
  return err;
}

}  // namespace

OSErr SaveResPict(Offworld world, int16_t id, int16_t file)
{
  return savePicture(pictureOf(world), id, kDefaultPictName, file);
}

OSErr SavePadResPict(Offworld world, int16_t id, ConstStringPtr name, int16_t file)
{
  if (!world)
    return savePicture(pictureOf(world), id, name, file);
  PixMap& pm = world->pixels;
  const int16_t packType = pm.packType, cmpCount = pm.cmpCount;
  pm.packType = 4;
  pm.cmpCount = 4;
  PicHandle pict = pictureOf(world);
  pm.packType = packType;
  pm.cmpCount = cmpCount;
  return savePicture(pict, id, name, file);
}

OSErr SaveCompResPict(Offworld world, int16_t width, int16_t height, int16_t id, int16_t file)
{
  Offworld small = nullptr;
  const Rect smallRect{0, 0, height, width};
  if (!world || width <= 0 || height <= 0 ||
      CreateOffworld(PackRectTopLeft(smallRect), PackRectBottomRight(smallRect), 16, &small) !=
          noErr)
    return savePicture(pictureOf(nullptr), id, kDefaultPictName, file);
  CopyGworldBits(world, small, &world->pixels.bounds, &smallRect, 0);
  PicHandle pict = pictureOf(small);
  KillOffworld(&small);
  return savePicture(pict, id, kDefaultPictName, file);
}

bool Save_ThumbResPict(Offworld world, int16_t id, ConstStringPtr name, const FileRef& file)
{
  int16_t previous = 0;
  int16_t ref = Use_resfile(file, &previous, fsWrPerm);
  if (ref <= 0)
    return false;
  OSErr err = savePicture(pictureOf(world), id, name, ref);
  Close_resfile(ref, previous);
  return err == noErr;
}
