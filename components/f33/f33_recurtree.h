// The compiled-tree member: runs its sub-tree several passes a batch and
// blends its outputs toward the sub-tree's outlets.
// Placeholders until built: an entry without compute and handler.
#pragma once

#include "components/common/member.h"

inline constexpr KVmemberDesc kF33_recurtree{
    .id = 127, .computeName = "f33_recurtree", .name = " Compiled tree"};
