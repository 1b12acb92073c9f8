// f44 members that work on a colour and a fourth value (an alpha or an
// altitude): scale and offset of both, colour contrast, the colour weighted,
// faded, shaded or palette-coloured by w, a smooth floor and roof for w, and
// a hue, lightness and saturation shift. Most give the fill colour F (the
// document's fade colour / 32) where input 1 has no value.
#pragma once

#include "components/common/member.h"

void f44_scale(gfunc* g);
void f44_alphascale(gfunc* g);
void f44_contrast(gfunc* g);
void f44_offset(gfunc* g);
void f44_wmul(gfunc* g);
void f44_wcolorfade(gfunc* g);
void f44_wblend(gfunc* g);
void f44_wgrad(gfunc* g);
void f44_floor(gfunc* g);
void f44_colorshift(gfunc* g);

int16_t f44_scale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_alphascale_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_contrast_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_offset_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_wmul_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_wcolorfade_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_wblend_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_wgrad_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_floor_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f44_colorshift_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message-8 preparations (see each member in f44_rgba.cpp).
void f44_fade_precompute(gfunc* g);
void f44_contrast_precompute(gfunc* g);
void f44_wmul_precompute(gfunc* g);
void f44_wcolorfade_precompute(gfunc* g);
void f44_wblend_precompute(gfunc* g);
void f44_wgrad_precompute(gfunc* g);
void f44_floor_precompute(gfunc* g);
void f44_colorshift_precompute(gfunc* g);

namespace f44detail {
inline constexpr KVparamDesc kSigned4(std::string_view label)
{
  return {.label = label, .k = 8, .c = -4};
}
inline constexpr KVparamDesc kUnit(std::string_view label)
{
  return {.label = label, .k = 1, .c = 0};
}
}  // namespace f44detail

inline constexpr KVmemberDesc kF44_scale{
    .id = 0,
    .computeName = "f44_scale",
    .name = " XYZ Scale",
    .compute = f44_scale,
    .handler = f44_scale_handler,
    .params = {f44detail::kSigned4(" Scale X "), f44detail::kSigned4(" Scale Y "),
               f44detail::kSigned4(" Scale Z ")},
    .defaults = {1, 1, 1},
    .on8 = f44_fade_precompute,
};

inline constexpr KVmemberDesc kF44_wmul{
    .id = 3,
    .computeName = "f44_wmul",
    .name = " RGB * alpha",
    .compute = f44_wmul,
    .handler = f44_wmul_handler,
    .params = {{.label = "Alpha contrast ", .k = 8, .c = 0},
               {.label = "Highlights level ", .k = 2, .c = 0},
               {.label = "Alpha level ", .k = 6, .c = -4}},
    .defaults = {1, 0, 0},
    .inputCode = kConnFour,
    .on8 = f44_wmul_precompute,
};

inline constexpr KVmemberDesc kF44_wcolorfade{
    .id = 4,
    .computeName = "f44_wcolorfade",
    .name = " Alpha Fade ",
    .compute = f44_wcolorfade,
    .handler = f44_wcolorfade_handler,
    .params = {f44detail::kUnit(" Feather "), {.label = " Amount ", .k = 2, .c = -1}},
    .defaults = {0.5, 1, kAbsentParam},
    .on8 = f44_wcolorfade_precompute,
};

inline constexpr KVmemberDesc kF44_wblend{
    .id = 5,
    .computeName = "f44_wblend",
    .name = " Alpha Shade",
    .compute = f44_wblend,
    .handler = f44_wblend_handler,
    .params = {f44detail::kUnit("Amount "), {.label = "Alpha contrast ", .k = 4, .c = 0}},
    .defaults = {0.5, 1, kAbsentParam},
    .inputCode = kConnFour,
    .on8 = f44_wblend_precompute,
};

inline constexpr KVmemberDesc kF44_floor{
    .id = 6,
    .computeName = "f44_floor",
    .name = " Smooth floor",
    .compute = f44_floor,
    .handler = f44_floor_handler,
    .params = {{.label = "Floor level ", .k = 20, .c = -16},
               {.label = "Roof level ", .k = 100, .c = 0},
               {.label = "Smoothness ", .k = 4, .c = 0}},
    .defaults = {0, 2, 0.125},
    .on8 = f44_floor_precompute,
};

inline constexpr KVmemberDesc kF44_alphascale{
    .id = 7,
    .computeName = "f44_alphascale",
    .name = " Alpha scale & offset",
    .compute = f44_alphascale,
    .handler = f44_alphascale_handler,
    .params = {{.label = " Scale XYZ ", .k = 4, .c = 0},
               f44detail::kSigned4(" Scale w/alpha "),
               f44detail::kSigned4(" Offset w/alpha ")},
    .defaults = {1, 1, 0},
    .on8 = f44_fade_precompute,
};

inline constexpr KVmemberDesc kF44_offset{
    .id = 9,
    .computeName = "f44_offset",
    .name = " XYZ Offset",
    .compute = f44_offset,
    .handler = f44_offset_handler,
    .params = {{.label = "Offset x ", .k = 64, .c = -32},
               {.label = "Offset y ", .k = 64, .c = -32},
               {.label = "Offset z ", .k = 64, .c = -32}},
    .defaults = {0, 0, 0},
    .on8 = f44_fade_precompute,
};

inline constexpr KVmemberDesc kF44_colorshift{
    .id = 10,
    .computeName = "f44_colorshift",
    .name = " Color Shift",
    .compute = f44_colorshift,
    .handler = f44_colorshift_handler,
    .params = {{.label = "Hue shift ", .k = 12, .c = -6},
               {.label = "Lightness % ", .k = 4, .c = -2},
               {.label = "Saturation % ", .k = 2, .c = 0}},
    .defaults = {0, 1, 1},
    .on8 = f44_colorshift_precompute,
};

inline constexpr KVmemberDesc kF44_wgrad{
    .id = 14,
    .computeName = "f44_wgrad",
    .name = " Alpha gradient",
    .compute = f44_wgrad,
    .handler = f44_wgrad_handler,
    .params = {f44detail::kUnit("Amount % "),
               {.label = "Gradient Scale X ", .k = 2, .c = 0},
               {.label = "Gradient Offset ", .k = 4, .c = -2}},
    .defaults = {0.5, 1, 0},
    .on7 = f44_wgrad_precompute,
    .on8 = f44_wgrad_precompute,
};

inline constexpr KVmemberDesc kF44_contrast{
    .id = 15,
    .computeName = "f44_contrast",
    .name = " Contrast & offset",
    .compute = f44_contrast,
    .handler = f44_contrast_handler,
    .params = {{.label = " Color contrast % ", .k = 2, .c = 0},
               f44detail::kSigned4(" Scale w/alpha "),
               f44detail::kSigned4(" Offset w/alpha ")},
    .defaults = {1, 1, 0},
    .on8 = f44_contrast_precompute,
};
