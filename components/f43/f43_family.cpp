// Family f43 (family code 9; four inputs, three outputs): its 30 members
// in id order, ids 0 to 28,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change.
#include <iterator>

#include "components/common/families.h"
#include "components/f43/f43_colours.h"
#include "components/f43/f43_memory.h"
#include "components/f43/f43_packed.h"
#include "components/f43/f43_recurtree.h"
#include "components/f43/looper.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF43_RGBmix,
    kF43_RGBmul,
    kF43_rgbalpha,
    kF43_RGBlerp,
    kF43_zcompare,
    kF43_wadd,
    kF43_wscale,
    kF43_wrotate,
    kF43_memadd,
    kF43_memmax,
    kF43_packedRGBzsort,
    kF43_memalpha,
    kF43_memwmin,
    kF43_memwmax,
    kF43_packedalpha_mul,
    kF43_packedmul_alpha,
    kF43_packedalpha_add,
    kF43_packedlerp_alpha,
    kF43_packedaddadd_mul,
    kF43_packedlerpmul,
    kF43_packedaddmul_add,
    kF43_packedmuladd_mul,
    kF43_packedRGBzsortblend,
    kF43_packedblend,
    kF43_wcolorshift,
    kF43_wcolorfade,
    kF43_iterator,
    kF43_iteratorB,
    kF43_crossiterator,
    kF43_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 30);

}  // namespace

extern const KVmemberList kF43Members{kMembers, int(std::size(kMembers))};
