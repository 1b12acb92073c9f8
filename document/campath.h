// The camera of keyframe animation: each key holds a view centre (x, y) and
// half-size h. Between keys the camera follows a Bezier curve through the
// keys or, with straight moves, a straight line with a geometric zoom. With
// the camera-path flag the motion is re-parametrised so that the camera
// travels at constant speed in a metric that counts zoom in octaves: a
// doubling of the half-size is 1.57 units, a move by one half-size 1 unit.
// Main thread only.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"

struct keycam
{
  double x;
  double y;
  double h;  // half-size
};

// Sampling step of the path measure, in normalised time.
inline constexpr double kCamPathStep = 3.125e-5;

// The camera of key `key`.
keycam Anim_keyCamera(const sfuncSystem* doc, int key);

// The camera at fraction f of segment k of K keys.
void campath_interpolate(const sfuncSystem* doc, int k, int keyCount, double f, bool loop,
                         keycam* out);

// The distance from `previous` to the camera at time t; that camera becomes
// `previous`. A half-size that is not positive and finite on either side
// counts no zoom distance.
double campath_EvaluateDist(const sfuncSystem* doc, int keyCount, double t, bool loop,
                            keycam* previous);

// Advances the path position until the covered distance would pass `target`,
// refining the step three times by a quarter. The position never moves back.
void campath_converge(sfuncSystem* doc, double target, double step, int depth, int segments,
                      bool loop);

// The total length of the path over t in (0, 1).
double campath_EvaluateTotalDistance(const sfuncSystem* doc, int keyCount, bool loop);

// Stores the mode, applies key 0 and measures the path (keyframe modes), or
// takes the camera from the view (no keys).
void Anim_Start(sfuncSystem* doc, int16_t mode, int16_t updateMode);
