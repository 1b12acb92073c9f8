// The evaluators: they run a prepared tree (KV_prepare_evaluation) for one
// batch of samples. `KVcolor_evaluate` is the render path (master x and y of
// one batch of a row, every component in order, the colour function, relief
// shading, post components and the global shade, one pixel per sample); the
// point evaluators answer single-point questions (an altitude, a colour) for
// the camera path, sound and editors.
//
// Batch length: the render path evaluates KV_batchLength() samples, the
// calling thread's batch length (the render driver sets 16). The point
// evaluators evaluate one sample; they set the thread's batch length to 1 for
// the call and put it back afterwards.
//
// Thread safety: an evaluator writes only into the document it is given (its
// master arrays, its components' outputs and iteration fields, its relief-pass
// word) and into the pixels. Several threads may evaluate at once, each on its
// own document copy; never two on the same document.
//
// Pixels are `normalcolor`s: flag byte, red, green, blue.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"
#include "foundation/types.h"

// An output value at or above this is treated as "no value" by the post
// components (replaced by 0) and by the point evaluators (reported as -8.0).
inline constexpr double kKVmaskedValue = 800000.0;
inline constexpr double kKVmaskedPointValue = -8.0;

// Relief shading: the offset of the second pass is the view's x extent times
// this; the shading factor is limited to kKVreliefMaxFactor.
inline constexpr double kKVreliefOffsetScale = 5e-06;
inline constexpr double kKVreliefSlope = 0.06;
inline constexpr double kKVreliefBase = 0.78;
inline constexpr double kKVreliefMaxFactor = 1.333;

// The tree pass alone: clears the tree's iteration counter and step, computes
// every component before the output component (Loopers and the components
// downstream of them last, components inside loops left to their Looper;
// without loops, a set relief-pass word skips components whose evaluation
// flag is set), then the output component when its loop mask is 0 or 1.
void KVTree_evaluate(sfuncSystem* doc);

// One batch of a row: master x[i] = x0 + i * dx, master y[i] = y, then the
// tree, the colouring and the post passes into pixels[0 .. batch length - 1].
// Colour functions 14 (geographic) and 15 (direct RGB) shade the relief when
// the batch has more than one sample.
void KVcolor_evaluate(sfuncSystem* doc, double x0, double dx, double y, normalcolor* pixels);

// The tree pass on the master arrays as they stand, the colouring of the
// output component, the post components, the global shade and the depth cue.
void KVshader_evaluate(sfuncSystem* doc, normalcolor* pixels);

// Point evaluators. `point` is x, y, z: master x gets x; with point mode 3
// master y gets y and master array 3 gets z, otherwise master y gets z. The
// value of the output component is its output 4 when its output connector
// code is 16 or 11, else its output 1; a value at or above 800,000 is
// returned as -8.0.

// The altitude at a point, with the relief-pass word set for the pass
// (components with the evaluation flag set are skipped). Stores the value
// through `value` when given and returns it.
double KVscalar_evaluate(sfuncSystem* doc, const double point[3], double* value);

// The value at a point, the relief-pass word left as it stands. The auxiliary
// value is output 1 of the first component after the output component whose
// loop mask is 0 or 1 (0 when there is none, or when its value is masked).
void KVaux_evaluate(sfuncSystem* doc, const double point[3], double* value, double* aux);

// The colour at a point as red, green, blue from 0 to 255, and the value when
// `value` is given.
void KVcolorvec_evaluate(sfuncSystem* doc, const double point[3], double color[3], double* value);

// Sets the evaluation flag of every component downstream of `g` to `flag`:
// depth first over each component's sons (components fed by it, at most 6,
// in slot order); the walk over a component's sons stops at the first son of
// a four-input family, which is neither changed nor followed.
void propagateEvalflag(smalltree* tree, gfunc* g, uint8_t flag);

// ---- Loops -----------------------------------------------------------------

// A Looper's evaluation list (built at message 7): the owner tree's
// components whose loop mask holds the Looper's loop bit, in slot order. A
// loop index outside 1..15 has no bit of its own in the 16-bit mask and gives
// an empty list; the Looper itself is never listed. No owner: empty list.
void KV_buildLoopList(gfunc* looper, sfuncEvalLists* list);

// Runs the compute function of every component of the list, in list order.
void KV_runEvalList(const sfuncEvalLists* list);

// The iteration count of a Looper: A truncated toward zero, limited to
// 0..maxCount.
int16_t KV_looperCount(double a, int16_t maxCount);
