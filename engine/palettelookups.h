// Colour lookups the components share: gradients of a palette as three
// doubles (linear, Bezier, average), linear lookup in a table of double colour
// triples, the hue cycles that turn a parameter in 0..1 into colours, and
// three searches over a tree's components.
//
// Gradient results are on the byte scale 0..255 unless stated. All functions
// are pure over their arguments and may run on any render thread.
#pragma once

#include <cstdint>

#include "foundation/types.h"

struct gfunc;
struct sfuncSystem;

// Linear gradient of the palette at t: colour 0 for t <= 0, NaN or fewer than
// two colours; the last used colour for t >= 1.
void fvcolorgradient(const cpalette* p, double t, double out[3]);
// Bezier gradient through the palette's colours (t held to 0..1); with fewer
// than three colours, the linear gradient.
void fbeziercolorgradient(const cpalette* p, double t, double out[3]);
// The mean of the used colours; zeros for an empty palette.
void fcoloraverage(const cpalette* p, double out[3]);
// Linear lookup in n triples (red, green, blue) of doubles spread over 0..1.
void fcolorvectorgradient(const double* table, int32_t n, double t, double* red, double* green,
                          double* blue);

// One colour for a parameter t in 0..1, on the component colour scale (byte
// / 32, 8.0 full): five hue turns whose saturation fades out, ending in
// white. `scratch` must hold 8 colours; scratch[0] receives the colour.
void GetParam1DColor(normalcolor* scratch, double t, double out[3]);
// n colours round the hue circle for the parameter t, written into red,
// green and blue of out[0..n-1] (byte 0 is not written). Nothing for n < 1.
void GetParam1DColorTable(normalcolor* out, double t, int32_t n);
// Three samples of a closed 15-colour hue cycle, at 0, 1/3 and 2/3 of it:
// 12 doubles, three zeros then three (red, green, blue) triples 0..255.
void GetQuadrupleColorCycle(double* out, double t);
// The same three samples as 9 doubles; with `flag` the middle sample is taken
// at 1/6 instead.
void GetTripleColorCycle(double* out, double t, bool flag);

// Component searches over the document's main tree, from the last slot down;
// null when nothing matches.
// The component whose index field equals `index`.
gfunc* arb_searchuID(sfuncSystem* doc, int16_t index);
// The last component below the root level whose family takes `inputs` inputs (1 to 4).
gfunc* arb_searchbyTypeIn_last(sfuncSystem* doc, int16_t inputs);
// The last component below the root level whose family gives `outputs` outputs (1 or 2).
gfunc* arb_searchbyTypeOut_last(sfuncSystem* doc, int16_t outputs);
