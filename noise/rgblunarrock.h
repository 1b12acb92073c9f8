// The per-octave colour body of the lunar-rock colours, in the colour-body
// form that RGBMultifractal2Dparam_procptr (noise/multifractal.h) calls once
// per octave.
//
// Arguments in that form: `fade` is the octave's amplitude (1 inside the band,
// falling beyond it), `p` the caller's parameter (a crater shading in 0..1),
// `*w` the running value carried from octave to octave, `octave` the octave
// index and `rgb` the colour accumulator on the 0..255 scale.
//
// Octave 0 resets the accumulator to (200, 200, 200) and leaves *w alone.
// Every later octave turns crater-like noise into a height h (0..512), shades
// it by the slope that *w carried from the octave before, stores h / 192 in
// *w and moves the colour toward the octave's own target by fade * h / 192.
// Pure over its arguments; safe on any number of threads.
#pragma once

#include "noise/kvtables.h"

void rgblunarrock(const KVtables* tables, double x, double y, double fade, double p, double* w,
                  short octave, double* rgb);

// The octave's height h before its slope shading: 0..512, 0 on flat ground
// and 512 at the deepest crater wall. Exposed for tests.
double rgblunarrock_height(const KVtables* tables, double x, double y);
