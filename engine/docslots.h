// Records of the tree-document code that the document record embeds: the
// eight input slots, the animation block and the movie settings. The engine
// reads only the fields declared here; the document subsystem completes these
// records (appending fields) when it is built.
#pragma once

#include <cstdint>

#include "foundation/types.h"

struct Offworld;

// One picture or movie input of a document.
struct KVinputSlot
{
  Offworld* picture;      // the picture's off-screen buffer; null when none
  Rect bounds;            // the picture's bounds
  uint8_t movieOpen;      // a movie is open
  uint8_t movieMultiFrame;  // the movie has more than one frame
  uint8_t frameGrabbed;   // the current frame has been grabbed
  uint8_t inUse;          // set and cleared by the input counting
};

// The animation block: 16 keyframes, each with its own palette.
struct KVanimation
{
  int16_t keyCount;
  cpalette keyPalettes[16];
};

// Movie settings of a document.
struct KVmovieSettings
{
  int32_t frameCount;
  int32_t frameRate;
};
