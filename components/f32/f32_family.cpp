// Family f32 (family code 5; three inputs, two outputs): its 44 members
// in id order, ids 0 to 42,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f32/f32_arith.h"
#include "components/f32/f32_project.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF32_zscaleoffset,
    kF32_zmul,
    kF32_minmax,
    {.id = 3, .computeName = "f32_sinzx", .name = " z Sin distort"},
    {.id = 4, .computeName = "f32_zrotate", .name = " z Rotate"},
    {.id = 5, .computeName = "f32_zwaves", .name = " z Waves"},
    {.id = 6, .computeName = "f32_multibubbles", .name = " Multi bubbles"},
    {.id = 7, .computeName = "f32_complexinversion", .name = " Complex inversion"},
    kF32_perspective,
    {.id = 9, .computeName = "f32_multiinvert", .name = " Multi inverse"},
    {.id = 10, .computeName = "f32_strangeweb", .name = " Strange web"},
    kF32_xzdisplace,
    kF32_truepers,
    kF32_planeProj,
    kF32_sphereProj,
    {.id = 15, .computeName = "f32_random", .name = " Random 3D noise"},
    {.id = 16, .computeName = "f32_fract", .name = " Turbulence 3D "},
    {.id = 17, .computeName = "f32_rwaves", .name = " z Random waves"},
    {.id = 18, .computeName = "f32_ripples", .name = " z Ripples"},
    {.id = 19, .computeName = "f32_zfacetspace", .name = " z Facet space"},
    {.id = 20, .computeName = "f32_zwipe", .name = " z wipe"},
    kF32_max,
    kF32_zmultiply,
    {.id = 23, .computeName = "f32_fractSpace", .name = " Random Fractal Space"},
    kF32_minimum,
    kF32_distgate,
    {.id = 26, .computeName = "f32_zrotate_scale", .name = " z Rotate & Scale"},
    {.id = 27, .computeName = "f32_multiperlin", .name = " Multi Perlin random"},
    {.id = 28, .computeName = "f32_multifractal", .name = " Multi Fractal displace"},
    {.id = 29, .computeName = "f32_silexfractdis", .name = " Silex Fractal displace"},
    {.id = 30, .computeName = "f32_CliffChaos", .name = " Cliff Chaos displace"},
    {.id = 31, .computeName = "f32_ridgedfractal", .name = " Ridged Fractal displace"},
    {.id = 32, .computeName = "f32_fractBubbles", .name = " 3D fractal Bubbles"},
    {.id = 33, .computeName = "f32_oceanfoam", .name = " Ocean & Foam"},
    {.id = 34, .computeName = "f32_futur6", .name = " Balanced Ridged displace"},
    kF32_zdiv,
    {.id = 36, .computeName = "f32_sinwarp", .name = " z Sin warp (amp) "},
    {.id = 37, .computeName = "f32_ztwirl", .name = " z Twirl"},
    kF32_disksphereTile,
    {.id = 39, .computeName = "f32_zmultifractal", .name = " z MultiFractal displace"},
    {.id = 40, .computeName = "f32_futur7", .name = " Rocky Fractal displace"},
    {.id = 41, .computeName = "f32_zmultiperlin", .name = " z Multi Perlin random"},
    {.id = 42, .computeName = "f32_CityNoises", .name = " City Light and Reflection #"},
    {.id = 127, .computeName = "f32_recurtree", .name = ""},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 44);

}  // namespace

extern const KVmemberList kF32Members{kMembers, int(std::size(kMembers))};
