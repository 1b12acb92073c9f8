// Family f14 (family code 18; one input, four outputs): its 13 members in
// id order, ids 0 to 11, then the compiled-tree member 127. Ids are stored in
// tree files and never change.
#include <iterator>

#include "components/common/families.h"
#include "components/f14/f14_colors.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF14_unpack,    kF14_Constant,      kF14_randomcolor, kF14_halfplane,  kF14_neoncolor,
    kF14_colorsine, kF14_HarmonicSines, kF14_KVgrad,      kF14_shadecolor, kF14_huecolor,
    kF14_HSinesB,   kF14_RndVLines,     kF14_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 13);

}  // namespace

extern const KVmemberList kF14Members{kMembers, int(std::size(kMembers))};
