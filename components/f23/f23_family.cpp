// Family f23 (family code 7; two inputs, three outputs): its 47 members
// in id order, ids 0 to 45,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f23/looper.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f23_colorpict", .name = " RGB Pict/Movie"},
    {.id = 1, .computeName = "f23_colorpictsym", .name = " RGB Pict/Movie mirror"},
    {.id = 2, .computeName = "f23_singleColor", .name = " RGB plain color"},
    {.id = 3, .computeName = "f23_ColorGradient", .name = " RGB color gradient"},
    {.id = 4, .computeName = "f23_ColorShade", .name = " RGB color shade"},
    {.id = 5, .computeName = "f23_ColorKVgrad", .name = " RGB main gradient"},
    {.id = 6, .computeName = "f23_packedlerp", .name = " Packed RGB Crossfade"},
    {.id = 7, .computeName = "f23_zcompare", .name = " Packed Depth sort "},
    {.id = 8, .computeName = "f23_fract", .name = " RGB Random Fractal"},
    {.id = 9, .computeName = "f23_axono", .name = " 3D Axonometric"},
    {.id = 10, .computeName = "f23_zset", .name = " 3D z set"},
    {.id = 11, .computeName = "f23_sphere", .name = " 3D sphere"},
    {.id = 12, .computeName = "f23_plane", .name = " 3D plane "},
    {.id = 13, .computeName = "f23_tube", .name = " 3D tube"},
    {.id = 14, .computeName = "f23_cube", .name = " 3D cube"},
    {.id = 15, .computeName = "f23_packedmul", .name = " Packed RGB Multiply "},
    {.id = 16, .computeName = "f23_packedadd", .name = " Packed RGB Add"},
    {.id = 17, .computeName = "f23_room", .name = " 3D room"},
    {.id = 18, .computeName = "f23_concentrichues", .name = " RGB concentric hues "},
    {.id = 19, .computeName = "f23_linearhues", .name = " RGB linear hues"},
    {.id = 20, .computeName = "f23_radialhues", .name = " RGB radial hues"},
    {.id = 21, .computeName = "f23_randomhues", .name = " RGB soft random hues"},
    {.id = 22, .computeName = "f23_sphereproj", .name = " Spherical"},
    {.id = 23, .computeName = "f23_Pcube", .name = " 3D parametric cube"},
    {.id = 24, .computeName = "f23_Proom", .name = " 3D parametric room"},
    {.id = 25, .computeName = "f23_Pface", .name = " 3D parametric face"},
    {.id = 26, .computeName = "f23_ColorKVgradB", .name = " Shaded main gradient"},
    {.id = 27, .computeName = "f23_bubbles", .name = " Color Bubbles"},
    {.id = 28, .computeName = "f23_ColorT6", .name = " Color Pyramids"},
    {.id = 29, .computeName = "f23_strings", .name = " String noise"},
    {.id = 30, .computeName = "f23_techno", .name = " Techno boxes"},
    {.id = 31, .computeName = "f23_rgbShade", .name = " Shaded plain color"},
    {.id = 32, .computeName = "f23_ellipsoid", .name = " 3D ellipsoid"},
    {.id = 33, .computeName = "f23_cubeskew", .name = " 3D box"},
    {.id = 34, .computeName = "f23_colorpicttile", .name = " Pict/Movie Overlay "},
    {.id = 35, .computeName = "f23_packedmax", .name = " Packed RGB Max"},
    {.id = 36, .computeName = "f23_multiperlin", .name = " RGB Multi Perlin random"},
    {.id = 37, .computeName = "f23_multifractal", .name = " RGB MultiFractal"},
    {.id = 38, .computeName = "f23_lunarrock", .name = " Lunar rocks"},
    {.id = 39, .computeName = "f23_MAXtogradient", .name = " Max to gradient"},
    {.id = 40, .computeName = "f23_slopegrass", .name = " RGB grass"},
    {.id = 41, .computeName = "f23_foliage", .name = " RGB foliage"},
    {.id = 42, .computeName = "f23_indexGradient", .name = " Indexed gradient"},
    {.id = 43, .computeName = "f23_BezierGradient", .name = " Bezier main gradient"},
    kF23_iterator,
    {.id = 45, .computeName = "f23_ColorKVYgrad", .name = " Y indexed gradient"},
    {.id = 127, .computeName = "f23_recurtree", .name = ""},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 47);

}  // namespace

extern const KVmemberList kF23Members{kMembers, int(std::size(kMembers))};
