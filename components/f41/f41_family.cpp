// Family f41 (family code 15; four inputs, one output): its 10 members
// in id order, ids 0 to 8,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f41_Pack", .name = " Pack"},
    {.id = 1, .computeName = "f41_mix", .name = " Ax+By+Cz+w"},
    {.id = 2, .computeName = "f41_Min", .name = " Min(x,y,z,w)"},
    {.id = 3, .computeName = "f41_Max", .name = " Max(x,y,z,w)"},
    {.id = 4, .computeName = "f41_RndMix", .name = " Random Mix"},
    {.id = 5, .computeName = "f41_mul", .name = " Multiply"},
    {.id = 6, .computeName = "f41_FB", .name = " 4D Perlin noise "},
    {.id = 7, .computeName = "f41_FC", .name = " Bezier Curve "},
    {.id = 8, .computeName = "f41_det", .name = " Determinant"},
    {.id = 127, .computeName = "f41_recurtree", .name = "Compiled tree"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 10);

}  // namespace

extern const KVmemberList kF41Members{kMembers, int(std::size(kMembers))};
