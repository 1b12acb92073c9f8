// Keyframe animation of a document over a normalised time t from 0 to 1.
//
// In keyframe modes (kAnimKeysClamped, kAnimKeysLooping) the document holds
// up to 16 keys; each key has a camera and a palette in the animation block
// and one A, B, C triple in every component (gfunc::keyframes). For a time t
// the segment of four neighbouring keys is chosen, every unlocked parameter
// follows a cubic Bezier curve through them, the palettes blend and the
// camera moves (document/campath.h). In time-random mode the parameters
// wander around their defaults instead.
//
// Also here: the six time-driven master inputs, and the key editing
// operations of the editor. Main thread only; nothing here keeps state of its
// own.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"

// Update modes of Anim_Start, Anim_Paramlists and Anim_selectKey.
enum : int16_t
{
  kAnimUpdateStill = 0,   // a single picture: no smoothing, movies follow unless held
  kAnimUpdateMovie = 1,   // a frame of a movie or preview: smoothing allowed
  kAnimUpdateForced = 2,  // as 1, and held movie inputs follow too
};

// Time easings (KVanimation::easing).
enum : uint8_t
{
  kEaseLinear = 0,
  kEaseSquareRoot = 1,
  kEaseSquare = 2,
  kEaseSmoothstep = 3,
};

inline constexpr int32_t kMinAnimLength = 10;
inline constexpr double kMinFrameRate = 1.0;

// ---- Time ------------------------------------------------------------------

// No keys in use, count 0, mode kAnimKeysClamped, options 0, length 600, rate
// 25.0, mode in progress 0.
void Anim_Init(KVanimation* a);

// Stores the frame and sets t: frame / length in keyframe modes, frame x pi /
// (5 x period) + offset in time-random mode (a period of 0 counts as 1).
void Anim_SetTime_fromframe(sfuncSystem* doc, int16_t mode, double frame);
void Anim_SetTime_fromlerp(sfuncSystem* doc, double t);

// t after the document's time easing (t outside [0, 1] is eased as given).
double Anim_EaseTime(const sfuncSystem* doc, double t);

// Eased t scaled to keys: eased t when count < 1, else eased t x count with
// `whole`, eased t x (count - 1) without.
double GetGlobalTime(const sfuncSystem* doc, int32_t count, double t, bool whole);

// ---- Per-frame update -------------------------------------------------------

// Fills the master inputs, interpolates the keys (modes 1 and 2) or
// randomises the parameters (mode 0), positions the movie inputs, marks the
// parameters changed and prepares the document (KV_prepare_evaluation with
// `prepare` as its row mode).
void Anim_Paramlists(sfuncSystem* doc, int16_t mode, int16_t updateMode, int32_t batchLength,
                     bool prepare);

// Keyframe interpolation of one frame (only with more than one key).
void Anim_lerpframe(sfuncSystem* doc, int16_t keyCount, double t, bool loop, bool movie);

// The four keys of segment k of K keys (looping or clamped to the ends).
struct KVsegmentKeys
{
  int k0, k1, k2, k3;
};
KVsegmentKeys Anim_segmentKeys(int k, int keyCount, bool loop);

// Parameters (every tree, sub-trees included) and palette of segment k at
// fraction f.
void params_interpolate(sfuncSystem* doc, int k, int keyCount, double f, bool loop, bool smoothing);

// The state of a time-random walk: the time of the next component and the
// smoothing flag.
struct KVtimeRandomState
{
  double time;
  bool smoothing;
  const KVtables* tables;  // the document's lookup tables
};

// Walk procedure: time-random parameters of one component; advances the
// state's time by 7.0 for each component it changes.
void tp_timerandomParamlist(smalltree* tree, gfunc* g, void* state);

// Time-random parameters of every component at time t.
void timeparamlists(sfuncSystem* doc, double t, bool movie);

// The clock of an open movie: time scale S (units a second), duration D in
// those units, frame rate R in frames per second x 100.
struct KVmovieClock
{
  int32_t timeScale;
  int32_t duration;
  int32_t rate100;
};

