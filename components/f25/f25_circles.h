// Circle sets of the inversion members: the circle record and its sign
// convention, the set record `CILabData`, the plane geometry that builds sets
// (inversion of a circle, intersections, orthogonal circles, rings and chains
// of tangent circles) and the two routines that run a point through a set.
//
// A circle is a dvector3d (centre x, centre y, radius). While a set is built
// the radius is plain (negative for an outside circle); once finished,
// SquareCircleRadius turns it into the signed squared radius s:
//   s > 0  inside circle: a point with d^2 < s is inverted in it;
//   s < 0  outside circle: a point with d^2 > -s is inverted in it;
//   s = 0  line record: the eight bytes of x hold the integer parameter q and
//          the line type t (q first, each as a little-endian 32-bit word), y
//          the line position p. A zero-filled record is a type-0 line at 0.
// Every comparison is strict: a point exactly on a circle is not inverted.
#pragma once

#include <cstdint>

#include "engine/gfunc.h"
#include "foundation/types.h"

// The limit list holds nine circles: the ring builders list one per tile and
// one more, and tiles go up to 8.
inline constexpr int kF25maxLimits = 9;

struct CILabData
{
  int16_t tiles;        // tile count N, 1..8
  int16_t circleCount;  // circles of the block in use
  int16_t iterations;   // passes (the document's octave count, 0..256)
  int16_t limitCount;   // limit circles in use, 0..9
  uint8_t variant;      // colour variant 0..3
  uint8_t algorithm;    // Disk Fractal Lab algorithm 0..25
  uint16_t xOnly;       // nonzero: the periodic wrap moves x only
  uint16_t period;      // wrap before each pass: 0 none, 2, 4 or 8
  uint16_t keepGoing;   // 0: a hit ends the pass (and a limit hit the run)
  double parameter;     // "Parameter %", at most 1
  normalcolor background;
  dvector3d limit[kF25maxLimits];
};

// ---- Circle blocks ----------------------------------------------------------

// The component's circle block: a new zero-filled block of `count` circles
// in its auxiliary memory (the old one freed), or null when memory is short.
dvector3d* F25_newCircleBlock(gfunc* g, int count);
// The block for reading, or null when the component has none; `count` is
// what the member recorded when it made the block (0 when it has none).
const dvector3d* F25_circleBlock(const gfunc* g, int count);

// ---- Line records ---------------------------------------------------------

dvector3d F25_lineRecord(int32_t type, int32_t q, double position);
int32_t F25_lineType(const dvector3d& c);
int32_t F25_lineParam(const dvector3d& c);

// ---- Geometry -------------------------------------------------------------

// out = the image of c under inversion in `inv`; a negative factor gives a
// negative radius.
void InvertVCircle(const dvector3d& c, const dvector3d& inv, dvector3d& out);
// The crossing points of c0 and c1 (P, and Q when given); where the circles
// do not meet, or without Q, the foot B of the radical line on the line of
// centres. Always 1.
int32_t CircleIntersect(const dvector3d& c0, const dvector3d& c1, dvector2d& p,
                        dvector2d* q = nullptr);
// Turns the centres about the origin by theta; radii unchanged.
void RotateVCirc(dvector3d& c0, dvector3d* c1, dvector3d* c2, dvector3d* c3, double theta);
// The circle through the three pairwise radical-line feet of c0, c1, c2
// (orthogonal to all three when they touch); out untouched when they are
// collinear.
void OrthoCircle(const dvector3d& c0, const dvector3d& c1, const dvector3d& c2, dvector3d& out);
// Radii that make the three circles (centres given) touch pairwise.
void FindTangentRadiusFrom3center(dvector3d& c0, dvector3d& c1, dvector3d& c2);
// The circle through three points, out = (cx, cy, squared radius): 1, or 0
// with out untouched when two arguments are the same record or the points
// are collinear.
int32_t FindVCircleFrom3P(const dvector3d& p0, const dvector3d& p1, const dvector3d& p2,
                          dvector3d& out);
// The circle touching the three side lines of the triangle, its radius the
// signed distance (positive for one orientation); out untouched for a
// degenerate triangle.
void FindVCircleInside3P(const dvector3d& p0, const dvector3d& p1, const dvector3d& p2,
                         dvector3d& out);
// r -> r^2 (r >= 0) or -r^2 (r < 0) for the first n circles.
void SquareCircleRadius(int n, dvector3d* circles);
// n circles (R cos a, R sin a, s), a = (k + phase) 2 pi / n.
void DirectCircleRing(int n, dvector3d* circles, double ringRadius, double s, double phase);
// A ring of n circles, each touching its neighbours, orthogonal to the circle
// of radius rho about the origin (n >= 3); writes n circles. The ring's inner,
// middle and outer radii go to the pointers given; n <= 0 writes no circle
// and gives 0, rho, 2 rho.
void CreateCircleRing(int n, dvector3d* circles, double phase, double rho, double* inner,
                      double* mid, double* outer);
// A chain of m - 2 touching circles and the two circles that bound it, made
// by inverting a row of unit circles between y = -1 and y = 1 in the unit
// circle about (a, b); writes m circles (m >= 2).
void BuildNtgtCircles(dvector3d* circles, double a, double b, int m);
// The inner Soddy circle of three touching circles; out2, when given, its
// image in the circle orthogonal to the three.
void FindInnerSoddy(const dvector3d& c1, const dvector3d& c2, const dvector3d& c3, dvector3d& out,
                    dvector3d* out2 = nullptr);

// ---- Iteration --------------------------------------------------------------

// A point's journey through a finished set: the final point and its colour
// (0..255 for the table and limit colours, sums of 16 for the index colours).
struct F25journey
{
  double x;
  double y;
  double r;
  double g;
  double b;
};

// Variants 0 and 1: iterations + 1 passes of reflections and inversions in
// every circle; colour by circle index (variant 0) or, for variant 1, the
// palette colour at a count-weighted position. `circles` holds at least
// lab.circleCount records.
F25journey GenericDiskInvert(const CILabData& lab, const dvector3d* circles,
                             const cpalette& palette, double x, double y);
// Variants 2 and 3 and the Appolonian Tile: passes that wrap the plane,
// test the limit circles, then fold and invert; colour from the background,
// the limit reached and the pass.
F25journey GenericDiskLimit(const CILabData& lab, const dvector3d* circles, const cpalette& palette,
                            double x, double y);
