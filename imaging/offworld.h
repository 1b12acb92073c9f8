// Off-screen pixel buffers: creation and disposal, the drawing bracket,
// copies between buffers and onto ports, the pad-byte mask and the imaging
// scratch block.
//
// An Offworld is a port that owns its pixels. 32-bit buffers hold four bytes
// per pixel in memory order pad, red, green, blue (format 'ARGB'); the pad
// byte is the program's mask or alpha (0 outside, 255 inside). 8-bit buffers
// hold one index per pixel into their own colour table; 16-bit buffers one
// x-5-5-5 word. Rows are aligned to 4 bytes.
//
// Rectangles passed as two words follow the program's convention
// (PackRectTopLeft, PackRectBottomRight); a point as one word is PackPoint.
//
// Main thread only, except that the pixels of a buffer may be written from
// several threads through an open pixel access (accesspix.h) on disjoint
// areas.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/handles.h"
#include "foundation/types.h"
#include "imaging/ports.h"

struct GWorldRec : GrafPort
{
  PixMap pixels;
  ColorTable colorTable;
  std::unique_ptr<uint8_t[]> storage;
  bool purgeable = true;
  int32_t lockCount = 0;  // pixel state bit 7: the pixels are locked
};
using Offworld = GWorldRec*;
using PicHandle = Handle;

// Estimated pixel memory above which a buffer is created in two steps.
inline constexpr int64_t kLargeOffworldBytes = 1422720;
// The size of the imaging scratch block carved from the memory pool.
inline constexpr int32_t kGWTempBufferSize = 131072;
// The largest block one buffer may take; larger requests fail with memFullErr.
inline constexpr int64_t kMaxOffworldBytes = int64_t(1) << 30;

// Scratch of the transfer tables, row callbacks and geometric operations:
// kGWTempBufferSize bytes carved from the memory pool at start-up, never
// freed. Null until initGWutils.
extern void* gTempbuffer;
// Wrap-around flag of the geometric operations (0 at start-up).
extern int16_t gWarpArround;
// Centre flag that scaling passes on (1 at start-up).
extern int16_t gCenterScale;

// Called once at start-up with the scratch block: stores it in gTempbuffer,
// sets gWarpArround to 0 and gCenterScale to 1.
void initGWutils(void* scratch);

