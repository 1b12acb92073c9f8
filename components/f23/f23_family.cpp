// Family f23 (family code 7; two inputs, three outputs): its 47 members
// in id order, ids 0 to 45,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f23/f23_boxes.h"
#include "components/f23/f23_colors.h"
#include "components/f23/f23_gradients.h"
#include "components/f23/f23_packed.h"
#include "components/f23/f23_recurtree.h"
#include "components/f23/f23_surfaces.h"
#include "components/f23/looper.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    {.id = 0, .computeName = "f23_colorpict", .name = " RGB Pict/Movie"},
    {.id = 1, .computeName = "f23_colorpictsym", .name = " RGB Pict/Movie mirror"},
    kF23_singleColor,
    kF23_ColorGradient,
    kF23_ColorShade,
    kF23_ColorKVgrad,
    kF23_packedlerp,
    kF23_zcompare,
    {.id = 8, .computeName = "f23_fract", .name = " RGB Random Fractal"},
    kF23_axono,
    kF23_zset,
    kF23_sphere,
    kF23_plane,
    kF23_tube,
    kF23_cube,
    kF23_packedmul,
    kF23_packedadd,
    kF23_room,
    {.id = 18, .computeName = "f23_concentrichues", .name = " RGB concentric hues "},
    {.id = 19, .computeName = "f23_linearhues", .name = " RGB linear hues"},
    {.id = 20, .computeName = "f23_radialhues", .name = " RGB radial hues"},
    {.id = 21, .computeName = "f23_randomhues", .name = " RGB soft random hues"},
    kF23_sphereproj,
    kF23_Pcube,
    kF23_Proom,
    kF23_Pface,
    kF23_ColorKVgradB,
    {.id = 27, .computeName = "f23_bubbles", .name = " Color Bubbles"},
    {.id = 28, .computeName = "f23_ColorT6", .name = " Color Pyramids"},
    {.id = 29, .computeName = "f23_strings", .name = " String noise"},
    {.id = 30, .computeName = "f23_techno", .name = " Techno boxes"},
    kF23_rgbShade,
    kF23_ellipsoid,
    kF23_cubeskew,
    {.id = 34, .computeName = "f23_colorpicttile", .name = " Pict/Movie Overlay "},
    kF23_packedmax,
    {.id = 36, .computeName = "f23_multiperlin", .name = " RGB Multi Perlin random"},
    {.id = 37, .computeName = "f23_multifractal", .name = " RGB MultiFractal"},
    {.id = 38, .computeName = "f23_lunarrock", .name = " Lunar rocks"},
    {.id = 39, .computeName = "f23_MAXtogradient", .name = " Max to gradient"},
    {.id = 40, .computeName = "f23_slopegrass", .name = " RGB grass"},
    {.id = 41, .computeName = "f23_foliage", .name = " RGB foliage"},
    kF23_indexGradient,
    kF23_BezierGradient,
    kF23_iterator,
    kF23_ColorKVYgrad,
    kF23_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 47);

}  // namespace

extern const KVmemberList kF23Members{kMembers, int(std::size(kMembers))};
