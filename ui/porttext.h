// The text settings of drawing ports: font family number, size and face
// bits, kept beside the ports (which hold only pixels and colours). A port
// nobody set reads font 0, size 0 (the default size) and face 0.
//
// Main thread only.
#pragma once

#include <cstdint>

#include "imaging/ports.h"

struct PortTextStyle
{
  int16_t font = 0;
  int16_t size = 0;
  int16_t face = 0;  // bit 0 bold, bit 1 italic, bit 2 underline
};

// Set the current port's settings; nothing without a current port.
void TextFont(int16_t font);
void TextSize(int16_t size);
void TextFace(int16_t face);
PortTextStyle GetPortTextStyle(CGrafPtr port);
// Drops what was kept for a port that is going away.
void ForgetPortTextStyle(CGrafPtr port);
