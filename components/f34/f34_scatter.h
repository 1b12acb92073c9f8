// Scattered round features: shaded disks on two overlapping lattices of the
// plane, and, in the space of inputs 1 to 3, jittered stars, soft dots and a
// cellular texture on the 3D lattice. Output 4 is the accumulated height or
// brightness.
#pragma once

#include "components/common/member.h"
#include "engine/protocol.h"
#include "noise/regions.h"

void f34_zdisktiles(gfunc* g);
void f34_starfield(gfunc* g);
void f34_colordots(gfunc* g);
void f34_voron3d(gfunc* g);

int16_t f34_zdisktiles_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_starfield_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_colordots_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_voron3d_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f34_zdisktiles_prepare(gfunc* g);
void f34_starfield_prepare(gfunc* g);
void f34_colordots_prepare(gfunc* g);
void f34_voron3d_prepare(gfunc* g);

// One disk of z Disk Tiles: local (u, v) in the region, z the light turn,
// k the region's hash; rec holds the base colour (values 0..2, 0..255) and
// the tint amplitude (value 3); acc (x, y, z colour, w height) is blended by
// height. Returns 1 when the point lies in the disk.
int32_t f2dregionCTiles(fractalsinfos* fi, double u, double v, double z, int32_t k,
                        regionrecord* rec, dvector4d* acc);

namespace f34scatter {
inline constexpr KVparamDesc kCycle{.label = "Color Cycle ", .k = 1};
inline constexpr KVparamDesc kFrequency{.label = "Frequency ", .k = 16};
inline constexpr KVparamDesc kAmplitude8{.label = "Amplitude ", .k = 8};
}  // namespace f34scatter

inline constexpr KVmemberDesc kF34_zdisktiles{
    .id = 24,
    .computeName = "f34_zdisktiles",
    .name = " z Disk Tiles",
    .compute = f34_zdisktiles,
    .handler = f34_zdisktiles_handler,
    .params = {{.label = "Amplitude ", .k = 2}, f34scatter::kCycle, f34scatter::kFrequency},
    .defaults = {1, 0.444, 2},
    .on8 = f34_zdisktiles_prepare,
};

inline constexpr KVmemberDesc kF34_starfield{
    .id = 32,
    .computeName = "f34_starfield",
    .name = " 3D Color Star Field",
    .compute = f34_starfield,
    .handler = f34_starfield_handler,
    .params = {{.label = "Amplitude ", .k = 4},
               {.label = "Phase ", .k = 64, .c = -32},
               {.label = "Frequency ", .k = 32}},
    .defaults = {2, 0, 2},
    .inputCode = kConnThreeOut,
    .on8 = f34_starfield_prepare,
};

inline constexpr KVmemberDesc kF34_colordots{
    .id = 27,
    .computeName = "f34_colordots",
    .name = " 3D Color Dots ",
    .compute = f34_colordots,
    .handler = f34_colordots_handler,
    .params = {f34scatter::kAmplitude8, f34scatter::kCycle, f34scatter::kFrequency},
    .defaults = {2, 0.5, 2},
    .inputCode = kConnThreeOut,
    .on8 = f34_colordots_prepare,
};

inline constexpr KVmemberDesc kF34_voron3d{
    .id = 34,
    .computeName = "f34_voron3d",
    .name = " 3D Cellular",
    .compute = f34_voron3d,
    .handler = f34_voron3d_handler,
    .params = {f34scatter::kAmplitude8, f34scatter::kCycle, f34scatter::kFrequency},
    .defaults = {2, 0.5, 2},
    .inputCode = kConnThreeOut,
    .on8 = f34_voron3d_prepare,
};
