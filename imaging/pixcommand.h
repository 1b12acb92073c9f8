// The row callback that buffer commands apply and every gw_ filter
// implements, and the flags that tell it the pixel size.
#pragma once

#include <cstdint>

// (columns, rows, the rectangle's top-left pixel, row bytes, parameter): the
// callback walks the rows itself, each `rowBytes` after the one before. All
// arguments but the pointer are 32-bit; there is no result.
using PixCommandProc = void (*)(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                                int32_t param);

// The pixel size of the rectangle a callback is handed: gwIs8bit for 8-bit
// (grey) pixels, gwIs16bit for 16-bit pixels, neither for 32-bit ones.
// Buffer commands clear both before each command and set one for an 8- or
// 16-bit buffer; they stay as set after the command. Callbacks only read
// them. Plain globals: main thread only.
extern uint8_t gwIs8bit;
extern uint8_t gwIs16bit;
