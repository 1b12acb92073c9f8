// Family f32 (family code 5; three inputs, two outputs): its 44 members
// in id order, ids 0 to 42,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change.
#include <iterator>

#include "components/common/families.h"
#include "components/f32/f32_arith.h"
#include "components/f32/f32_city.h"
#include "components/f32/f32_fractal.h"
#include "components/f32/f32_noise.h"
#include "components/f32/f32_project.h"
#include "components/f32/f32_recurtree.h"
#include "components/f32/f32_waves.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF32_zscaleoffset, kF32_zmul,          kF32_minmax,         kF32_sinzx,
    kF32_zrotate,      kF32_zwaves,        kF32_multibubbles,   kF32_complexinversion,
    kF32_perspective,  kF32_multiinvert,   kF32_strangeweb,     kF32_xzdisplace,
    kF32_truepers,     kF32_planeProj,     kF32_sphereProj,     kF32_random,
    kF32_fract,        kF32_rwaves,        kF32_ripples,        kF32_zfacetspace,
    kF32_zwipe,        kF32_max,           kF32_zmultiply,      kF32_fractSpace,
    kF32_minimum,      kF32_distgate,      kF32_zrotate_scale,  kF32_multiperlin,
    kF32_multifractal, kF32_silexfractdis, kF32_CliffChaos,     kF32_ridgedfractal,
    kF32_fractBubbles, kF32_oceanfoam,     kF32_futur6,         kF32_zdiv,
    kF32_sinwarp,      kF32_ztwirl,        kF32_disksphereTile, kF32_zmultifractal,
    kF32_futur7,       kF32_zmultiperlin,  kF32_CityNoises,     kF32_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 44);

}  // namespace

extern const KVmemberList kF32Members{kMembers, int(std::size(kMembers))};
