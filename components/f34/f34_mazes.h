// Mazes in relief on the plane of inputs 1 and 2: input 3 raises or lowers
// the walls. Two build their walls from hashed block patterns of the integer
// lattice (3 x 3 blocks of bars or dots; 2 x 2 blocks of stripes) coloured by
// the orthogonal maze sampler; the third cuts diagonal channels into every
// lattice cell. Output 4 is the height, held to -2..4.
#pragma once

#include "components/common/member.h"

void f34_OLinesMaze(gfunc* g);
void f34_OMaze(gfunc* g);
void f34_Cmaze(gfunc* g);

int16_t f34_OLinesMaze_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_OMaze_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_Cmaze_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f34_blockMaze_prepare(gfunc* g);
void f34_Cmaze_prepare(gfunc* g);

// Cell functions of the block mazes: 1 for a wall, -1 for floor; *kind is the
// wall's orientation (0 horizontal, 1 vertical, 2 a lone dot). z is unused.
// L Maze: 3 x 3 blocks (floor division, so cell -1 lies in block -1).
double LABTXT_ZmazeB(const KVtables* t, int32_t ix, int32_t iy, double z, int16_t* kind);
// O Maze: 2 x 2 blocks of stripes.
double LABTXT_ZMazeA(const KVtables* t, int32_t ix, int32_t iy, double z, int16_t* kind);

// One cell of R Maze at local (u, v) in -1..1 with hash h: two diagonal
// channels chosen by the parity of h. Writes the colour (0..255) to rgb and
// returns e, negative inside a channel.
double f2dregionMaze(double u, double v, double z, int32_t h, const double colours[9],
                     double rgb[3]);

namespace f34maze {
inline constexpr KVparamDesc kParams[3] = {
    {.label = "Amplitude ", .k = 2},
    {.label = "Color Cycle ", .k = 1},
    {.label = "Frequency ", .k = 16},
};
}  // namespace f34maze

inline constexpr KVmemberDesc kF34_OLinesMaze{
    .id = 5,
    .computeName = "f34_OLinesMaze",
    .name = " L Maze",
    .compute = f34_OLinesMaze,
    .handler = f34_OLinesMaze_handler,
    .params = {f34maze::kParams[0], f34maze::kParams[1], f34maze::kParams[2]},
    .defaults = {1, 0.5, 2},
    .on8 = f34_blockMaze_prepare,
};

inline constexpr KVmemberDesc kF34_OMaze{
    .id = 18,
    .computeName = "f34_OMaze",
    .name = " O Maze",
    .compute = f34_OMaze,
    .handler = f34_OMaze_handler,
    .params = {f34maze::kParams[0], f34maze::kParams[1], f34maze::kParams[2]},
    .defaults = {1, 0.5, 2},
    .on8 = f34_blockMaze_prepare,
};

inline constexpr KVmemberDesc kF34_Cmaze{
    .id = 26,
    .computeName = "f34_Cmaze",
    .name = " R Maze",
    .compute = f34_Cmaze,
    .handler = f34_Cmaze_handler,
    .params = {f34maze::kParams[0], f34maze::kParams[1], f34maze::kParams[2]},
    .defaults = {1, 0.5, 2},
    .on8 = f34_Cmaze_prepare,
};