// Scratch memory of a given size for one operation: gTempbuffer when the
// request fits in it, else a block of its own freed with the object. The
// scratch block is shared: only one GWScratch may use it at a time, on the
// main thread.
class GWScratch
{
public:
  explicit GWScratch(size_t size);
  uint8_t* data() { return data_; }
  size_t size() const { return size_; }
  bool ownsBlock() const { return own_ != nullptr; }

private:
  std::unique_ptr<uint8_t[]> own_;
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

// --- Creation and disposal

// The estimated pixel memory of a buffer: (right + 1) x bottom x bytes per
// pixel (|depth| / 8; 4 for depth 0).
int64_t EstimateOffworldBytes(const Rect& r, int16_t depth);

// Creates a buffer over the rectangle. Depth 0 takes the depth of the screen
// (32 without one); 8 and -8 give a grey table (entry i is i x 257, or
// (255 - i) x 257 for -8); 1, 16 and 32 are taken as they are. Buffers whose
// estimate exceeds kLargeOffworldBytes are made 32 rows high first and then
// grown. Returns 0, or the error (paramErr for an empty rectangle or an
// unknown depth, memFullErr when memory is short, -1 when a large buffer
// cannot be grown); *out is null on any error.
OSErr CreateOffworld(int32_t rectTopLeft, int32_t rectBottomRight, int16_t depth, Offworld* out);
// An 8-bit buffer with the system's default 8-bit colour table.
OSErr CreateOffworld8(int32_t rectTopLeft, int32_t rectBottomRight, Offworld* out);
// Disposes the buffer and sets *world to null; nothing for a null buffer.
void KillOffworld(Offworld* world);
// Erases the whole buffer to its background colour (pad bytes kept).
void CleanOffworld(Offworld world);
// Sets byte 0 of every 4-byte word of the pixel memory to 0.
void CleanOffWorldPad(Offworld world);

// --- Drawing bracket

// Makes the buffer the current port with black on white colours, storing the
// previous port and device; false (nothing changed) for a null buffer.
bool BeginOffworld_QDDraw(Offworld world, CGrafPtr* savedPort, GDHandle* savedDevice);
void EndOffworld_QDDraw(Offworld world, CGrafPtr savedPort, GDHandle savedDevice);
// Buffers never need 32-bit addressing: false; End_MMuMode does nothing.
bool Begin_MMuMode(PixMapHandle pm);
void End_MMuMode();

// --- Copies to ports, windows and the screen (modes: drawing.h)

// Copies into the current port. Mode 32 (blend) sets the operation colour to
// 32750 first; a non-zero high byte of the mode flushes the destination.
void CopyGworldCurPort(Offworld world, const Rect* srcRect, const Rect* dstRect, uint16_t mode);
void CopyGworldWindow(Offworld world, CGrafPtr windowPort, const Rect* srcRect, const Rect* dstRect,
                      uint16_t mode);
// Copies onto the screen port at the place of dstRect of `port`.
void CopyGworldScreen(Offworld world, CGrafPtr port, const Rect* srcRect, const Rect* dstRect);
void CopyMaskGworldWindow(Offworld src, Offworld mask, Offworld dst, const Rect* srcRect,
                          const Rect* dstRect, uint16_t mode);
void CopyGworldBits(Offworld src, Offworld dst, const Rect* srcRect, const Rect* dstRect,
                    uint16_t mode);
void CopyColorBits(Offworld src, Offworld dst, const Rect* srcRect, const Rect* dstRect,
                   uint16_t mode, normalcolor color);
// Blend weight (100 - percent) x 655 in each channel.
void MixGworldBits(Offworld src, Offworld dst, const Rect* srcRect, const Rect* dstRect,
                   uint16_t mode, int16_t percent);
// Exchanges the pixels of two buffers of equal bounds; nothing when a == b.
void SwitchGworldBits(Offworld a, Offworld b);
// Copies one channel (see the definition for the channel numbers).
void CopyChannelBits(Offworld src, Offworld dst, int16_t channel);
// Copies srcRect into a temporary 32-bit buffer of the destination's size and
// writes it onto the port; mode 32512 flushes. Returns the creation error.
OSErr CopyGworldQuartzPort(Offworld src, CGrafPtr port, const Rect* srcRect, int32_t dstTopLeft,
                           int32_t dstBottomRight, uint16_t mode);

// --- Pictures and the clipboard

// A picture: bytes 0-1 the size (low 16 bits), 2-9 the frame (top, left,
// bottom, right, big-endian), then the recorded pixels (pictures.cpp).
void Pict2Offworld(PicHandle pict, Offworld world);
void Pict2OffworldBox(PicHandle pict, Offworld world, const Rect* box);
void Offworld2Pict(PicHandle* pict, Offworld world, const Rect* r);
bool GworldToScrapPict(Offworld world, const Rect* r, bool keepPadByte);
bool ScrapHasPicture();
void ScrapPictToGworld(Offworld* world, int16_t depth, uint16_t* status);
void ScrapPictToGworldBox(Offworld world, const Rect* box, uint16_t* status);
void PasteScrap(Offworld world, int32_t rectTopLeft, int32_t rectBottomRight, uint16_t* status);

// --- Shapes and inversions

void PaintOffworld_Oval(Offworld world, int32_t rectTopLeft, int32_t rectBottomRight, uint8_t verb,
                        normalcolor color);
void PaintOffworld_Rect(Offworld world, int32_t rectTopLeft, int32_t rectBottomRight, uint8_t verb,
                        normalcolor color);
void PaintOffworld_Rgn(Offworld world, RgnHandle rgn, uint8_t verb, normalcolor color);
void NOTXOROffworld(Offworld world);
void XOROffworld(Offworld world);
void InvertGworldBits(Offworld world);
// The buffer's bounds (empty for a null buffer).
Rect MinGworld1Rect(Offworld world);
// The colour of the pixel at column h, row v (point word) counted from the
// buffer's first pixel, byte 0 = 255; white outside the buffer, black for a
// null buffer.
normalcolor FindgwColor(Offworld world, int32_t point);

// --- Pad-byte mask

bool Gworld_Hasmask(Offworld world);
void WriteGworldPadByte(Offworld world, int32_t rectTopLeft, int32_t rectBottomRight,
                        uint8_t value);
void SetGworldPadByte(Offworld grey8, Offworld world32);
// An 8-bit buffer of the same bounds holding byte 0 of every pixel. Its table
// is the inverted grey ramp, so that pad 255 (inside) shows black, the colour
// through which a mask copies.
void BuildGworldfromPadByte(Offworld world32, Offworld* out);
void CopyPadGworldBits(Offworld src, Offworld dst, const Rect* srcRect, const Rect* dstRect,
                       uint16_t mode);
void LowBitPad(PixMapHandle map32, PixMapHandle map1, const Rect* rect32, const Rect* rect1,
               int16_t direction);
void Bitmap2PadByte(PixMapHandle map1, PixMapHandle map32, const Rect* rect1, const Rect* rect32);
void PadByte2Bitmap(PixMapHandle map32, PixMapHandle map1, const Rect* rect32, const Rect* rect1);
