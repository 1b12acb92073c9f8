// " 3D Tech Noise #" and " 3D Walls & Concrete #": the 3D cell textures of
// the city and wall cells (buildings, grids, mazes, signs, stones, bricks,
// concrete) put on the point of inputs 1 to 3. A picks the texture from a
// fixed list; message 8 stores its cell function, corner sharpness and
// coordinate scale and builds the colour cycle its cell codes are coloured
// with. A choice outside the list sets no cell function and the member gives
// 0 on all four outputs.
#pragma once

#include <string_view>

#include "celltextures/celltexture3d.h"
#include "components/common/member.h"

void f34_procTechNoises(gfunc* g);
void f34_procWalls(gfunc* g);
int16_t f34_procTechNoises_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f34_procWalls_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

void f34_procTechNoises_prepare(gfunc* g);
void f34_procWalls_prepare(gfunc* g);
std::string_view f34_procTechNoises_label(const gfunc* g, int param);
std::string_view f34_procWalls_label(const gfunc* g, int param);

inline constexpr int kF34techChoices = 30;
inline constexpr int kF34wallChoices = 16;

// What message 8 leaves in the private area.
struct F34cellTexture
{
  double sharpness;        // k1: the corner blend's sharpness
  double scale;            // k2: the coordinate scale
  CellTexture3DProc cell;  // null: no texture chosen
  floatcolor cycle[16];
};

inline constexpr KVmemberDesc kF34_procTechNoises{
    .id = 49,
    .computeName = "f34_procTechNoises",
    .name = " 3D Tech Noise #",
    .compute = f34_procTechNoises,
    .handler = f34_procTechNoises_handler,
    .params = {{.label = "", .k = kF34techChoices - 1, .truncate = true},
               {.label = "Color Cycle ", .k = 1},
               {.label = "Frequency ", .k = 64}},
    .defaults = {4, 0.25, 2},
    .outputCode = kConnFour,
    .inputCode = kConnThreeOut,
    .on8 = f34_procTechNoises_prepare,
    .labelFor = f34_procTechNoises_label,
};

inline constexpr KVmemberDesc kF34_procWalls{
    .id = 50,
    .computeName = "f34_procWalls",
    .name = " 3D Walls & Concrete #",
    .compute = f34_procWalls,
    .handler = f34_procWalls_handler,
    .params = {{.label = "", .k = kF34wallChoices - 1, .truncate = true},
               {.label = "Color Cycle ", .k = 1},
               {.label = "Frequency ", .k = 32}},
    .defaults = {4, 0.045, 2},
    .outputCode = kConnFour,
    .inputCode = kConnThreeOut,
    .on8 = f34_procWalls_prepare,
    .labelFor = f34_procWalls_label,
};
