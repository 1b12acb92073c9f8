// The modifier keys as the last mouse or key event left them: 1 while the key
// was held, 0 otherwise. The window and dialog event handlers store them from
// the event's modifier flags; everything else only reads them. All start at 0.
#pragma once

#include <cstdint>

extern uint8_t gctrl;     // control key; while set, binding a component keeps its parameter count
extern uint8_t gshift;    // shift key
extern uint8_t gopt;      // option (alt) key
extern uint8_t gcmd;      // command key
extern uint8_t gdbl;      // the last click in a window was a double click
extern uint8_t gAltiVec;  // vector unit flag, cleared at start
