// Memory accumulators: members that keep a running max, min, sum, depth sort
// or difference across passes.
// Placeholders until built: an entry without compute and handler.
#pragma once

#include "components/common/member.h"

inline constexpr KVmemberDesc kF33_memmax{
    .id = 28, .computeName = "f33_memmax", .name = " Memory Max"};
inline constexpr KVmemberDesc kF33_memzmin{
    .id = 29, .computeName = "f33_memzmin", .name = " Memory Depth sort"};
inline constexpr KVmemberDesc kF33_memadd{
    .id = 30, .computeName = "f33_memadd", .name = " Memory Add"};
inline constexpr KVmemberDesc kF33_memmin{
    .id = 35, .computeName = "f33_memmin", .name = " Memory Min"};
inline constexpr KVmemberDesc kF33_memdif{
    .id = 51, .computeName = "f33_memdif", .name = " Memory Diff"};
