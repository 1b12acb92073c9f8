// f23 members that paint the plane from a few hues turned by a "Hue
// Rotation" parameter: concentric rings, stripes with a line colour, a colour
// wheel, soft random blends and string-like veins. Their handlers build the
// hue keys at message 8; the computes read them per sample. Each tests
// input 1 for the marker. Outputs are red, green and blue (8 full).
#pragma once

#include "components/common/member.h"

void f23_concentrichues(gfunc* g);
void f23_linearhues(gfunc* g);
void f23_radialhues(gfunc* g);
void f23_randomhues(gfunc* g);
void f23_strings(gfunc* g);

int16_t f23_concentrichues_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_linearhues_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_radialhues_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_randomhues_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_strings_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: the hue keys of each member.
void f23_concentrichues_precompute(gfunc* g);
void f23_linearhues_precompute(gfunc* g);
void f23_radialhues_precompute(gfunc* g);
void f23_randomhues_precompute(gfunc* g);
void f23_strings_precompute(gfunc* g);

inline constexpr KVparamDesc kF23hueRotation{.label = "Hue Rotation ", .k = 2, .c = -1};
inline constexpr KVparamDesc kF23hueSaturation{.label = "Saturation ", .k = 1};

inline constexpr KVmemberDesc kF23_concentrichues{
    .id = 18,
    .computeName = "f23_concentrichues",
    .name = " RGB concentric hues ",
    .compute = f23_concentrichues,
    .handler = f23_concentrichues_handler,
    .params = {kF23hueRotation, kF23hueSaturation, {.label = "Frequency ", .k = 2}},
    .defaults = {0, 1, 1},
    .on8 = f23_concentrichues_precompute,
};

inline constexpr KVmemberDesc kF23_linearhues{
    .id = 19,
    .computeName = "f23_linearhues",
    .name = " RGB linear hues",
    .compute = f23_linearhues,
    .handler = f23_linearhues_handler,
    .params = {kF23hueRotation, kF23hueSaturation, {.label = "Frequency ", .k = 4}},
    .defaults = {0, 1, 1},
    .on8 = f23_linearhues_precompute,
};

inline constexpr KVmemberDesc kF23_radialhues{
    .id = 20,
    .computeName = "f23_radialhues",
    .name = " RGB radial hues",
    .compute = f23_radialhues,
    .handler = f23_radialhues_handler,
    .params = {kF23hueRotation, kF23hueSaturation},
    .defaults = {0, 1, kAbsentParam},
    .on8 = f23_radialhues_precompute,
};

inline constexpr KVmemberDesc kF23_randomhues{
    .id = 21,
    .computeName = "f23_randomhues",
    .name = " RGB soft random hues",
    .compute = f23_randomhues,
    .handler = f23_randomhues_handler,
    .params = {kF23hueRotation, kF23hueSaturation, {.label = "Frequency ", .k = 8}},
    .defaults = {0, 1, 1},
    .on8 = f23_randomhues_precompute,
};

inline constexpr KVmemberDesc kF23_strings{
    .id = 29,
    .computeName = "f23_strings",
    .name = " String noise",
    .compute = f23_strings,
    .handler = f23_strings_handler,
    .params = {{.label = "Thickness ", .k = 2},
               {.label = "Hues ", .k = 1},
               {.label = "Frequency ", .k = 7.9375, .c = 0.0625}},
    .defaults = {1, 0.5, 2},
    .on8 = f23_strings_precompute,
};
