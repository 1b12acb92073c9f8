// RGB colour operations: a colour (R, G, B on the colour scale, 8 full) on
// inputs 1 to 3 gives a colour on outputs 1 to 3. Gamma, Gaussian bands,
// contrast, quantisation, conversions between RGB and HLS, colorisation,
// dither, the largest channel mapped onto the document gradient, saturation
// with brightness, and a depth sort of packed colours.
//
// Unless a member says otherwise, a sample whose input 1 holds the no-value
// marker gives the marker on all three outputs; inputs 2 and 3 are not tested.
// None of these members keeps state between batches.
#pragma once

#include "components/common/member.h"

void f33_gamma(gfunc* g);
void f33_HLStransform(gfunc* g);
void f33_RGBtransform(gfunc* g);
void f33_zcompare(gfunc* g);
void f33_colorize(gfunc* g);
void f33_gaussian(gfunc* g);
void f33_RGBContrast(gfunc* g);
void f33_quantize(gfunc* g);
void f33_RGBdither(gfunc* g);
void f33_MAXtogradient(gfunc* g);
void f33_saturation(gfunc* g);

int16_t f33_gamma_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_HLStransform_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_RGBtransform_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_zcompare_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_colorize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_gaussian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_RGBContrast_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_quantize_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_RGBdither_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_MAXtogradient_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f33_saturation_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8. RGB to HLS: k0 = 32 A. HLS to RGB: k0 = 45 A (degrees per
// colour unit). Colorize: the channel weights of the two balances, scaled to
// length sqrt(3) (left at 0 when both balances cancel every channel). RGB
// dither: k0 = 1/32. Max to gradient: the document gradient at 0, 0.2, ... 1.
void f33_HLStransform_precompute(gfunc* g);
void f33_RGBtransform_precompute(gfunc* g);
void f33_colorize_precompute(gfunc* g);
void f33_RGBdither_precompute(gfunc* g);
void f33_MAXtogradient_precompute(gfunc* g);

// The six colours of Max to gradient, kept in the private area.
struct F33gradientColours
{
  normalcolor c[6];
};

// True when inputs 1, 2 and 3 come from one and the same component of a
// one-output family (f11, f21, f31, f41): RGB gamma and Saturation & Lum then
// read input 1 as a grey level.
bool f33_singleGreySource(const gfunc* g);

inline constexpr KVmemberDesc kF33_gamma{
    .id = 5,
    .computeName = "f33_gamma",
    .name = " RGB gamma",
    .compute = f33_gamma,
    .handler = f33_gamma_handler,
    .params = {{.label = "Gamma red/x ", .k = 7.875, .c = 0.125},
               {.label = "Gamma green/y ", .k = 7.875, .c = 0.125},
               {.label = "Gamma blue/z ", .k = 7.875, .c = 0.125}},
    .defaults = {1, 1, 1},
};

inline constexpr KVmemberDesc kF33_HLStransform{
    .id = 6,
    .computeName = "f33_HLStransform",
    .name = " RGB to HLS",
    .compute = f33_HLStransform,
    .handler = f33_HLStransform_handler,
    .params = {{.label = "Amplitude ", .k = 1.5, .c = 0.5}},
    .defaults = {1, kAbsentParam, kAbsentParam},
    .on8 = f33_HLStransform_precompute,
};

inline constexpr KVmemberDesc kF33_RGBtransform{
    .id = 7,
    .computeName = "f33_RGBtransform",
    .name = " HLS to RGB",
    .compute = f33_RGBtransform,
    .handler = f33_RGBtransform_handler,
    .params = {{.label = "Contrast Hue ", .k = 2},
               {.label = "Contrast Luminance ", .k = 2},
               {.label = "Contrast Saturation ", .k = 2}},
    .defaults = {1, 1, 1},
    .on8 = f33_RGBtransform_precompute,
};

inline constexpr KVmemberDesc kF33_zcompare{
    .id = 11,
    .computeName = "f33_zcompare",
    .name = " Packed Depth sort",
    .compute = f33_zcompare,
    .handler = f33_zcompare_handler,
    .params = {{.label = " z offset ", .k = 32, .c = -16}},
    .defaults = {0, kAbsentParam, kAbsentParam},
};

inline constexpr KVmemberDesc kF33_colorize{
    .id = 34,
    .computeName = "f33_colorize",
    .name = " Colorize",
    .compute = f33_colorize,
    .handler = f33_colorize_handler,
    .params = {{.label = "Amount ", .k = 1},
               {.label = "Red balance ", .k = 2, .c = -1},
               {.label = "Blue balance ", .k = 2, .c = -1}},
    .defaults = {0.5, 0, 0},
    .on8 = f33_colorize_precompute,
};

inline constexpr KVmemberDesc kF33_gaussian{
    .id = 37,
    .computeName = "f33_gaussian",
    .name = " RGB Gaussian",
    .compute = f33_gaussian,
    .handler = f33_gaussian_handler,
    .params = {{.label = "Offset x ", .k = 32, .c = -16},
               {.label = "Offset y ", .k = 32, .c = -16},
               {.label = "Offset z ", .k = 32, .c = -16}},
    .defaults = {1, 1, 1},
};

inline constexpr KVmemberDesc kF33_RGBContrast{
    .id = 38,
    .computeName = "f33_RGBContrast",
    .name = " RGB Contrast",
    .compute = f33_RGBContrast,
    .handler = f33_RGBContrast_handler,
    .params = {{.label = "Contrast amount ", .k = 2, .c = -1},
               {.label = "Offset ", .k = 8, .c = -4}},
    .defaults = {0.5, 0, kAbsentParam},
};

inline constexpr KVmemberDesc kF33_quantize{
    .id = 39,
    .computeName = "f33_quantize",
    .name = " RGB Quantize",
    .compute = f33_quantize,
    .handler = f33_quantize_handler,
    .params = {{.label = "Frequency ", .k = 3.875, .c = 0.125},
               {.label = "Phase ", .k = 8, .c = -4},
               {.label = "Amplitude ", .k = 1}},
    .defaults = {1, 0, 1},
};

inline constexpr KVmemberDesc kF33_RGBdither{
    .id = 44,
    .computeName = "f33_RGBdither",
    .name = " RGB dither",
    .compute = f33_RGBdither,
    .handler = f33_RGBdither_handler,
    .params = {{.label = "Amplitude ", .k = 4}},
    .defaults = {1, kAbsentParam, kAbsentParam},
    .on8 = f33_RGBdither_precompute,
};

inline constexpr KVmemberDesc kF33_MAXtogradient{
    .id = 49,
    .computeName = "f33_MAXtogradient",
    .name = " Max to gradient",
    .compute = f33_MAXtogradient,
    .handler = f33_MAXtogradient_handler,
    .params = {{.label = "Amplitude X ", .k = 2},
               {.label = "Amplitude Y ", .k = 2},
               {.label = "Amplitude Z ", .k = 2}},
    .defaults = {0, 0.5, 1},
    .on8 = f33_MAXtogradient_precompute,
};

inline constexpr KVmemberDesc kF33_saturation{
    .id = 50,
    .computeName = "f33_saturation",
    .name = " Saturation & Lum",
    .compute = f33_saturation,
    .handler = f33_saturation_handler,
    .params = {{.label = "Saturation ", .k = 1}, {.label = "Brightness ", .k = 2}},
    .defaults = {1, 1, kAbsentParam},
};
