// Family f13 (family code 17; one input, three outputs): its 12 members
// in id order, ids 0 to 10,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f13_unpack", .name = " Unpack"},
    {.id = 1, .computeName = "f13_Constant", .name = " Set Constant"},
    {.id = 2, .computeName = "f13_randomcolor", .name = " Random color"},
    {.id = 3, .computeName = "f13_shadecolor", .name = " Shaded plain color"},
    {.id = 4, .computeName = "f13_huecolor", .name = " Hue color"},
    {.id = 5, .computeName = "f13_gammacolor", .name = " RGB gamma"},
    {.id = 6, .computeName = "f13_KVgrad", .name = " Main gradient"},
    {.id = 7, .computeName = "f13_indexgrad", .name = " Indexed gradient"},
    {.id = 8, .computeName = "f13_colorSines", .name = " Color Sines "},
    {.id = 9, .computeName = "f13_neoncolor", .name = " RGB Neon line"},
    {.id = 10, .computeName = "f13_halfplane", .name = " RGB half plane "},
    {.id = 127, .computeName = "f13_recurtree", .name = ""},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 12);

}  // namespace

extern const KVmemberList kF13Members{kMembers, int(std::size(kMembers))};
