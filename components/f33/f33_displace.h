// 3D noise displacements: points moved by fractal, turbulent and Perlin vector
// noise.
// Placeholders until built: an entry without compute and handler.
#pragma once

#include "components/common/member.h"

inline constexpr KVmemberDesc kF33_fract{
    .id = 4, .computeName = "f33_fract", .name = " 3D Fractal displace"};
inline constexpr KVmemberDesc kF33_turbulence{
    .id = 42, .computeName = "f33_turbulence", .name = " 3D turbulence"};
inline constexpr KVmemberDesc kF33_PerlinVecNoise{
    .id = 43, .computeName = "f33_PerlinVecNoise", .name = " 3D Perlin Vector Noise"};
inline constexpr KVmemberDesc kF33_multiperlin{
    .id = 48, .computeName = "f33_multiperlin", .name = " 3D Multi Perlin displace"};
