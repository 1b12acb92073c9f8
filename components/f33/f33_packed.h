// Packed RGB compositing: members that layer colours arriving as packed links.
// Placeholders until built: an entry without compute and handler.
#pragma once

#include "components/common/member.h"

inline constexpr KVmemberDesc kF33_packedlerp{
    .id = 9, .computeName = "f33_packedlerp", .name = " Packed RGB Crossfade"};
inline constexpr KVmemberDesc kF33_packedalpha{
    .id = 10, .computeName = "f33_packedalpha", .name = " Packed RGB Alpha "};
inline constexpr KVmemberDesc kF33_packedadd{
    .id = 15, .computeName = "f33_packedadd", .name = " Packed RGB Add"};
inline constexpr KVmemberDesc kF33_packedmax{
    .id = 16, .computeName = "f33_packedmax", .name = " Packed RGB Max"};
inline constexpr KVmemberDesc kF33_packedaddmul{
    .id = 33, .computeName = "f33_packedaddmul", .name = " Packed Add & Mul"};
inline constexpr KVmemberDesc kF33_packedmuladd{
    .id = 36, .computeName = "f33_packedmuladd", .name = " Packed Mul & Add"};
inline constexpr KVmemberDesc kF33_packedRndMix{
    .id = 47, .computeName = "f33_packedRndMix", .name = " Packed random Mix"};
inline constexpr KVmemberDesc kF33_memPackedalpha{
    .id = 53, .computeName = "f33_memPackedalpha", .name = " Memory Packed Alpha"};
