// Members that re-evaluate their sources (normal, elevation and density
// slices) and the conditional z set.
// Placeholders until built: an entry without compute and handler.
#pragma once

#include "components/common/member.h"

inline constexpr KVmemberDesc kF33_derivative{
    .id = 23, .computeName = "f33_derivative", .name = " 3D Normal"};
inline constexpr KVmemberDesc kF33_2dfield{
    .id = 25, .computeName = "f33_2dfield", .name = " 3D elevation slices"};
inline constexpr KVmemberDesc kF33_3dfield{
    .id = 26, .computeName = "f33_3dfield", .name = " 3D density slices"};
inline constexpr KVmemberDesc kF33_levelset{
    .id = 32, .computeName = "f33_levelset", .name = " Conditional z set"};
