// Family f13 (family code 17; one input, three outputs): its 12 members in
// id order, ids 0 to 10, then the compiled-tree member 127. Ids are stored in
// tree files and never change.
#include <iterator>

#include "components/common/families.h"
#include "components/f13/f13_colors.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF13_unpack, kF13_Constant,  kF13_randomcolor, kF13_shadecolor, kF13_huecolor,  kF13_gammacolor,
    kF13_KVgrad, kF13_indexgrad, kF13_colorSines,  kF13_neoncolor,  kF13_halfplane, kF13_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 12);

}  // namespace

extern const KVmemberList kF13Members{kMembers, int(std::size(kMembers))};
