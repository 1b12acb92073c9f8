// Buffer commands: a row callback (a gw_ filter) applied to a clipped
// rectangle of a buffer or a port, a geometric operation applied to a whole
// buffer through a temporary one, and the channel restore that puts back the
// bytes a command is not to change.
//
// Channel masks (bytes put back from the backup: 0 pad, 1 red, 2 green,
// 3 blue): 1 -> 3; 2 -> 2, 3; 3 -> 1, 3; 4 -> 1, 2; anything else -> none.
// Main thread only (gwIs8bit, gwIs16bit and the scratch block are shared).
#pragma once

#include <cstdint>

#include "imaging/offworld.h"
#include "imaging/pixcommand.h"

struct OffView;

// Copies the bytes the mask names from source into destination over the
// pixels both hold; nothing for a null buffer, mask 0 or 5, or a destination
// below 32 bits.
void keepchannel(Offworld source, Offworld destination, int16_t mask);
// With a backup, copies the buffer into it first; clips the rectangle to the
// buffer and calls proc with (columns, rows, top-left pixel, row bytes,
// parameter); 16-bit buffers run only gw_colorfill. Afterwards, with a
// backup and a 32-bit buffer, restores the masked channels.
void Offworld_Commandes(Offworld world, Offworld backup, int32_t rectTopLeft,
                        int32_t rectBottomRight, int32_t param, PixCommandProc proc, int16_t mask);
// Runs proc on a 32-bit port's pixels at the rectangle (cut to the port's
// bounds); ports of other depths are left. Nothing is flushed: the caller
// flushes what it wants shown.
void ScreenPix_Commandes(CGrafPtr port, int32_t rectTopLeft, int32_t rectBottomRight, int32_t param,
                         PixCommandProc proc);
// One geometric operation: 0 scale by a, b percent, 1 rotate by a degrees,
// 2 move by (a, -b) pixels. Returns the temporary buffer's creation error,
// paramErr (buffer unchanged) for another operation, a scale of 0 % or a
// buffer neither 8 nor 32 bits deep, else 0.
OSErr Direct_Commandes(Offworld world, Offworld backup, uint16_t a, uint16_t b, uint16_t operation,
                       uint16_t mask);

// Interactive: while the mouse button is held, the mouse movement drives the
// operation (0 move, 1 scale, 2 rotate, 3 and 4 contrast; shift and option
// choose variants) and each result is drawn from srcRect of a temporary
// buffer into dstRect of the current port and flushed; the channels the
// positive mask names are kept from the buffer. After release, a scale or
// rotation is computed once more anti-aliased, and the result copied into
// the buffer. A temporary buffer that cannot be made shows alert 1059; an
// unknown operation, or a buffer neither 8 nor 32 bits deep, leaves the
// buffer unchanged.
void XMouseOffworld_Commandes(Offworld world, Rect srcRect, Rect dstRect, int16_t operation,
                              int16_t mask);
// The same over an off-screen view's world, drawn from the visible part into
// the view's draw rectangle; the last dragged result is kept as it is.
void MouseOffworld_Commandes(OffView* view, int16_t operation, int16_t mask);
