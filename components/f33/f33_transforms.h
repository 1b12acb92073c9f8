// 3D point transforms and perspective surfaces: members that move, rotate and
// scatter points and cast rays onto tubes, planes, spheres and parametric
// faces.
// Placeholders until built: an entry without compute and handler.
#pragma once

#include "components/common/member.h"

inline constexpr KVmemberDesc kF33_scale{.id = 0, .computeName = "f33_scale", .name = " 3D Scale"};
inline constexpr KVmemberDesc kF33_offset{
    .id = 1, .computeName = "f33_offset", .name = " 3D Offset"};
inline constexpr KVmemberDesc kF33_rotate{
    .id = 2, .computeName = "f33_rotate", .name = " 3D Rotate"};
inline constexpr KVmemberDesc kF33_random{
    .id = 3, .computeName = "f33_random", .name = " 3D Random vector"};
inline constexpr KVmemberDesc kF33_sphere{
    .id = 8, .computeName = "f33_sphere", .name = " 3D sphere A"};
inline constexpr KVmemberDesc kF33_PersTube{
    .id = 12, .computeName = "f33_PersTube", .name = " 3D tube"};
inline constexpr KVmemberDesc kF33_PersPlane{
    .id = 13, .computeName = "f33_PersPlane", .name = " 3D plane "};
inline constexpr KVmemberDesc kF33_PersSphere{
    .id = 14, .computeName = "f33_PersSphere", .name = " 3D sphere B"};
inline constexpr KVmemberDesc kF33_sines{.id = 17, .computeName = "f33_sines", .name = " 3D Sines"};
inline constexpr KVmemberDesc kF33_normalize{
    .id = 24, .computeName = "f33_normalize", .name = " Normalise"};
inline constexpr KVmemberDesc kF33_paramface{
    .id = 40, .computeName = "f33_paramface", .name = " 3D parametric face"};
inline constexpr KVmemberDesc kF33_paramplane{
    .id = 41, .computeName = "f33_paramplane", .name = " 3D parametric plane"};
