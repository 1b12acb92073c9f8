// Family f34 (family code 11; three inputs, four outputs): its 52 members
// in id order, ids 0 to 50,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f34/f34_forwarded.h"
#include "components/f34/f34_lights.h"
#include "components/f34/f34_mazes.h"
#include "components/f34/f34_packed.h"
#include "components/f34/f34_recurtree.h"
#include "components/f34/f34_rndvlines.h"
#include "components/f34/f34_scatter.h"
#include "components/f34/f34_shapes.h"
#include "components/f34/f34_strokes.h"
#include "components/f34/f34_techwalls.h"
#include "components/f34/f34_textures.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF34_PolyN,          kF34_Circle,         kF34_Line,          kF34_NeonLine,
    kF34_RndVLines,      kF34_OLinesMaze,     kF34_litLedround,   kF34_mondrian,
    kF34_zmultifractal,  kF34_zgreenbushes,   kF34_zfiberrock,    kF34_zgrainrock,
    kF34_colorpatches,   kF34_packedzBlend,   kF34_packedzMax,    kF34_packedlerp,
    kF34_packedmax,      kF34_packedacomp,    kF34_OMaze,         kF34_multifractal,
    kF34_paintstrokes,   kF34_litLedsquare,   kF34_citylights,    kF34_linesNetwork,
    kF34_zdisktiles,     kF34_zstrokes,       kF34_Cmaze,         kF34_colordots,
    kF34_zicecracks,     kF34_packedmuladd,   kF34_granitrocks,   kF34_noiseG,
    kF34_starfield,      kF34_lunarrock,      kF34_voron3d,       kF34_multibubbles,
    kF34_ridgedfractal,  kF34_greenmarble,    kF34_PolyB,         kF34_gaussian,
    kF34_fractalbubbles, kF34_facetrocks,     kF34_packedaddmul,  kF34_Silexnoise,
    kF34_Technoid,       kF34_futurB,         kF34_memPackzBlend, kF34_packedRndMix,
    kF34_packedMIN,      kF34_procTechNoises, kF34_procWalls,     kF34_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 52);

}  // namespace

extern const KVmemberList kF34Members{kMembers, int(std::size(kMembers))};
