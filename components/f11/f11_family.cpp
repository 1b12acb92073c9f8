// Family f11 (family code 1; one input, one output): its 59 members in id
// order, ids 0 to 57, then the compiled-tree member 127. Ids are stored in tree files and never
// change.
#include <iterator>

#include "components/common/families.h"
#include "components/f11/f11_mathutils.h"
#include "components/f11/f11_memory.h"
#include "components/f11/f11_nodes.h"
#include "components/f11/f11_noises.h"
#include "components/f11/f11_shaping.h"
#include "components/f11/f11_techwaves.h"
#include "components/f11/f11_waves.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF11_affine,       kF11_Sine,          kF11_power,        kF11_inverse,      kF11_xplusASine,
    kF11_random,       kF11_abs,           kF11_powerSin,     kF11_gauss,        kF11_sawWave,
    kF11_clip,         kF11_div,           kF11_inversegauss, kF11_log,          kF11_div2,
    kF11_Bump,         kF11_EnvSine,       kF11_cubicClip,    kF11_sphere,       kF11_Apwrx,
    kF11_offset,       kF11_powerStep,     kF11_iabs,         kF11_floor,        kF11_sabs,
    kF11_randomize,    kF11_gradient,      kF11_infgate,      kF11_rcounter,     kF11_memmax,
    kF11_memadd,       kF11_ArchWave,      kF11_quantize,     kF11_sinc,         kF11_plateau,
    kF11_fractalnoise, kF11_grains,        kF11_periodRnd,    kF11_tile,         kF11_split_stretch,
    kF11_memmin,       kF11_discretRandom, kF11_contrast,     kF11_slidemirror,  kF11_multiperlin,
    kF11_smoothsteps,  kF11_saw,           kF11_linrandom,    kF11_squarefloor,  kF11_smoothfloor,
    kF11_memdif,       kF11_slope,         kF11_modulo,       kF11_semitonesSeq, kF11_memfractadd,
    kF11_Mathutils,    kF11_techWave,      kF11_Vsteps,       kF11_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 59);

}  // namespace

extern const KVmemberList kF11Members{kMembers, int(std::size(kMembers))};
