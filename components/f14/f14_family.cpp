// Family f14 (family code 18; one input, four outputs): its 13 members
// in id order, ids 0 to 11,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f14_unpack", .name = " Unpack"},
    {.id = 1, .computeName = "f14_Constant", .name = " Set Constant"},
    {.id = 2, .computeName = "f14_randomcolor", .name = " Random color+alpha"},
    {.id = 3, .computeName = "f14_halfplane", .name = " RGBa half plane "},
    {.id = 4, .computeName = "f14_neoncolor", .name = " RGBa Neon line"},
    {.id = 5, .computeName = "f14_colorsine", .name = " RGBa Sin x "},
    {.id = 6, .computeName = "f14_HarmonicSines", .name = " Shifted Harmonics"},
    {.id = 7, .computeName = "f14_KVgrad", .name = " Main gradient"},
    {.id = 8, .computeName = "f14_shadecolor", .name = " Shaded plain color"},
    {.id = 9, .computeName = "f14_huecolor", .name = " Hue color"},
    {.id = 10, .computeName = "f14_HSinesB", .name = " Scaled Harmonics"},
    {.id = 11, .computeName = "f14_RndVLines", .name = " Random Verticals"},
    {.id = 127, .computeName = "f14_recurtree", .name = ""},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 13);

}  // namespace

extern const KVmemberList kF14Members{kMembers, int(std::size(kMembers))};
