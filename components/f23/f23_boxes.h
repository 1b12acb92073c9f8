// f23 members that cast the eye's rays (f23_rays.h) at boxes and flat faces:
// a box of chosen sizes, a turned cube, the inside of a turned room, and the
// three parametric members that report the coordinates of the hit point on
// the face hit (a square face, a cube, a room). None of them tests its
// inputs for the marker; a ray that meets nothing gives the marker on all
// three outputs, and so does a ray that runs inside a face plane.
#pragma once

#include <numbers>

#include "components/common/member.h"
#include "components/f23/f23_surfaces.h"

void f23_cubeskew(gfunc* g);
void f23_cube(gfunc* g);
void f23_room(gfunc* g);
void f23_Pface(gfunc* g);
void f23_Pcube(gfunc* g);
void f23_Proom(gfunc* g);

int16_t f23_cubeskew_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_cube_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_room_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_Pface_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_Pcube_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);
int16_t f23_Proom_handler(gfunc* g, int16_t msg, double* a, double* b, double* c);

// Message 8: cos A, sin A, cos B, sin B (cube, parametric cube and face);
// cos B, sin B, cos A, sin A (parametric room); cos B, sin B (room).
void f23_turnAB_precompute(gfunc* g);
void f23_turnBA_precompute(gfunc* g);

// Angles of a turn: -2 pi to 2 pi.
inline constexpr double kF23twoTurns = 4 * std::numbers::pi;
inline constexpr KVparamDesc kF23angleXY{.label = "Angle xy ", .k = kF23twoTurns, .c = -kF23twoPi};
inline constexpr KVparamDesc kF23angleZX{.label = "Angle zx ", .k = kF23twoTurns, .c = -kF23twoPi};
inline constexpr KVparamDesc kF23roomSize{.label = "Room size ", .k = 16};
// The box sizes run from 0.25 to 4 pi.
inline constexpr double kF23boxSizeSpan = 12.316370614359172;

inline constexpr KVmemberDesc kF23_cube{
    .id = 14,
    .computeName = "f23_cube",
    .name = " 3D cube",
    .compute = f23_cube,
    .handler = f23_cube_handler,
    .params = {kF23angleXY, kF23angleZX, kF23offsetZ64},
    .defaults = {0, 0, 0},
    .on8 = f23_turnAB_precompute,
};

inline constexpr KVmemberDesc kF23_room{
    .id = 17,
    .computeName = "f23_room",
    .name = " 3D room",
    .compute = f23_room,
    .handler = f23_room_handler,
    .params = {{.label = "Offset z ", .k = 32, .c = -16}, kF23angleZX, kF23roomSize},
    .defaults = {4, 0, 4},
    .on8 = f23_turnBA_precompute,
};

inline constexpr KVmemberDesc kF23_Pcube{
    .id = 23,
    .computeName = "f23_Pcube",
    .name = " 3D parametric cube",
    .compute = f23_Pcube,
    .handler = f23_Pcube_handler,
    .params = {kF23angleXY, kF23angleZX, kF23offsetZ64},
    .defaults = {0, 0, 0},
    .on8 = f23_turnAB_precompute,
};

inline constexpr KVmemberDesc kF23_Proom{
    .id = 24,
    .computeName = "f23_Proom",
    .name = " 3D parametric room",
    .compute = f23_Proom,
    .handler = f23_Proom_handler,
    .params = {{.label = "Angle zy ", .k = kF23twoTurns, .c = -kF23twoPi},
               kF23angleZX,
               kF23roomSize},
    .defaults = {0, 0, 4},
    .on8 = f23_turnBA_precompute,
};

inline constexpr KVmemberDesc kF23_Pface{
    .id = 25,
    .computeName = "f23_Pface",
    .name = " 3D parametric face",
    .compute = f23_Pface,
    .handler = f23_Pface_handler,
    .params = {kF23angleXY, kF23angleZX, kF23offsetZ64},
    .defaults = {0, 0, 0},
    .on8 = f23_turnAB_precompute,
};

inline constexpr KVmemberDesc kF23_cubeskew{
    .id = 33,
    .computeName = "f23_cubeskew",
    .name = " 3D box",
    .compute = f23_cubeskew,
    .handler = f23_cubeskew_handler,
    .params = {{.label = "Size y ", .k = kF23boxSizeSpan, .c = 0.25},
               {.label = "Size zx ", .k = kF23boxSizeSpan, .c = 0.25},
               kF23offsetZ64},
    .defaults = {std::numbers::pi, std::numbers::pi, 0},
};
