// Members that iterate maps of the complex plane (a point (x, y) read as
// x + iy): Moebius Inversions (id 2) alternates a fixed Moebius map with
// inversion in the unit circle and shades by depth; Moebius Disk (id 5) and
// Moebius Balls (id 24) iterate a loxodromic map forward and backward until
// the point falls into a base disk, tiling the plane along a double spiral;
// the Kleinian Group Fractal (id 23) inverts in circles that sit on a
// logarithmic spiral lattice until the point lands in one of four small disks
// of its lattice cell. None but the Kleinian tests its inputs for the
// no-value marker.
#pragma once

#include <numbers>

#include "components/common/member.h"
#include "components/f25/f25_pvt.h"
#include "foundation/types.h"

void f25_DinvMoebius(gfunc* g);
void f25_moebiusDisk(gfunc* g);
void f25_moebiusBalls(gfunc* g);
void f25_Kleinian(gfunc* g);

int16_t f25_DinvMoebius_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_moebiusDisk_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_moebiusBalls_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_Kleinian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of each: the map's coefficients (and the Kleinian's lattice and
// colours).
void f25_DinvMoebius_prepare(gfunc* g);
void f25_moebiusDisk_prepare(gfunc* g);
void f25_moebiusBalls_prepare(gfunc* g);
void f25_Kleinian_prepare(gfunc* g);

// Recursion counts from C are held to these.
inline constexpr int kF25moebiusMaxRecursion = 128;
inline constexpr int kF25kleinianMaxRecursion = 64;

// The map (a z + b) / (c z + d) and its inverse (d z - b) / (-c z + a).
struct F25moebius
{
  Complex a;
  Complex b;
  Complex c;
  Complex d;

  Complex forward(Complex z) const { return (a * z + b) / (c * z + d); }
  Complex inverse(Complex z) const { return (d * z - b) / (Complex{0, 0} - c * z + a); }
};

// What the Moebius members keep: the map and, for ids 5 and 24, the scale
// k0, k1 and the unit rotation u.
struct F25moebiusPrivate
{
  F25moebius map;
  double k0;
  double k1;
  Complex u;
};

// What the Kleinian keeps: the lattice (a1 + i a2 maps log-polar
// coordinates to the lattice, b1 + i b2 is its inverse), the lattice circle
// radius factor, the colour-table position factors and the two document
// colours 0..255.
struct F25kleinianPrivate
{
  double a1;
  double a2;
  double b1;
  double b2;
  double radius;
  double k0;
  double k1;
  F25rgb background;
  F25rgb second;
};

// The scale of Moebius Balls from its map (a z + b)/(c z + d): out = (best/2,
// 0, r^2), best the largest positive x the image of the origin reaches in 18
// passes of the map, r = |b/d|/2.
void FixSymMoebiusGeom(const Complex& a, const Complex& b, const Complex& c, const Complex& d,
                       dvector3d& out);

inline constexpr KVmemberDesc kF25_DinvMoebius{
    .id = 2,
    .computeName = "f25_DinvMoebius",
    .name = " Moebius Inversions",
    .compute = f25_DinvMoebius,
    .handler = f25_DinvMoebius_handler,
    .params = {{.label = "Real part ", .k = 1, .c = -0.5},
               {.label = "Imaginary part ", .k = 1, .c = -0.5},
               {.label = "Recursion ", .k = kF25moebiusMaxRecursion, .truncate = true}},
    .defaults = {-0.021, -0.0285, 32},
    .on8 = f25_DinvMoebius_prepare,
};

inline constexpr KVmemberDesc kF25_moebiusDisk{
    .id = 5,
    .computeName = "f25_moebiusDisk",
    .name = " Moebius Disk ",
    .compute = f25_moebiusDisk,
    .handler = f25_moebiusDisk_handler,
    .params = {{.label = "Circle Size % ", .k = 1},
               {.label = "k rotate ", .k = 12},
               {.label = "k tiles # ", .k = 45, .c = 3}},
    .defaults = {0.98, 3.912, 12},
    .on8 = f25_moebiusDisk_prepare,
};

inline constexpr KVmemberDesc kF25_Kleinian{
    .id = 23,
    .computeName = "f25_Kleinian",
    .name = " Kleinian Group Fractal ",
    .compute = f25_Kleinian,
    .handler = f25_Kleinian_handler,
    .params = {{.label = "Scale ", .k = 1},
               {.label = "Tile rotation ", .k = 8, .c = -4},
               {.label = "Recursion ", .k = kF25kleinianMaxRecursion, .truncate = true}},
    .defaults = {1, 0, 2},
    .on8 = f25_Kleinian_prepare,
};

inline constexpr KVmemberDesc kF25_moebiusBalls{
    .id = 24,
    .computeName = "f25_moebiusBalls",
    .name = " Moebius Balls ",
    .compute = f25_moebiusBalls,
    .handler = f25_moebiusBalls_handler,
    .params = {{.label = "Ball Size % ", .k = 1},
               {.label = "k rotate ", .k = 2 * std::numbers::pi, .c = -std::numbers::pi},
               {.label = "k scale ", .k = 1.5, .c = 0.5}},
    .defaults = {0.33, std::numbers::pi / 9, 0.954},
    .on8 = f25_moebiusBalls_prepare,
};
