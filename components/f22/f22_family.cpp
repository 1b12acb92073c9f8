// Family f22 (family code 3; two inputs, two outputs): its 60 members
// in id order, ids 0 to 58,
// then the compiled-tree member 127. Ids are stored in tree files and never
// change. An entry without compute and handler is a member not built yet.
#include <iterator>

#include "components/common/families.h"
#include "components/f22/f22_affine.h"
#include "components/f22/f22_complex.h"
#include "components/f22/f22_folds.h"
#include "components/f22/f22_recurtree.h"

namespace {

constexpr KVmemberDesc kMembers[] = {
    kF22_skew,
    kF22_Sine,
    kF22_scaleOffset,
    kF22_rotateOffset,
    kF22_xplusASine,
    kF22_waves,
    kF22_twirl,
    kF22_sinwarp,
    kF22_hexagonalMirrors,
    kF22_hexasin,
    kF22_ComplexMap,
    kF22_radialstar,
    {.id = 12, .computeName = "f22_random", .name = " Random noise"},
    kF22_complexModInvert,
    kF22_orbiters,
    kF22_complexinversion,
    {.id = 16, .computeName = "f22_multitwirls", .name = " Multi twirls"},
    {.id = 17, .computeName = "f22_fract", .name = " 2D turbulence"},
    {.id = 18, .computeName = "f22_pixelprism", .name = " Pixel prism"},
    kF22_ComplexMapB,
    kF22_ripples,
    kF22_mirrors,
    kF22_mirrors6,
    kF22_ringspace,
    kF22_polarspace,
    {.id = 25, .computeName = "f22_lowfredRND", .name = " Low Freq Random "},
    {.id = 26, .computeName = "f22_dirRnd", .name = " Directional Random "},
    {.id = 27, .computeName = "f22_Bubbles", .name = " Bubble Space"},
    kF22_DistMirror,
    {.id = 29, .computeName = "f22_DisplaceTile", .name = " Tile & displace"},
    kF22_mirrors3,
    {.id = 31, .computeName = "f22_cristalnoise", .name = " Crystal displace "},
    kF22_NBranch,
    kF22_hexaTile,
    kF22_DiskTile,
    kF22_Serpiensky,
    kF22_unitinversion,
    kF22_scale,
    {.id = 38, .computeName = "f22_fractSpace", .name = " Random Fractal Space"},
    {.id = 39, .computeName = "f22_smoothfacetspace", .name = " Facet space mirrors"},
    {.id = 40, .computeName = "f22_facetspace", .name = " Facet space"},
    {.id = 41, .computeName = "f22_facetprism", .name = " Crystallize"},
    {.id = 42, .computeName = "f22_techdisplace", .name = " Tech displace"},
    {.id = 43, .computeName = "f22_spotdisplace", .name = " Spots displace"},
    kF22_splitmove,
    {.id = 45, .computeName = "f22_Techquantize", .name = " Tech quantize"},
    {.id = 46, .computeName = "f22_facetspaceRotate", .name = " Facet space rotate"},
    {.id = 47, .computeName = "f22_PerlinNoise", .name = " Perlin random"},
    {.id = 48, .computeName = "f22_multiperlin", .name = " Multi Perlin random"},
    {.id = 49, .computeName = "f22_ridgedfractal", .name = " Ridged Fractal displace"},
    {.id = 50, .computeName = "f22_timeturbulences", .name = " Time turbulence"},
    {.id = 51, .computeName = "f22_multifract", .name = " Multi Fractal displace"},
    {.id = 52, .computeName = "f22_ChaosDisA", .name = " Chaos displace A"},
    {.id = 53, .computeName = "f22_ChaosDisB", .name = " Chaos displace B"},
    kF22_Mirror,
    kF22_orthoMirrors,
    kF22_diskInversering,
    kF22_infgate,
    kF22_Moebius,
    kF22_recurtree,
};

static_assert(KV_idsInOrder(kMembers));
static_assert(std::size(kMembers) == 60);

}  // namespace

extern const KVmemberList kF22Members{kMembers, int(std::size(kMembers))};
