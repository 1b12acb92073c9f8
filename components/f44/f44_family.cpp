// Family f44 (family code 12; four inputs, four outputs): its 19 members
// in id order, ids 0 to 17,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change.
#include <iterator>

#include "components/common/families.h"
#include "components/f44/f44_city.h"
#include "components/f44/f44_memory.h"
#include "components/f44/f44_recurtree.h"
#include "components/f44/f44_rgba.h"
#include "components/f44/themefilter.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF44_scale,      kF44_memalpha,     kF44_memWadd,     kF44_wmul,      kF44_wcolorfade,
    kF44_wblend,     kF44_floor,        kF44_alphascale,  kF44_memmax,    kF44_offset,
    kF44_colorshift, kF44_memadd,       kF44_memfractadd, kF44_memdif,    kF44_wgrad,
    kF44_contrast,   kF44_CityTextures, kF44_ThemeFilter, kF44_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 19);

}  // namespace

extern const KVmemberList kF44Members{kMembers, int(std::size(kMembers))};
