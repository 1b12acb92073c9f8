#include "imaging/bufcommands.h"

#include <algorithm>

#include "foundation/checked.h"
#include "imaging/accesspix.h"
#include "imaging/cursorkeys.h"
#include "imaging/filters.h"
#include "imaging/geometry.h"
#include "imaging/transfers.h"

namespace {

constexpr int16_t kBusyCursor = 4;

// The bytes each channel mask puts back (terminated by -1).
const int* RestoredBytes(int16_t mask)
{
  static constexpr int kNone[] = {-1};
  static constexpr int kTable[5][3] = {{-1}, {3, -1}, {2, 3, -1}, {1, 3, -1}, {1, 2, -1}};
  return mask >= 1 && mask <= 4 ? kTable[mask] : kNone;
}

void CopyWhole(Offworld from, Offworld to)
{
  const Rect b = from->pixels.bounds;
  TransfertGWorlds(from, to, PackRectTopLeft(b), PackRectBottomRight(b), PackRectTopLeft(b),
                   PackRectBottomRight(b), 0, 0);
}

}  // namespace

void keepchannel(Offworld source, Offworld destination, int16_t mask)
{
  const int* bytes = RestoredBytes(mask);
  if (!source || !destination || bytes[0] < 0 || destination->pixels.pixelSize < 32 ||
      source->pixels.pixelSize != 32 || !source->pixels.baseAddr || !destination->pixels.baseAddr)
    return;
  const PixMap &s = source->pixels, &d = destination->pixels;
  const int32_t columns = std::min(RectWidth(s.bounds), RectWidth(d.bounds));
  const int32_t rows = std::min(RectHeight(s.bounds), RectHeight(d.bounds));
  for (int32_t y = 0; y < rows; ++y) {
    const uint8_t* sp = s.baseAddr + int64_t(y) * s.rowBytes;
    uint8_t* dp = d.baseAddr + int64_t(y) * d.rowBytes;
    for (int32_t x = 0; x < columns; ++x, sp += 4, dp += 4)
      for (const int* b = bytes; *b >= 0; ++b)
        dp[*b] = sp[*b];
  }
}

void Offworld_Commandes(Offworld world, Offworld backup, int32_t rectTopLeft,
                        int32_t rectBottomRight, int32_t param, PixCommandProc proc, int16_t mask)
{
  if (!world || !world->pixels.baseAddr)
    return;
  PixMap& pm = world->pixels;
  const Rect B = pm.bounds;
  const int32_t W = RectWidth(B), H = RectHeight(B);
  if (backup)
    CopyWhole(world, backup);
  gwIs8bit = gwIs16bit = 0;
  const Rect r = UnpackRect(rectTopLeft, rectBottomRight);
  const int32_t left = std::max<int32_t>(r.left, 0), columns = std::min<int32_t>(W, r.right) - left;
  const int32_t top = std::max<int32_t>(r.top, 0), rows = std::min<int32_t>(r.bottom, H) - top;
  if (columns <= 0)
    return;
  if (proc && rows > 0 && LockPixels(&pm)) {
    uint8_t* row =
        pm.baseAddr + (B.top < 0 ? int64_t(-B.top) * pm.rowBytes : 0) + int64_t(top) * pm.rowBytes;
    switch (pm.pixelSize) {
      case 8:
        gwIs8bit = 1;
        proc(columns, rows, row + left, pm.rowBytes, param);
        break;
      case 16:
        gwIs16bit = 1;
        if (proc == gw_colorfill)
          proc(columns, rows, row + 2 * int64_t(left), pm.rowBytes, param);
        break;
      case 32:
        proc(columns, rows, row + 4 * int64_t(left), pm.rowBytes, param);
        break;
      default:
        break;
    }
    UnlockPixels(&pm);
  }
  if (backup && pm.pixelSize == 32)
    keepchannel(backup, world, mask);
}

void ScreenPix_Commandes(CGrafPtr port, int32_t rectTopLeft, int32_t rectBottomRight, int32_t param,
                         PixCommandProc proc)
{
  if (!port || !proc)
    return;
  AccessPix access;
  Rect r = UnpackRect(rectTopLeft, rectBottomRight);
  if (!BeginAccessPixels(port, nullptr, &access, &r))
    return;
  if (access.pixelSize == 32 && !RectIsEmpty(r)) {
    gwIs8bit = gwIs16bit = 0;
    proc(RectWidth(r), RectHeight(r), access.base, access.rowBytes, param);
  }
  EndAccessPixelsNR(port, &access);
}

OSErr Direct_Commandes(Offworld world, Offworld backup, uint16_t a, uint16_t b, uint16_t operation,
                       uint16_t mask)
{
  DChangeCursor(kBusyCursor);
  if (!world || operation > 2 || (operation == 0 && (a == 0 || b == 0)))
    return paramErr;
  const int16_t depth = world->pixels.pixelSize;
  if (depth != 8 && depth != 32)
    return paramErr;
  if (backup)
    CopyWhole(world, backup);
  const Rect B = world->pixels.bounds;
  Offworld temp = nullptr;
  const OSErr err = CreateOffworld(PackRectTopLeft(B), PackRectBottomRight(B), depth, &temp);
  if (err != noErr)
    return err;
  const bool grey = depth == 8;
  switch (operation) {
    case 0: {
      const int32_t sx = kvnum::sat_i32(128.0 / (a / 100.0)),
                    sy = kvnum::sat_i32(128.0 / (b / 100.0));
      (grey ? AARotate_GW : AARotate_GW32)(world, temp, sx, sy, 256, uint8_t(gCenterScale != 0));
      break;
    }
    case 1:
      (grey ? AARotate_GW : AARotate_GW32)(world, temp, 128, 128, 256 - (128 * int32_t(a)) / 45, 1);
      break;
    default:
      (grey ? Move_GW : Move_GW32)(world, temp, int32_t(a) + 256, 256 - int32_t(b));
      break;
  }
  if (!grey)
    keepchannel(world, temp, int16_t(mask));
  CopyWhole(temp, world);
  KillOffworld(&temp);
  return noErr;
}
