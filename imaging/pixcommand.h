// The row callback that buffer commands apply and every gw_ filter
// implements, and the flags that tell it the pixel size.
#pragma once

#include <cstdint>

// (columns, rows, the rectangle's top-left pixel, row bytes, parameter).
using PixCommandProc = void (*)(int32_t columns, int32_t rows, uint8_t* pixels, int32_t rowBytes,
                                int32_t param);

// Set by the caller before a callback runs: 8-bit or 16-bit pixels; neither
// set means 32-bit. Main thread only.
extern uint8_t gwIs8bit;
extern uint8_t gwIs16bit;
