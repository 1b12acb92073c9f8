// f23 members that colour the plane with a picture or movie input of the
// document: mapped once or repeated with gaps (also the member every unknown
// f23 id binds), repeated with mirrors at every edge, or laid over other
// colours with no value outside the picture. Each reads the input slot named
// by its slot word through the picture record that messages 7 and 8 fill;
// with no picture bound the outputs are left as they are. An x holding the
// no-value marker gives the marker on all three outputs. Outputs are red,
// green and blue on the component colour scale (8 full); an 8-bit picture
// gives its grey on all three.
#pragma once

#include "components/common/member.h"
#include "engine/pictinput.h"

// The private area of the three members.
struct F23pictPrivate
{
  KVpictureRecord pict;
  double contrast;  // K = B / 32 (the overlay always uses 1 / 32)
};

void f23_colorpict(gfunc* g);
void f23_colorpictsym(gfunc* g);
void f23_colorpicttile(gfunc* g);

int16_t f23_colorpict_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_colorpictsym_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_colorpicttile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Messages 7 and 8: bind the picture and set the repeat lengths. RGB
// Pict/Movie holds C to at most 1 (written back) and repeats every W / C and
// H / C pixels when C > 0; the overlay repeats every W / B pixels across when
// B > 0 and every H / C down when C > 0.
void f23_colorpict_prepare(gfunc* g);
void f23_colorpictsym_prepare(gfunc* g);
void f23_colorpicttile_prepare(gfunc* g);

inline constexpr KVmemberDesc kF23_colorpict{
    .id = 0,
    .computeName = "f23_colorpict",
    .name = " RGB Pict/Movie",
    .compute = f23_colorpict,
    .handler = f23_colorpict_handler,
    .params = {{.label = "Size ", .k = 4},
               {.label = "Contrast ", .k = 2},
               {.label = "Tiling ", .k = 1}},
    .defaults = {1, 1, 1},
    .on7 = f23_colorpict_prepare,
    .on8 = f23_colorpict_prepare,
};

inline constexpr KVmemberDesc kF23_colorpictsym{
    .id = 1,
    .computeName = "f23_colorpictsym",
    .name = " RGB Pict/Movie mirror",
    .compute = f23_colorpictsym,
    .handler = f23_colorpictsym_handler,
    .params = {{.label = "Size ", .k = 4}, {.label = "Contrast ", .k = 2}},
    .defaults = {1, 1, kAbsentParam},
    .on7 = f23_colorpictsym_prepare,
    .on8 = f23_colorpictsym_prepare,
};

inline constexpr KVmemberDesc kF23_colorpicttile{
    .id = 34,
    .computeName = "f23_colorpicttile",
    .name = " Pict/Movie Overlay ",
    .compute = f23_colorpicttile,
    .handler = f23_colorpicttile_handler,
    .params = {{.label = "Size ", .k = 4},
               {.label = "Tile X ", .k = 1},
               {.label = "Tile Y ", .k = 1}},
    .defaults = {1, 1, 0},
    .on7 = f23_colorpicttile_prepare,
    .on8 = f23_colorpicttile_prepare,
};
