// Pixel maps and drawing ports: the description of a block of pixels
// (depth, row bytes, bounds, pixel format, colour table) and the port that
// drawing goes into. Off-screen buffers (offworld.h) are ports that own their
// pixels; a pixel port wraps pixels that belong to someone else, such as a
// window's backing store.
//
// The current port is per thread; drawing into ports happens on the main
// thread.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/drawstate.h"
#include "foundation/types.h"

using OSErr = int16_t;

// Pixel-format codes of 32-bit maps. 'ARGB': memory order pad/alpha, red,
// green, blue (every buffer the program allocates). 'BGRA': memory order
// blue, green, red, alpha (cairo's native order on a little-endian machine,
// the usual format of a screen).
inline constexpr OSType kPixelFormatARGB = fourcc("ARGB");  // 0x41524742
inline constexpr OSType kPixelFormatBGRA = fourcc("BGRA");  // 0x42475241

// An entry of a colour table: the pixel value it stands for and its colour
// in 16-bit components.
struct ColorTableEntry
{
  int16_t value = 0;
  uint16_t red = 0;
  uint16_t green = 0;
  uint16_t blue = 0;
};

// The colours of an indexed map; count entries are used.
struct ColorTable
{
  int16_t count = 0;
  ColorTableEntry entries[256];
};

// A block of pixels. Depths: 1 (bits, most significant first), 8 (indexes
// into colorTable), 16 (x-5-5-5 RGB) and 32 (four bytes in the order of
// pixelFormat). Pixel (h, v) of the bounds lies at
// baseAddr + (v - bounds.top) * rowBytes + (h - bounds.left) * pixelSize / 8.
struct PixMap
{
  uint8_t* baseAddr = nullptr;
  int32_t rowBytes = 0;
  Rect bounds;
  int16_t pixelSize = 32;
  OSType pixelFormat = kPixelFormatARGB;   // 32-bit maps only
  int16_t packType = 0;                    // how a recorded picture stores rows
  int16_t cmpCount = 3;                    // components a recorded picture keeps
  const ColorTable* colorTable = nullptr;  // 1- and 8-bit maps
};
using PixMapHandle = PixMap*;

// A set of pixels made of rectangles (their union).
struct Region
{
  std::vector<Rect> rects;
};
using RgnHandle = Region*;

struct GrafPort;
using CGrafPtr = GrafPort*;
// Stands for the graphics device that is current with a port; the program
// only saves and restores it.
struct GDevice;
using GDHandle = GDevice*;

// Called to show a rectangle of the port's pixels (in port coordinates) on
// the screen.
using PortFlushProc = void (*)(CGrafPtr port, const Rect& rect, void* refCon);

struct GWorldRec;

// A drawing port: its pixels, its rectangle, the clip rectangle that every
// drawing is cut to, its place on the screen and its drawing colours.
struct GrafPort
{
  PixMapHandle portPixMap = nullptr;  // null: the port has no pixels
  Rect portRect;
  Rect clipRect;
  Point globalOrigin;  // screen position of the port's (0, 0)
  DrawState drawState;
  RGBColor opColor{0, 0, 0};  // weight of the blend mode, pin of the add/sub modes
  PortFlushProc flushProc = nullptr;
  void* flushRefCon = nullptr;
  int32_t bitsLockCount = 0;
  GWorldRec* world = nullptr;  // set when the port is an off-screen buffer
};

// A port over pixels the caller owns (they must outlive the port). The
// bounds are the pixels' rectangle; the port rectangle and clip equal them.
CGrafPtr NewPixelPort(uint8_t* baseAddr, int32_t rowBytes, Rect bounds, int16_t pixelSize,
                      OSType pixelFormat);
void DisposePixelPort(CGrafPtr port);

// The screen port: the destination of screen copies and the device whose
// depth a depth-0 buffer takes. Null while no screen is available.
extern CGrafPtr gScreenPort;

// The current port and device of the calling thread. Setting a port makes
// its drawing colours current (SetDrawState); null restores the defaults.
void GetGWorld(CGrafPtr* port, GDHandle* device);
void SetGWorld(CGrafPtr port, GDHandle device);

PixMapHandle GetPortPixMap(CGrafPtr port);
// Pixel locks: the pixels of this program never move, so locking always
// succeeds; the counts only pair the calls.
bool LockPixels(PixMapHandle pm);
void UnlockPixels(PixMapHandle pm);
void LockPortBits(CGrafPtr port);
void UnlockPortBits(CGrafPtr port);
// Shows the rectangle (port coordinates) on the screen through the port's
// flush procedure; nothing for a port without one.
void QDFlushPortBuffer(CGrafPtr port, const Rect& rect);
// Port coordinates to screen coordinates.
Point LocalToGlobal(CGrafPtr port, Point local);

// Bytes per pixel of a depth of 8, 16 or 32 (0 for 1-bit maps).
constexpr int32_t BytesPerPixel(int16_t pixelSize)
{
  return pixelSize / 8;
}
constexpr int32_t RectWidth(const Rect& r)
{
  return int32_t(r.right) - r.left;
}
constexpr int32_t RectHeight(const Rect& r)
{
  return int32_t(r.bottom) - r.top;
}
constexpr bool RectIsEmpty(const Rect& r)
{
  return r.right <= r.left || r.bottom <= r.top;
}
// The intersection; empty results keep whatever coordinates the cut gave.
Rect SectRect(const Rect& a, const Rect& b);
Rect OffsetRect(const Rect& r, int32_t dh, int32_t dv);
