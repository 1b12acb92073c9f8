// Family f31 (family code 4; three inputs, one output): its 56 members
// in id order, ids 0 to 54,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

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
    {.id = 16, .computeName = "f31_persrandom", .name = " Random pers"},
    {.id = 17, .computeName = "f31_persturbulence", .name = " Turbulence pers"},
    {.id = 18, .computeName = "f31_perstechno", .name = " Techno pers"},
    {.id = 19, .computeName = "f31_fractalLines", .name = "z Fractal lines"},
    {.id = 20, .computeName = "f31_Naffine", .name = " (Ax+By+Cz)/Norm"},
    {.id = 21, .computeName = "f31_addmul", .name = " (x:y) * z"},
    {.id = 22, .computeName = "f31_random3d", .name = " 3D Random"},
    {.id = 23, .computeName = "f31_fractalnoise", .name = " 3D Fractal noise"},
    {.id = 24, .computeName = "f31_grid3d", .name = " 3D Grid"},
    {.id = 25, .computeName = "f31_spots3d", .name = " 3D Spots"},
    {.id = 26, .computeName = "f31_Bubble3d", .name = " 3D Bubbles"},
    {.id = 27, .computeName = "f31_Pack", .name = " Pack(x,y,z)"},
    {.id = 28, .computeName = "f31_cristalnoise", .name = " 3D Crystal noise"},
    {.id = 29, .computeName = "f31_stratanoise", .name = " 3D Stratified noise"},
    {.id = 30, .computeName = "f31_techno3d", .name = " 3D Techno noise"},
    {.id = 31, .computeName = "f31_rndlines", .name = " 3D Fractal lines"},
    {.id = 32, .computeName = "f31_xmypz", .name = " x*y + z"},
    {.id = 33, .computeName = "f31_rlines", .name = " 3D Random lines"},
    {.id = 34, .computeName = "f31_fractalstucco", .name = " 3D Fractal Stucco"},
    {.id = 35, .computeName = "f31_multifractal", .name = " 3D Multi Fractal noise"},
    {.id = 36, .computeName = "f31_z_multifractal", .name = " z Basalt rocks"},
    {.id = 37, .computeName = "f31_z_ridgedfractal", .name = " z ridged Fractal noise"},
    {.id = 38, .computeName = "f31_MultiCubicFract", .name = " 3D Cubic MultiFractal"},
    {.id = 39, .computeName = "f31_PerlinNoise", .name = " 3D Perlin Noise"},
    {.id = 40, .computeName = "f31_displace_byalt", .name = " Displace by alt (z) "},
    {.id = 41, .computeName = "f31_compose_byalt", .name = " Blend by alt (z) "},
    {.id = 42, .computeName = "f31_RndMix", .name = " Random Mix"},
    {.id = 43, .computeName = "f31_multiperlin", .name = " 3D Multi Perlin noise"},
    {.id = 44, .computeName = "f31_ridgedfractal", .name = " 3D Ridged Fractal"},
    {.id = 45, .computeName = "f31_lunarrock", .name = " 3D Lunar rocks"},
    {.id = 46, .computeName = "f31_fractalstrings", .name = " 3D Fractal Strings"},
    {.id = 47, .computeName = "f31_bubblerock", .name = " 3D Bubble rocks"},
    {.id = 48, .computeName = "f31_stonescluster", .name = " z Stone Clusters "},
    {.id = 49, .computeName = "f31_puffyClouds", .name = " 3D Fractal Puffy Clouds"},
    {.id = 50, .computeName = "f31_ocean", .name = " 3D Ocean"},
    {.id = 51, .computeName = "f31_fractsilex", .name = " 3D Fractal Silex noise"},
    {.id = 52, .computeName = "f31_fractBubble3d", .name = " 3D fractal Bubbles"},
    {.id = 53, .computeName = "f31_voronoi3d", .name = " 3D Cellular"},
    {.id = 54, .computeName = "f31_altocumulus", .name = " 3D Altocumulus Clouds"},
    {.id = 127, .computeName = "f31_recurtree", .name = ""},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 56);

}  // namespace

extern const KVmemberList kF31Members{kMembers, int(std::size(kMembers))};
