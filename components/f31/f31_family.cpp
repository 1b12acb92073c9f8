// Family f31 (family code 4; three inputs, one output): its 56 members
// in id order, ids 0 to 54,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet
// (the arithmetic, sine and escape-time fields).
#include <iterator>

#include "components/common/families.h"
#include "components/f31/f31_arith.h"
#include "components/f31/f31_cells.h"
#include "components/f31/f31_escape.h"
#include "components/f31/f31_lattice.h"
#include "components/f31/f31_materials.h"
#include "components/f31/f31_multifractal.h"
#include "components/f31/f31_perlin.h"
#include "components/f31/f31_perspective.h"
#include "components/f31/f31_recurtree.h"
#include "components/f31/f31_sines.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF31_affine,
    kF31_mosaic,
    kF31_mul,
    kF31_distance,
    kF31_sinmul,
    kF31_sinadd,
    kF31_sinshader,
    kF31_circles,
    kF31_blend,
    kF31_fractalA,
    kF31_JuliaSets,
    kF31_zbubbles,
    kF31_minmax,
    kF31_max,
    kF31_FerroMagnet,
    kF31_mandel,
    kF31_persrandom,
    kF31_persturbulence,
    kF31_perstechno,
    kF31_fractalLines,
    kF31_Naffine,
    kF31_addmul,
    kF31_random3d,
    kF31_fractalnoise,
    kF31_grid3d,
    kF31_spots3d,
    kF31_Bubble3d,
    kF31_Pack,
    kF31_cristalnoise,
    kF31_stratanoise,
    kF31_techno3d,
    kF31_rndlines,
    kF31_xmypz,
    kF31_rlines,
    kF31_fractalstucco,
    kF31_multifractal,
    kF31_z_multifractal,
    kF31_z_ridgedfractal,
    kF31_MultiCubicFract,
    kF31_PerlinNoise,
    kF31_displace_byalt,
    kF31_compose_byalt,
    kF31_RndMix,
    kF31_multiperlin,
    kF31_ridgedfractal,
    kF31_lunarrock,
    kF31_fractalstrings,
    kF31_bubblerock,
    kF31_stonescluster,
    kF31_puffyClouds,
    kF31_ocean,
    kF31_fractsilex,
    kF31_fractBubble3d,
    kF31_voronoi3d,
    kF31_altocumulus,
    kF31_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 56);

}  // namespace

extern const KVmemberList kF31Members{kMembers, int(std::size(kMembers))};
