// Family f42 (family code 6; four inputs, two outputs): its 33 members in id
// order, ids 0 to 31, then the compiled-tree member 127. Ids are stored in
// tree files and never change. An entry without compute and handler is a
// member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f42/f42_blends.h"
#include "components/f42/f42_city.h"
#include "components/f42/f42_complex.h"
#include "components/f42/f42_recurtree.h"
#include "components/f42/f42_splits.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF42_add,           kF42_mul,         kF42_div,           kF42_maximum,
    kF42_distdiv,       kF42_lerp,        kF42_expfield,      kF42_ComplexMap4,
    kF42_absmin,        kF42_rmul,        kF42_radiallerp,    kF42_facetmix,
    kF42_ycompare,      kF42_DistCompare, kF42_split,         kF42_MinMax,
    kF42_addNormalised, kF42_mandel2,     kF42_mandel3,       kF42_mandel4,
    kF42_Escher,        kF42_cexp,        kF42_csin,          kF42_xfzyfc,
    kF42_rdisplace,     kF42_split_four,  kF42_Cadd,          kF42_splitAlternate,
    kF42_moebius,       kF42_cpower,      kF42_splitunitdisk, kF42_CityTextures,
    kF42_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 33);

}  // namespace

extern const KVmemberList kF42Members{kMembers, int(std::size(kMembers))};
