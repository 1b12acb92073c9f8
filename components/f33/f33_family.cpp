// Family f33 (family code 8; three inputs, three outputs): its 55 members
// in id order, ids 0 to 53,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f33_scale", .name = " 3D Scale"},
    {.id = 1, .computeName = "f33_offset", .name = " 3D Offset"},
    {.id = 2, .computeName = "f33_rotate", .name = " 3D Rotate"},
    {.id = 3, .computeName = "f33_random", .name = " 3D Random vector"},
    {.id = 4, .computeName = "f33_fract", .name = " 3D Fractal displace"},
    {.id = 5, .computeName = "f33_gamma", .name = " RGB gamma"},
    {.id = 6, .computeName = "f33_HLStransform", .name = " RGB to HLS"},
    {.id = 7, .computeName = "f33_RGBtransform", .name = " HLS to RGB"},
    {.id = 8, .computeName = "f33_sphere", .name = " 3D sphere A"},
    {.id = 9, .computeName = "f33_packedlerp", .name = " Packed RGB Crossfade"},
    {.id = 10, .computeName = "f33_packedalpha", .name = " Packed RGB Alpha "},
    {.id = 11, .computeName = "f33_zcompare", .name = " Packed Depth sort"},
    {.id = 12, .computeName = "f33_PersTube", .name = " 3D tube"},
    {.id = 13, .computeName = "f33_PersPlane", .name = " 3D plane "},
    {.id = 14, .computeName = "f33_PersSphere", .name = " 3D sphere B"},
    {.id = 15, .computeName = "f33_packedadd", .name = " Packed RGB Add"},
    {.id = 16, .computeName = "f33_packedmax", .name = " Packed RGB Max"},
    {.id = 17, .computeName = "f33_sines", .name = " 3D Sines"},
    {.id = 18, .computeName = "f33_colorfractal", .name = " 3D Color Fractal noise"},
    {.id = 19, .computeName = "f33_solidcolor2", .name = " 3D Color techno noise"},
    {.id = 20, .computeName = "f33_spots3d", .name = " 3D Color spots"},
    {.id = 21, .computeName = "f33_solidcolor4", .name = " 3D Color strata stone"},
    {.id = 22, .computeName = "f33_Bubbles", .name = " 3D Color Bubbles"},
    {.id = 23, .computeName = "f33_derivative", .name = " 3D Normal"},
    {.id = 24, .computeName = "f33_normalize", .name = " Normalise"},
    {.id = 25, .computeName = "f33_2dfield", .name = " 3D elevation slices"},
    {.id = 26, .computeName = "f33_3dfield", .name = " 3D density slices"},
    {.id = 27, .computeName = "f33_solidcolor5", .name = " 3D Color Marble"},
    {.id = 28, .computeName = "f33_memmax", .name = " Memory Max"},
    {.id = 29, .computeName = "f33_memzmin", .name = " Memory Depth sort"},
    {.id = 30, .computeName = "f33_memadd", .name = " Memory Add"},
    {.id = 31, .computeName = "f33_colorperlin", .name = " 3D Color Perlin noise"},
    {.id = 32, .computeName = "f33_levelset", .name = " Conditional z set"},
    {.id = 33, .computeName = "f33_packedaddmul", .name = " Packed Add & Mul"},
    {.id = 34, .computeName = "f33_colorize", .name = " Colorize"},
    {.id = 35, .computeName = "f33_memmin", .name = " Memory Min"},
    {.id = 36, .computeName = "f33_packedmuladd", .name = " Packed Mul & Add"},
    {.id = 37, .computeName = "f33_gaussian", .name = " RGB Gaussian"},
    {.id = 38, .computeName = "f33_RGBContrast", .name = " RGB Contrast"},
    {.id = 39, .computeName = "f33_quantize", .name = " RGB Quantize"},
    {.id = 40, .computeName = "f33_paramface", .name = " 3D parametric face"},
    {.id = 41, .computeName = "f33_paramplane", .name = " 3D parametric plane"},
    {.id = 42, .computeName = "f33_turbulence", .name = " 3D turbulence"},
    {.id = 43, .computeName = "f33_PerlinVecNoise", .name = " 3D Perlin Vector Noise"},
    {.id = 44, .computeName = "f33_RGBdither", .name = " RGB dither"},
    {.id = 45, .computeName = "f33_multifractal", .name = " 3D Color MultiFractal"},
    {.id = 46, .computeName = "f33_caustics", .name = " 3D Caustics"},
    {.id = 47, .computeName = "f33_packedRndMix", .name = " Packed random Mix"},
    {.id = 48, .computeName = "f33_multiperlin", .name = " 3D Multi Perlin displace"},
    {.id = 49, .computeName = "f33_MAXtogradient", .name = " Max to gradient"},
    {.id = 50, .computeName = "f33_saturation", .name = " Saturation & Lum"},
    {.id = 51, .computeName = "f33_memdif", .name = " Memory Diff"},
    {.id = 52, .computeName = "f33_mondriancolor", .name = " 3D Color Mondrian "},
    {.id = 53, .computeName = "f33_memPackedalpha", .name = " Memory Packed Alpha"},
    {.id = 127, .computeName = "f33_recurtree", .name = " Compiled tree"},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 55);

}  // namespace

extern const KVmemberList kF33Members{kMembers, int(std::size(kMembers))};
