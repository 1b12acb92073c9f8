// 3D colour noises: solid textures that give a colour for every point.
// Placeholders until built: an entry without compute and handler.
#pragma once

#include "components/common/member.h"

inline constexpr KVmemberDesc kF33_colorfractal{
    .id = 18, .computeName = "f33_colorfractal", .name = " 3D Color Fractal noise"};
inline constexpr KVmemberDesc kF33_solidcolor2{
    .id = 19, .computeName = "f33_solidcolor2", .name = " 3D Color techno noise"};
inline constexpr KVmemberDesc kF33_spots3d{
    .id = 20, .computeName = "f33_spots3d", .name = " 3D Color spots"};
inline constexpr KVmemberDesc kF33_solidcolor4{
    .id = 21, .computeName = "f33_solidcolor4", .name = " 3D Color strata stone"};
inline constexpr KVmemberDesc kF33_Bubbles{
    .id = 22, .computeName = "f33_Bubbles", .name = " 3D Color Bubbles"};
inline constexpr KVmemberDesc kF33_solidcolor5{
    .id = 27, .computeName = "f33_solidcolor5", .name = " 3D Color Marble"};
inline constexpr KVmemberDesc kF33_colorperlin{
    .id = 31, .computeName = "f33_colorperlin", .name = " 3D Color Perlin noise"};
inline constexpr KVmemberDesc kF33_multifractal{
    .id = 45, .computeName = "f33_multifractal", .name = " 3D Color MultiFractal"};
inline constexpr KVmemberDesc kF33_caustics{
    .id = 46, .computeName = "f33_caustics", .name = " 3D Caustics"};
inline constexpr KVmemberDesc kF33_mondriancolor{
    .id = 52, .computeName = "f33_mondriancolor", .name = " 3D Color Mondrian "};
