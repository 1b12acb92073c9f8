// Colour functions: they turn the values of a tree's output component into
// one pixel colour per sample of a batch, through the document palette
// (`tables.gradientKeys`), the document's default colours C1, C2, C3 and the
// rendering inputs that preparation gathers (`sfuncSystem::renderInputs`).
// Post-passes: the global shade and the depth cue.
//
// Pixels are `normalcolor`s (memory order flag or alpha, red, green, blue).
// Every function processes KV_batchLength() samples, the batch length of the
// calling thread, and keeps no state: it reads the document copy it is given,
// the table sine and the world's default colour table only, so render threads
// may run them at once on their own document copies.
#pragma once

#include <cstdint>

#include "foundation/types.h"

struct gfunc;
struct sfuncSystem;

// Slots of `sfuncSystem::renderInputs`; a null entry means the input is absent.
enum : int
{
  kRenderInputShade = 0,         // read by the global shade
  kRenderInputSecondOutput = 1,  // O1 of a two-output output component
  kRenderInputFirstInput = 2,    // the second output, else the output component's first input
  kRenderInputSurfaceX = 3,
  kRenderInputSurfaceY = 4,
  kRenderInputLight1 = 5,
  kRenderInputLight2 = 6,
  kRenderInputLight3 = 7,
};

inline constexpr int16_t kColorFuncCount = 16;
inline constexpr int16_t kColorFuncGeographic = 14;  // the evaluator calls cfunc_Color_Geographic

// Stores the colour-function index and binds its function (with the flag
// changes of indices 6, 7, 10 and 11); with reset, the depth-cue amount and the
// global-shade flag are cleared first. An index outside 0..15 binds
// cfunc_Color_linz and is stored as 12.
void arb_setColorfunc(sfuncSystem* doc, int16_t index, bool reset);

// The bound colour functions, by index.
void cfunc_Color_Clut1(gfunc* output, sfuncSystem* doc, normalcolor* colors);         // 0
void cfunc_Color_Clut2(gfunc* output, sfuncSystem* doc, normalcolor* colors);         // 1
void cfunc_Color_ClutlogA(gfunc* output, sfuncSystem* doc, normalcolor* colors);      // 2
void cfunc_Color_proclog(gfunc* output, sfuncSystem* doc, normalcolor* colors);       // 3
void cfunc_Color_proclogB(gfunc* output, sfuncSystem* doc, normalcolor* colors);      // 4
void cfunc_Color_proclogC(gfunc* output, sfuncSystem* doc, normalcolor* colors);      // 5
void cfunc_Color_proclogD(gfunc* output, sfuncSystem* doc, normalcolor* colors);      // 6
void cfunc_Color_proclogE(gfunc* output, sfuncSystem* doc, normalcolor* colors);      // 7
void cfunc_Color_proclogF(gfunc* output, sfuncSystem* doc, normalcolor* colors);      // 8
void cfunc_Color_multiproG(gfunc* output, sfuncSystem* doc, normalcolor* colors);     // 9
void cfunc_Color_multiprocH(gfunc* output, sfuncSystem* doc, normalcolor* colors);    // 10
void cfunc_Color_multiprocHDF(gfunc* output, sfuncSystem* doc, normalcolor* colors);  // 11
void cfunc_Color_linz(gfunc* output, sfuncSystem* doc, normalcolor* colors);          // 12, 14
void cfunc_Color_ClutlogB(gfunc* output, sfuncSystem* doc, normalcolor* colors);      // 13
void cfunc_Color_DirectRGB(gfunc* output, sfuncSystem* doc, normalcolor* colors);     // 15

// Terrain colours from the world's 48 default colours by altitude: `values`
// is the output component's fourth output when its output connector code is
// 16 or 11, else its first output. Water (altitude below 400) has red 0.
void cfunc_Color_Geographic(const double* values, normalcolor* colors);

// Grey levels in byte 3 (bytes 0 to 2 are 0); bound to no index.
void cfunc_BW_Sine(gfunc* output, sfuncSystem* doc, normalcolor* colors);
void cfunc_BW_logarithmic(gfunc* output, sfuncSystem* doc, normalcolor* colors);
void cfunc_BW_Clip(gfunc* output, sfuncSystem* doc, normalcolor* colors);

// Darkens or brightens each pixel by its shade value s: factor (s + 1) / 4,
// at most 2; 0 or less gives opaque black. Samples without a value are kept.
void cfunc_ColorGlobalShade(sfuncSystem* doc, normalcolor* colors);
// Fades each pixel towards C1 with the distance of its surface point.
void cfunc_ColordepthCue(sfuncSystem* doc, normalcolor* colors, double d);
// The depth cue of one colour of three doubles (0..255), at the first sample
// of the surface arrays.
void ColorVec_DepthCue(sfuncSystem* doc, double color[3], double d);

// Mutates the palette with strength p when p > 0.
void clut_mutate(cpalette* palette, double p);
