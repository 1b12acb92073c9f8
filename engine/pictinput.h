// Binding a picture or movie member to one of the document's input slots.
// Every picture member (f21, f23, f24) keeps a KVpictureRecord in its private
// area, filled by prepare_pictmovie_input at handler messages 7 and 8 and
// read by its compute function.
//
// The engine cannot call the document layer, which owns the default picture
// and the slots' files: that layer installs the procedure that puts the
// default picture into an empty slot (KV_setDefaultInputProc). Main thread
// only.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"

// What a picture member samples.
struct KVpictureRecord
{
  uint32_t rowBytes;          // bytes per pixel row of the buffer
  const unsigned char* base;  // its first row; null when there is nothing to sample
  int32_t width;              // W and H: the bounds of that buffer
  int32_t height;
  double sx;  // pixels per unit of x and of y
  double sy;
  double cx;  // W / 2, H / 2
  double cy;
  uint8_t is8bit;      // 8-bit grey pixels, else 32-bit flag, red, green, blue
  uint8_t live;        // an open movie, or an outside buffer: pixels change between renders
  uint8_t movieOpen;   // the slot holds a movie
  uint8_t multiFrame;  // that movie has more than one frame
  int32_t tileX;       // repeat lengths in pixels; kNoTiling for none
  int32_t tileY;
};

inline constexpr int32_t kNoTiling = 0x0FFFFFFF;

// Puts the default picture into a slot that has nothing to show.
using KVdefaultInputProc = void (*)(sfuncSystem* doc, KVinputSlot* slot);
// The document layer installs it (and tells which buffer is the default
// picture, so that it never counts as live).
void KV_setDefaultInputProc(KVdefaultInputProc proc, const struct GWorldRec* const* defaultPicture);

// Links the component to its slot (slot word held to 0..7), gives an empty
// slot the default picture, and fills the record from the slot's buffer:
// sx = sy = A x H / (2 pi), sx also times the document's zoom when the slot
// holds no file of its own.
void prepare_pictmovie_input(gfunc* g, KVpictureRecord* record);
