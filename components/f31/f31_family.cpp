// Family f31 (family code 4; three inputs, one output): its 56 members
// in id order, ids 0 to 54,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet
// (the arithmetic, sine and escape-time fields).
#include <iterator>

#include "components/common/families.h"
#include "components/f31/f31_cells.h"
#include "components/f31/f31_lattice.h"
#include "components/f31/f31_materials.h"
#include "components/f31/f31_multifractal.h"
#include "components/f31/f31_perlin.h"
#include "components/f31/f31_perspective.h"
#include "components/f31/f31_recurtree.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f31_affine", .name = " Ax+By+Cz"},
    {.id = 1, .computeName = "f31_mosaic", .name = " Facet pers"},
    {.id = 2, .computeName = "f31_mul", .name = " x * y * z"},
    {.id = 3, .computeName = "f31_distance", .name = " Distance(x,y,z) "},
    {.id = 4, .computeName = "f31_sinmul", .name = " 3D Sin x*Sin y*Sin z"},
    {.id = 5, .computeName = "f31_sinadd", .name = " 3D Sin x+Sin y+Sin z"},
    {.id = 6, .computeName = "f31_sinshader", .name = " z Sin shader"},
    {.id = 7, .computeName = "f31_circles", .name = " z Circles"},
    {.id = 8, .computeName = "f31_blend", .name = " z Blend"},
    {.id = 9, .computeName = "f31_fractalA", .name = " Fractal Map"},
    {.id = 10, .computeName = "f31_JuliaSets", .name = " Julia sets"},
    {.id = 11, .computeName = "f31_zbubbles", .name = " z Bubbles "},
    {.id = 12, .computeName = "f31_minmax", .name = " Min <-> Max"},
    {.id = 13, .computeName = "f31_max", .name = " Max(x,y,z)"},
    {.id = 14, .computeName = "f31_FerroMagnet", .name = " Ferro magnet model"},
    {.id = 15, .computeName = "f31_mandel", .name = " Mandelbrot set"},
    kF31_persrandom,
    kF31_persturbulence,
    kF31_perstechno,
    kF31_fractalLines,
    {.id = 20, .computeName = "f31_Naffine", .name = " (Ax+By+Cz)/Norm"},
    {.id = 21, .computeName = "f31_addmul", .name = " (x:y) * z"},
    kF31_random3d,
    kF31_fractalnoise,
    kF31_grid3d,
    kF31_spots3d,
    kF31_Bubble3d,
    {.id = 27, .computeName = "f31_Pack", .name = " Pack(x,y,z)"},
    kF31_cristalnoise,
    kF31_stratanoise,
    kF31_techno3d,
    kF31_rndlines,
    {.id = 32, .computeName = "f31_xmypz", .name = " x*y + z"},
    kF31_rlines,
    kF31_fractalstucco,
    kF31_multifractal,
    kF31_z_multifractal,
    kF31_z_ridgedfractal,
    kF31_MultiCubicFract,
    kF31_PerlinNoise,
    {.id = 40, .computeName = "f31_displace_byalt", .name = " Displace by alt (z) "},
    {.id = 41, .computeName = "f31_compose_byalt", .name = " Blend by alt (z) "},
    {.id = 42, .computeName = "f31_RndMix", .name = " Random Mix"},
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
