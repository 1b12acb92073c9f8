// Family f32 (family code 5; three inputs, two outputs): its 44 members
// in id order, ids 0 to 42,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f32/f32_arith.h"
#include "components/f32/f32_city.h"
#include "components/f32/f32_project.h"
#include "components/f32/f32_waves.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF32_zscaleoffset,
    kF32_zmul,
    kF32_minmax,
    kF32_sinzx,
    kF32_zrotate,
    kF32_zwaves,
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
    kF32_rwaves,
    kF32_ripples,
    {.id = 19, .computeName = "f32_zfacetspace", .name = " z Facet space"},
    kF32_zwipe,
    kF32_max,
    kF32_zmultiply,
    {.id = 23, .computeName = "f32_fractSpace", .name = " Random Fractal Space"},
    kF32_minimum,
    kF32_distgate,
    kF32_zrotate_scale,
    {.id = 27, .computeName = "f32_multiperlin", .name = " Multi Perlin random"},
    {.id = 28, .computeName = "f32_multifractal", .name = " Multi Fractal displace"},
    {.id = 29, .computeName = "f32_silexfractdis", .name = " Silex Fractal displace"},
    {.id = 30, .computeName = "f32_CliffChaos", .name = " Cliff Chaos displace"},
    {.id = 31, .computeName = "f32_ridgedfractal", .name = " Ridged Fractal displace"},
    {.id = 32, .computeName = "f32_fractBubbles", .name = " 3D fractal Bubbles"},
    {.id = 33, .computeName = "f32_oceanfoam", .name = " Ocean & Foam"},
    {.id = 34, .computeName = "f32_futur6", .name = " Balanced Ridged displace"},
    kF32_zdiv,
    kF32_sinwarp,
    kF32_ztwirl,
    kF32_disksphereTile,
    {.id = 39, .computeName = "f32_zmultifractal", .name = " z MultiFractal displace"},
    {.id = 40, .computeName = "f32_futur7", .name = " Rocky Fractal displace"},
    {.id = 41, .computeName = "f32_zmultiperlin", .name = " z Multi Perlin random"},
    kF32_CityNoises,
    {.id = 127, .computeName = "f32_recurtree", .name = ""},
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 44);

}  // namespace

extern const KVmemberList kF32Members{kMembers, int(std::size(kMembers))};
