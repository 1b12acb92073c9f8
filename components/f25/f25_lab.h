// The two circle-set members: the Disk Fractal Lab (id 1), which builds one of
// 26 sets from a ring or chain of touching circles and colours it one of four
// ways, and the Appolonian Tile (id 7), which folds the plane into a square
// lattice of Apollonian-like gaskets. Both build their set at message 8 into a
// circle block of their own and only iterate it in the compute; without a
// block the compute writes nothing.
#pragma once

#include "components/common/member.h"
#include "components/f25/f25_circles.h"

void f25_inversionLab(gfunc* g);
void f25_Appolonian(gfunc* g);

int16_t f25_inversionLab_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f25_Appolonian_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f25_inversionLab_prepare(gfunc* g);
void f25_Appolonian_prepare(gfunc* g);

// Circles of the blocks.
inline constexpr int kF25labCircles = 20;
inline constexpr int kF25appolonianCircles = 8;

// What the two members keep in the private area: the set record and the
// number of circles of the block they made (0 while they have none).
struct F25labPrivate
{
  CILabData lab;
  int32_t blockCircles;
};

inline constexpr KVmemberDesc kF25_inversionLab{
    .id = 1,
    .computeName = "f25_inversionLab",
    .name = " Disk Fractal Lab",
    .compute = f25_inversionLab,
    .handler = f25_inversionLab_handler,
    .params = {{.label = "Algorithm # ", .k = 25, .truncate = true},
               {.label = "Tile # ", .k = 5, .c = 3, .truncate = true},
               {.label = "Parameter % ", .k = 1}},
    .defaults = {0, 4, 0},
    .choiceA = true,
    .on8 = f25_inversionLab_prepare,
};

inline constexpr KVmemberDesc kF25_Appolonian{
    .id = 7,
    .computeName = "f25_Appolonian",
    .name = " Appolonian Tile",
    .compute = f25_Appolonian,
    .handler = f25_Appolonian_handler,
    .params = {{.label = "Radius ", .k = 4},
               {.label = "Offset x ", .k = 8, .c = -4},
               {.label = "Offset y ", .k = 8, .c = -4}},
    .defaults = {1, 0, 0},
    .on8 = f25_Appolonian_prepare,
};
