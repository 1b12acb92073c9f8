// Family f11 (family code 1; one input, one output): its 59 members in id
// order, ids 0 to 57, then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f11/f11_mathutils.h"
#include "components/f11/f11_noises.h"
#include "components/f11/f11_shaping.h"
#include "components/f11/f11_techwaves.h"
#include "components/f11/f11_waves.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF11_affine,
    kF11_Sine,
    kF11_power,
    kF11_inverse,
    kF11_xplusASine,
    kF11_random,
    kF11_abs,
    kF11_powerSin,
    kF11_gauss,
    kF11_sawWave,
    kF11_clip,
    kF11_div,
    kF11_inversegauss,
    kF11_log,
    kF11_div2,
    {.id = 15, .computeName = "f11_Bump", .name = " Derivative"},
    kF11_EnvSine,
    kF11_cubicClip,
    kF11_sphere,
    kF11_Apwrx,
    kF11_offset,
    kF11_powerStep,
    kF11_iabs,
    kF11_floor,
    kF11_sabs,
    kF11_randomize,
    {.id = 26, .computeName = "f11_gradient", .name = " 2D Derivative"},
    {.id = 27, .computeName = "f11_infgate", .name = " infinity gate/mask"},
    {.id = 28, .computeName = "f11_rcounter", .name = " Iterations"},
    {.id = 29, .computeName = "f11_memmax", .name = " Memory Max"},
    {.id = 30, .computeName = "f11_memadd", .name = " Memory Add"},
    kF11_ArchWave,
    kF11_quantize,
    kF11_sinc,
    kF11_plateau,
    kF11_fractalnoise,
    kF11_grains,
    kF11_periodRnd,
    kF11_tile,
    kF11_split_stretch,
    {.id = 40, .computeName = "f11_memmin", .name = " Memory Min"},
    kF11_discretRandom,
    kF11_contrast,
    kF11_slidemirror,
    kF11_multiperlin,
    kF11_smoothsteps,
    kF11_saw,
    kF11_linrandom,
    kF11_squarefloor,
    kF11_smoothfloor,
    {.id = 50, .computeName = "f11_memdif", .name = " Memory Diff"},
    {.id = 51, .computeName = "f11_slope", .name = " 2D Slope"},
    kF11_modulo,
    kF11_semitonesSeq,
    {.id = 54, .computeName = "f11_memfractadd", .name = " Memory Fractal Add"},
    kF11_Mathutils,
    kF11_techWave,
    kF11_Vsteps,
    {.id = 127, .computeName = "f11_recurtree", .name = " Line"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 59);

}  // namespace

extern const KVmemberList kF11Members{kMembers, int(std::size(kMembers))};