// The movie time a slot shows at the document's current frame n and eased
// time, from its movie mode and start value s (in movie frames): mode 1 loops
// at the document's frame rate, modes 2, 3 and 4 step one, a half and a
// quarter of a movie frame per frame, any other mode spans the movie over the
// animation. Truncated; 0 when it cannot be had.
int32_t Anim_movieTime(const KVmovieClock& clock, uint8_t movieMode, uint32_t start,
                       double docFrameRate, double frame, double easedTime);

// Shows each used movie input's frame for time t (held inputs only on forced
// updates).
void UpdateMoviePosition(sfuncSystem* doc, double t, int16_t updateMode);

// Fills the first n entries of master arrays 3 to 8 for time t from the
// master-input mode and the doubles d1..d6.
void Anim_PrepareMasterInputs(sfuncSystem* doc, int32_t n, double t);

// ---- Curves -------------------------------------------------------------------

// The cubic Bezier q0, q1, q2, q3 at t.
double EvaluateBezier(double q0, double q1, double q2, double q3, double t);
// The same curve through log(p + 8888), mapped back.
double EvaluateLogBezier(double p0, double p1, double p2, double p3, double t);

// The two inner control points of the segment from key p1 to key p2 with
// neighbours p0 and p3. Passing p1 itself as p0 (or p2 as p3) marks the first
// (last) key: its control point then lies a third of the way along the chord.
void control_params(const KVparamTriple* p0, const KVparamTriple* p1, const KVparamTriple* p2,
                    const KVparamTriple* p3, KVparamTriple* c1, KVparamTriple* c2);

// Clamps candidate parameters to the component's range (its normalised values
// to [0, 1]), except for the members and "Phase " parameters that wrap.
void limitparam(gfunc* g, double* a, double* b, double* c);

// ---- Keys ----------------------------------------------------------------------

// Applies key `key` (camera, palette, unlocked parameters) and sets the time
// to it; returns that t, or 0 when the key is not in use.
double Anim_selectKey(sfuncSystem* doc, int16_t key, int16_t updateMode);
// Applies key `key` without changing the time.
void Anim_Read_KeyFrame(sfuncSystem* doc, int16_t key);
// Stores the view, the palette and every component's parameters as key `key`.
void Anim_Write_KeyFrame(sfuncSystem* doc, int16_t key);
// Stores only the view and the palette as key `key`.
void Anim_Write_KeyFrameView(sfuncSystem* doc, int16_t key);
// Writes the present state as a new last key.
void Anim_Add_KeyFrame(sfuncSystem* doc);
// Opens a gap at `key`: keys from there move up (the gap holds a copy of the
// key that was there); with `withSubtrees` the compiled sub-trees' triples
// move too.
void Anim_insert_KeyFrame(sfuncSystem* doc, int16_t key, bool withSubtrees);
// Removes key `key`: the keys above move down.
void Anim_delete_KeyFrame(sfuncSystem* doc, int16_t key);
// Adds a key extrapolated from the last two (2 x last - the one before).
void Anim_GuessNext_KeyFrame(sfuncSystem* doc);
// Changes the number of keys to `count` (1..16), resampling every triple.
void Anim_ResampleKey(sfuncSystem* doc, int16_t count);
// Resamples the triples of the compiled sub-trees only, from their own key
// count to `count`.
void Anim_ResampleSubKeyFrames(sfuncSystem* doc, int16_t count);

// Walk procedures over components (the argument is a KVkeyWalk).
struct KVkeyWalk
{
  int key;       // the key read or written
  int count;     // components that received parameters
  int from, to;  // resampling: old and new key counts
  const KVparamTriple*
      list;  // Anim_TP_setcurparamfromlist: one triple per component with parameters
  int listLength;
  int n;  // position in the list
};
void Anim_TP_getkeyparam(smalltree* tree, gfunc* g, void* walk);
void Anim_TP_setkeyparam(smalltree* tree, gfunc* g, void* walk);
void Anim_TP_setcurparamfromlist(smalltree* tree, gfunc* g, void* walk);
void Anim_TP_insertKFparam(smalltree* tree, gfunc* g, void* walk);
void Anim_TP_deleteKFparam(smalltree* tree, gfunc* g, void* walk);
void Anim_TP_resampleKFparam(smalltree* tree, gfunc* g, void* walk);
void Anim_TP_GuessNext(smalltree* tree, gfunc* g, void* walk);
