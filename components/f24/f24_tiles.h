// Colour tilings and the picture member. Three tilings give every tile one
// of three colours of a hue table (squares in a checker, triangles of three
// band families at 120 degrees, hexagons grouped from the same bands) and a
// mask that falls to 0 at the tile edges; the picture member samples the
// picture or movie of one of the document's input slots with its alpha,
// once or repeated. Outputs: R, G, B (8 full) and the mask or alpha (4 full).
#pragma once

#include "components/common/member.h"
#include "engine/pictinput.h"

void f24_TriTile(gfunc* g);
void f24_HexaTile(gfunc* g);
void f24_XTile(gfunc* g);
void f24_colorpict(gfunc* g);

int16_t f24_TriTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_HexaTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_XTile_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f24_colorpict_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8 of the tilings: the rotation constants and the three colours.
void f24_tiles_prepare(gfunc* g);
// Messages 7 and 8 of the picture member: bind the slot's picture, set the
// repeat lengths (at least one pixel) and the alpha and colour gains.
void f24_colorpict_prepare(gfunc* g);

// The picture member's private area.
struct F24pictPrivate
{
  KVpictureRecord pict;
  double alphaGain;   // k0 = 4 / 255
  double colourGain;  // k1 = B / 32
};

namespace f24tile {
inline constexpr KVparamDesc kCycle{.label = "Color Cycle ", .k = 1};
inline constexpr KVparamDesc kPhase{.label = "Phase ", .k = 2, .c = -1};
}  // namespace f24tile

inline constexpr KVmemberDesc kF24_TriTile{
    .id = 17,
    .computeName = "f24_TriTile",
    .name = " Color Triangle Tiles ",
    .compute = f24_TriTile,
    .handler = f24_TriTile_handler,
    .params = {f24tile::kCycle, f24tile::kPhase, {.label = "Frequency ", .k = 8}},
    .defaults = {0.5, 0, 1},
    .on8 = f24_tiles_prepare,
};

inline constexpr KVmemberDesc kF24_HexaTile{
    .id = 18,
    .computeName = "f24_HexaTile",
    .name = " Color Hexagonal Tiles ",
    .compute = f24_HexaTile,
    .handler = f24_HexaTile_handler,
    .params = {f24tile::kCycle, f24tile::kPhase, {.label = "Frequency ", .k = 4}},
    .defaults = {0.5, 0, 1},
    .on8 = f24_tiles_prepare,
};

inline constexpr KVmemberDesc kF24_XTile{
    .id = 29,
    .computeName = "f24_XTile",
    .name = " Color Tiles ",
    .compute = f24_XTile,
    .handler = f24_XTile_handler,
    .params = {f24tile::kCycle, f24tile::kPhase, {.label = "Frequency ", .k = 8}},
    .defaults = {0.5, 0, 1},
    .on8 = f24_tiles_prepare,
};

inline constexpr KVmemberDesc kF24_colorpict{
    .id = 42,
    .computeName = "f24_colorpict",
    .name = " RGBa Pict/Movie",
    .compute = f24_colorpict,
    .handler = f24_colorpict_handler,
    .params = {{.label = "Size ", .k = 4},
               {.label = "Contrast ", .k = 2},
               {.label = "Tiling ", .k = 1}},
    .defaults = {1, 1, 1},
    .on7 = f24_colorpict_prepare,
    .on8 = f24_colorpict_prepare,
};
