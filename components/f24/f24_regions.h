// Random shapes in overlapping layers of square regions, one shape a region:
// flat-topped rectangles (Random Polygons A), squares cut by diagonals
// (Random Polygons B), pairs of crossing sticks, tilted disks and circular
// stars. Each shape is a small height field; the shapes of all layers merge
// into one accumulator of colour (0..255) and height, cleared per sample,
// the higher shape winning with a narrow smooth transition (stars add).
// Outputs: R, G, B (8 full) and the height.
#pragma once

#include "components/common/member.h"
#include "noise/regions.h"

void f24_PolyA(gfunc* g);
void f24_PolyB(gfunc* g);
void f24_RegionA(gfunc* g);
void f24_RegionB(gfunc* g);
void f24_starfield(gfunc* g);

int16_t f24_PolyA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_PolyB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_RegionA_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_RegionB_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_starfield_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f24_PolyA_prepare(gfunc* g);
void f24_PolyB_prepare(gfunc* g);
void f24_RegionA_prepare(gfunc* g);
void f24_RegionB_prepare(gfunc* g);
void f24_starfield_prepare(gfunc* g);

// The polygon bodies: region-local (x, y) in [-1, 1), the region's lattice
// indices (i, j), the three colours of the colour cycle (9 doubles,
// 0..255; colour 3 is grey 128) and the accumulator (R, G, B, height).
// PolyA keeps the higher flat top; PolyB merges smoothly and returns 0.
int32_t f2dregionPolyA(const KVtables* t, double x, double y, int64_t i, int64_t j,
                       const double* colours, dvector4d* acc);
int32_t f2dregionPolyB(const KVtables* t, double x, double y, int64_t i, int64_t j,
                       const double* colours, dvector4d* acc);

// The region bodies of the overlap drivers (RegionProc): the stick record
// holds d0..d4, the star record d0, d1.
int32_t f2dregionSticks(fractalsinfos* fi, double x, double y, double param, int32_t code,
                        regionrecord* record, dvector4d* acc);
int32_t f2dregionArcNoise(fractalsinfos* fi, double x, double y, double param, int32_t code,
                          regionrecord* record, dvector4d* acc);
int32_t f2dregionStars(fractalsinfos* fi, double x, double y, double param, int32_t code,
                       regionrecord* record, dvector4d* acc);

namespace f24region {
inline constexpr KVparamDesc kAmplitude2{.label = "Amplitude ", .k = 2};
inline constexpr KVparamDesc kFrequency16{.label = "Frequency ", .k = 16};
inline constexpr KVparamDesc kCycle{.label = "Color Cycle ", .k = 1};
}  // namespace f24region

inline constexpr KVmemberDesc kF24_PolyA{
    .id = 49,
    .computeName = "f24_PolyA",
    .name = " Random Polygons A",
    .compute = f24_PolyA,
    .handler = f24_PolyA_handler,
    .params = {f24region::kAmplitude2, f24region::kCycle, f24region::kFrequency16},
    .defaults = {1, 0.5, 2},
    .on8 = f24_PolyA_prepare,
};

inline constexpr KVmemberDesc kF24_PolyB{
    .id = 50,
    .computeName = "f24_PolyB",
    .name = " Random Polygons B",
    .compute = f24_PolyB,
    .handler = f24_PolyB_handler,
    .params = {f24region::kAmplitude2, f24region::kCycle, f24region::kFrequency16},
    .defaults = {1, 0.5, 2},
    .on8 = f24_PolyB_prepare,
};

inline constexpr KVmemberDesc kF24_RegionA{
    .id = 36,
    .computeName = "f24_RegionA",
    .name = " Random sticks ",
    .compute = f24_RegionA,
    .handler = f24_RegionA_handler,
    .params = {{.label = "Orientation ", .k = 1},
               {.label = "Color Style ", .k = 1},
               f24region::kFrequency16},
    .defaults = {1, 0.5, 1},
    .on8 = f24_RegionA_prepare,
};

inline constexpr KVmemberDesc kF24_starfield{
    .id = 37,
    .computeName = "f24_starfield",
    .name = " Color Stars",
    .compute = f24_starfield,
    .handler = f24_starfield_handler,
    .params = {f24region::kAmplitude2,
               {.label = "Color variation % ", .k = 1},
               f24region::kFrequency16},
    .defaults = {1, 0.5, 2},
    .on8 = f24_starfield_prepare,
};

inline constexpr KVmemberDesc kF24_RegionB{
    .id = 38,
    .computeName = "f24_RegionB",
    .name = " Slanted disk noise ",
    .compute = f24_RegionB,
    .handler = f24_RegionB_handler,
    .params = {{.label = "Amplitude ", .k = 1},
               {.label = "Disk orientation ", .k = 1},
               f24region::kFrequency16},
    .defaults = {1, 0.5, 2},
    .on8 = f24_RegionB_prepare,
};
