// f21 members that turn a picture or movie input of the document into a
// grey field: sampled bilinearly and optionally tiled, tiled with mirrors,
// or box-blurred and sampled with a bicubic spline. Each reads the input slot
// named by its slot word through the picture record that messages 7 and 8
// fill; with no picture bound the output block is left as it is. A sample
// whose x or y holds the no-value marker gives the marker.
#pragma once

#include "components/common/member.h"
#include "components/f21/f21_blurcache.h"
#include "engine/pictinput.h"
#include "imaging/offworld.h"

// The private area of the three members. The first two fields are the
// blurred member's hold on its shared sums and their blur size, where the
// tree management finds them.
struct F21pictPrivate
{
  Offworld blurred;  // shared sums (f21_blurcache.h); null when none is held
  double lastBlur;   // blur size k of those sums; -1 when none
  KVpictureRecord pict;
  double contrast;   // k: grey byte to output
  double outFactor;  // F: blurred sum to output
  F21blurKey blurKey;
};

void f21_movie(gfunc* g);
void f21_movieSym(gfunc* g);
void f21_blurredmovie(gfunc* g);

int16_t f21_movie_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_movieSym_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f21_blurredmovie_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Messages 7 and 8: bind the picture and precompute. Pict/Movie holds C to at
// most 1 (written back) and tiles with periods W / C and H / C when C > 0;
// the blurred member takes hold of the sums of its picture at blur size
// k = 2..18 (from C, NaN as 0), building them only when no component holds
// them yet.
void f21_movie_prepare(gfunc* g);
void f21_movieSym_prepare(gfunc* g);
void f21_blurredmovie_prepare(gfunc* g);

// Lets go of the blurred member's sums (the buffer is freed when no other
// component holds it) and clears the first two fields. The tree management
// calls it where it releases a component's blocks: the sums may be shared
// with other components, so they must never be freed directly.
void f21_blurredmovie_release(gfunc* g);

// The blur size of a Blur parameter: trunc(16 C + 2) with its lowest bit
// cleared, C held to 0..1 (NaN as 0), so 2..18.
int32_t f21_blurSize(double c);

inline constexpr KVmemberDesc kF21_movie{
    .id = 30,
    .computeName = "f21_movie",
    .name = " Pict/Movie",
    .compute = f21_movie,
    .handler = f21_movie_handler,
    .params = {{.label = "Size ", .k = 4},
               {.label = "Contrast ", .k = 4},
               {.label = "Tiling ", .k = 1}},
    .defaults = {1, 1, 1},
    .on7 = f21_movie_prepare,
    .on8 = f21_movie_prepare,
};

inline constexpr KVmemberDesc kF21_movieSym{
    .id = 31,
    .computeName = "f21_movieSym",
    .name = " Pict/Movie SymTiled ",
    .compute = f21_movieSym,
    .handler = f21_movieSym_handler,
    .params = {{.label = "Size ", .k = 4}, {.label = "Contrast ", .k = 4}},
    .defaults = {1, 1, kAbsentParam},
    .on7 = f21_movieSym_prepare,
    .on8 = f21_movieSym_prepare,
};

inline constexpr KVmemberDesc kF21_blurredmovie{
    .id = 34,
    .computeName = "f21_blurredmovie",
    .name = " Blurred Pict/Movie ",
    .compute = f21_blurredmovie,
    .handler = f21_blurredmovie_handler,
    .params = {{.label = "Size ", .k = 3.875, .c = 0.125},
               {.label = "Contrast ", .k = 4},
               {.label = "Blur ", .k = 1}},
    .defaults = {1, 1, 0.5},
    .on7 = f21_blurredmovie_prepare,
    .on8 = f21_blurredmovie_prepare,
};
