// Family f33 (family code 8; three inputs, three outputs): its 55 members
// in id order, ids 0 to 53,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f33/f33_colornoises.h"
#include "components/f33/f33_colorops.h"
#include "components/f33/f33_displace.h"
#include "components/f33/f33_memory.h"
#include "components/f33/f33_packed.h"
#include "components/f33/f33_recurtree.h"
#include "components/f33/f33_reeval.h"
#include "components/f33/f33_transforms.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF33_scale,         kF33_offset,         kF33_rotate,       kF33_random,
    kF33_fract,         kF33_gamma,          kF33_HLStransform, kF33_RGBtransform,
    kF33_sphere,        kF33_packedlerp,     kF33_packedalpha,  kF33_zcompare,
    kF33_PersTube,      kF33_PersPlane,      kF33_PersSphere,   kF33_packedadd,
    kF33_packedmax,     kF33_sines,          kF33_colorfractal, kF33_solidcolor2,
    kF33_spots3d,       kF33_solidcolor4,    kF33_Bubbles,      kF33_derivative,
    kF33_normalize,     kF33_2dfield,        kF33_3dfield,      kF33_solidcolor5,
    kF33_memmax,        kF33_memzmin,        kF33_memadd,       kF33_colorperlin,
    kF33_levelset,      kF33_packedaddmul,   kF33_colorize,     kF33_memmin,
    kF33_packedmuladd,  kF33_gaussian,       kF33_RGBContrast,  kF33_quantize,
    kF33_paramface,     kF33_paramplane,     kF33_turbulence,   kF33_PerlinVecNoise,
    kF33_RGBdither,     kF33_multifractal,   kF33_caustics,     kF33_packedRndMix,
    kF33_multiperlin,   kF33_MAXtogradient,  kF33_saturation,   kF33_memdif,
    kF33_mondriancolor, kF33_memPackedalpha, kF33_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 55);

}  // namespace

extern const KVmemberList kF33Members{kMembers, int(std::size(kMembers))};
